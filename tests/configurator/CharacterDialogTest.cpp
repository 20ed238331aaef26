#include "ConfiguratorRig.h"
#include "LoopbackHttpServer.h"
#include "PersonHand.h"
#include "configurator/panels/CChronicleDlg.h"
#include "configurator/panels/CharacterServices.h"
#include "configurator/GearloomRes.h"
#include "skinkit/PopupMenus.h"
#include "core/Messages.h"
#include <gtest/gtest.h>

namespace {

const COLORREF kRed = RGB(200, 30, 30);
const COLORREF kBlue = RGB(30, 60, 210);

const char kApiRecord[] =
    "{\"lastModified\":1,\"name\":\"Aelric\",\"realm\":\"Silvermoon\",\"class\":6,\"race\":10,\"gender\":1,"
    "\"level\":80,\"achievementPoints\":1200,\"thumbnail\":\"silvermoon/7/77-avatar.jpg\"}";
const char kApiTarget[] = "/api/ulk/character/silvermoon/aelric";
const char kSheetTarget[] = "/character-sheet.xml?r=silvermoon&n=aelric";
const char kScriptPage[] =
    "<html>\n"
    " <img class=\"portrait\" src=\"/_images/portraits/ulk-80/0-5-9.gif\"/>\n"
    " <script>var theLevel=71;</script>\n"
    " <script>var theClassName=Shaman;</script>\n"
    "</html>\n";

DWORD Rgb(COLORREF c)
{
    return (DWORD)GetRValue(c) << 16 | (DWORD)GetGValue(c) << 8 | GetBValue(c);
}

bool Near(DWORD a, DWORD b)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (abs((int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF)) > 16) return false;
    return true;
}

template <int N> void Put(wchar_t (&field)[N], const wchar_t* text)
{
    CopyField(field, text);
}

void SetCharacterFields(ProfileData& p, const wchar_t* server, const wchar_t* name, const wchar_t* level,
                        const wchar_t* cls)
{
    Put(p.SERVER_NAME, server);
    Put(p.CHARACTER_NAME, name);
    Put(p.CHARACTER_LEVEL, level);
    Put(p.CHARACTER_CLASS, cls);
    Put(p.CHARACTER_RACE, L"1");
}

// The main window with the character lookups pointed at a web server of the test's own.
class CharacterDialog : public ::testing::Test {
protected:
    // The main window goes before the lookups' settings do.
    void TearDown() override { m_rig.Close(); }

    HttpReply Ok(const std::string& body) const
    {
        HttpReply r;
        r.body = body;
        return r;
    }

    // The character dialog over the main window, modeless, so the test keeps its thread.
    std::unique_ptr<CChronicleDlg> OpenDialog()
    {
        std::unique_ptr<CChronicleDlg> dlg(new CChronicleDlg(m_rig.dlg.get()));
        if (!dlg->Create(IDD_CHRONICLE_DIALOG, m_rig.dlg.get())) return nullptr;
        dlg->ShowWindow(SW_SHOW);
        EXPECT_TRUE(WindowShown(dlg->m_hWnd));
        return dlg;
    }
    void Click(CChronicleDlg& dlg, CBitmapBtn& button)
    {
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)button.m_hWnd);
    }

    // The colour the card shows inside its portrait, as the screen has it.
    DWORD CardPortraitPixel()
    {
        EXPECT_TRUE(WindowShown(m_rig.Hwnd()));
        int w = 0, h = 0;
        std::vector<DWORD> pixels = CaptureWindow(m_rig.Hwnd(), &w, &h);
        RECT card = m_rig.dlg->m_btnChronicle.GetRectInParent();
        int x = card.left + 40, y = card.top + 40;
        return pixels.empty() ? 0 : pixels[(size_t)y * w + x];
    }

    size_t RequestCount() const { return m_server.Requests().size(); }

    LoopbackHttpServer m_server;
    ServicesOnLoopback m_services{m_server.Port()};
    MainWindowRig m_rig;
};

}  // namespace

