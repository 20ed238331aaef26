#include "SimDevice.h"

enum {
    REGISTER_EVENT = SIM_IOCTL(0x900),
    UNREGISTER_EVENT = SIM_IOCTL(0x901),
    GET_EVENT = SIM_IOCTL(0x902),
    SET_INTERCEPTION_MASK = SIM_IOCTL(0x908),
    SET_SENSITIVITY_X = SIM_IOCTL(0x909),
    SET_SENSITIVITY_Y = SIM_IOCTL(0x910),
    PRE_SENSITIVITY = SIM_IOCTL(0x912),
    POST_MASK = SIM_IOCTL(0x915),
    PRE_LED_COLOR = SIM_IOCTL(0x917),
    SET_POLLING_RATE = SIM_IOCTL(0x928),
    GET_POLLING_RATE = SIM_IOCTL(0x929),
    GET_FIRMWARE_VERSION = SIM_IOCTL(0x944),
    SET_LED_COLOR = SIM_IOCTL(0x948),
    GET_LED_COLOR = SIM_IOCTL(0x949),
    SET_DPI_STAGE = SIM_IOCTL(0x950),
    GET_DPI_STAGE = SIM_IOCTL(0x955),
    SET_LED_INTENSITY = SIM_IOCTL(0x956),
    GET_LED_INTENSITY = SIM_IOCTL(0x957),
    SET_LED_PULSATION = SIM_IOCTL(0x958),
    GET_LED_PULSATION = SIM_IOCTL(0x959),
    GET_FIRMWARE_INFO = SIM_IOCTL(0x970),
    FIRMWARE_UPDATE_START = SIM_IOCTL(0x971),
    FIRMWARE_ERASE = SIM_IOCTL(0x972),
    FIRMWARE_WRITE_BLOCK = SIM_IOCTL(0x974),
    POST_RELOAD = SIM_IOCTL(0x990),
    FIRMWARE_UPDATE_END = SIM_IOCTL(0x999),
};

static const struct {
    uint32_t code, in, out;
} s_contract[] = {
    {REGISTER_EVENT, 4, 0},      {UNREGISTER_EVENT, 0, 0},    {GET_EVENT, 4, 4},
    {SET_INTERCEPTION_MASK, 4, 0}, {SET_SENSITIVITY_X, 4, 0}, {SET_SENSITIVITY_Y, 4, 0},
    {PRE_SENSITIVITY, 1, 0},     {POST_MASK, 1, 0},           {PRE_LED_COLOR, 1, 0},
    {SET_POLLING_RATE, 1, 0},    {GET_POLLING_RATE, 1, 1},    {GET_FIRMWARE_VERSION, 0, 2},
    {SET_LED_COLOR, 3, 0},       {GET_LED_COLOR, 3, 3},       {SET_DPI_STAGE, 1, 0},
    {GET_DPI_STAGE, 1, 1},       {SET_LED_INTENSITY, 1, 0},   {GET_LED_INTENSITY, 1, 1},
    {SET_LED_PULSATION, 1, 0},   {GET_LED_PULSATION, 1, 1},   {GET_FIRMWARE_INFO, 0, 16},
    {FIRMWARE_UPDATE_START, 2, 0}, {FIRMWARE_ERASE, 0, 0},    {FIRMWARE_WRITE_BLOCK, SIM_BLOCK_SIZE, 0},
    {POST_RELOAD, 0, 0},         {FIRMWARE_UPDATE_END, 0, 0},
};

/* Where each button 1..11 stands in the event words: extended state or not, and its bit. */
static const struct {
    uint8_t extended, bit;
} s_buttons[SIM_BUTTON_COUNT] = {
    {0, 0}, {0, 1}, {0, 2}, {1, 14}, {1, 15}, {1, 0}, {0, 4}, {0, 3}, {1, 11}, {1, 10}, {1, 12},
};

static void Copy(void* dst, const void* src, uint32_t n)
{
    uint8_t* d = (uint8_t*)dst;
    const uint8_t* s = (const uint8_t*)src;
    while (n--) *d++ = *s++;
}

static void Zero(void* dst, uint32_t n)
{
    uint8_t* d = (uint8_t*)dst;
    while (n--) *d++ = 0;
}

