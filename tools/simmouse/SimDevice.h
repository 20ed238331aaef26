/* The simulated mouse: one device model, compiled into the kernel driver simmouse.sys and
 * into the in-process simulated mouse of the service tests, so the two answer alike.
 * Plain C without a run-time library. The host (driver or test) supplies the clock and
 * the event semaphore; the model never blocks and keeps no pointers of the caller. */
#pragma once
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The driver's I/O control codes: CTL_CODE(0x22, function, METHOD_BUFFERED,
 * FILE_ANY_ACCESS). */
#define SIM_IOCTL(function) ((0x22u << 16) | ((uint32_t)(function) << 2))

/* Event words: top nibble 1 an extended-button state; bits 8..15 a notice; below 32 the
 * standard-button state. */
#define SIM_EVENT_EXTENDED 0x10000000u
#define SIM_EVENT_ARRIVAL 0x400u
#define SIM_EVENT_REMOVAL 0x800u

#define SIM_BUTTON_COUNT 11
#define SIM_QUEUE_CAPACITY 100 /* as many as the service's semaphore can count */
#define SIM_LOG_CAPACITY 4096
#define SIM_LOG_INPUT 16 /* input bytes kept per logged request */
#define SIM_BLOCK_SIZE 514
#define SIM_MAX_BLOCKS 128 /* an image below address 0x10000 */
#define SIM_MAX_FAILURES 8

/* What a request or a control step came to. The hosts turn it into their own error. */
typedef enum SimResult {
    SIM_OK = 0,
    SIM_BAD_SIZE,        /* a buffer of another size than the contract's */
    SIM_BAD_VALUE,       /* a value the device refuses */
    SIM_NOT_CONNECTED,   /* the mouse is unplugged */
    SIM_NO_EVENT,        /* GET_EVENT with nothing queued */
    SIM_UNKNOWN_REQUEST, /* a code outside the contract */
    SIM_FAILED,          /* a failure the test asked for */
    SIM_BAD_HANDLE,      /* the registered handle cannot be reached */
    SIM_QUEUE_FULL,      /* no room for another event word */
    SIM_NO_CHANGE        /* the button or plug was already in that state */
} SimResult;

typedef struct SimSettings {
    uint8_t stage;
    uint8_t pollingRate;
    uint8_t r, g, b;
    int8_t intensity;
    int8_t pulsation;
    uint8_t fwLow, fwHigh;
    uint8_t reserved[3];
    uint32_t mask;
    int32_t sensX, sensY;
    uint8_t fwInfo[16];
} SimSettings;

/* What the mouse keeps while it has no power: the settings the service sets on it (not the
 * driver's interception mask, nor the firmware). The host stores this image where it
 * lasts and hands it back at its next start; the model itself keeps no files. */
#define SIM_MEMORY_MARK 0x4D454D53u /* "SMEM" */
typedef struct SimMemory {
    uint32_t mark;
    uint32_t size; /* sizeof(SimMemory) */
    uint8_t stage;
    uint8_t pollingRate;
    uint8_t r, g, b;
    int8_t intensity;
    int8_t pulsation;
    uint8_t reserved;
    int32_t sensX, sensY;
    uint32_t check; /* over the bytes before it */
} SimMemory;

typedef struct SimLogEntry {
    uint32_t seq; /* 1 for the first request after a reset */
    uint32_t code;
    uint32_t inSize;
    uint32_t outSize;
    int32_t result; /* SimResult */
    uint32_t word;  /* GET_EVENT: the word handed out */
    int64_t time;   /* host clock when the request came */
    int64_t queuedAt; /* GET_EVENT: host clock when the word was queued */
    uint8_t in[SIM_LOG_INPUT];
} SimLogEntry;

typedef struct SimHost {
    void* context;
    int64_t (*now)(void* context);
    /* Takes hold of the semaphore whose handle has these 32 bits (in the caller's process);
     * replaces an earlier one. 1 when it can be released from now on. */
    int (*registerEvent)(void* context, uint32_t handleBits);
    void (*unregisterEvent)(void* context);
    void (*signal)(void* context, int32_t count);
} SimHost;