// A person opens the character dialog from the card, types a realm and a character in
// lower case and presses Find: the web API finds it, its thumbnail arrives, and the
// current profile takes the character with the first letters upper-cased and its name;
// the card shows the portrait and the texts.
TEST_F(CharacterDialog, AttachesALookedUpCharacterToTheProfile)
{
    m_server.Answer(kApiTarget, Ok(kApiRecord));
    m_server.Answer("/static-render/us/silvermoon/7/77-avatar.jpg", Ok(JpegBytes(kRed, 64, 64)));
    ASSERT_TRUE(m_rig.Open());
    CAPDlg& d = *m_rig.dlg;
    d.SendMessage(WM_PROFILE_CHANGE, 2);
    EXPECT_EQ(d.m_btnChronicle.m_bCard, 0);
    PersonHand person({[&](HWND h) {
        Snap(h, L"chronicle-dialog");
        TypeText(ChildAtEntry(h, L"CHRONICLE", L"EDIT_SERVER_NAME"), L"silvermoon");
        TypeText(ChildAtEntry(h, L"CHRONICLE", L"EDIT_CHARACTER_NAME"), L"aelric");
        Snap(h, L"chronicle-dialog-typed");
        ClickEntry(h, L"CHRONICLE", L"BUTTON_OK");
    }});
    m_rig.Click(d.m_btnChronicle);
    ASSERT_EQ(person.Finish(), 1);

    const ProfileData& p = d.m_config.profiles[2];
    EXPECT_STREQ(p.SERVER_NAME, L"Silvermoon");
    EXPECT_STREQ(p.CHARACTER_NAME, L"Aelric");
    EXPECT_STREQ(p.CHARACTER_LEVEL, L"80");
    EXPECT_STREQ(p.CHARACTER_CLASS, L"Dread Knight");
    EXPECT_STREQ(p.CHARACTER_RACE, L"10");
    EXPECT_EQ(p.REGION, 0);
    EXPECT_STREQ(p.PROFILE_NAME, L"Aelric");
    EXPECT_EQ(d.m_profileButtons[2].m_strToolTip, L"Aelric");
    EXPECT_TRUE(d.HasUnsavedChanges());
    EXPECT_STREQ(d.m_config.profiles[1].CHARACTER_NAME, L"") << "only the current profile";

    EXPECT_EQ(d.m_btnChronicle.m_bCard, 1);
    EXPECT_EQ(d.m_btnChronicle.m_strCard[0], L"Aelric");
    EXPECT_EQ(d.m_btnChronicle.m_strCard[1], L"Silvermoon");
    EXPECT_EQ(d.m_btnChronicle.m_strCard[2], L"80");
    EXPECT_EQ(d.m_btnChronicle.m_strCard[4], L"Dread Knight");
    EXPECT_TRUE(Near(CardPortraitPixel(), Rgb(kRed))) << std::hex << CardPortraitPixel();
    SaveWindowPng(m_rig.Hwnd(), L"main-character-card");
}

