#include "SimControl.h"

static SimResult Sized(uint32_t inSize, uint32_t outSize, uint32_t wantIn, uint32_t wantOut)
{
    return inSize == wantIn && outSize == wantOut ? SIM_OK : SIM_BAD_SIZE;
}

SimResult SimControlRequest(SimDevice* d, uint32_t code, const void* in, uint32_t inSize, void* out,
                            uint32_t outSize, uint32_t* returned)
{
    SimResult r;
    *returned = 0;
    switch (code) {
    case SIMCTL_BUTTON: {
        SimButtonRequest q;
        SimButtonAnswer a = {0, 0, 0};
        if ((r = Sized(inSize, outSize, sizeof(q), sizeof(a))) != SIM_OK) return r;
        q = *(const SimButtonRequest*)in;
        a.result = SimDeviceButton(d, q.button, q.down, &a.word, &a.queuedAt);
        *(SimButtonAnswer*)out = a;
        *returned = sizeof(a);
        return SIM_OK;
    }
    case SIMCTL_UNPLUG:
    case SIMCTL_PLUG: {
        if ((r = Sized(inSize, outSize, 0, sizeof(int32_t))) != SIM_OK) return r;
        *(int32_t*)out = code == SIMCTL_UNPLUG ? SimDeviceUnplug(d) : SimDevicePlug(d);
        *returned = sizeof(int32_t);
        return SIM_OK;
    }
    case SIMCTL_GET_STATE:
        if ((r = Sized(inSize, outSize, 0, sizeof(SimDeviceState))) != SIM_OK) return r;
        SimDeviceGetState(d, (SimDeviceState*)out);
        *returned = sizeof(SimDeviceState);
        return SIM_OK;
    case SIMCTL_READ_LOG: {
        SimLogPage* page = (SimLogPage*)out;
        if ((r = Sized(inSize, outSize, sizeof(uint32_t), sizeof(SimLogPage))) != SIM_OK) return r;
        uint32_t from = *(const uint32_t*)in;
        page->count = SimDeviceReadLog(d, from, page->entries, SIM_LOG_PAGE, &page->next);
        *returned = sizeof(SimLogPage);
        return SIM_OK;
    }
    case SIMCTL_RESET:
        if ((r = Sized(inSize, outSize, 0, 0)) != SIM_OK) return r;
        SimDeviceReset(d);
        return SIM_OK;
    }
    return SIM_UNKNOWN_REQUEST;
}
