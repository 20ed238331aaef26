#include "LoopbackHttpServer.h"
#include "configurator/panels/CharacterLookup.h"
#include "configurator/panels/CharacterServices.h"
#include "core/ConfigTestSupport.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

const std::string kJpeg = std::string("\xFF\xD8\xFF\xE0", 4) + "JFIF thumbnail bytes";
const std::string kGif = "GIF89a portrait bytes";
const std::string kNoPicture = "GIF89a no picture";

HttpReply Ok(const std::string& body)
{
    HttpReply r;
    r.body = body;
    return r;
}

HttpReply Redirect(int status, const std::string& location)
{
    HttpReply r;
    r.status = status;
    r.headers = "Location: " + location + "\r\n";
    r.body = "<html><body>Moved</body></html>";
    return r;
}

// The lookups against a web server of the test's own, with short time-outs, writing into
// a configuration folder of the test's own.
class CharacterLookupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_noPicture = m_skins.File(L"no_picture.gif");
        WriteBytes(m_noPicture, kNoPicture.data(), kNoPicture.size());
        // Where the bad redirects lead.
        m_server.Answer("/elsewhere.html", Ok("<html><body>Elsewhere</body></html>"));
        m_server.Answer("/loop", Redirect(302, "/loop"));
    }

    // The files of the configuration folder, sorted.
    std::vector<std::wstring> Files() const
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW(m_conf.File(L"*"), &fd);
        if (h == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
        } while (FindNextFileW(h, &fd));
        FindClose(h);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string FileText(const wchar_t* name) const
    {
        std::vector<unsigned char> b = ReadBytes(m_conf.File(name));
        return std::string(b.begin(), b.end());
    }

    LoopbackHttpServer m_server;
    ServicesOnLoopback m_services{m_server.Port()};
    ConfFolder m_conf;
    TempDir m_skins;
    CString m_noPicture;
};

// A call ends within its time-outs: the slowest exchanges give up after the exchange
// limit plus one wait for data; this bound only catches a hang.
template <class Call> auto Timed(Call call, ULONGLONG& ms)
{
    ULONGLONG start = GetTickCount64();
    auto result = call();
    ms = GetTickCount64() - start;
    return result;
}
const ULONGLONG kHangMs = 8000;

const char kApiRecord[] =
    "{\"lastModified\":1,\"name\":\"\xC3\x86var\",\"realm\":\"Silvermoon\",\"battlegroup\":\"Vengeance\","
    "\"class\":9,\"race\":5,\"gender\":0,\"level\":80,\"achievementPoints\":1200,"
    "\"thumbnail\":\" silvermoon/1/2-avatar.jpg \"}";
const char kApiTarget[] = "/api/ulk/character/Silvermoon/%C3%86var";

TEST_F(CharacterLookupTest, TheWebApiRoadFindsTheCharacterAndSavesItsThumbnail)
{
    m_server.Answer(kApiTarget, Ok(kApiRecord));
    m_server.Answer("/static-render/kr/silvermoon/1/2-avatar.jpg", Ok(kJpeg));
    CharacterFound found;
    ASSERT_TRUE(LookupCharacterApi(2, L"Silvermoon", L"\u00C6var", found));
    EXPECT_STREQ(found.level, L"80");
    EXPECT_STREQ(found.className, L"Warlock");
    EXPECT_STREQ(found.race, L"5");
    CString address;
    address.Format(L"http://127.0.0.1:%u/static-render/kr/silvermoon/1/2-avatar.jpg", (unsigned)m_server.Port());
    EXPECT_STREQ(found.portraitUrl, address);
    EXPECT_EQ(Files(), std::vector<std::wstring>{L"Silvermoon_\u00C6var.jpg"});
    EXPECT_EQ(FileText(L"Silvermoon_\u00C6var.jpg"), kJpeg);

    std::vector<LoopbackHttpServer::Request> requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(LoopbackHttpServer::Header(requests[0], "Accept-Charset"), "UTF-8;");
    EXPECT_EQ(LoopbackHttpServer::Header(requests[1], "User-Agent"), "Gearloomimg");
}

