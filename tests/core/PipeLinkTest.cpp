#include "core/PipeLink.h"
#include "core/Messages.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <aclapi.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <cstdio>
#include <sddl.h>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Generous upper bounds so that a broken link fails the test instead of hanging it.
const DWORD CAP_MS = 30000;

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A real hidden window that keeps the reload notices it receives. Like the service's
// window, it closes its link in WM_DESTROY.
class TestWindow {
public:
    TestWindow()
    {
        static ATOM cls = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"PipeLinkTestWindow";
            return RegisterClassW(&wc);
        }();
        hwnd = CreateWindowExW(0, MAKEINTATOM(cls), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), this);
    }
    ~TestWindow() { Destroy(); }
    void Destroy()
    {
        if (hwnd) DestroyWindow(hwnd);
        hwnd = nullptr;
    }

    HWND hwnd = nullptr;
    PipeLink* link = nullptr;
    std::vector<Received> records;
    size_t recordsAtDestroy = 0;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, (LONG_PTR)((CREATESTRUCTW*)lParam)->lpCreateParams);
        auto* self = (TestWindow*)GetWindowLongPtrW(hwnd, GWLP_USERDATA);
        if (self && msg == WM_RELOAD_CONFIG) {
            self->records.push_back({msg, wParam, lParam});
            return 0;
        }
        if (self && msg == WM_DESTROY && self->link) {
            self->recordsAtDestroy = self->records.size();
            ClosePipeLink(*self->link);
            self->link = nullptr;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
};

void DispatchAll()
{
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

// Handles this thread's messages (and the pipe thread's sends) until done() holds.
bool PumpUntil(const std::function<bool()>& done, DWORD cap = CAP_MS)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > cap) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        DispatchAll();
    }
    return true;
}

void PumpFor(DWORD ms)
{
    DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

bool WaitPumping(HANDLE h, DWORD cap = CAP_MS)
{
    return PumpUntil([&] { return WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }, cap);
}

int g_counter = 0;

std::wstring UniqueName(const wchar_t* prefix)
{
    return prefix + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++g_counter);
}

std::wstring TestPipeName()
{
    return UniqueName(L"\\\\.\\pipe\\ULKTharnicEditionMouse_test_");
}

class NamedEvent {
public:
    NamedEvent() : name(UniqueName(L"PipeLinkTest_")), h(CreateEventW(nullptr, TRUE, FALSE, name.c_str())) {}
    ~NamedEvent() { CloseHandle(h); }
    std::wstring name;
    HANDLE h;
};