// The region popup opens under its button; choosing KOREA puts its "Menu.xml" text on the
// button and the lookups then ask for region 2.
TEST_F(CharacterDialog, TheRegionPopupChoosesTheRegion)
{
    m_server.Answer(kApiTarget, Ok(kApiRecord));
    m_server.Answer("/static-render/kr/silvermoon/7/77-avatar.jpg", Ok(JpegBytes(kBlue, 64, 64)));
    ASSERT_TRUE(m_rig.Open());
    std::unique_ptr<CChronicleDlg> dlg = OpenDialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->m_nRegion, 0);
    EXPECT_EQ(dlg->m_btnRegion.GetCaption(), L"Americas");

    dlg->SetForegroundWindow();
    EXPECT_TRUE(WindowInFront(dlg->m_hWnd));
    ASSERT_TRUE(ClickOn(dlg->m_btnRegion.m_hWnd));
    ASSERT_TRUE(PumpUntil([] { return g_pRegionMenu && g_pRegionMenu->m_hWnd; }));
    EXPECT_TRUE(WindowOnScreen(g_pRegionMenu->m_hWnd));
    RECT popup = g_pRegionMenu->GetWindowRect();
    RECT button = dlg->m_btnRegion.GetWindowRect();
    EXPECT_EQ(popup.left, button.left + 6);
    EXPECT_EQ(popup.top, button.bottom);
    RECT around = dlg->GetWindowRect();
    around.bottom = popup.bottom + 10;
    SaveScreenPng(around, L"chronicle-region-menu");

    // The third row.
    ASSERT_TRUE(ClickOn(g_pRegionMenu->m_list.m_hWnd, POINT{(popup.left + popup.right) / 2, popup.top + 2 * 20 + 10}));
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_nRegion == 2; }));
    PumpFor(100);
    EXPECT_EQ(g_pRegionMenu, nullptr);
    EXPECT_EQ(dlg->m_btnRegion.GetCaption(), L"Korea");
    SaveWindowPng(dlg->m_hWnd, L"chronicle-dialog-korea");

    // A popup that closed itself when the person clicked elsewhere is gone for good: the
    // next click on the button opens a new one.
    ASSERT_TRUE(ClickOn(dlg->m_btnRegion.m_hWnd));
    ASSERT_TRUE(PumpUntil([] { return g_pRegionMenu && g_pRegionMenu->m_hWnd; }));
    // Past the moment in which a focus change is taken as the opening click's echo.
    ASSERT_TRUE(PumpUntil([] { return !g_pRegionMenu || !g_pRegionMenu->JustShown(); }));
    // Into the realm field, right of the popup.
    RECT field = dlg->m_editRealm.GetWindowRect();
    ASSERT_TRUE(ClickOn(dlg->m_editRealm.m_hWnd, POINT{field.right - 15, (field.top + field.bottom) / 2}));
    ASSERT_TRUE(PumpUntil([] { return g_pRegionMenu == nullptr; })) << "closed and let go";
    ASSERT_TRUE(ClickOn(dlg->m_btnRegion.m_hWnd));
    ASSERT_TRUE(PumpUntil([] { return g_pRegionMenu && g_pRegionMenu->m_hWnd; }));
    Click(*dlg, dlg->m_btnRegion);

    EXPECT_EQ(g_pRegionMenu, nullptr) << "a click on its button closes it";
    EXPECT_EQ(dlg->m_nRegion, 2);

    dlg->m_editRealm.SetWindowText(L"silvermoon");
    dlg->m_editName.SetWindowText(L"aelric");
    Click(*dlg, dlg->m_btnOK);
    EXPECT_FALSE(dlg->IsWindowVisible()) << "found: the dialog ended";
    EXPECT_EQ(m_rig.dlg->m_config.profiles[0].REGION, 2);
    bool asked = false;
    for (const auto& r : m_server.Requests()) asked |= r.target == "/static-render/kr/silvermoon/7/77-avatar.jpg";
    EXPECT_TRUE(asked);
    dlg->DestroyWindow();
}