TEST_F(CharacterLookupTest, ARegionOutsideTheTableIsTheFirstRegion)
{
    m_server.Answer(kApiTarget, Ok(kApiRecord));
    m_server.Answer("/static-render/us/silvermoon/1/2-avatar.jpg", Ok(kJpeg));
    for (int region : {-1, 5, 1000}) {
        CharacterFound found;
        EXPECT_TRUE(LookupCharacterApi(region, L"Silvermoon", L"\u00C6var", found)) << region;
    }
}

// Bad replies, each given for the request named; every one must end the exchange as a
// failure without a hang.
struct BadReply {
    const char* what;
    HttpReply reply;
};

std::vector<BadReply> BadReplies(const std::string& goodBody)
{
    auto with = [&](auto change) {
        HttpReply r;
        r.body = goodBody;
        change(r);
        return r;
    };
    std::string binary;
    for (int i = 0; i < 3000; ++i) binary += (char)((i * 7919) & 0xFF);
    return {
        {"slow", with([](HttpReply& r) { r.delayMs = 4000; })},
        {"truncated", with([](HttpReply& r) {
             r.body = r.body.substr(0, 8);
             r.missingBytes = 5000;
         })},
        {"trickling past the exchange limit", with([](HttpReply& r) {
             r.body = r.body.substr(0, 6) + std::string(2000, ' ') + r.body.substr(6);
             r.trickleMs = 150;
         })},
        {"binary", with([&](HttpReply& r) { r.body = binary; })},
        {"error status", with([](HttpReply& r) { r.status = 500; })},
        {"not found", with([](HttpReply& r) { r.status = 404; })},
        {"redirect to a missing page", Redirect(302, "/nowhere")},
        {"redirect to a web page", Redirect(301, "/elsewhere.html")},
        {"redirect loop", Redirect(302, "/loop")},
    };
}

TEST_F(CharacterLookupTest, TheWebApiRoadFailsOnEveryBadReply)
{
    HttpReply oversized = Ok(std::string("{\"name\":\"x\",") + std::string(5000, ' ') + (kApiRecord + 1));
    std::vector<BadReply> bad = BadReplies(kApiRecord);
    bad.push_back({"record beyond 4096 bytes", oversized});
    m_server.Answer("/static-render/us/silvermoon/1/2-avatar.jpg", Ok(kJpeg));
    for (const BadReply& b : bad) {
        SCOPED_TRACE(b.what);
        m_server.Answer(kApiTarget, b.reply);
        CharacterFound found;
        ULONGLONG ms;
        EXPECT_FALSE(Timed([&] { return LookupCharacterApi(0, L"Silvermoon", L"\u00C6var", found); }, ms));
        EXPECT_LT(ms, kHangMs);
        EXPECT_TRUE(Files().empty());
        EXPECT_TRUE(found.level.IsEmpty());
    }
}

TEST_F(CharacterLookupTest, AThumbnailIsSavedOnlyWhenAWholePictureArrives)
{
    m_server.Answer(kApiTarget, Ok(kApiRecord));
    // A picture from before stays as it was when a new one fails.
    WriteBytes(m_conf.File(L"Silvermoon_\u00C6var.jpg"), "old", 3);
    std::vector<BadReply> bad = BadReplies(kJpeg);
    HttpReply errorPage = Ok(kJpeg + "<html>Internal error</html>");
    errorPage.status = 500;
    bad.push_back({"error page that starts like a picture", errorPage});
    bad.push_back({"a web page", Ok("<html><body>Maintenance</body></html>")});
    HttpReply huge = Ok(kJpeg);
    huge.padBytes = 5 * 1024 * 1024;
    bad.push_back({"oversized", huge});
    HttpReply cut = Ok(kJpeg);
    cut.missingBytes = 10;
    bad.push_back({"cut after its first bytes", cut});
    for (const BadReply& b : bad) {
        SCOPED_TRACE(b.what);
        m_server.Answer("/static-render/us/silvermoon/1/2-avatar.jpg", b.reply);
        CharacterFound found;
        ULONGLONG ms;
        EXPECT_FALSE(Timed([&] { return LookupCharacterApi(0, L"Silvermoon", L"\u00C6var", found); }, ms));
        EXPECT_LT(ms, kHangMs);
        EXPECT_EQ(Files(), std::vector<std::wstring>{L"Silvermoon_\u00C6var.jpg"});
        EXPECT_EQ(FileText(L"Silvermoon_\u00C6var.jpg"), "old");
    }
}

