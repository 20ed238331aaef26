// The layout of the skin: every window's size, pictures and "Strings.xml" entries, and the
// pictures that stand alone. The pictures are drawn from these numbers, so a picture and
// the rectangle a program reads for it always agree.
//
// To add an entry, add a row to its window's table: Ctl (a control: name, x, y, width,
// height, caption or tooltip, look, initial check), Lbl (a label: name, x, y, text) or Txt
// (a bare text). Then run tools/make-skin.sh, which rewrites resources/ and the previews.
// Texts of Ctl and Lbl rows may not hold commas (the entry format splits on them), and a
// Ctl text may not hold TRUE. Cap, Sample, Centred, Font and Margins only tell the
// previews how the program draws the entry's text.
#include "Backdrops.h"
#include "Glyphs.h"

namespace {

const uint32_t kNoticeText = 0xD2A412;  // the colour the notice boxes and About draw texts in

WindowPlan Window(const wchar_t* name, int w, int h, std::vector<Entry> entries)
{
    WindowPlan s;
    s.skinsName = name;
    s.stringsName = name;
    s.w = w;
    s.h = h;
    s.pictures = StandardPictures(name);
    s.entries = std::move(entries);
    s.shape = RoundedWindow(14);
    s.backdrop = DialogBackdrop;
    return s;
}

Entry Exit(int x)
{
    return Ctl(L"BUTTON_EXIT", x, 11, 22, 22, L"Close", Look::Close);
}

// The four notice boxes. The title sits in the band at the top; BUTTON_EXIT in its corner.
void NoticeBoxes(SkinPlan& plan)
{
    WindowPlan one = Window(L"WARNING_ONE", 420, 190, {
        Lbl(L"WARNING_ONE_TITLE", 210, 15, L"Notice").Centred().Font(14, 700),
        Exit(384),
        Ctl(L"WARNING_ONE_STRING", 32, 58, 356, 70, L"Message", Look::Text)
            .Cap(Caption::Painted).Font(14, 700)
            .Sample(L"Please download and install the free PDF Reader  to read the user guide."),
        Ctl(L"BUTTON_OK", 162, 148, 96, 26, L"OK", Look::Command),
    });
    WindowPlan two = Window(L"WARNING_TWO", 400, 176, {
        Lbl(L"WARNING_TWO_TITLE", 200, 16, L"Please confirm").Centred(),
        Ctl(L"WARNING_TWO_STRING", 32, 58, 336, 56, L"Question", Look::Text)
            .Cap(Caption::Painted).Sample(L"Replace profile 5 with a copy of profile 1?"),
        Ctl(L"BUTTON_YES", 100, 134, 92, 26, L"Yes", Look::Command),
        Ctl(L"BUTTON_NO", 208, 134, 92, 26, L"No", Look::Command),
    });
    WindowPlan three = Window(L"WARNING_THREE", 400, 206, {
        Lbl(L"WARNING_THREE_TITLE", 200, 16, L"Delete macro").Centred(),
        Exit(364),
        Ctl(L"WARNING_THREE_STRING", 32, 58, 336, 42,
            L"Delete the selected macro? Mouse buttons that play it will be set to Off.", Look::Text)
            .Cap(Caption::Painted),
        Ctl(L"BUTTON_OPTION", 30, 124, 16, 16, L"Do not ask again", Look::Check),
        Ctl(L"WARNING_THREE_OPTION", 54, 126, 300, 18, L"Do not ask me again before deleting a macro", Look::None)
            .Cap(Caption::Painted),
        Ctl(L"BUTTON_YES", 100, 162, 92, 26, L"Delete", Look::Command),
        Ctl(L"BUTTON_NO", 208, 162, 92, 26, L"Keep", Look::Command),
    });
    const wchar_t* license =
        L"The macro editor records every key you press while it is open \u2013 Tab, Enter and Esc "
        L"included. Click the box you want to record into, then press the keys in the order the "
        L"game should receive them.\r\n\r\n"
        L"While the editor is open, the Windows keys are held back for the whole desktop: they do "
        L"not open the Start menu but are recorded like any other key.\r\n\r\n"
        L"A macro plays its keys into the game as if you typed them yourself. Some games limit or "
        L"forbid automated input, so make sure your macros keep to the rules of the game you "
        L"play.\r\n\r\n"
        L"Do you want to open the macro editor now?";
    WindowPlan four = Window(L"WARNING_FOUR", 480, 330, {
        Lbl(L"WARNING_FOUR_TITLE", 240, 16, L"Before you record a macro").Centred(),
        Exit(444),
        Ctl(L"WARNING_FOUR_STRING", 32, 58, 416, 168, L"Notice", Look::Dark)
            .Cap(Caption::Painted).Font(12, 400).Sample(license),
        Txt(L"WARNING_FOUR_LICENSE", license),
        Ctl(L"BUTTON_OPTION", 30, 246, 16, 16, L"Do not show again", Look::Check),
        Ctl(L"WARNING_FOUR_OPTION", 54, 248, 380, 18, L"Do not show this notice again", Look::None)
            .Cap(Caption::Painted),
        Ctl(L"BUTTON_YES", 130, 284, 100, 26, L"Continue", Look::Command),
        Ctl(L"BUTTON_NO", 250, 284, 100, 26, L"Cancel", Look::Command),
    });
    for (WindowPlan* w : {&one, &two, &three, &four}) {
        w->textColor = kNoticeText;
        plan.windows.push_back(*w);
    }
}

// The side panels dock this far inside the main window's edges: the function picker at the
// right, the sensor-settings panel at the left, the lighting panel at the bottom. The main
// window's picture leaves those strips clear, so the panels meet its frame edge to edge.
const int kPickerDock = 16, kSettingsDock = 17, kLightingDock = 18;

// The main window: the mouse in the middle, the eleven button plates beside it (left:
// the left button and the thumb buttons; right: the right button, the wheel and the
// buttons behind it), the character card, and the deck of profiles and commands. Its
// shape is 840 - 17 - 16 = 807 by 620 - 18 = 602 pixels, from x 17.
void MainWindow(SkinPlan& plan)
{
    const MousePlacement mouse{420, 62, 0.96f};
    const RectF deck{37, 466, 804, 580};
    struct Plate {
        int button, x, y;
        const wchar_t* sample;
    };
    const Plate plates[] = {
        {1, 69, 84, L"Left click"},     {7, 69, 196, L"Back"},     {8, 69, 242, L"Forward"},
        {9, 69, 288, L"Off"},           {10, 69, 334, L"Off"},     {11, 69, 380, L"Off"},
        {2, 584, 84, L"Right click"},   {3, 584, 128, L"Universal scroll"},
        {4, 584, 172, L"Off"},          {5, 584, 216, L"Off"},     {6, 584, 260, L"Off"},
    };
    std::vector<Entry> e = {
        Ctl(L"BUTTON_FILE_MENU", 39, 14, 62, 24, L"File", Look::Bar),
        Ctl(L"BUTTON_TOOLS_MENU", 105, 14, 62, 24, L"Tools", Look::Bar),
        Ctl(L"BUTTON_HELP_MENU", 171, 14, 62, 24, L"Help", Look::Bar),
        Ctl(L"HELP", 730, 15, 22, 22, L"User guide", Look::Help),
        Ctl(L"MINIMIZE", 758, 15, 22, 22, L"Minimize", Look::Minimize),
        Ctl(L"EXIT", 786, 15, 22, 22, L"Exit", Look::Close),
        Ctl(L"BUTTON_MOUSE_PROPERTIES", 37, 150, 22, 190, L"Mouse settings", Look::Tab).Cap(Caption::Up),
        Ctl(L"BUTTON_ASSIGNMENTS", 782, 150, 20, 190, L"Button functions", Look::Tab).Cap(Caption::Down),
    };
    for (const Plate& p : plates) {
        std::wstring n = std::to_wstring(p.button);
        e.push_back(Ctl((L"MOUSE_BUTTON_" + n).c_str(), p.x, p.y, 168, 26, (L"Mouse button " + n).c_str(), Look::MouseButton)
                        .Cap(Caption::Plain).Margins(26, 0).Sample(p.sample));
    }
    e.push_back(Ctl(L"BUTTON_CHRONICLE", 618, 302, 100, 152, L"Game character", Look::Card));
    e.push_back(Lbl(L"PROFILE", 57, 475, L"Profiles"));
    for (int n = 1; n <= 10; ++n) {
        std::wstring name = L"PROFILE_" + std::to_wstring(n);
        e.push_back(Ctl(name.c_str(), 57 + (n - 1) * 50, 493, 44, 36, (L"Profile " + std::to_wstring(n)).c_str(), Look::Profile));
    }
    e.push_back(Ctl(L"ENABLE_IN_GAME_MODE", 583, 498, 52, 26, L"In-game mode: no button functions while you play", Look::Toggle));
    e.push_back(Lbl(L"IN_GAME_MODE_TEXT", 643, 504, L"In-game mode").Font(12, 100));
    e.push_back(Ctl(L"RESTORE", 57, 538, 130, 28, L"Reset profile", Look::Command));
    e.push_back(Ctl(L"BUTTON_ILLUMINATION", 340, 536, 160, 32, L"Lighting", Look::Tab).Cap(Caption::Bold));
    e.push_back(Ctl(L"BUTTON_OK", 540, 538, 80, 28, L"OK", Look::Command));
    e.push_back(Ctl(L"BUTTON_CANCEL", 628, 538, 80, 28, L"Cancel", Look::Command));
    e.push_back(Ctl(L"BUTTON_APPLY", 716, 538, 80, 28, L"Apply", Look::Command));
    e.push_back(Txt(L"STRING_WARNING_CHANGE_PROFILE", L"Replace profile %d with a copy of profile %d?"));
    e.push_back(Txt(L"STRING_WARNING_RESTORE_PROFILE", L"Changes to this profile will be lost. Do you want to continue?"));
    e.push_back(Txt(L"STRING_EXPORT_FAILED", L"The profile could not be saved to that file. Check that the folder can be "
                                             L"written to and that the file is not read-only."));
    e.push_back(Txt(L"STRING_IMPORT_REFUSED", L"This file cannot be imported, so the profile stays as it was."));
    e.push_back(Txt(L"STRING_WARNING_NOT_SAVED", L"Your settings could not be saved, so the mouse keeps its previous settings. "
                                                 L"Check that the configuration file is not read-only, then press Apply again."));
    e.push_back(Txt(L"STRING_WARNING_REGISTRY_NOT_SAVED", L"Your settings were saved and the mouse uses them, but the "
                                                          L"Windows mouse settings could not be written to the registry."));
    e.push_back(Txt(L"STRING_WARNING_TRAY_NOT_SAVED", L"Your settings were saved and the mouse uses them, but the profile "
                                                      L"names of the tray menu could not be written. Check that "
                                                      L"TrayIcon.xml is not read-only."));
    e.push_back(Txt(L"STRING_WARNING_REGISTRY_TRAY_NOT_SAVED",
                    L"Your settings were saved and the mouse uses them, but neither the Windows mouse settings in the "
                    L"registry nor the profile names of the tray menu could be written."));

    WindowPlan w = Window(L"MAIN", 840, 620, std::move(e));
    w.shape = MainShape(18, kSettingsDock, kPickerDock, kLightingDock);
    w.backdrop = MainBackdrop(mouse, deck);
    w.pictures = {
        {L"MAIN_NORMAL", L"main_normal.bmp", false, State::Normal, kMainLook, {}},
        {L"MAIN_DISABLE", L"main_disable.bmp", false, State::Disabled, kMainLook, {}},
        {L"MAIN_DOWN", L"main_down.bmp", false, State::Down, kMainLook, {}},
        {L"MAIN_OVER", L"main_over.bmp", false, State::Over, kMainLook, {}},
        {L"MAIN_MASK", L"main_mask.bmp", true, State::Normal, kMainLook, {}},
    };
    // The printed sheet: the program writes each button's caption into its slot here.
    const std::vector<RectF> slots = {
        {199, 35, 299, 53},  {316, 35, 416, 53},  {434, 35, 534, 53},  {199, 68, 299, 86},
        {316, 68, 416, 86},  {434, 68, 534, 86},  {199, 131, 299, 149}, {316, 131, 416, 149},
        {434, 131, 534, 149}, {199, 162, 299, 180}, {199, 225, 299, 243},
    };
    w.pictures.push_back({L"MAIN_PRINT", L"main_print.bmp", false, State::Normal, kMainLook,
                          [slots] { return PrintSheet(560, 260, slots, MousePlacement{80, 96, 0.38f}); }});
    plan.windows.push_back(w);
}

// The function picker: slides out at the main window's right edge, 16 pixels inside it,
// so it may be 16 + (1280 - 840) / 2 = 236 wide; its side bar of folders is a child
// window at (0, 80, 174, 450), fixed by the program, which reaches the panel's open edge.
void FunctionPicker(SkinPlan& plan)
{
    WindowPlan w = Window(L"BUTTON_ASSIGNMENTS", 230, 470, {
        Lbl(L"BUTTON_ASSIGNMENTS", 116, 15, L"Button functions").Centred(),
        Ctl(L"CLOSE_ASSIGNMENTS", 194, 140, 22, 170, L"Close", Look::Tab).Cap(Caption::Down),
        Txt(L"STRING_WARNING_MACROS_FULL",
            L"This profile holds fifty macros already. Delete one before you make a new one."),
    });
    w.shape = PanelShape(Edge::Left, 14);
    Backdrop panel = PanelBackdrop(Edge::Left, 32);
    w.backdrop = [panel](Canvas& c, const WindowPlan& s, int layer) {
        panel(c, s, layer);
        DrawField(c, {0, 80, 174, 450}, Hex(0x000000), 2);
    };
    plan.windows.push_back(w);
}

// The sensor-settings panel: slides out at the main window's left edge.
void MouseSettings(SkinPlan& plan)
{
    // At most 237 wide: it docks with its right edge 17 pixels inside the main window's
    // left edge, and the main window is centred on a 1280-pixel screen.
    WindowPlan w = Window(L"MOUSE_PROPERTIES", 236, 432, {
        Lbl(L"MOUSE_PROPERTIES", 118, 15, L"Mouse settings").Centred(),
        Ctl(L"CLOSE_PROPERTIES", 12, 120, 22, 170, L"Close", Look::Tab).Cap(Caption::Up),
        Lbl(L"DPI_VALUE", 46, 56, L"Sensor resolution"),
        Ctl(L"DPI_MENU", 46, 74, 150, 26, L"Choose the sensor resolution", Look::Arrow)
            .Cap(Caption::Plain).Margins(0, 26).Sample(L"800 DPI"),
        Lbl(L"DOUBLE_CLICK_SPEED", 46, 116, L"Double-click speed"),
        Ctl(L"SLIDERS_DOUBLE_CLICK_SPEED", 46, 134, 160, 14, L"Slow to fast", Look::Slider),
        Lbl(L"SCROLL_SPEED", 46, 162, L"Scroll speed"),
        Ctl(L"SLIDERS_SCROLL_SPEED", 46, 180, 160, 14, L"Lines per wheel notch", Look::Slider),
        Lbl(L"SENSITIVITY", 46, 208, L"Pointer speed"),
        Ctl(L"SLIDERS_SENSITIVITY", 46, 226, 160, 14, L"Pointer speed in Windows", Look::Slider),
        Lbl(L"ADVANCED_SENSITIVITY", 46, 258, L"Sensor sensitivity"),
        Ctl(L"SLIDERS_ADVANCE_SENSITIVITY_X", 84, 282, 18, 112, L"Horizontal sensitivity", Look::SliderV),
        Ctl(L"SLIDERS_ADVANCE_SENSITIVITY_Y", 148, 282, 18, 112, L"Vertical sensitivity", Look::SliderV),
        Lbl(L"ADVANCED_SENSITIVITY_X", 89, 400, L"X"),
        Lbl(L"ADVANCED_SENSITIVITY_Y", 153, 400, L"Y"),
    });
    w.shape = PanelShape(Edge::Right, 14);
    w.backdrop = PanelBackdrop(Edge::Right, 32);
    plan.windows.push_back(w);
}

// The lighting panel: slides down out of the main window's bottom edge. Its pictures are
// ILLUMINATION_SETTING, its texts ILLUMINATION_SETTINGS.
void Lighting(SkinPlan& plan)
{
    WindowPlan w = Window(L"ILLUMINATION_SETTING", 570, 126, {
        Lbl(L"ILLUMINATION_SETTINGS", 285, 18, L"Lighting").Centred(),
        Lbl(L"ILLUMINATION_TITLE", 202, 34, L"The light of the mouse in this profile").Font(-10, 700),
        Lbl(L"COLOR", 24, 54, L"Colour"),
        Ctl(L"COLOR_MENU", 24, 72, 140, 26, L"Choose the colour of the light", Look::Swatch),
        Lbl(L"INTENSITY", 188, 54, L"Brightness"),
        Ctl(L"INTENSITY_MENU", 188, 72, 140, 26, L"Choose the brightness", Look::Arrow)
            .Cap(Caption::Plain).Margins(0, 26).Sample(L"High"),
        Lbl(L"PULSATION", 352, 54, L"Pulse"),
        Ctl(L"PULSATION_MENU", 352, 72, 140, 26, L"Choose how the light pulses", Look::Arrow)
            .Cap(Caption::Plain).Margins(0, 26).Sample(L"Medium"),
        Ctl(L"CLOSE_ILLUMINATION", 506, 72, 54, 26, L"Close", Look::Push).Cap(Caption::Bold),
    });
    w.stringsName = L"ILLUMINATION_SETTINGS";
    w.shape = PanelShape(Edge::Top, 14);
    w.backdrop = PanelBackdrop(Edge::Top, 0);
    plan.windows.push_back(w);
}

void MacroEditor(SkinPlan& plan)
{
    const int N = kMainLook, P = kAltLook;
    WindowPlan w = Window(L"MACRO", 560, 380, {
        Lbl(L"CUSTOM_MACRO", 280, 16, L"Macro editor").Centred(),
        Ctl(L"BUTTON_EXIT", 524, 11, 22, 22, L"Close", Look::Close),
        Lbl(L"MACRO_NAME", 28, 64, L"Name"),
        Ctl(L"EDIT_NAME", 90, 56, 250, 30, L"Macro name", Look::Edit),
        Ctl(L"BUTTON_LOOP", 30, 250, 18, 18, L"Repeat the macro", Look::Check, false, N),
        Lbl(L"LOOP", 56, 253, L"Repeat", N),
        Ctl(L"EDIT_LOOP", 124, 246, 44, 26, L"How many times", Look::Edit, false, N),
        Ctl(L"MACRO_AREA", 216, 104, 316, 200, L"Click here and press the keys", Look::Edit, false, N),
        // The paste look: the text to type, framed by a start key and a send key.
        Ctl(L"EDIT_PASTE", 216, 104, 316, 110, L"Text to type", Look::Edit, false, P),
        Ctl(L"BUTTON_START_KEY", 216, 232, 18, 18, L"Press a key before the text", Look::Check, true, P),
        Lbl(L"START_KEY", 242, 235, L"Start key", P),
        Ctl(L"START_AREA", 320, 226, 212, 30, L"Click here and press the start key", Look::Edit, false, P),
        Ctl(L"BUTTON_SEND_KEY", 216, 272, 18, 18, L"Press a key after the text", Look::Check, true, P),
        Lbl(L"SEND_KEY", 242, 275, L"Send key", P),
        Ctl(L"SEND_AREA", 320, 266, 212, 30, L"Click here and press the send key", Look::Edit, false, P),
        Ctl(L"BUTTON_CLEAR", 28, 330, 88, 28, L"Clear", Look::Command),
        Ctl(L"BUTTON_APPLY", 124, 330, 88, 28, L"Apply", Look::Command),
        Ctl(L"BUTTON_OK", 348, 330, 88, 28, L"OK", Look::Command),
        Ctl(L"BUTTON_CANCEL", 444, 330, 88, 28, L"Cancel", Look::Command),
    });
    // The delay modes. The paste look cuts the same four buttons at the same places under
    // its own names, and labels them under its own names too.
    struct Mode {
        const wchar_t* name;
        const wchar_t* label;
        const wchar_t* tooltip;
    };
    const Mode modes[] = {
        {L"AUTO_DELAY", L"Automatic delays", L"Fixed short delays between the keys"},
        {L"RECORD_DELAY", L"Recorded delays", L"The delays as you pressed the keys"},
        {L"NO_DELAY", L"No delays", L"No delays between the keys"},
        {L"PASTE", L"Paste text", L"Type a text into the game"},
    };
    for (int look : {N, P}) {
        std::wstring prefix = look == P ? L"PASTE_" : L"";
        int y = 110;
        for (const Mode& m : modes) {
            w.entries.push_back(Ctl((L"BUTTON_" + prefix + m.name).c_str(), 30, y, 18, 18, m.tooltip, Look::Radio, false, look));
            w.entries.push_back(Lbl((prefix + m.name).c_str(), 56, y + 3, m.label, look));
            y += 32;
        }
    }
    w.backdrop = [](Canvas& c, const WindowPlan& s, int layer) {
        DialogBackdrop(c, s, layer);
        DrawPlate(c, {20, 100, 196, 234}, 6);
    };
    w.pictures = {
        {L"MACRO_NORMAL", L"macro_normal.bmp", false, State::Normal, N, {}},
        {L"MACRO_DOWN", L"macro_down.bmp", false, State::Down, N, {}},
        {L"MACRO_OVER", L"macro_over.bmp", false, State::Over, N, {}},
        {L"MACRO_MASK", L"macro_mask.bmp", true, State::Normal, N, {}},
        {L"MACRO_PASTE_NORMAL", L"macro_paste_normal.bmp", false, State::Normal, P, {}},
        {L"MACRO_PASTE_DOWN", L"macro_paste_down.bmp", false, State::Down, P, {}},
        {L"MACRO_PASTE_OVER", L"macro_paste_over.bmp", false, State::Over, P, {}},
    };
    plan.windows.push_back(w);
}

void CharacterDialog(SkinPlan& plan)
{
    WindowPlan w = Window(L"CHRONICLE", 400, 244, {
        Lbl(L"CHRONICLE_TITLE", 200, 16, L"Game character").Centred(),
        Exit(364),
        Lbl(L"REGION", 34, 64, L"Region"),
        Ctl(L"BUTTON_REGION", 120, 56, 150, 28, L"Choose the region", Look::Arrow).Cap(Caption::Plain).Sample(L"USA"),
        Lbl(L"SERVER_NAME", 34, 104, L"Realm"),
        Ctl(L"EDIT_SERVER_NAME", 120, 96, 246, 30, L"Realm", Look::Edit),
        Lbl(L"CHARACTER_NAME", 34, 144, L"Character"),
        Ctl(L"EDIT_CHARACTER_NAME", 120, 136, 246, 30, L"Character name", Look::Edit),
        Ctl(L"BUTTON_OK", 104, 196, 92, 28, L"Find", Look::Command),
        Ctl(L"BUTTON_CANCEL", 204, 196, 92, 28, L"Cancel", Look::Command),
        Txt(L"STRING_ENTER_CHARACTER_NAME", L"Please enter the name of your character."),
        Txt(L"STRING_ENTER_REALM_NAME", L"Please enter the name of the realm your character plays on."),
        Txt(L"STRING_NOT_FIND_CHARACTER",
            L"No character of that name was found on that realm. Check the region, the realm and the name, then try again."),
    });
    w.pictures.push_back({L"CHRONICLE_NO_PICTURE_CHARACTER", L"no_portrait.gif", false, State::Normal, kMainLook,
                          [] { return NoPortrait(64, 64); }});
    plan.windows.push_back(w);
}

void AboutBox(SkinPlan& plan)
{
    WindowPlan w = Window(L"ABOUT", 380, 230, {
        Lbl(L"TITLE", 190, 16, L"Eldvarra\u00AE MMO Gaming Mouse").Centred(),
        Exit(344),
        // The program appends a blank and the version to each of these two labels.
        Lbl(L"SOFTWARE_VERSION", 96, 152, L"Software version").Sample(L"Software version 1.14"),
        Lbl(L"FIRMWARE_VERSION", 96, 174, L"Firmware version").Sample(L"Firmware version Disconnected"),
    });
    w.textColor = kNoticeText;
    w.backdrop = [](Canvas& c, const WindowPlan& s, int layer) {
        DialogBackdrop(c, s, layer);
        DrawLettering(c, L"THARNIC EDITION", s.w / 2.0f, 104, 20, 2.4f);
        DrawGem(c, s.w / 2.0f, 124, 5);
        DrawPlate(c, {74, 142, 306, 198}, 6);
    };
    plan.windows.push_back(w);
}

void GameListEditor(SkinPlan& plan)
{
    plan.windows.push_back(Window(L"EDIT_GAME", 420, 330, {
        Lbl(L"EDIT_GAME", 210, 16, L"Game list").Centred(),
        Exit(384),
        Ctl(L"BUTTON_PATH", 24, 62, 262, 26, L"Program file of the game", Look::Edit),
        Ctl(L"BUTTON_BROWSE", 296, 60, 100, 30, L"Browse...", Look::Push),
        Ctl(L"LIST_BOX", 24, 102, 262, 170, L"Games that select this profile", Look::Edit),
        Ctl(L"BUTTON_ADD", 296, 102, 100, 30, L"Add", Look::Push),
        Ctl(L"BUTTON_REMOVE", 296, 140, 100, 30, L"Remove", Look::Push),
        Ctl(L"BUTTON_OK", 110, 286, 96, 28, L"OK", Look::Command),
        Ctl(L"BUTTON_CANCEL", 214, 286, 96, 28, L"Cancel", Look::Command),
        Txt(L"STRING_WARNING_TOO_MANY_GAMES", L"A profile holds at most ten games. Remove one before you add another."),
        Txt(L"STRING_WARNING_GAME_NAME_TOO_LONG",
            L"This name is too long: a game's program name can have at most 254 characters."),
    }));
}

// The rename dialog reads its pictures as RENAME_NORMAL and so on under RENAME_PROFILE.
void RenameDialog(SkinPlan& plan)
{
    WindowPlan w = Window(L"RENAME_PROFILE", 380, 172, {
        Lbl(L"TITLE", 26, 17, L"Rename profile"),
        Exit(344),
        Lbl(L"NAME", 26, 70, L"Name"),
        Ctl(L"EDIT_NAME", 80, 62, 276, 28, L"Profile name", Look::Edit),
        Ctl(L"BUTTON_OK", 96, 124, 92, 28, L"OK", Look::Command),
        Ctl(L"BUTTON_CANCEL", 196, 124, 92, 28, L"Cancel", Look::Command),
    });
    w.pictures = StandardPictures(L"RENAME");
    plan.windows.push_back(w);
}

// One picture per popup: as wide as the button that opens it, one 20-pixel row per item.
void Popups(SkinPlan& plan)
{
    auto width = [&](const wchar_t* window, const wchar_t* entry) {
        for (const WindowPlan& w : plan.windows)
            if (w.stringsName == window)
                if (const Entry* e = w.Find(entry)) return e->w;
        return 0;
    };
    plan.pictures.push_back({L"BUTTON_MENU", L"skins/button_menu.bmp", width(L"MAIN", L"MOUSE_BUTTON_1"), 7 * 20, DrawPopup});
    plan.pictures.push_back({L"MOUSE_PROPERTIES_MENU", L"skins/dpi_menu.bmp", width(L"MOUSE_PROPERTIES", L"DPI_MENU"), 4 * 20, DrawPopup});
    plan.pictures.push_back({L"ILLUMINATION_MENU", L"skins/illumination_menu.bmp", width(L"ILLUMINATION_SETTINGS", L"INTENSITY_MENU"), 4 * 20, DrawPopup});
    // The region popup opens 6 pixels in from its button's left edge.
    plan.pictures.push_back({L"REGION_MENU", L"skins/region_menu.bmp", width(L"CHRONICLE", L"BUTTON_REGION") - 12, 5 * 20, DrawPopup});
}

// Pictures the programs load by fixed names.
void FixedPictures(SkinPlan& plan)
{
    plan.pictures.push_back({L"", L"skins/button-p.bmp", 172, 21, [](Canvas& c) { DrawFolderHeader(c, false); }});
    plan.pictures.push_back({L"", L"skins/button-m.bmp", 172, 21, [](Canvas& c) { DrawFolderHeader(c, true); }});
    plan.pictures.push_back({L"", L"skins/button-b.bmp", 75, 22, DrawSmallButton});
    plan.pictures.push_back({L"", L"skins/Color.bmp", 260, 130, DrawColorChart});
}

// Pictures that the programs compile in as bitmap resources.
void ResourcePictures(SkinPlan& plan)
{
    plan.pictures.push_back({L"", L"bitmaps/scrollbar.bmp", 117, 39, DrawScrollBarParts});
    plan.pictures.push_back({L"", L"bitmaps/bullet.bmp", 3, 3, DrawBullet});
    plan.pictures.push_back({L"", L"bitmaps/arrow_up.bmp", 7, 9, [](Canvas& c) { DrawArrow(c, true); }, true});
    plan.pictures.push_back({L"", L"bitmaps/arrow_down.bmp", 7, 9, [](Canvas& c) { DrawArrow(c, false); }, true});
}

// Program icons: the programs' own (resource 128) and the tray's two states,
// device absent (130, grey) and present (131, red).
void Icons(SkinPlan& plan)
{
    const std::vector<int> sizes = {16, 20, 24, 32, 48};
    plan.icons.push_back({L"icons/gearloom.ico", sizes, [](Canvas& c, Canvas& a) { DrawMouseIcon(c, a, true, 0xFFB030); }});
    plan.icons.push_back({L"icons/tray_inactive.ico", sizes, [](Canvas& c, Canvas& a) { DrawMouseIcon(c, a, false, 0); }});
    plan.icons.push_back({L"icons/tray_active.ico", sizes, [](Canvas& c, Canvas& a) { DrawMouseIcon(c, a, true, 0xFF2A1A); }});
}

}  // namespace

SkinPlan BuildSkinPlan()
{
    SkinPlan plan;
    NoticeBoxes(plan);
    MainWindow(plan);
    FunctionPicker(plan);
    MouseSettings(plan);
    Lighting(plan);
    MacroEditor(plan);
    CharacterDialog(plan);
    AboutBox(plan);
    GameListEditor(plan);
    RenameDialog(plan);
    Popups(plan);
    FixedPictures(plan);
    ResourcePictures(plan);
    Icons(plan);
    return plan;
}
