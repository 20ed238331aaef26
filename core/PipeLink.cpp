#include "core/PipeLink.h"
#include "core/Messages.h"
#include <sddl.h>
#include <cstdio>
#include <cstring>

namespace {

// System and administrators in full, the interactive user may read and write. Remote
// clients are refused by the pipe mode as well.
const wchar_t PIPE_SECURITY[] = L"D:(A;;GA;;;SY)(A;;GA;;;BA)(A;;GRGW;;;IU)";
const DWORD PIPE_DEFAULT_TIMEOUT_MS = 5000;
const DWORD PIPE_BUSY_WAIT_MS = 20000;
const DWORD PIPE_ABSENT_PAUSE_MS = 5000;
// A write that the other side does not take within this time is cancelled.
const DWORD PIPE_WRITE_TIMEOUT_MS = 5000;

enum { CONNECT_FAILED = -1, CONNECT_DONE = 0, CONNECT_PENDING = 1 };

class LinkLock {
public:
    explicit LinkLock(PipeLink& link) : m_cs(link.lock) { EnterCriticalSection(&m_cs); }
    ~LinkLock() { LeaveCriticalSection(&m_cs); }
    LinkLock(const LinkLock&) = delete;
    LinkLock& operator=(const LinkLock&) = delete;
private:
    CRITICAL_SECTION& m_cs;
};

bool StopRequested(PipeLink& link)
{
    return link.stopEvent && WaitForSingleObject(link.stopEvent, 0) == WAIT_OBJECT_0;
}

void ResetInstance(PipeInstance& inst)
{
    ZeroMemory(&inst, sizeof(inst));
    inst.pipe = INVALID_HANDLE_VALUE;
}

// Ends a connect or read still in flight, so the OVERLAPPED may be reused or freed.
void FinishPendingIo(PipeInstance& inst)
{
    if (!inst.pending || inst.pipe == INVALID_HANDLE_VALUE) return;
    CancelIoEx(inst.pipe, &inst.overlapped);
    DWORD n = 0;
    GetOverlappedResult(inst.pipe, &inst.overlapped, &n, TRUE);
    inst.pending = 0;
}

void ClosePipeHandle(PipeLink& link, PipeInstance& inst)
{
    FinishPendingIo(inst);
    LinkLock guard(link);
    if (inst.pipe != INVALID_HANDLE_VALUE) CloseHandle(inst.pipe);
    inst.pipe = INVALID_HANDLE_VALUE;
    inst.state = 0;
}

int ConnectPipeInstance(PipeInstance& inst)
{
    ResetEvent(inst.overlapped.hEvent);
    if (ConnectNamedPipe(inst.pipe, &inst.overlapped)) {
        SetEvent(inst.overlapped.hEvent);
        return CONNECT_DONE;
    }
    switch (GetLastError()) {
    case ERROR_IO_PENDING:
        return CONNECT_PENDING;
    case ERROR_PIPE_CONNECTED:
    // A client that came and went already: the read fails and the instance reconnects.
    case ERROR_NO_DATA:
        SetEvent(inst.overlapped.hEvent);
        return CONNECT_DONE;
    default:
        return CONNECT_FAILED;
    }
}

int ReconnectPipeInstance(PipeLink& link, int index)
{
    PipeInstance& inst = link.instances[index];
    InterlockedExchange(&link.clientIds[index], -1);
    LinkLock guard(link);
    DisconnectNamedPipe(inst.pipe);
    int r = ConnectPipeInstance(inst);
    inst.pending = r == CONNECT_PENDING;
    inst.state = r == CONNECT_PENDING ? 0 : 1;
    return r;
}

// Starts the next read; false when it could not start.
bool StartRead(PipeInstance& inst)
{
    ResetEvent(inst.overlapped.hEvent);
    if (ReadFile(inst.pipe, inst.readArea, sizeof(inst.readArea), nullptr, &inst.overlapped)
        || GetLastError() == ERROR_IO_PENDING) {
        inst.pending = 1;
        return true;
    }
    inst.pending = 0;
    return false;
}

// Only whole records of the system reach the window: the reload notice. The client-id
// record is kept by the server link; anything else is dropped.
void HandleRecord(PipeLink& link, int index, const BYTE* data, DWORD size)
{
    if (size != sizeof(PipeMessageData)) return;
    PipeMessageData rec;
    memcpy(&rec, data, sizeof(rec));
    if (rec.message == PIPE_MSG_CLIENT_ID) {
        if (link.mode == 0) InterlockedExchange(&link.clientIds[index], rec.lParam);
        return;
    }
    if (rec.message != (int32_t)WM_RELOAD_CONFIG || StopRequested(link)) return;
    SendMessageW(link.owner, WM_RELOAD_CONFIG, (WPARAM)(INT_PTR)rec.wParam, (LPARAM)rec.lParam);
}

// One pass for an instance whose event is signalled; false ends the pipe thread.
bool ServiceInstance(PipeLink& link, int index)
{
    PipeInstance& inst = link.instances[index];
    const bool server = link.mode == 0;
    if (inst.pending) {
        DWORD n = 0;
        BOOL ok = GetOverlappedResult(inst.pipe, &inst.overlapped, &n, FALSE);
        if (!ok && GetLastError() == ERROR_IO_INCOMPLETE) return true;
        inst.pending = 0;
        if (inst.state == 0) {
            if (!ok) return false;
            LinkLock guard(link);
            inst.state = 1;
        } else if (!ok || n == 0) {
            // A broken or over-long message: the server drops that client and listens
            // again; the client has lost its server and ends.
            if (!server) return false;
            return ReconnectPipeInstance(link, index) != CONNECT_FAILED;
        } else {
            HandleRecord(link, index, inst.readArea, n);
        }
    }
    if (inst.state != 1) return server;
    if (StartRead(inst)) return true;
    if (!server) return false;
    return ReconnectPipeInstance(link, index) != CONNECT_FAILED;
}

void RunLoop(PipeLink& link, int count)
{
    HANDLE waits[3] = {link.stopEvent, link.instances[0].overlapped.hEvent, link.instances[1].overlapped.hEvent};
    InterlockedExchange(&link.running, 1);
    for (;;) {
        DWORD w = WaitForMultipleObjects((DWORD)(1 + count), waits, FALSE, INFINITE);
        if (w == WAIT_OBJECT_0 || w > WAIT_OBJECT_0 + (DWORD)count) break;
        if (!ServiceInstance(link, (int)(w - WAIT_OBJECT_0 - 1))) break;
    }
    InterlockedExchange(&link.running, 0);
}

bool CreateServerInstance(PipeLink& link, int index)
{
    PipeInstance& inst = link.instances[index];
    if (!inst.overlapped.hEvent) inst.overlapped.hEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    if (!inst.overlapped.hEvent) return false;
    HANDLE pipe = CreateNamedPipeW(link.pipeName, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                   PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                   2, PIPE_BUFFER_SIZE, PIPE_BUFFER_SIZE, PIPE_DEFAULT_TIMEOUT_MS,
                                   &link.securityAttributes);
    if (pipe == INVALID_HANDLE_VALUE) return false;
    LinkLock guard(link);
    inst.pipe = pipe;
    int r = ConnectPipeInstance(inst);
    inst.pending = r == CONNECT_PENDING;
    inst.state = r == CONNECT_PENDING ? 0 : 1;
    return r != CONNECT_FAILED;
}

void PipeServerLoop(PipeLink& link)
{
    if (!link.securityDescriptor
        && !ConvertStringSecurityDescriptorToSecurityDescriptorW(PIPE_SECURITY, SDDL_REVISION_1,
                                                                 &link.securityDescriptor, nullptr)) {
        link.securityDescriptor = nullptr;
        return;
    }
    link.securityAttributes.nLength = sizeof(link.securityAttributes);
    link.securityAttributes.lpSecurityDescriptor = link.securityDescriptor;
    link.securityAttributes.bInheritHandle = TRUE;
    if (CreateServerInstance(link, 0) && CreateServerInstance(link, 1)) RunLoop(link, 2);
    for (auto& inst : link.instances) ClosePipeHandle(link, inst);
}

void PipeClientLoop(PipeLink& link)
{
    RunLoop(link, 1);
    ClosePipeHandle(link, link.instances[0]);
}

DWORD WINAPI PipeThreadProc(LPVOID param)
{
    PipeLink& link = *static_cast<PipeLink*>(param);
    if (link.mode == 1)
        PipeClientLoop(link);
    else
        PipeServerLoop(link);
    return 0;
}

int ConnectPipeClient(PipeLink& link)
{
    PipeInstance& inst = link.instances[0];
    if (!inst.overlapped.hEvent) inst.overlapped.hEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    if (!inst.overlapped.hEvent) {
        printf("CreateEvent failed with %lu.\n", GetLastError());
        return 0;
    }
    auto open = [&] {
        return CreateFileW(link.pipeName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
    };
    HANDLE pipe = open();
    if (pipe == INVALID_HANDLE_VALUE) {
        DWORD err = GetLastError();
        if (err != ERROR_PIPE_BUSY) {
            printf("Could not open pipe. GLE=%lu\n", err);
            Sleep(PIPE_ABSENT_PAUSE_MS);
            return -1;
        }
        if (!WaitNamedPipeW(link.pipeName, PIPE_BUSY_WAIT_MS)) {
            printf("Could not open pipe: 20 second wait timed out.");
            return -1;
        }
        pipe = open();
        if (pipe == INVALID_HANDLE_VALUE) return -1;
    }
    DWORD readMode = PIPE_READMODE_MESSAGE;
    if (!SetNamedPipeHandleState(pipe, &readMode, nullptr, nullptr)) {
        printf("SetNamedPipeHandleState failed. GLE=%lu\n", GetLastError());
        CloseHandle(pipe);
        return -1;
    }
    {
        LinkLock guard(link);
        inst.pipe = pipe;
        inst.state = 1;
    }
    if (!StartRead(inst)) {
        ClosePipeHandle(link, inst);
        return -1;
    }
    return 1;
}

bool StartPipeThread(PipeLink& link)
{
    if (!link.stopEvent) link.stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!link.stopEvent) return false;
    ResetEvent(link.stopEvent);
    link.thread = CreateThread(nullptr, 0, PipeThreadProc, &link, 0, nullptr);
    return link.thread != nullptr;
}

// Waits for the pipe thread while still handling messages sent to this thread's windows:
// the pipe thread may be inside SendMessageW to the very window that is closing the link.
void WaitHandlingSentMessages(HANDLE thread)
{
    for (;;) {
        DWORD r = MsgWaitForMultipleObjectsEx(1, &thread, INFINITE, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (r == WAIT_OBJECT_0 + 1) {
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            continue;
        }
        if (r != WAIT_OBJECT_0) WaitForSingleObject(thread, INFINITE);
        return;
    }
}

bool WriteRecord(HANDLE pipe, const PipeMessageData& rec)
{
    // Its own OVERLAPPED and event: a read may be pending on the same handle.
    OVERLAPPED ov;
    ZeroMemory(&ov, sizeof(ov));
    ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ov.hEvent) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(pipe, &rec, sizeof(rec), nullptr, &ov);
    if (ok || GetLastError() == ERROR_IO_PENDING) {
        if (!ok && WaitForSingleObject(ov.hEvent, PIPE_WRITE_TIMEOUT_MS) != WAIT_OBJECT_0)
            CancelIoEx(pipe, &ov);
        ok = GetOverlappedResult(pipe, &ov, &written, TRUE);
    }
    CloseHandle(ov.hEvent);
    return ok && written == sizeof(rec);
}

} // namespace