const char kSheetTarget[] = "/character-sheet.xml?r=Silvermoon&n=Arthas";
const char kSheetPage[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<page>\r\n"
    " <character name=\"Arthas\" class=\"Hunter\" classId=\"3\" genderId=\"1\" raceId=\"4\" level=\"72\"/>\r\n"
    " <img class=\"portrait\" src=\"/_images/portraits/ulk-80/0-5-9.gif\"/>\n"
    " <script>var theLevel=80; var shown=1;</script>\n"
    " <script>var theClassName=Warlock;</script>\n"
    "</page>\n";

// The two character-sheet roads: the same page, each reading its own part.
struct SheetRoad {
    const char* name;
    BOOL (*lookup)(int, const wchar_t*, const wchar_t*, const wchar_t*, CharacterFound&);
    const char* portraitTarget;
    const wchar_t* level;
    const wchar_t* className;
};
const SheetRoad kSheetRoads[] = {
    {"attributes", LookupCharacterSheet, "/_images/portraits/ulk-70/1-4-3.gif", L"72", L"Hunter"},
    {"script values", LookupCharacterPage, "/_images/portraits/ulk-80/0-5-9.gif", L"80", L"Warlock"},
};

TEST_F(CharacterLookupTest, TheCharacterSheetRoadsFindTheCharacterAndSaveItsPortrait)
{
    m_server.Answer(kSheetTarget, Ok(kSheetPage));
    for (const SheetRoad& road : kSheetRoads) {
        SCOPED_TRACE(road.name);
        m_server.Answer(road.portraitTarget, Ok(kGif + road.name));
        CharacterFound found;
        ASSERT_TRUE(road.lookup(0, L"Silvermoon", L"Arthas", m_noPicture, found));
        EXPECT_STREQ(found.level, road.level);
        EXPECT_STREQ(found.className, road.className);
        EXPECT_EQ(Files(), std::vector<std::wstring>{L"Silvermoon_Arthas.gif"});
        EXPECT_EQ(FileText(L"Silvermoon_Arthas.gif"), kGif + road.name);
    }
    std::vector<LoopbackHttpServer::Request> requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(LoopbackHttpServer::Header(requests[0], "User-Agent"), "Gearloom2");
    EXPECT_EQ(LoopbackHttpServer::Header(requests[2], "User-Agent"), "configurator_tests");
}

TEST_F(CharacterLookupTest, ACharacterSheetRoadFailsOnEveryBadPage)
{
    std::vector<BadReply> bad = BadReplies(kSheetPage);
    HttpReply huge = Ok("<page>\n");
    huge.padBytes = 3 * 1024 * 1024;
    bad.push_back({"oversized", huge});
    // Everything either road looks for, but only after 100000 bytes of one line.
    HttpReply longLine = Ok(std::string(" ") + std::string(100000, 'a') +
                            " <c class=\"Hunter\" classId=\"3\" genderId=\"1\" raceId=\"4\" level=\"72\"/>"
                            " <img src=\"/_images/portraits/ulk-80/0-5-9.gif\"/> theLevel=80; theClassName=X;\n");
    bad.push_back({"fields only beyond a line's bound", longLine});
    for (const SheetRoad& road : kSheetRoads) {
        m_server.Answer(road.portraitTarget, Ok(kGif));
        for (const BadReply& b : bad) {
            SCOPED_TRACE(std::string(road.name) + ": " + b.what);
            m_server.Answer(kSheetTarget, b.reply);
            CharacterFound found;
            ULONGLONG ms;
            EXPECT_FALSE(Timed([&] { return road.lookup(0, L"Silvermoon", L"Arthas", m_noPicture, found); }, ms));
            EXPECT_LT(ms, kHangMs);
            EXPECT_TRUE(Files().empty());
        }
    }
}

TEST_F(CharacterLookupTest, ABadPortraitBecomesTheNoPictureImage)
{
    m_server.Answer(kSheetTarget, Ok(kSheetPage));
    std::vector<BadReply> bad = BadReplies(kGif);
    HttpReply errorPage = Ok(kGif + "<html>Not here</html>");
    errorPage.status = 404;
    bad.push_back({"error page that starts like a GIF", errorPage});
    bad.push_back({"two bytes", Ok("GI")});
    bad.push_back({"a JPEG", Ok(kJpeg)});
    for (const SheetRoad& road : kSheetRoads) {
        for (const BadReply& b : bad) {
            SCOPED_TRACE(std::string(road.name) + ": " + b.what);
            m_server.Answer(road.portraitTarget, b.reply);
            CharacterFound found;
            ULONGLONG ms;
            EXPECT_TRUE(Timed([&] { return road.lookup(0, L"Silvermoon", L"Arthas", m_noPicture, found); }, ms));
            EXPECT_LT(ms, kHangMs);
            EXPECT_EQ(Files(), std::vector<std::wstring>{L"Silvermoon_Arthas.gif"});
            EXPECT_EQ(FileText(L"Silvermoon_Arthas.gif"), kNoPicture);
        }
        // Without the no-picture image the road fails, and leaves nothing.
        DeleteFileW(m_conf.File(L"Silvermoon_Arthas.gif"));
        CharacterFound found;
        EXPECT_FALSE(road.lookup(0, L"Silvermoon", L"Arthas", m_skins.File(L"missing.gif"), found));
        EXPECT_TRUE(Files().empty());
    }
}

const char kPortraitPage[] = "<html>\n <img src=\"/_images/portraits/ulk/1-1-1.gif\"/>\n</html>\n";

TEST_F(CharacterLookupTest, ThePortraitDownloadSavesTheSheetsPicture)
{
    m_server.Answer(kSheetTarget, Ok(kPortraitPage));
    m_server.Answer("/images/portraits/ulk/1-1-1.gif", Ok(kGif));
    EXPECT_TRUE(DownloadPortrait(4, L"Arthas", L"Silvermoon"));
    EXPECT_EQ(Files(), std::vector<std::wstring>{L"Silvermoon_Arthas.jpg"});
    EXPECT_EQ(FileText(L"Silvermoon_Arthas.jpg"), kGif);
}

TEST_F(CharacterLookupTest, ThePortraitDownloadFailsOnEveryBadReply)
{
    m_server.Answer("/images/portraits/ulk/1-1-1.gif", Ok(kGif));
    for (const BadReply& b : BadReplies(kPortraitPage)) {
        SCOPED_TRACE(std::string("page: ") + b.what);
        m_server.Answer(kSheetTarget, b.reply);
        ULONGLONG ms;
        EXPECT_FALSE(Timed([&] { return DownloadPortrait(0, L"Arthas", L"Silvermoon"); }, ms));
        EXPECT_LT(ms, kHangMs);
        EXPECT_TRUE(Files().empty());
    }
    m_server.Answer(kSheetTarget, Ok(kPortraitPage));
    for (const BadReply& b : BadReplies(kGif)) {
        SCOPED_TRACE(std::string("picture: ") + b.what);
        m_server.Answer("/images/portraits/ulk/1-1-1.gif", b.reply);
        ULONGLONG ms;
        EXPECT_FALSE(Timed([&] { return DownloadPortrait(0, L"Arthas", L"Silvermoon"); }, ms));
        EXPECT_LT(ms, kHangMs);
        EXPECT_TRUE(Files().empty());
    }
}

// A service may answer any request with a redirect to where the reply now lives; every
// road follows it as the session would by default, and saves what the last reply brings.
TEST_F(CharacterLookupTest, EveryRoadFollowsRedirects)
{
    for (int status : {301, 302}) {
        // A 301 names the new place in full, a 302 by its path alone.
        std::string base = status == 301 ? "http://127.0.0.1:" + std::to_string(m_server.Port()) : "";
        auto moveTo = [&](const std::string& from, const std::string& to, const HttpReply& reply) {
            m_server.Answer(from, Redirect(status, base + to));
            m_server.Answer(to, reply);
        };
        SCOPED_TRACE(status);
        {
            SCOPED_TRACE("web API");
            moveTo(kApiTarget, "/moved/record", Ok(kApiRecord));
            moveTo("/static-render/us/silvermoon/1/2-avatar.jpg", "/moved/thumbnail.jpg", Ok(kJpeg));
            CharacterFound found;
            EXPECT_TRUE(LookupCharacterApi(0, L"Silvermoon", L"\u00C6var", found));
            EXPECT_STREQ(found.level, L"80");
            EXPECT_EQ(Files(), std::vector<std::wstring>{L"Silvermoon_\u00C6var.jpg"});
            EXPECT_EQ(FileText(L"Silvermoon_\u00C6var.jpg"), kJpeg);
            DeleteFileW(m_conf.File(L"Silvermoon_\u00C6var.jpg"));
        }
        moveTo(kSheetTarget, "/moved/sheet.xml", Ok(kSheetPage));
        for (const SheetRoad& road : kSheetRoads) {
            SCOPED_TRACE(road.name);
            moveTo(road.portraitTarget, "/moved" + std::string(road.portraitTarget), Ok(kGif + road.name));
            CharacterFound found;
            EXPECT_TRUE(road.lookup(0, L"Silvermoon", L"Arthas", m_noPicture, found));
            EXPECT_STREQ(found.level, road.level);
            EXPECT_EQ(Files(), std::vector<std::wstring>{L"Silvermoon_Arthas.gif"});
            EXPECT_EQ(FileText(L"Silvermoon_Arthas.gif"), kGif + road.name);
            DeleteFileW(m_conf.File(L"Silvermoon_Arthas.gif"));
        }
        {
            SCOPED_TRACE("portrait download");
            moveTo(kSheetTarget, "/moved/page.xml", Ok(kPortraitPage));
            moveTo("/images/portraits/ulk/1-1-1.gif", "/moved/picture.gif", Ok(kGif));
            EXPECT_TRUE(DownloadPortrait(0, L"Arthas", L"Silvermoon"));
            EXPECT_EQ(Files(), std::vector<std::wstring>{L"Silvermoon_Arthas.jpg"});
            EXPECT_EQ(FileText(L"Silvermoon_Arthas.jpg"), kGif);
            DeleteFileW(m_conf.File(L"Silvermoon_Arthas.jpg"));
        }
    }
}

// WinINet hands over a body's first bytes by themselves when the server sends them alone:
// the picture test must see the head gathered across reads.
TEST_F(CharacterLookupTest, APictureWhoseFirstBytesArriveAloneIsKept)
{
    m_server.Answer(kApiTarget, Ok(kApiRecord));
    m_server.Answer(kSheetTarget, Ok(kSheetPage));
    struct Fetch {
        const char* what;
        std::function<BOOL()> run;
        const char* pictureTarget;
        std::string picture;
        const wchar_t* file;
    } fetches[] = {
        {"web API thumbnail", [&] { CharacterFound f; return LookupCharacterApi(0, L"Silvermoon", L"\u00C6var", f); },
         "/static-render/us/silvermoon/1/2-avatar.jpg", kJpeg, L"Silvermoon_\u00C6var.jpg"},
        {"attributes portrait",
         [&] { CharacterFound f; return LookupCharacterSheet(0, L"Silvermoon", L"Arthas", m_noPicture, f); },
         kSheetRoads[0].portraitTarget, kGif, L"Silvermoon_Arthas.gif"},
        {"script values portrait",
         [&] { CharacterFound f; return LookupCharacterPage(0, L"Silvermoon", L"Arthas", m_noPicture, f); },
         kSheetRoads[1].portraitTarget, kGif, L"Silvermoon_Arthas.gif"},
    };
    for (const Fetch& f : fetches) {
        for (size_t piece : {1, 2}) {
            SCOPED_TRACE(std::string(f.what) + ", first piece " + std::to_string(piece));
            HttpReply reply = Ok(f.picture);
            reply.firstPiece = piece;
            m_server.Answer(f.pictureTarget, reply);
            EXPECT_TRUE(f.run());
            EXPECT_EQ(Files(), std::vector<std::wstring>{f.file});
            EXPECT_EQ(FileText(f.file), f.picture);
            DeleteFileW(m_conf.File(f.file));
        }
    }
    // The main window's portrait download.
    m_server.Answer(kSheetTarget, Ok(kPortraitPage));
    for (size_t piece : {1, 2}) {
        SCOPED_TRACE("portrait download, first piece " + std::to_string(piece));
        HttpReply reply = Ok(kGif);
        reply.firstPiece = piece;
        m_server.Answer("/images/portraits/ulk/1-1-1.gif", reply);
        EXPECT_TRUE(DownloadPortrait(0, L"Arthas", L"Silvermoon"));
        EXPECT_EQ(Files(), std::vector<std::wstring>{L"Silvermoon_Arthas.jpg"});
        EXPECT_EQ(FileText(L"Silvermoon_Arthas.jpg"), kGif);
        DeleteFileW(m_conf.File(L"Silvermoon_Arthas.jpg"));
    }
}

std::string Utf8(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string bytes((size_t)n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &bytes[0], n, nullptr, nullptr);
    return bytes;
}

// The bytes of one part of a request target as a server decodes them. Refused (with a
// mark that matches no text) when the part holds anything but unreserved characters and
// percent escapes.
std::string Decoded(const std::string& part)
{
    auto hex = [](char c) { return isxdigit((unsigned char)c) != 0; };
    std::string bytes;
    for (size_t i = 0; i < part.size(); ++i) {
        char c = part[i];
        if (isalnum((unsigned char)c) || strchr("-._~", c)) {
            bytes += c;
        } else if (c == '%' && i + 2 < part.size() && hex(part[i + 1]) && hex(part[i + 2])) {
            bytes += (char)std::stoi(part.substr(i + 1, 2), nullptr, 16);
            i += 2;
        } else {
            return "<not encoded: " + part + ">";
        }
    }
    return bytes;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

// The realm and name a request asks for, as the server reads them from its target.
std::vector<std::string> AskedFor(const std::string& target)
{
    const std::string api = "/api/ulk/character/", sheet = "/character-sheet.xml?";
    std::vector<std::string> asked;
    if (target.compare(0, api.size(), api) == 0) {
        for (const std::string& part : Split(target.substr(api.size()), '/')) asked.push_back(Decoded(part));
    } else if (target.compare(0, sheet.size(), sheet) == 0) {
        std::vector<std::string> fields = Split(target.substr(sheet.size()), '&');
        const char* keys[] = {"r=", "n="};
        for (size_t i = 0; i < fields.size(); ++i) {
            if (i < 2 && fields[i].compare(0, 2, keys[i]) == 0)
                asked.push_back(Decoded(fields[i].substr(2)));
            else
                asked.push_back("<field " + fields[i] + ">");
        }
    } else {
        asked.push_back("<target " + target + ">");
    }
    return asked;
}

// Typed texts go into addresses with every byte outside the unreserved characters
// percent-encoded, in path segments and query values alike: the service is asked for
// exactly what was typed.
TEST_F(CharacterLookupTest, EveryRoadAsksForTheTypedNamesExactly)
{
    const std::wstring names[] = {
        L"na?me", L"na&n=Other", L"../../x", L"a b", L"50%", L"#x", L"a+b;c,d!*'()", L"x/y\\z", L"~-._",
        L"\u00C6var \u00D0\u00F3rr\u00F0", L"\u4E2D\u6587\U0001F600", L"tab\there", L"\x01\x1F\x7F",
        L"a\r\nX-Injected: 1",
    };
    for (const std::wstring& name : names) {
        std::wstring realm = L"Realm of " + name;
        SCOPED_TRACE(Utf8(name));
        size_t before = m_server.Requests().size();
        CharacterFound found;
        LookupCharacterApi(0, realm.c_str(), name.c_str(), found);
        LookupCharacterSheet(0, realm.c_str(), name.c_str(), m_noPicture, found);
        LookupCharacterPage(0, realm.c_str(), name.c_str(), m_noPicture, found);
        DownloadPortrait(0, name.c_str(), realm.c_str());
        std::vector<LoopbackHttpServer::Request> requests = m_server.Requests();
        ASSERT_EQ(requests.size(), before + 4);
        const std::vector<std::string> want = {Utf8(realm), Utf8(name)};
        for (size_t i = before; i < requests.size(); ++i) {
            SCOPED_TRACE(requests[i].target);
            EXPECT_EQ(AskedFor(requests[i].target), want);
        }
    }
    EXPECT_TRUE(Files().empty());
}

// A typed text that cannot go into an address whole, and for the web API's path a name
// of dots alone, which a server takes for a step up the path: such a road asks nothing.
TEST_F(CharacterLookupTest, ARoadAsksNothingRatherThanForAnotherName)
{
    struct Case {
        std::wstring realm, name;
        size_t requests;  // of the four roads
    } cases[] = {
        {L"Silvermoon", std::wstring(85, L'?'), 0},  // 255 characters encoded, one too many
        {std::wstring(29, L'\u4E2D'), L"Arthas", 0},  // nine characters each
        {L"Silvermoon", L"..", 3},
        {L".", L"Arthas", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.realm + L" / " + c.name));
        size_t before = m_server.Requests().size();
        CharacterFound found;
        EXPECT_FALSE(LookupCharacterApi(0, c.realm.c_str(), c.name.c_str(), found));
        EXPECT_FALSE(LookupCharacterSheet(0, c.realm.c_str(), c.name.c_str(), m_noPicture, found));
        EXPECT_FALSE(LookupCharacterPage(0, c.realm.c_str(), c.name.c_str(), m_noPicture, found));
        EXPECT_FALSE(DownloadPortrait(0, c.name.c_str(), c.realm.c_str()));
        std::vector<LoopbackHttpServer::Request> requests = m_server.Requests();
        ASSERT_EQ(requests.size(), before + c.requests);
        for (size_t i = before; i < requests.size(); ++i)
            EXPECT_EQ(AskedFor(requests[i].target), (std::vector<std::string>{Utf8(c.realm), Utf8(c.name)}));
    }
    // The longest texts that fit are asked for whole.
    std::wstring name(84, L'?'), realm(28, L'\u4E2D');
    CharacterFound found;
    LookupCharacterApi(0, realm.c_str(), name.c_str(), found);
    DownloadPortrait(0, name.c_str(), realm.c_str());
    std::vector<LoopbackHttpServer::Request> requests = m_server.Requests();
    ASSERT_GE(requests.size(), 2u);
    for (size_t i = requests.size() - 2; i < requests.size(); ++i)
        EXPECT_EQ(AskedFor(requests[i].target), (std::vector<std::string>{Utf8(realm), Utf8(name)}));
    EXPECT_TRUE(Files().empty());
}

TEST_F(CharacterLookupTest, NothingListensThere)
{
    CharacterServices().port = 1;
    CharacterFound found;
    EXPECT_FALSE(LookupCharacterApi(0, L"Silvermoon", L"Arthas", found));
    EXPECT_FALSE(LookupCharacterPage(0, L"Silvermoon", L"Arthas", m_noPicture, found));
    EXPECT_TRUE(Files().empty());
}

} // namespace
