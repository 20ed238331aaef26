#pragma once
// The data the skin is made from: windows with their pictures and the entries of
// "Strings.xml", popups with one picture, and fixed pictures. SkinLayout.cpp fills it.
#include "Canvas.h"
#include <functional>
#include <string>
#include <vector>

// How a control looks in the pictures. Captions are drawn by the programs at run time.
enum class Look {
    None,       // nothing drawn: the window or a child control paints this area itself
    Push,       // rounded push button
    Command,    // pill-shaped button of a window's command row (OK, Apply...)
    Close,      // round button with a cross
    Minimize,   // round button with a bar
    Help,       // round button with a question mark
    Check,      // small box; its pressed picture shows the tick (option toggles)
    Radio,      // small round light; its pressed picture shows it lit (mode toggles)
    Text,       // recessed field where the window draws a text
    Edit,       // recessed white field under a system edit, list or display
    Dark,       // recessed field of 0x202020 under the notice's text box
    List,       // recessed field of 0x161616 under a skinned list or tree
    Tab,        // a tab at a window's edge (vertical when taller than wide)
    Bar,        // flat button of a title bar (menus)
    MouseButton,// a callout plate of a mouse button, its number in a badge at the left
    Profile,    // a profile button: its number, a light strip along the bottom
    Card,       // the character card: portrait frame and text panel
    Toggle,     // a switch; its pressed picture shows it on
    Arrow,      // a drop-down button: face and an arrow in its right 26 pixels
    Swatch,     // the colour button: a colour well and a 21-pixel arrow at the right
    Slider,     // a horizontal track; the pressed picture shows it filled
    SliderV,    // a vertical track filled from the bottom
};

// How the program draws an entry's text at run time (used only for the previews).
enum class Caption {
    None,     // no text on the control
    Plain,    // centred caption
    Bold,     // bold centred caption
    Up,       // bold, turned to read upward
    Down,     // bold, turned to read downward
    Light,    // thin white caption
    Painted,  // the window draws the text inside the rectangle, with word breaks
};

enum class EntryKind {
    Control,  // name,x,y,w,h,text,flag
    Label,    // x,y,text
    Text,     // bare text
};

// Layers of a window whose pictures come in two looks (the macro editor's paste look).
enum : int { kMainLook = 1, kAltLook = 2, kBothLooks = 3 };

struct Entry {
    EntryKind kind = EntryKind::Control;
    std::wstring name;
    int x = 0, y = 0, w = 0, h = 0;
    std::wstring text;
    bool flag = false;
    Look look = Look::None;
    int layers = kBothLooks;
    // For the previews only: how the text is drawn, and a sample text for entries whose
    // text the program replaces (mouse-button captions, messages).
    Caption caption = Caption::None;
    std::wstring sample;
    bool centred = false;  // a label drawn centred on x
    int textHeight = 12;
    int textWeight = 700;
    int leftMargin = 0, rightMargin = 0;  // caption margins the program sets
    RectF Rect() const { return {(float)x, (float)y, (float)(x + w), (float)(y + h)}; }
    Entry& Cap(Caption c) { caption = c; return *this; }
    Entry& Sample(const wchar_t* s) { sample = s; return *this; }
    Entry& Centred() { centred = true; return *this; }
    Entry& Font(int height, int weight) { textHeight = height; textWeight = weight; return *this; }
    Entry& Margins(int left, int right) { leftMargin = left; rightMargin = right; return *this; }
};

enum class State { Normal, Over, Down, Disabled };

struct Picture {
    std::wstring element;  // child element of the window in "Skins.xml"
    std::wstring file;     // bare file name in the skins folder
    bool mask = false;
    State state = State::Normal;
    int layer = kMainLook;
    // A picture of its own size and drawing (a printed sheet, a portrait), not the window's.
    std::function<Canvas()> make;
};

struct WindowPlan;
// Draws everything of a window that is the same in every state. layer: which look.
using Backdrop = std::function<void(Canvas&, const WindowPlan&, int layer)>;
using ShapeFn = std::function<Field(const WindowPlan&)>;
// Draws a control in one state; a window may draw some of its controls its own way.
using ControlFn = std::function<bool(Canvas&, const WindowPlan&, const Entry&, State)>;

struct WindowPlan {
    std::wstring skinsName;    // element in "Skins.xml" (empty: none)
    std::wstring stringsName;  // element in "Strings.xml" (empty: none)
    int w = 0, h = 0;
    std::vector<Picture> pictures;
    std::vector<Entry> entries;
    ShapeFn shape;
    Backdrop backdrop;
    ControlFn control;  // optional
    uint32_t textColor = 0xFFCC00;  // RRGGBB of the texts the window draws (previews)
    const Entry* Find(const std::wstring& name) const;
};

// A picture named directly by an element of "Skins.xml" (popups) or by a fixed file name
// (folder headers, the colour picture), or a picture compiled into a program.
struct PlainPicture {
    std::wstring element;  // "Skins.xml" element holding the bare file name; empty for fixed files
    std::wstring path;     // relative to the resources folder, '/' separated
    int w = 0, h = 0;
    std::function<void(Canvas&)> draw;
    bool mono = false;  // a 1-bit bitmap: dark pixels black, the rest white
};

// A program icon: drawn at each size into a colour canvas and an alpha canvas (grey
// levels 0 transparent .. 255 opaque).
struct IconPlan {
    std::wstring path;  // relative to the resources folder, '/' separated
    std::vector<int> sizes;
    std::function<void(Canvas& color, Canvas& alpha)> draw;
};

struct SkinPlan {
    std::vector<WindowPlan> windows;
    std::vector<PlainPicture> pictures;
    std::vector<IconPlan> icons;
};

SkinPlan BuildSkinPlan();

// Entry builders for the layout tables.
Entry Ctl(const wchar_t* name, int x, int y, int w, int h, const wchar_t* text, Look look, bool flag = false,
          int layers = kBothLooks);
Entry Lbl(const wchar_t* name, int x, int y, const wchar_t* text, int layers = kBothLooks);
Entry Txt(const wchar_t* name, const wchar_t* text);
// The standard pictures of a window: PREFIX_NORMAL, PREFIX_OVER, PREFIX_DOWN, PREFIX_MASK
// (the prefix is the window's name but for a few windows).
std::vector<Picture> StandardPictures(const std::wstring& prefix);
