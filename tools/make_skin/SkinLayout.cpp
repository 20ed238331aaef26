// The layout of the skin: every window's size, pictures and "Strings.xml" entries.
// To add an entry, add a row to its window's table: Ctl (a control: name, x, y, width,
// height, caption or tooltip, look, initial check), Lbl (a label: name, x, y, text) or
// Txt (a bare text). Then run tools/make-skin.sh, which rewrites resources/.
// Texts of Ctl and Lbl rows may not hold commas: the entry format splits on them.
#include "Backdrops.h"

namespace {

WindowSpec Dialog(const wchar_t* name, int w, int h, std::vector<Entry> entries)
{
    WindowSpec s;
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

// The four notice boxes. The title sits in the band at the top; BUTTON_EXIT in its corner.
void NoticeBoxes(SkinSpec& spec)
{
    spec.windows.push_back(Dialog(L"WARNING_ONE", 420, 190, {
        Lbl(L"WARNING_ONE_TITLE", 210, 15, L"Notice"),
        Ctl(L"BUTTON_EXIT", 384, 11, 22, 22, L"Close", Look::Close),
        Ctl(L"WARNING_ONE_STRING", 28, 54, 364, 78, L"Message", Look::Text),
        Ctl(L"BUTTON_OK", 162, 148, 96, 26, L"OK", Look::Command),
    }));
    spec.windows.push_back(Dialog(L"WARNING_TWO", 400, 176, {
        Lbl(L"WARNING_TWO_TITLE", 200, 16, L"Please confirm"),
        Ctl(L"WARNING_TWO_STRING", 28, 54, 344, 64, L"Question", Look::Text),
        Ctl(L"BUTTON_YES", 100, 134, 92, 26, L"Yes", Look::Command),
        Ctl(L"BUTTON_NO", 208, 134, 92, 26, L"No", Look::Command),
    }));
    spec.windows.push_back(Dialog(L"WARNING_THREE", 400, 206, {
        Lbl(L"WARNING_THREE_TITLE", 200, 16, L"Delete macro"),
        Ctl(L"BUTTON_EXIT", 364, 11, 22, 22, L"Close", Look::Close),
        Ctl(L"WARNING_THREE_STRING", 28, 54, 344, 50,
            L"Delete the selected macro? Mouse buttons that play it will be set to Off.", Look::Text),
        Ctl(L"BUTTON_OPTION", 30, 124, 16, 16, L"Do not ask again", Look::Check),
        Ctl(L"WARNING_THREE_OPTION", 54, 126, 300, 18, L"Do not ask me again before deleting a macro", Look::None),
        Ctl(L"BUTTON_YES", 100, 162, 92, 26, L"Delete", Look::Command),
        Ctl(L"BUTTON_NO", 208, 162, 92, 26, L"Keep", Look::Command),
    }));
    spec.windows.push_back(Dialog(L"WARNING_FOUR", 480, 360, {
        Lbl(L"WARNING_FOUR_TITLE", 240, 16, L"Before you record a macro"),
        Ctl(L"BUTTON_EXIT", 444, 11, 22, 22, L"Close", Look::Close),
        Ctl(L"WARNING_FOUR_STRING", 28, 54, 424, 206, L"Notice", Look::Edit),
        Txt(L"WARNING_FOUR_LICENSE",
            L"The macro editor records every key you press while it is open - Tab, Enter and Esc "
            L"included. Click the box you want to record into, then press the keys in the order the "
            L"game should receive them.\r\n\r\n"
            L"While the editor is open, the Windows keys are held back for the whole desktop: they do "
            L"not open the Start menu but are recorded like any other key.\r\n\r\n"
            L"A macro plays its keys into the game as if you typed them yourself. Some games limit or "
            L"forbid automated input, so make sure your macros keep to the rules of the game you "
            L"play.\r\n\r\n"
            L"Do you want to open the macro editor now?"),
        Ctl(L"BUTTON_OPTION", 30, 276, 16, 16, L"Do not show again", Look::Check),
        Ctl(L"WARNING_FOUR_OPTION", 54, 278, 380, 18, L"Do not show this notice again", Look::None),
        Ctl(L"BUTTON_YES", 130, 314, 100, 26, L"Continue", Look::Command),
        Ctl(L"BUTTON_NO", 250, 314, 100, 26, L"Cancel", Look::Command),
    }));
}

// Pictures that the programs compile in as bitmap resources.
void ResourcePictures(SkinSpec& spec)
{
    spec.pictures.push_back({L"", L"bitmaps/scrollbar.bmp", 117, 39, DrawScrollBarParts});
    spec.pictures.push_back({L"", L"bitmaps/bullet.bmp", 16, 16, DrawBullet});
}

}  // namespace

SkinSpec BuildSkinSpec()
{
    SkinSpec spec;
    NoticeBoxes(spec);
    ResourcePictures(spec);
    return spec;
}