// The dialog's answers: empty fields are asked for (the realm first); a character no road
// finds is told and the dialog stays; one only the third road finds is taken without a
// notice in between; Enter tries only that road and says nothing when it fails.
TEST_F(CharacterDialog, NoticesAndRoads)
{
    ASSERT_TRUE(m_rig.Open());
    const struct {
        const char* what;
        const wchar_t* realm;
        const wchar_t* name;
        bool pageAnswers;  // the character sheet holds road 3's values
        bool apiAnswers;
        bool enter;
        int notices;
        bool found;
        const wchar_t* picture;
    } cases[] = {
        {"both empty", L"", L"", false, false, false, 1, false, L"chronicle-enter-realm"},
        {"no name", L"silvermoon", L"", false, false, false, 1, false, L"chronicle-enter-name"},
        {"no road finds it", L"silvermoon", L"aelric", false, false, false, 1, false, L"chronicle-not-found"},
        {"only the page road", L"silvermoon", L"aelric", true, false, false, 0, true, nullptr},
        {"enter, only the web API", L"silvermoon", L"aelric", false, true, true, 0, false, nullptr},
        {"enter, the page", L"silvermoon", L"aelric", true, false, true, 0, true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_rig.dlg->m_config.profiles[0].CHARACTER_NAME[0] = 0;
        m_server.Answer(kSheetTarget, c.pageAnswers ? Ok(kScriptPage) : HttpReply{404});
        m_server.Answer("/_images/portraits/ulk-80/0-5-9.gif", Ok("GIF89a portrait"));
        m_server.Answer(kApiTarget, c.apiAnswers ? Ok(kApiRecord) : HttpReply{404});
        m_server.Answer("/static-render/us/silvermoon/7/77-avatar.jpg", Ok(JpegBytes(kRed, 64, 64)));
        std::unique_ptr<CChronicleDlg> dlg = OpenDialog();
        ASSERT_NE(dlg, nullptr);
        dlg->m_editRealm.SetWindowText(c.realm);
        dlg->m_editName.SetWindowText(c.name);
        size_t before = RequestCount();
        BoxAnswerer answerer(BoxAnswerer::Answer::Close, {m_rig.Hwnd(), dlg->m_hWnd}, c.picture, 2500);
        if (c.enter) {
            dlg->SetForegroundWindow();
            EXPECT_TRUE(WindowInFront(dlg->m_hWnd));
            dlg->m_editName.SetFocus();
            PumpFor(100);
            KeyTap(VK_RETURN);
            PumpFor(1500);
        } else {
            Click(*dlg, dlg->m_btnOK);
        }
        EXPECT_EQ(answerer.Finish(), c.notices);
        EXPECT_EQ(dlg->IsWindowVisible() == FALSE, c.found);
        EXPECT_EQ(m_rig.dlg->m_config.profiles[0].CHARACTER_NAME[0] != 0, c.found);
        if (c.found) {
            EXPECT_STREQ(m_rig.dlg->m_config.profiles[0].CHARACTER_LEVEL, L"71");
            EXPECT_STREQ(m_rig.dlg->m_config.profiles[0].CHARACTER_CLASS, L"Shaman");
        }
        std::vector<LoopbackHttpServer::Request> requests = m_server.Requests();
        bool askedApi = false;
        for (size_t i = before; i < requests.size(); ++i) askedApi |= requests[i].target == kApiTarget;
        EXPECT_EQ(askedApi, !c.enter && c.name[0] != 0);
        if (c.realm[0] == 0 || c.name[0] == 0) {
            EXPECT_EQ(requests.size(), before) << "nothing asked without both names";
        }
        dlg->DestroyWindow();
    }
}

// Every opening starts afresh: USA and empty fields.
TEST_F(CharacterDialog, OpensWithUsaAndEmptyFields)
{
    ASSERT_TRUE(m_rig.Open());
    {
        std::unique_ptr<CChronicleDlg> dlg = OpenDialog();
        ASSERT_NE(dlg, nullptr);
        dlg->SendMessage(WM_REGION_SELECT, 4);
        EXPECT_EQ(dlg->m_btnRegion.GetCaption(), L"China");
        dlg->m_editRealm.SetWindowText(L"somewhere");
        Click(*dlg, dlg->m_btnCancel);
        EXPECT_FALSE(dlg->IsWindowVisible());
        dlg->DestroyWindow();
    }
    std::unique_ptr<CChronicleDlg> dlg = OpenDialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->m_nRegion, 0);
    EXPECT_EQ(dlg->m_btnRegion.GetCaption(), L"Americas");
    EXPECT_EQ(dlg->m_editRealm.GetWindowText(), L"");
    EXPECT_EQ(dlg->m_editName.GetWindowText(), L"");
    // No more can be typed than the profile keeps of a realm or a name.
    EXPECT_EQ(dlg->m_editRealm.SendMessage(EM_GETLIMITTEXT), 254);
    EXPECT_EQ(dlg->m_editName.SendMessage(EM_GETLIMITTEXT), 254);
    dlg->DestroyWindow();
}