std::wstring Hex(const void* data, size_t size)
{
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring s;
    for (size_t i = 0; i < size; ++i) {
        BYTE b = ((const BYTE*)data)[i];
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

std::wstring Record(int32_t message, int32_t wParam, int32_t lParam)
{
    PipeMessageData rec{message, wParam, lParam};
    return Hex(&rec, sizeof(rec));
}

// tests/helpers/pipe_peer.exe, the other side of the pipe.
class Peer {
public:
    explicit Peer(const std::wstring& args)
    {
        std::wstring exe = (ExeDir() + L"pipe_peer.exe").str();
        std::wstring cmd = L"\"" + exe + L"\" " + args;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
            m_pi = PROCESS_INFORMATION{};
    }
    ~Peer()
    {
        if (!m_pi.hProcess) return;
        if (WaitForSingleObject(m_pi.hProcess, 0) != WAIT_OBJECT_0) Kill();
        CloseHandle(m_pi.hProcess);
        CloseHandle(m_pi.hThread);
    }
    bool Started() const { return m_pi.hProcess != nullptr; }
    // Waits for the peer to end, handling messages meanwhile; the exit code or -1.
    int Exit()
    {
        if (!m_pi.hProcess || !WaitPumping(m_pi.hProcess)) return -1;
        DWORD code = 0;
        GetExitCodeProcess(m_pi.hProcess, &code);
        return (int)code;
    }
    void Kill()
    {
        TerminateProcess(m_pi.hProcess, 99);
        WaitForSingleObject(m_pi.hProcess, CAP_MS);
    }

private:
    PROCESS_INFORMATION m_pi{};
};

// Waits, without handling anything, until another thread is blocked sending to this one.
bool WaitForSentMessage()
{
    DWORD start = GetTickCount();
    while (!(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE)) {
        if (GetTickCount() - start > CAP_MS) return false;
        Sleep(1);
    }
    return true;
}

bool WaitForPipe(const std::wstring& name)
{
    return PumpUntil([&] { return WaitNamedPipeW(name.c_str(), 0) != FALSE; });
}

// A server link owned by a real window on this thread, as in the service.
struct ServerSide {
    ServerSide()
    {
        InitPipeLink(window.hwnd, link);
        wcscpy(link.pipeName, name.c_str());
        window.link = &link;
        started = StartPipeServer(link) && WaitForPipe(name);
    }
    ~ServerSide() { window.Destroy(); }
    std::vector<Received>& records() { return window.records; }

    std::wstring name = TestPipeName();
    TestWindow window;
    PipeLink link;
    bool started = false;
};

void ExpectReload(const Received& r, WPARAM wParam = 0, LPARAM lParam = 0)
{
    EXPECT_EQ(r.message, WM_RELOAD_CONFIG);
    EXPECT_EQ(r.wParam, wParam);
    EXPECT_EQ(r.lParam, lParam);
}

// What f prints to the C run-time's console output (line ends as "\n").
std::string CaptureConsole(const std::function<void()>& f)
{
    TempDir dir;
    CString path = dir.File(L"console.txt");
    fflush(stdout);
    int saved = _dup(_fileno(stdout));
    int fd = _wopen(path.GetString(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (saved < 0 || fd < 0) {
        ADD_FAILURE() << "console output cannot be redirected";
        f();
        return std::string();
    }
    _dup2(fd, _fileno(stdout));
    _close(fd);
    f();
    fflush(stdout);
    _dup2(saved, _fileno(stdout));
    _close(saved);
    std::string text;
    for (unsigned char c : ReadBytes(path.GetString()))
        if (c != '\r') text += (char)c;
    return text;
}

} // namespace

TEST(PipeLink, RecordIsTwelveBytesAndTheLinkUsesTheSystemPipe)
{
    static_assert(sizeof(PipeMessageData) == 12, "wire record");
    PipeMessageData rec{(int32_t)WM_RELOAD_CONFIG, 0, 0};
    EXPECT_EQ(Hex(&rec, sizeof(rec)), L"FF0400000000000000000000");
    PipeLink link;
    InitPipeLink(nullptr, link);
    EXPECT_STREQ(link.pipeName, L"\\\\.\\pipe\\ULKTharnicEditionMouse");
    EXPECT_EQ(link.clientIds[0], -1);
    EXPECT_EQ(link.clientIds[1], -1);
    EXPECT_FALSE(SendReloadNotice(link, -1));
    EXPECT_FALSE(SendReloadNotice(link, 2));
    EXPECT_TRUE(SendReloadNotice(link, 0));
}

TEST(PipeLink, ReloadNoticeReachesTheServerWindowOnce)
{
    ServerSide s;
    ASSERT_TRUE(s.started);
    Peer client(L"client " + s.name + L" - - 1");
    ASSERT_EQ(client.Exit(), 0);
    ASSERT_TRUE(PumpUntil([&] { return !s.records().empty(); }));
    PumpFor(100);
    ASSERT_EQ(s.records().size(), 1u);
    ExpectReload(s.records()[0]);
}

TEST(PipeLink, SecondClientIsServedOnTheSecondInstance)
{
    ServerSide s;
    ASSERT_TRUE(s.started);
    NamedEvent readyA, goA, readyB, goB;
    Peer a(L"raw " + s.name + L" " + readyA.name + L" " + goA.name + L" " + Record(PIPE_MSG_CLIENT_ID, 0, 11));
    ASSERT_TRUE(WaitPumping(readyA.h)) << "the first client connected and sent its id";
    Peer b(L"raw " + s.name + L" " + readyB.name + L" " + goB.name + L" " + Record(PIPE_MSG_CLIENT_ID, 0, 22) + L" "
           + Record(WM_RELOAD_CONFIG, 0, 0));
    ASSERT_TRUE(WaitPumping(readyB.h)) << "the second client connected, sent its id and a reload";
    ASSERT_TRUE(PumpUntil([&] { return s.records().size() == 1 && s.link.clientIds[0] != -1 && s.link.clientIds[1] != -1; }));
    std::vector<LONG> ids = {s.link.clientIds[0], s.link.clientIds[1]};
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<LONG>{11, 22}));

    // Both clients leave; both instances forget their ids and listen again.
    SetEvent(goA.h);
    SetEvent(goB.h);
    EXPECT_EQ(a.Exit(), 0);
    EXPECT_EQ(b.Exit(), 0);
    ASSERT_TRUE(PumpUntil([&] { return s.link.clientIds[0] == -1 && s.link.clientIds[1] == -1; }));
    Peer c(L"client " + s.name + L" - - 1");
    ASSERT_EQ(c.Exit(), 0);
    ASSERT_TRUE(PumpUntil([&] { return s.records().size() == 2; }));
}

TEST(PipeLink, ClientThatComesBackIsServedAgain)
{
    ServerSide s;
    ASSERT_TRUE(s.started);
    for (size_t round = 1; round <= 4; ++round) {
        SCOPED_TRACE(round);
        Peer client(L"client " + s.name + L" - - 1");
        ASSERT_EQ(client.Exit(), 0);
        ASSERT_TRUE(PumpUntil([&] { return s.records().size() == round; }));
    }
    for (auto& r : s.records()) ExpectReload(r);
}

TEST(PipeLink, ShortLongAndUnknownRecordsNeverReachTheWindow)
{
    ServerSide s;
    ASSERT_TRUE(s.started);
    int32_t longer[4] = {(int32_t)WM_RELOAD_CONFIG, 0, 0, 0};
    std::wstring records[] = {
        Hex(longer, 8),                          // short
        L"FF04",                                 // shorter
        Record(1234, 0, 0),                      // unknown number
        Record(WM_SERVICE_PING, 0, 0),           // a real message, but not one the pipe carries
        Record(WM_PROFILE_CHANGE, 3, 0),
        Hex(longer, 16),                         // longer than a record
        Record(PIPE_MSG_CLIENT_ID, 0, 77),       // kept by the link
        Record(WM_RELOAD_CONFIG, 5, 6),          // the only one that passes
    };
    std::wstring args = L"raw " + s.name;
    NamedEvent ready, go;
    args += L" " + ready.name + L" " + go.name;
    for (auto& r : records) args += L" " + r;
    Peer raw(args);
    ASSERT_TRUE(WaitPumping(ready.h));
    ASSERT_TRUE(PumpUntil([&] { return !s.records().empty(); }));
    PumpFor(100);
    ASSERT_EQ(s.records().size(), 1u);
    ExpectReload(s.records()[0], 5, 6);
    EXPECT_TRUE(s.link.clientIds[0] == 77 || s.link.clientIds[1] == 77);
    SetEvent(go.h);
    EXPECT_EQ(raw.Exit(), 0);

    // A message longer than the read area, and an empty one: the instance drops that
    // client and serves the next.
    int32_t overlong[6] = {(int32_t)WM_RELOAD_CONFIG, 0, 0, (int32_t)WM_RELOAD_CONFIG, 0, 0};
    Peer big(L"raw " + s.name + L" - - " + Hex(overlong, sizeof(overlong)));
    big.Exit();
    Peer empty(L"raw " + s.name + L" - - \"\"");
    empty.Exit();
    for (int round = 0; round < 2; ++round) {
        Peer client(L"client " + s.name + L" - - 1");
        ASSERT_EQ(client.Exit(), 0);
    }
    ASSERT_TRUE(PumpUntil([&] { return s.records().size() == 3; }));
    PumpFor(100);
    ASSERT_EQ(s.records().size(), 3u);
    ExpectReload(s.records()[1]);
    ExpectReload(s.records()[2]);
}

TEST(PipeLink, ClientEndsWhenTheServerGoesAway)
{
    for (bool killed : {true, false}) {
        SCOPED_TRACE(killed ? "server killed" : "server closed its link");
        std::wstring name = TestPipeName();
        NamedEvent ready, quit;
        Peer server(L"server " + name + L" " + ready.name + L" " + quit.name);
        ASSERT_TRUE(WaitPumping(ready.h));

        TestWindow window;
        PipeLink link;
        InitPipeLink(window.hwnd, link);
        wcscpy(link.pipeName, name.c_str());
        window.link = &link;
        ASSERT_EQ(StartPipeClient(link), 1);
        EXPECT_EQ(StartPipeClient(link), 0);
        EXPECT_TRUE(SendReloadNoticeToAll(link));

        if (killed)
            server.Kill();
        else
            SetEvent(quit.h);
        // The reader thread ends by itself instead of waiting or spinning.
        ASSERT_EQ(WaitForSingleObject(link.thread, CAP_MS), (DWORD)WAIT_OBJECT_0);
        EXPECT_EQ(link.running, 0);
        EXPECT_TRUE(SendReloadNoticeToAll(link));
        if (!killed) {
            EXPECT_EQ(server.Exit(), 0);
        }

        // The reader no longer runs, so a new start connects to a service that is back.
        NamedEvent readyAgain, quitAgain;
        Peer again(L"server " + name + L" " + readyAgain.name + L" " + quitAgain.name);
        ASSERT_TRUE(WaitPumping(readyAgain.h));
        EXPECT_EQ(StartPipeClient(link), 1);
        EXPECT_EQ(StartPipeClient(link), 0);
        window.Destroy();
        EXPECT_EQ(link.thread, nullptr);
        SetEvent(quitAgain.h);
        EXPECT_EQ(again.Exit(), 0);
    }
}

TEST(PipeLink, ClientWaitsWhileBothInstancesAreBusy)
{
    ServerSide s;
    ASSERT_TRUE(s.started);
    NamedEvent readyA, goA, readyB, goB;
    Peer a(L"raw " + s.name + L" " + readyA.name + L" " + goA.name);
    ASSERT_TRUE(WaitPumping(readyA.h));
    Peer b(L"raw " + s.name + L" " + readyB.name + L" " + goB.name);
    ASSERT_TRUE(WaitPumping(readyB.h));
    // Both instances are taken: the client finds the pipe busy and waits for an instance.
    Peer c(L"connect " + s.name + L" - - 1");
    PumpFor(300);
    EXPECT_TRUE(s.records().empty());
    SetEvent(goA.h);
    EXPECT_EQ(a.Exit(), 0);
    EXPECT_EQ(c.Exit(), 0);
    ASSERT_TRUE(PumpUntil([&] { return s.records().size() == 1; }));
    ExpectReload(s.records()[0]);
    SetEvent(goB.h);
    EXPECT_EQ(b.Exit(), 0);
}

TEST(PipeLink, ClientWithoutServerGivesUp)
{
    TestWindow window;
    PipeLink link;
    InitPipeLink(window.hwnd, link);
    wcscpy(link.pipeName, TestPipeName().c_str());
    // The client's only report is its console text (after its 5 second pause).
    int result = 0;
    std::string printed = CaptureConsole([&] { result = StartPipeClient(link); });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(printed, "Could not open pipe. GLE=2\n");
    EXPECT_EQ(link.thread, nullptr);
    EXPECT_TRUE(SendReloadNoticeToAll(link));
    EXPECT_TRUE(ClosePipeLink(link));
}

TEST(PipeLink, ServerSecurityAdmitsSystemAdministratorsAndInteractiveUserOnly)
{
    ServerSide s;
    ASSERT_TRUE(s.started);
    HANDLE h = CreateFileW(s.name.c_str(), READ_CONTROL, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_EQ(GetSecurityInfo(h, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr, &sd),
              (DWORD)ERROR_SUCCESS);
    CloseHandle(h);
    ASSERT_NE(dacl, nullptr);  // a null DACL would admit everyone
    std::vector<std::wstring> sids;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, (void**)&ace));
        ASSERT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        wchar_t* text = nullptr;
        ASSERT_TRUE(ConvertSidToStringSidW((PSID)&ace->SidStart, &text));
        sids.push_back(text);
        LocalFree(text);
    }
    LocalFree(sd);
    std::sort(sids.begin(), sids.end());
    EXPECT_EQ(sids, (std::vector<std::wstring>{L"S-1-5-18", L"S-1-5-32-544", L"S-1-5-4"}));
}

