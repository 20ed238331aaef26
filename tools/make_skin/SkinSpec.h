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
    Command,    // wide push button of a window's command row (OK, Apply...)
    Close,      // round button with a cross
    Minimize,   // round button with a bar
    Help,       // round button with a question mark
    Check,      // small box; its pressed picture shows the tick (option toggles)
    Radio,      // small round light; its pressed picture shows it lit (mode toggles)
    Text,       // recessed field where the window draws a text
    Edit,       // recessed field under an edit control (0x202020 inside)
    List,       // recessed field under a list, tree or display (0x161616 inside)
    Tab,        // side tab of the main window (mouse properties, assignments)
    Bar,        // flat bar button (illumination, menus of the title row)
    MouseButton,// a button on the mouse drawing: a light-up cap
    Profile,    // one of the ten profile buttons
    Card,       // the character card of the main window
    Toggle,     // a switch (in-game mode)
    Arrow,      // a small drop-down button (opens a popup)
    Swatch,     // the colour button: frame around a colour, 21 px of skin at the right
    Slider,     // a slider track; its pressed picture shows it filled (markers cut both)
    SliderV,    // a vertical slider track
    Picture,    // a framed picture area (colour picker, portrait)
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
    RectF Rect() const { return {(float)x, (float)y, (float)(x + w), (float)(y + h)}; }
};

enum class State { Normal, Over, Down, Disabled };

struct Picture {
    std::wstring element;  // child element of the window in "Skins.xml"
    std::wstring file;     // bare file name in the skins folder
    bool mask = false;
    State state = State::Normal;
    int layer = kMainLook;
};

struct WindowSpec;
// Draws everything of a window that is the same in every state. layer: which look.
using Backdrop = std::function<void(Canvas&, const WindowSpec&, int layer)>;
using ShapeFn = std::function<Field(const WindowSpec&)>;
// Draws a control in one state; a window may draw some of its controls its own way.
using ControlFn = std::function<bool(Canvas&, const WindowSpec&, const Entry&, State)>;

struct WindowSpec {
    std::wstring skinsName;    // element in "Skins.xml" (empty: none)
    std::wstring stringsName;  // element in "Strings.xml" (empty: none)
    int w = 0, h = 0;
    std::vector<Picture> pictures;
    std::vector<Entry> entries;
    ShapeFn shape;
    Backdrop backdrop;
    ControlFn control;  // optional
    const Entry* Find(const std::wstring& name) const;
};

// A picture named directly by an element of "Skins.xml" (popups) or by a fixed file name
// (folder headers, the colour picture), or a picture compiled into a program.
struct PlainPicture {
    std::wstring element;  // "Skins.xml" element holding the bare file name; empty for fixed files
    std::wstring path;     // relative to the resources folder, '/' separated
    int w = 0, h = 0;
    std::function<void(Canvas&)> draw;
};

struct SkinSpec {
    std::vector<WindowSpec> windows;
    std::vector<PlainPicture> pictures;
};

SkinSpec BuildSkinSpec();

// Entry builders for the layout tables.
Entry Ctl(const wchar_t* name, int x, int y, int w, int h, const wchar_t* text, Look look, bool flag = false,
          int layers = kBothLooks);
Entry Lbl(const wchar_t* name, int x, int y, const wchar_t* text, int layers = kBothLooks);
Entry Txt(const wchar_t* name, const wchar_t* text);
// The standard pictures of a window: NAME_NORMAL, NAME_OVER, NAME_DOWN, NAME_MASK.
std::vector<Picture> StandardPictures(const std::wstring& name);