PipeLink::PipeLink()
    : owner(nullptr), pipeName{}, clientIds{-1, -1}, securityDescriptor(nullptr), securityAttributes{},
      mode(0), running(0), stopEvent(nullptr), thread(nullptr)
{
    for (auto& inst : instances) ResetInstance(inst);
    InitializeCriticalSection(&lock);
}

PipeLink::~PipeLink()
{
    ClosePipeLink(*this);
    DeleteCriticalSection(&lock);
}

void InitPipeLink(HWND owner, PipeLink& link)
{
    link.owner = owner;
    wcsncpy(link.pipeName, PIPE_NAME, sizeof(link.pipeName) / sizeof(link.pipeName[0]) - 1);
    link.running = 0;
    link.clientIds[0] = link.clientIds[1] = -1;
}

int StartPipeClient(PipeLink& link)
{
    if (link.thread) {
        if (WaitForSingleObject(link.thread, 0) != WAIT_OBJECT_0) return 0;
        // The reader ended when the service went away; a new start connects afresh.
        CloseHandle(link.thread);
        link.thread = nullptr;
    }
    link.mode = 1;
    int r = ConnectPipeClient(link);
    if (r < 1) return r;
    if (!StartPipeThread(link)) {
        ClosePipeHandle(link, link.instances[0]);
        return -1;
    }
    return 1;
}