TEST(PipeLink, ClosingWhileARecordIsDeliveredEndsCleanly)
{
    std::wstring name = TestPipeName();
    Peer peer(L"loop " + name + L" 100000");
    ASSERT_TRUE(peer.Started());
    int waitedRounds = 0;
    for (int round = 0; round < 120; ++round) {
        SCOPED_TRACE(round);
        auto window = std::make_unique<TestWindow>();
        auto link = std::make_unique<PipeLink>();
        InitPipeLink(window->hwnd, *link);
        wcscpy(link->pipeName, name.c_str());
        window->link = link.get();
        ASSERT_TRUE(StartPipeServer(*link));
        // Most rounds wait until the pipe thread is inside SendMessageW to this window;
        // the others close at whatever moment they reach.
        bool waitForDelivery = round % 4 != 3;
        if (waitForDelivery) {
            ASSERT_TRUE(WaitForSentMessage());
            ++waitedRounds;
        }
        window->Destroy();  // WM_DESTROY closes the link
        EXPECT_EQ(link->thread, nullptr);
        EXPECT_EQ(link->running, 0);
        EXPECT_LE(window->records.size(), 1u);
        if (waitForDelivery) {
            // The record in flight was handed over while the link was closing.
            EXPECT_EQ(window->records.size(), 1u);
            EXPECT_EQ(window->recordsAtDestroy, 0u);
        }
        link.reset();  // freed only after its thread has ended
    }
    EXPECT_EQ(waitedRounds, 90);
    peer.Kill();
}
