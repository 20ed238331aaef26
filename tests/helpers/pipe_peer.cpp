// The other side of the pipe link tests, as a second process.
//   pipe_peer client <pipe> <ready> <go> <notices>   a link client: connect, signal ready,
//                                                    wait for go, send reload notices, close
//   pipe_peer connect <pipe> <ready> <go> <notices>  the same without first waiting until the
//                                                    server offers a free instance
//   pipe_peer raw <pipe> <ready> <go> <hex>...       open the pipe plainly, write each hex
//                                                    string as one message, signal ready,
//                                                    wait for go
//   pipe_peer server <pipe> <ready> <quit>           a link server until quit is signalled
//   pipe_peer loop <pipe> <count>                    count times: connect, write one reload
//                                                    record, stay until the server goes away
// Event names of "-" are skipped. Exit code 0 on success.
#include "core/Messages.h"
#include "core/PipeLink.h"
#include <windows.h>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const DWORD PEER_WAIT_MS = 45000;

void Signal(const wchar_t* name)
{
    if (wcscmp(name, L"-") == 0) return;
    HANDLE e = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
    if (e) {
        SetEvent(e);
        CloseHandle(e);
    }
}

void WaitFor(const wchar_t* name)
{
    if (wcscmp(name, L"-") == 0) return;
    HANDLE e = OpenEventW(SYNCHRONIZE, FALSE, name);
    if (e) {
        WaitForSingleObject(e, PEER_WAIT_MS);
        CloseHandle(e);
    }
}

// Waits until the server offers a free instance.
bool WaitForPipe(const wchar_t* pipe)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < PEER_WAIT_MS) {
        if (WaitNamedPipeW(pipe, 100)) return true;
        Sleep(5);
    }
    return false;
}

HANDLE OpenRaw(const wchar_t* pipe)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < PEER_WAIT_MS) {
        if (!WaitForPipe(pipe)) break;
        HANDLE h = CreateFileW(pipe, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) continue;
        DWORD mode = PIPE_READMODE_MESSAGE;
        SetNamedPipeHandleState(h, &mode, nullptr, nullptr);
        return h;
    }
    return INVALID_HANDLE_VALUE;
}

std::vector<BYTE> FromHex(const wchar_t* hex)
{
    std::vector<BYTE> bytes;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
        wchar_t pair[3] = {hex[i], hex[i + 1], 0};
        bytes.push_back((BYTE)wcstoul(pair, nullptr, 16));
    }
    return bytes;
}

int RunClient(wchar_t** argv, bool waitFirst)
{
    PipeLink link;
    InitPipeLink(nullptr, link);
    wcsncpy(link.pipeName, argv[2], 259);
    if (waitFirst && !WaitForPipe(argv[2])) return 3;
    if (StartPipeClient(link) != 1) return 1;
    Signal(argv[3]);
    WaitFor(argv[4]);
    int notices = _wtoi(argv[5]);
    for (int i = 0; i < notices; ++i) SendReloadNoticeToAll(link);
    ClosePipeLink(link);
    return 0;
}

int RunRaw(int argc, wchar_t** argv)
{
    HANDLE h = OpenRaw(argv[2]);
    if (h == INVALID_HANDLE_VALUE) return 1;
    int result = 0;
    for (int i = 5; i < argc; ++i) {
        std::vector<BYTE> bytes = FromHex(argv[i]);
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), (DWORD)bytes.size(), &written, nullptr)) result = 2;
    }
    Signal(argv[3]);
    WaitFor(argv[4]);
    CloseHandle(h);
    return result;
}

int RunServer(wchar_t** argv)
{
    PipeLink link;
    InitPipeLink(nullptr, link);
    wcsncpy(link.pipeName, argv[2], 259);
    if (!StartPipeServer(link)) return 1;
    if (!WaitForPipe(argv[2])) return 3;
    Signal(argv[3]);
    WaitFor(argv[4]);
    ClosePipeLink(link);
    return 0;
}

int RunLoop(wchar_t** argv)
{
    int count = _wtoi(argv[3]);
    const PipeMessageData rec{(int32_t)WM_RELOAD_CONFIG, 0, 0};
    for (int i = 0; i < count; ++i) {
        HANDLE h = OpenRaw(argv[2]);
        if (h == INVALID_HANDLE_VALUE) return 3;
        DWORD n = 0;
        WriteFile(h, &rec, sizeof(rec), &n, nullptr);
        BYTE buf[PIPE_BUFFER_SIZE];
        while (ReadFile(h, buf, sizeof(buf), &n, nullptr)) {
        }
        CloseHandle(h);
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) return 9;
    std::wstring role = argv[1];
    if (role == L"client" && argc >= 6) return RunClient(argv, true);
    if (role == L"connect" && argc >= 6) return RunClient(argv, false);
    if (role == L"raw" && argc >= 5) return RunRaw(argc, argv);
    if (role == L"server" && argc >= 5) return RunServer(argv);
    if (role == L"loop" && argc >= 4) return RunLoop(argv);
    return 9;
}