// The card follows the current profile: its character and portrait, another profile's
// after a switch, the plain look (and no request) without a character. A missing portrait
// is fetched: the plain look stays until the next refresh shows it; a failed fetch keeps
// the plain look.
TEST_F(CharacterDialog, TheCardFollowsTheProfile)
{
    std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
    SetCharacterFields(cfg->profiles[0], L"Silvermoon", L"Aelric", L"80", L"Dread Knight");
    SetCharacterFields(cfg->profiles[1], L"Kezan", L"Brann", L"12", L"Hunter");
    SetCharacterFields(cfg->profiles[3], L"Kezan", L"Mira", L"75", L"Mage");
    SetCharacterFields(cfg->profiles[4], L"Kezan", L"Lost", L"5", L"Rogue");
    cfg->profiles[3].REGION = 7;  // outside the table: the first region
    ASSERT_TRUE(m_rig.WriteConfig(*cfg));
    std::string red = JpegBytes(kRed, 64, 64), blue = JpegBytes(kBlue, 64, 64);
    ASSERT_TRUE(WriteBytes(CharacterPicturePath(L"Silvermoon", L"Aelric", L".jpg"), red.data(), red.size()));
    ASSERT_TRUE(WriteBytes(CharacterPicturePath(L"Kezan", L"Brann", L".jpg"), blue.data(), blue.size()));
    m_server.Answer("/character-sheet.xml?r=Kezan&n=Mira",
                    Ok("<html>\n<img src=\"/images/portraits/ulk-70/1-2-8.gif\"/>\n</html>\n"));
    m_server.Answer("/images/portraits/ulk-70/1-2-8.gif", Ok(JpegBytes(kBlue, 64, 64)));

    ASSERT_TRUE(m_rig.Open());
    CAPDlg& d = *m_rig.dlg;
    CBitmapBtn& card = d.m_btnChronicle;
    EXPECT_EQ(card.m_bCard, 1);
    EXPECT_EQ(card.m_strCard[0], L"Aelric");
    EXPECT_TRUE(Near(CardPortraitPixel(), Rgb(kRed)));
    EXPECT_EQ(RequestCount(), 0u) << "the portrait was there";

    d.SendMessage(WM_PROFILE_CHANGE, 1);
    EXPECT_EQ(card.m_bCard, 1);
    EXPECT_EQ(card.m_strCard[0], L"Brann");
    EXPECT_EQ(card.m_strCard[1], L"Kezan");
    EXPECT_TRUE(Near(CardPortraitPixel(), Rgb(kBlue)));
    SaveWindowPng(m_rig.Hwnd(), L"main-character-card-other-profile");

    d.SendMessage(WM_PROFILE_CHANGE, 2);
    EXPECT_EQ(card.m_bCard, 0);
    EXPECT_EQ(RequestCount(), 0u) << "no character, no request";
    DWORD plain = CardPortraitPixel();
    EXPECT_FALSE(Near(plain, Rgb(kBlue)));
    SaveWindowPng(m_rig.Hwnd(), L"main-character-none");

    d.SendMessage(WM_PROFILE_CHANGE, 3);
    EXPECT_EQ(RequestCount(), 2u) << "the sheet page and the picture";
    EXPECT_EQ(card.m_bCard, 0) << "shown from the next refresh on";
    EXPECT_EQ(card.m_strCard[0], L"Mira");
    EXPECT_NE(GetFileAttributesW(CharacterPicturePath(L"Kezan", L"Mira", L".jpg")), INVALID_FILE_ATTRIBUTES);
    d.RefreshFromProfile();
    EXPECT_EQ(card.m_bCard, 1);
    EXPECT_EQ(RequestCount(), 2u);

    d.SendMessage(WM_PROFILE_CHANGE, 4);
    EXPECT_EQ(card.m_bCard, 0) << "the fetch failed";
    EXPECT_EQ(CardPortraitPixel(), plain);
    EXPECT_EQ(GetFileAttributesW(CharacterPicturePath(L"Kezan", L"Lost", L".jpg")), INVALID_FILE_ATTRIBUTES);
}
