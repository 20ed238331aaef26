/* The simulated mouse's control channel: a second device of the driver, outside the
 * product's name and codes, through which a test or simmouse.exe plays the person at the
 * mouse and reads what the service did to it. Shared by the driver and its clients. */
#pragma once
#include "SimDevice.h"

#ifdef __cplusplus
extern "C" {
#endif

#define SIMMOUSE_SERVICE_NAME L"simmouse"
#define SIMMOUSE_CONTROL_PATH L"\\\\.\\SimMouseControl"
/* The mouse's memory: a file the driver keeps in the prefix's driver folder, beside
 * simmouse.sys, so it lasts as long as the prefix. Without it the mouse starts with its
 * factory values. Named by its drive path: Wine's kernel has no \SystemRoot link. */
#define SIMMOUSE_MEMORY_PATH L"C:\\windows\\system32\\drivers\\simmouse.mem"

/* Control codes: CTL_CODE(0x22, 0xA00 + n, METHOD_BUFFERED, FILE_ANY_ACCESS). */
#define SIMCTL_BUTTON SIM_IOCTL(0xA00)    /* SimButtonRequest -> SimButtonAnswer */
#define SIMCTL_UNPLUG SIM_IOCTL(0xA01)    /* none -> int32 SimResult */
#define SIMCTL_PLUG SIM_IOCTL(0xA02)      /* none -> int32 SimResult */
#define SIMCTL_GET_STATE SIM_IOCTL(0xA03) /* none -> SimDeviceState */
#define SIMCTL_READ_LOG SIM_IOCTL(0xA04)  /* uint32 first seq -> SimLogPage */
#define SIMCTL_RESET SIM_IOCTL(0xA05)     /* none -> none */

typedef struct SimButtonRequest {
    int32_t button; /* 1..11 */
    int32_t down;
} SimButtonRequest;

typedef struct SimButtonAnswer {
    int32_t result; /* SimResult */
    uint32_t word;  /* the event word queued */
    int64_t queuedAt;
} SimButtonAnswer;

#define SIM_LOG_PAGE 64
typedef struct SimLogPage {
    uint32_t next;
    uint32_t count;
    SimLogEntry entries[SIM_LOG_PAGE];
} SimLogPage;

/* One control request. SIM_BAD_SIZE for buffers other than the ones above; a step that
 * does not happen (a button already down, an unplugged mouse) is told in the answer. */
SimResult SimControlRequest(SimDevice* d, uint32_t code, const void* in, uint32_t inSize, void* out,
                            uint32_t outSize, uint32_t* returned);

#ifdef __cplusplus
}
#endif
