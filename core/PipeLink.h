#pragma once
#include <windows.h>
#include <cstdint>

// One record on the pipe: one message of exactly this size (little-endian).
struct PipeMessageData {
    int32_t message;  // window-message number
    int32_t wParam;
    int32_t lParam;
};
static_assert(sizeof(PipeMessageData) == 12, "the wire record is 12 bytes on every build");

// Size of the pipe buffers and of the read area; a longer message is refused.
constexpr DWORD PIPE_BUFFER_SIZE = 20;

struct PipeInstance {
    OVERLAPPED overlapped;  // the pending connect or read, with the instance event
    HANDLE pipe;
    BYTE readArea[PIPE_BUFFER_SIZE];
    int state;              // 0 connecting, 1 connected and reading
    int pending;            // a connect or read is in flight
};

// The link between Gearloom (client) and Portwarden (server). It belongs to the window that
// made it: InitPipeLink and StartPipeClient or StartPipeServer in the window's creation,
// ClosePipeLink in its WM_DESTROY. ClosePipeLink returns only after the pipe thread has
// ended, so the link may be freed right after it.
struct PipeLink {
    PipeLink();
    ~PipeLink();
    PipeLink(const PipeLink&) = delete;
    PipeLink& operator=(const PipeLink&) = delete;

    HWND owner;
    wchar_t pipeName[260];
    PipeInstance instances[2];      // the client uses instance 0 only
    volatile LONG clientIds[2];     // per server instance, -1 = none
    PSECURITY_DESCRIPTOR securityDescriptor;
    SECURITY_ATTRIBUTES securityAttributes;
    int mode;                       // 1 client, 0 server
    volatile LONG running;          // set while the pipe thread's loop runs
    HANDLE stopEvent;
    HANDLE thread;
    // Guards the instances' handles and states, shared by the writing UI thread and the
    // pipe thread.
    CRITICAL_SECTION lock;
};

void InitPipeLink(HWND owner, PipeLink& link);
// Connects to the service on the caller's thread and starts the reader thread: 1 when
// linked, 0 when the reader is still running or no event could be made, -1 when the pipe
// could not be opened (after a 5 second pause when the service is absent).
int StartPipeClient(PipeLink& link);
// Starts the server thread, which creates both instances and hands each reload record
// to the owner window. False when the thread cannot start.
bool StartPipeServer(PipeLink& link);
// Writes {WM_RELOAD_CONFIG, 0, 0} on one connected instance. An instance that is not
// connected writes nothing and still answers true; a negative or unknown index is false.
bool SendReloadNotice(PipeLink& link, int index);
bool SendReloadNoticeToAll(PipeLink& link);
// Stops the pipe thread and closes every handle. Meanwhile the calling thread still
// handles messages sent to its windows, so a pipe thread delivering a record to the
// closing window finishes instead of deadlocking.
bool ClosePipeLink(PipeLink& link);