static uint32_t ReadU32(const uint8_t* p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static int64_t Now(SimDevice* d)
{
    return d->host.now ? d->host.now(d->host.context) : 0;
}

static void Signal(SimDevice* d, int32_t count)
{
    if (d->registered && count > 0 && d->host.signal) d->host.signal(d->host.context, count);
}

int SimRequestSizes(uint32_t code, uint32_t* inSize, uint32_t* outSize)
{
    for (uint32_t i = 0; i < sizeof(s_contract) / sizeof(s_contract[0]); ++i) {
        if (s_contract[i].code == code) {
            *inSize = s_contract[i].in;
            *outSize = s_contract[i].out;
            return 1;
        }
    }
    return 0;
}

void SimDefaultSettings(SimSettings* s)
{
    static const uint8_t info[16] = {0, 0, 0, 0, 0x01, 0x05, 0, 0, 0x10, 0x00, 0x00, 0x64, 0x00, 0x0A, 0, 0};
    Zero(s, sizeof(*s));
    s->stage = 2;
    s->pollingRate = 1;
    s->r = 0x10;
    s->g = 0x20;
    s->b = 0x30;
    s->intensity = 3;
    s->pulsation = 2;
    s->fwLow = 5; /* version 105 */
    s->fwHigh = 1;
    s->mask = 0xFFFF;
    s->sensX = 10;
    s->sensY = 10;
    Copy(s->fwInfo, info, 16);
}

void SimDeviceInit(SimDevice* d, const SimHost* host)
{
    Zero(d, sizeof(*d));
    if (host) d->host = *host;
    SimDeviceReset(d);
}

void SimDeviceReset(SimDevice* d)
{
    SimDefaultSettings(&d->settings);
    d->connected = 1;
    d->standard = d->extended = 0;
    d->queueHead = d->queueCount = 0;
    Zero(d->failures, sizeof(d->failures));
    d->blockCount = 0;
    d->logNext = 1;
}

/* FNV-1a over the image's bytes before its check. */
static uint32_t MemoryCheck(const SimMemory* m)
{
    const uint8_t* p = (const uint8_t*)m;
    const uint8_t* end = (const uint8_t*)&m->check;
    uint32_t h = 2166136261u;
    while (p < end) h = (h ^ *p++) * 16777619u;
    return h;
}

void SimDeviceSaveMemory(const SimDevice* d, SimMemory* m)
{
    const SimSettings* s = &d->settings;
    Zero(m, sizeof(*m));
    m->mark = SIM_MEMORY_MARK;
    m->size = sizeof(*m);
    m->stage = s->stage;
    m->pollingRate = s->pollingRate;
    m->r = s->r;
    m->g = s->g;
    m->b = s->b;
    m->intensity = s->intensity;
    m->pulsation = s->pulsation;
    m->sensX = s->sensX;
    m->sensY = s->sensY;
    m->check = MemoryCheck(m);
}

int SimDeviceLoadMemory(SimDevice* d, const void* image, uint32_t size)
{
    SimMemory m;
    SimSettings* s = &d->settings;
    if (!image || size != sizeof(m)) return 0;
    Copy(&m, image, sizeof(m));
    if (m.mark != SIM_MEMORY_MARK || m.size != sizeof(m) || m.check != MemoryCheck(&m)) return 0;
    s->stage = m.stage;
    s->pollingRate = m.pollingRate;
    s->r = m.r;
    s->g = m.g;
    s->b = m.b;
    s->intensity = m.intensity;
    s->pulsation = m.pulsation;
    s->sensX = m.sensX;
    s->sensY = m.sensY;
    return 1;
}

static SimLogEntry* LogRequest(SimDevice* d, uint32_t code, const void* in, uint32_t inSize, uint32_t outSize)
{
    SimLogEntry* e = &d->log[(d->logNext - 1) % SIM_LOG_CAPACITY];
    Zero(e, sizeof(*e));
    e->seq = d->logNext++;
    e->code = code;
    e->inSize = inSize;
    e->outSize = outSize;
    e->time = Now(d);
    if (in) Copy(e->in, in, inSize < SIM_LOG_INPUT ? inSize : SIM_LOG_INPUT);
    return e;
}

static int TakeFailure(SimDevice* d, uint32_t code)
{
    for (int i = 0; i < SIM_MAX_FAILURES; ++i) {
        SimFailure* f = &d->failures[i];
        if (f->code == code && f->times != 0) {
            if (f->times > 0) --f->times;
            return 1;
        }
    }
    return 0;
}

static int IsLinkRequest(uint32_t code)
{
    return code == REGISTER_EVENT || code == UNREGISTER_EVENT || code == GET_EVENT || code == SET_INTERCEPTION_MASK;
}

/* The answer once the sizes are right. `in` is a copy, since out may share its buffer. */
static SimResult Answer(SimDevice* d, SimLogEntry* e, uint32_t code, const uint8_t* in, uint8_t* out, uint32_t* returned)
{
    SimSettings* s = &d->settings;
    switch (code) {
    case REGISTER_EVENT:
        if (!d->host.registerEvent || !d->host.registerEvent(d->host.context, ReadU32(in))) return SIM_BAD_HANDLE;
        d->registered = 1;
        /* Words queued before anyone listened are signalled now. */
        Signal(d, d->queueCount);
        return SIM_OK;
    case UNREGISTER_EVENT:
        if (d->registered && d->host.unregisterEvent) d->host.unregisterEvent(d->host.context);
        d->registered = 0;
        return SIM_OK;
    case GET_EVENT: {
        if (d->queueCount == 0) return SIM_NO_EVENT;
        SimQueued q = d->queue[d->queueHead];
        d->queueHead = (d->queueHead + 1) % SIM_QUEUE_CAPACITY;
        --d->queueCount;
        e->word = q.word;
        e->queuedAt = q.at;
        Copy(out, &q.word, 4);
        *returned = 4;
        return SIM_OK;
    }
    case SET_INTERCEPTION_MASK:
        s->mask = ReadU32(in);
        return SIM_OK;
    case SET_SENSITIVITY_X:
        s->sensX = (int32_t)ReadU32(in);
        return SIM_OK;
    case SET_SENSITIVITY_Y:
        s->sensY = (int32_t)ReadU32(in);
        return SIM_OK;
    case PRE_SENSITIVITY:
    case PRE_LED_COLOR:
        return in[0] == 1 ? SIM_OK : SIM_BAD_VALUE;
    case POST_MASK:
        return in[0] == 0 ? SIM_OK : SIM_BAD_VALUE;
    case SET_POLLING_RATE:
        s->pollingRate = in[0];
        return SIM_OK;
    case GET_POLLING_RATE:
        out[0] = s->pollingRate;
        *returned = 1;
        return SIM_OK;
    case GET_FIRMWARE_VERSION:
        out[0] = s->fwLow;
        out[1] = s->fwHigh;
        *returned = 2;
        return SIM_OK;
    case SET_LED_COLOR:
        s->r = in[0];
        s->g = in[1];
        s->b = in[2];
        return SIM_OK;
    case GET_LED_COLOR:
        out[0] = s->r;
        out[1] = s->g;
        out[2] = s->b;
        *returned = 3;
        return SIM_OK;
    case SET_DPI_STAGE:
        s->stage = in[0];
        return SIM_OK;
    case GET_DPI_STAGE:
        out[0] = s->stage;
        *returned = 1;
        return SIM_OK;
    case SET_LED_INTENSITY:
        s->intensity = (int8_t)in[0];
        return SIM_OK;
    case GET_LED_INTENSITY:
        out[0] = (uint8_t)s->intensity;
        *returned = 1;
        return SIM_OK;
    case SET_LED_PULSATION:
        s->pulsation = (int8_t)in[0];
        return SIM_OK;
    case GET_LED_PULSATION:
        out[0] = (uint8_t)s->pulsation;
        *returned = 1;
        return SIM_OK;
    case GET_FIRMWARE_INFO:
        Copy(out, s->fwInfo, 16);
        *returned = 16;
        return SIM_OK;
    case FIRMWARE_UPDATE_START:
        if ((in[0] | in[1] << 8) != 0x0010) return SIM_BAD_VALUE;
        /* The mouse restarts in its loader and is found again. */
        return SimDeviceQueueEvent(d, SIM_EVENT_ARRIVAL, 0);
    case FIRMWARE_UPDATE_END:
        return SimDeviceQueueEvent(d, SIM_EVENT_ARRIVAL, 0);
    case FIRMWARE_ERASE:
        d->blockCount = 0;
        return SIM_OK;
    case FIRMWARE_WRITE_BLOCK:
        if (d->blockCount >= SIM_MAX_BLOCKS) return SIM_BAD_VALUE;
        Copy(d->blocks[d->blockCount++], in, SIM_BLOCK_SIZE);
        return SIM_OK;
    case POST_RELOAD:
        return SIM_OK;
    }
    return SIM_UNKNOWN_REQUEST;
}

SimResult SimDeviceControl(SimDevice* d, uint32_t code, const void* in, uint32_t inSize, void* out,
                           uint32_t outSize, uint32_t* returned)
{
    uint8_t copy[SIM_BLOCK_SIZE];
    uint32_t wantIn = 0, wantOut = 0;
    SimLogEntry* e = LogRequest(d, code, in, inSize, outSize);
    SimResult r;
    *returned = 0;
    if (!SimRequestSizes(code, &wantIn, &wantOut))
        r = SIM_UNKNOWN_REQUEST;
    else if (inSize != wantIn || outSize != wantOut || (wantIn && !in) || (wantOut && !out))
        r = SIM_BAD_SIZE;
    else if (TakeFailure(d, code))
        r = SIM_FAILED;
    else if (!d->connected && !IsLinkRequest(code))
        r = SIM_NOT_CONNECTED;
    else {
        Zero(copy, sizeof(copy));
        Copy(copy, in, inSize);
        r = Answer(d, e, code, copy, (uint8_t*)out, returned);
    }
    e->result = r;
    return r;
}

void SimDeviceLogRefused(SimDevice* d, uint32_t code, const void* in, uint32_t inSize, uint32_t outSize,
                         SimResult r)
{
    LogRequest(d, code, in, inSize, outSize)->result = r;
}

void SimDeviceOpened(SimDevice* d)
{
    ++d->opens;
}

void SimDeviceClosed(SimDevice* d, int registrant)
{
    if (d->opens > 0) --d->opens;
    if (registrant && d->registered) {
        if (d->host.unregisterEvent) d->host.unregisterEvent(d->host.context);
        d->registered = 0;
    }
}

SimResult SimDeviceQueueEvent(SimDevice* d, uint32_t word, int64_t* queuedAt)
{
    if (d->queueCount >= SIM_QUEUE_CAPACITY) return SIM_QUEUE_FULL;
    SimQueued* q = &d->queue[(d->queueHead + d->queueCount) % SIM_QUEUE_CAPACITY];
    q->word = word;
    q->at = Now(d);
    ++d->queueCount;
    if (queuedAt) *queuedAt = q->at;
    Signal(d, 1);
    return SIM_OK;
}

SimResult SimDeviceButton(SimDevice* d, int button, int down, uint32_t* word, int64_t* queuedAt)
{
    if (button < 1 || button > SIM_BUTTON_COUNT) return SIM_BAD_VALUE;
    if (!d->connected) return SIM_NOT_CONNECTED;
    int extended = s_buttons[button - 1].extended;
    uint32_t bit = 1u << s_buttons[button - 1].bit;
    uint32_t* state = extended ? &d->extended : &d->standard;
    uint32_t next = down ? (*state | bit) : (*state & ~bit);
    if (next == *state) return SIM_NO_CHANGE;
    uint32_t w = extended ? (SIM_EVENT_EXTENDED | next) : next;
    SimResult r = SimDeviceQueueEvent(d, w, queuedAt);
    if (r != SIM_OK) return r;
    *state = next;
    if (word) *word = w;
    return SIM_OK;
}

SimResult SimDeviceUnplug(SimDevice* d)
{
    if (!d->connected) return SIM_NO_CHANGE;
    SimResult r = SimDeviceQueueEvent(d, SIM_EVENT_REMOVAL, 0);
    if (r == SIM_OK) d->connected = 0;
    return r;
}

SimResult SimDevicePlug(SimDevice* d)
{
    if (d->connected) return SIM_NO_CHANGE;
    SimResult r = SimDeviceQueueEvent(d, SIM_EVENT_ARRIVAL, 0);
    if (r == SIM_OK) d->connected = 1;
    return r;
}

void SimDeviceFailRequest(SimDevice* d, uint32_t code, int32_t times)
{
    SimFailure* slot = 0;
    for (int i = 0; i < SIM_MAX_FAILURES; ++i) {
        SimFailure* f = &d->failures[i];
        if (f->times != 0 && f->code == code) {
            slot = f;
            break;
        }
        if (!slot && f->times == 0) slot = f;
    }
    if (!slot) return;
    slot->code = code;
    slot->times = times;
}

void SimDeviceGetState(const SimDevice* d, SimDeviceState* s)
{
    s->settings = d->settings;
    s->connected = d->connected;
    s->registered = d->registered;
    s->opens = d->opens;
    s->pending = d->queueCount;
    s->standard = d->standard;
    s->extended = d->extended;
    s->blockCount = d->blockCount;
    s->logNext = d->logNext;
}

int32_t SimDevicePendingEvents(const SimDevice* d)
{
    return d->queueCount;
}

uint32_t SimDeviceReadLog(const SimDevice* d, uint32_t from, SimLogEntry* out, uint32_t max, uint32_t* next)
{
    uint32_t oldest = d->logNext > SIM_LOG_CAPACITY ? d->logNext - SIM_LOG_CAPACITY : 1;
    uint32_t seq = from < oldest ? oldest : from;
    uint32_t n = 0;
    while (seq < d->logNext && n < max) {
        Copy(&out[n++], &d->log[(seq - 1) % SIM_LOG_CAPACITY], sizeof(SimLogEntry));
        ++seq;
    }
    *next = seq;
    return n;
}