bool StartPipeServer(PipeLink& link)
{
    if (link.thread) return false;
    link.mode = 0;
    return StartPipeThread(link);
}

bool SendReloadNotice(PipeLink& link, int index)
{
    if (index < 0 || index > 1) return false;
    PipeInstance& inst = link.instances[index];
    LinkLock guard(link);
    // A failed write is left to the pipe thread: its read on the same handle fails too.
    if (inst.state == 1 && inst.pipe != INVALID_HANDLE_VALUE)
        WriteRecord(inst.pipe, PipeMessageData{(int32_t)WM_RELOAD_CONFIG, 0, 0});
    return true;
}

bool SendReloadNoticeToAll(PipeLink& link)
{
    bool first = SendReloadNotice(link, 0);
    bool second = SendReloadNotice(link, 1);
    return first && second;
}

bool ClosePipeLink(PipeLink& link)
{
    if (link.thread) {
        SetEvent(link.stopEvent);
        {
            LinkLock guard(link);
            for (auto& inst : link.instances)
                if (inst.pipe != INVALID_HANDLE_VALUE) CancelIoEx(inst.pipe, nullptr);
        }
        WaitHandlingSentMessages(link.thread);
        CloseHandle(link.thread);
        link.thread = nullptr;
    }
    // The thread has ended (or never ran): nothing else uses the handles now.
    for (auto& inst : link.instances) {
        ClosePipeHandle(link, inst);
        if (inst.overlapped.hEvent) CloseHandle(inst.overlapped.hEvent);
        ResetInstance(inst);
    }
    if (link.stopEvent) CloseHandle(link.stopEvent);
    link.stopEvent = nullptr;
    if (link.securityDescriptor) LocalFree(link.securityDescriptor);
    link.securityDescriptor = nullptr;
    link.running = 0;
    link.clientIds[0] = link.clientIds[1] = -1;
    return true;
}