typedef struct SimQueued {
    uint32_t word;
    int64_t at;
} SimQueued;

typedef struct SimFailure {
    uint32_t code;
    int32_t times; /* -1 always, 0 free slot */
} SimFailure;

typedef struct SimDevice {
    SimHost host;
    SimSettings settings;
    int32_t connected;
    int32_t registered;
    int32_t opens;
    uint32_t standard; /* standard-button state, bits 0..5 */
    uint32_t extended; /* extended-button state, bits 0..15 */
    SimQueued queue[SIM_QUEUE_CAPACITY];
    int32_t queueHead, queueCount;
    SimFailure failures[SIM_MAX_FAILURES];
    uint32_t blockCount;
    uint8_t blocks[SIM_MAX_BLOCKS][SIM_BLOCK_SIZE];
    uint32_t logNext; /* seq of the next request */
    SimLogEntry log[SIM_LOG_CAPACITY];
} SimDevice;

/* The contract's buffer sizes of a request; 0 for a code outside the contract. */
int SimRequestSizes(uint32_t code, uint32_t* inSize, uint32_t* outSize);

void SimDeviceInit(SimDevice* d, const SimHost* host);
/* Back to a mouse fresh from the box: settings, buttons, queue, log, failures and firmware
 * blocks. Opens and the registration stay. */
void SimDeviceReset(SimDevice* d);
void SimDefaultSettings(SimSettings* s);

/* The image of what the mouse keeps, as it stands now. */
void SimDeviceSaveMemory(const SimDevice* d, SimMemory* m);
/* Takes back a stored image of size bytes: 1 when it is whole (its size, mark and check)
 * and its settings are the mouse's now; 0, the settings untouched, for anything else. */
int SimDeviceLoadMemory(SimDevice* d, const void* image, uint32_t size);

/* One request of the driver's contract. In and out may be the same buffer. */
SimResult SimDeviceControl(SimDevice* d, uint32_t code, const void* in, uint32_t inSize, void* out,
                           uint32_t outSize, uint32_t* returned);
/* Logs a request that never reached the device (a closed handle) with the result the
 * caller got. */
void SimDeviceLogRefused(SimDevice* d, uint32_t code, const void* in, uint32_t inSize, uint32_t outSize,
                         SimResult r);
void SimDeviceOpened(SimDevice* d);
/* registrant: the handle that registered the semaphore, whose registration ends with it. */
void SimDeviceClosed(SimDevice* d, int registrant);

/* A button 1..11 goes down or up; the new state word is queued and signalled. */
SimResult SimDeviceButton(SimDevice* d, int button, int down, uint32_t* word, int64_t* queuedAt);
/* Any word, queued and signalled. */
SimResult SimDeviceQueueEvent(SimDevice* d, uint32_t word, int64_t* queuedAt);
/* The mouse leaves (removal word) or comes back (arrival word); its settings stay. While
 * unplugged only the event link answers. */
SimResult SimDeviceUnplug(SimDevice* d);
SimResult SimDevicePlug(SimDevice* d);
/* The request with that code fails, times times (-1 always, 0 never again). */
void SimDeviceFailRequest(SimDevice* d, uint32_t code, int32_t times);
int32_t SimDevicePendingEvents(const SimDevice* d);

typedef struct SimDeviceState {
    SimSettings settings;
    int32_t connected;
    int32_t registered;
    int32_t opens;
    int32_t pending;
    uint32_t standard;
    uint32_t extended;
    uint32_t blockCount;
    uint32_t logNext;
} SimDeviceState;
void SimDeviceGetState(const SimDevice* d, SimDeviceState* s);

/* Copies up to max requests from seq `from` on (or from the oldest still kept) and
 * answers how many; *next is the seq to read from next time. */
uint32_t SimDeviceReadLog(const SimDevice* d, uint32_t from, SimLogEntry* out, uint32_t max, uint32_t* next);

#ifdef __cplusplus
}
#endif
