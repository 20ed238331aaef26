#include "SimControl.h"
#include "SimMouseClient.h"
#include "service/DriverLink.h"
#include <gtest/gtest.h>
#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

// The device model of the simulated mouse, which the driver and the in-process mouse
// share: the contract's buffer sizes, the event link, the buttons, unplugging and the log.

namespace {

struct Host {
    std::vector<uint32_t> registered;
    int unregistered = 0;
    int signals = 0;
    int64_t clock = 1000;
    bool refuse = false;
};

std::unique_ptr<SimDevice> MakeDevice(Host& h)
{
    std::unique_ptr<SimDevice> d(new SimDevice);
    SimHost host = {
        &h,
        [](void* c) { return ((Host*)c)->clock++; },
        [](void* c, uint32_t bits) {
            Host* h = (Host*)c;
            if (h->refuse) return 0;
            h->registered.push_back(bits);
            return 1;
        },
        [](void* c) { ++((Host*)c)->unregistered; },
        [](void* c, int32_t n) { ((Host*)c)->signals += n; },
    };
    SimDeviceInit(d.get(), &host);
    return d;
}

SimResult Control(SimDevice* d, uint32_t code, std::vector<uint8_t> in, uint32_t outSize, std::vector<uint8_t>* out = nullptr)
{
    std::vector<uint8_t> buffer(std::max<size_t>(in.size(), outSize) + 1);
    std::memcpy(buffer.data(), in.data(), in.size());
    uint32_t got = 0;
    SimResult r = SimDeviceControl(d, code, in.empty() ? nullptr : buffer.data(), (uint32_t)in.size(),
                                   outSize ? buffer.data() : nullptr, outSize, &got);
    if (out) out->assign(buffer.begin(), buffer.begin() + got);
    return r;
}

// Every code of the contract: the functions 0x900..0x9FF that have sizes.
std::vector<uint32_t> ContractCodes()
{
    std::vector<uint32_t> codes;
    for (uint32_t f = 0x900; f < 0xA00; ++f) {
        uint32_t in, out;
        if (SimRequestSizes(SIM_IOCTL(f), &in, &out)) codes.push_back(SIM_IOCTL(f));
    }
    return codes;
}

}  // namespace

// The sizes themselves are checked against the service's own requests in
// ServiceSession.EveryRequestCarriesTheContractsBufferSizes.
TEST(SimDevice, BuffersOfAnotherSizeThanTheContractsAreRefusedWithoutEffect)
{
    std::vector<uint32_t> codes = ContractCodes();
    EXPECT_EQ(codes.size(), 26u);
    Host h;
    auto d = MakeDevice(h);
    for (uint32_t code : codes) {
        SCOPED_TRACE(SimRequestName(code));
        uint32_t in = 0, out = 0;
        SimRequestSizes(code, &in, &out);
        SimSettings before = d->settings;
        const uint32_t wrong[][2] = {{in + 1, out}, {in, out + 1}, {in + 4, out + 4}};
        for (auto& w : wrong) EXPECT_EQ(Control(d.get(), code, std::vector<uint8_t>(w[0], 1), w[1]), SIM_BAD_SIZE);
        if (in) {
            EXPECT_EQ(Control(d.get(), code, std::vector<uint8_t>(in - 1, 1), out), SIM_BAD_SIZE);
        }
        if (out) {
            EXPECT_EQ(Control(d.get(), code, std::vector<uint8_t>(in, 1), out - 1), SIM_BAD_SIZE);
        }
        EXPECT_EQ(std::memcmp(&before, &d->settings, sizeof(before)), 0);
    }
    EXPECT_TRUE(h.registered.empty());
    EXPECT_EQ(d->blockCount, 0u);
    EXPECT_EQ(SimDevicePendingEvents(d.get()), 0);
    uint32_t in, out;
    EXPECT_FALSE(SimRequestSizes(0x222444, &in, &out));
    EXPECT_EQ(Control(d.get(), 0x222444, {}, 0), SIM_UNKNOWN_REQUEST);
    // Every refusal is in the log with its sizes.
    std::vector<SimLogEntry> log(64);
    uint32_t next = 0;
    uint32_t n = SimDeviceReadLog(d.get(), 1, log.data(), (uint32_t)log.size(), &next);
    ASSERT_EQ(n, 64u);
    EXPECT_EQ(log[0].code, IOCTL_REGISTER_EVENT);
    EXPECT_EQ(log[0].inSize, 5u);
    EXPECT_EQ(log[0].result, SIM_BAD_SIZE);
}

TEST(SimDevice, RegistrationTakesFourBytesAndSignalsWhatWaits)
{
    Host h;
    auto d = MakeDevice(h);
    uint32_t word = 0;
    EXPECT_EQ(SimDeviceButton(d.get(), 8, 1, &word, nullptr), SIM_OK);
    EXPECT_EQ(word, 8u);  // BUTTON_8 is standard bit 3
    EXPECT_EQ(h.signals, 0);  // nobody listens yet
    SimDeviceOpened(d.get());

    // A handle's 32 bits, as a 32-bit and a 64-bit service send them.
    EXPECT_EQ(Control(d.get(), IOCTL_REGISTER_EVENT, {0x78, 0x56, 0x34, 0x12}, 0), SIM_OK);
    EXPECT_EQ(h.registered, std::vector<uint32_t>({0x12345678}));
    EXPECT_EQ(h.signals, 1);  // the word queued before
    EXPECT_EQ(Control(d.get(), IOCTL_REGISTER_EVENT, {0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0}, 0), SIM_BAD_SIZE);
    EXPECT_EQ(h.registered.size(), 1u);
    std::vector<uint8_t> out;
    EXPECT_EQ(Control(d.get(), IOCTL_GET_EVENT, {0, 0, 0, 0}, 4, &out), SIM_OK);
    EXPECT_EQ(out, std::vector<uint8_t>({8, 0, 0, 0}));
    EXPECT_EQ(Control(d.get(), IOCTL_GET_EVENT, {0, 0, 0, 0}, 4), SIM_NO_EVENT);

    // A handle the host cannot reach is refused.
    h.refuse = true;
    EXPECT_EQ(Control(d.get(), IOCTL_REGISTER_EVENT, {1, 0, 0, 0}, 0), SIM_BAD_HANDLE);
    h.refuse = false;

    // Closing another handle keeps the registration; closing the registering one ends it.
    SimDeviceOpened(d.get());
    SimDeviceClosed(d.get(), 0);
    EXPECT_EQ(d->registered, 1);
    EXPECT_EQ(h.unregistered, 0);
    SimDeviceClosed(d.get(), 1);
    EXPECT_EQ(d->registered, 0);
    EXPECT_EQ(h.unregistered, 1);
    EXPECT_EQ(d->opens, 0);
    EXPECT_EQ(SimDeviceButton(d.get(), 8, 0, &word, nullptr), SIM_OK);
    EXPECT_EQ(h.signals, 1);  // no one to tell
}

TEST(SimDevice, ButtonsMakeTheContractsEventWords)
{
    const uint32_t words[SIM_BUTTON_COUNT] = {
        0x1, 0x2, 0x4, 0x10004000, 0x10008000, 0x10000001, 0x10, 0x8, 0x10000800, 0x10000400, 0x10001000,
    };
    Host h;
    auto d = MakeDevice(h);
    for (int b = 1; b <= SIM_BUTTON_COUNT; ++b) {
        uint32_t down = 0, up = 0;
        int64_t at = 0;
        EXPECT_EQ(SimDeviceButton(d.get(), b, 1, &down, &at), SIM_OK) << b;
        EXPECT_EQ(down, words[b - 1]) << b;
        EXPECT_GT(at, 0);
        EXPECT_EQ(SimDeviceButton(d.get(), b, 1, nullptr, nullptr), SIM_NO_CHANGE) << b;
        EXPECT_EQ(SimDeviceButton(d.get(), b, 0, &up, nullptr), SIM_OK) << b;
        EXPECT_EQ(up, words[b - 1] & 0x10000000u) << b;
    }
    // Two held buttons of one kind share their word.
    uint32_t word = 0;
    SimDeviceButton(d.get(), 4, 1, &word, nullptr);
    SimDeviceButton(d.get(), 6, 1, &word, nullptr);
    EXPECT_EQ(word, 0x10004001u);
    EXPECT_EQ(SimDeviceButton(d.get(), 0, 1, nullptr, nullptr), SIM_BAD_VALUE);
    EXPECT_EQ(SimDeviceButton(d.get(), 12, 1, nullptr, nullptr), SIM_BAD_VALUE);
}

TEST(SimDevice, UnpluggedOnlyTheEventLinkAnswersAndTheSettingsStay)
{
    Host h;
    auto d = MakeDevice(h);
    SimDeviceOpened(d.get());
    EXPECT_EQ(Control(d.get(), IOCTL_REGISTER_EVENT, {4, 0, 0, 0}, 0), SIM_OK);
    EXPECT_EQ(Control(d.get(), IOCTL_SET_DPI_STAGE, {4}, 0), SIM_OK);
    EXPECT_EQ(SimDeviceUnplug(d.get()), SIM_OK);
    EXPECT_EQ(SimDeviceUnplug(d.get()), SIM_NO_CHANGE);
    std::vector<uint8_t> out;
    EXPECT_EQ(Control(d.get(), IOCTL_GET_EVENT, {0, 0, 0, 0}, 4, &out), SIM_OK);
    EXPECT_EQ(out, std::vector<uint8_t>({0x00, 0x08, 0, 0}));  // removal
    EXPECT_EQ(Control(d.get(), IOCTL_GET_DPI_STAGE, {0}, 1), SIM_NOT_CONNECTED);
    EXPECT_EQ(Control(d.get(), IOCTL_SET_INTERCEPTION_MASK, {0, 0, 0, 0}, 0), SIM_OK);
    EXPECT_EQ(SimDeviceButton(d.get(), 1, 1, nullptr, nullptr), SIM_NOT_CONNECTED);
    EXPECT_EQ(SimDevicePlug(d.get()), SIM_OK);
    EXPECT_EQ(Control(d.get(), IOCTL_GET_EVENT, {0, 0, 0, 0}, 4, &out), SIM_OK);
    EXPECT_EQ(out, std::vector<uint8_t>({0x00, 0x04, 0, 0}));  // arrival
    EXPECT_EQ(Control(d.get(), IOCTL_GET_DPI_STAGE, {0}, 1, &out), SIM_OK);
    EXPECT_EQ(out, std::vector<uint8_t>({4}));
    EXPECT_EQ(h.signals, 2);
}

// The image the driver stores and reads at its next start: the settings the service set
// come back; the driver's mask and the firmware are not kept.
TEST(SimDevice, ItsMemoryGivesBackTheSettingsTheServiceSet)
{
    Host h;
    auto set = MakeDevice(h);
    EXPECT_EQ(Control(set.get(), IOCTL_SET_DPI_STAGE, {4}, 0), SIM_OK);
    EXPECT_EQ(Control(set.get(), IOCTL_SET_LED_COLOR, {0xFF, 0x80, 0x00}, 0), SIM_OK);
    EXPECT_EQ(Control(set.get(), IOCTL_SET_LED_INTENSITY, {0xFF}, 0), SIM_OK);
    EXPECT_EQ(Control(set.get(), IOCTL_SET_LED_PULSATION, {4}, 0), SIM_OK);
    EXPECT_EQ(Control(set.get(), IOCTL_SET_POLLING_RATE, {3}, 0), SIM_OK);
    EXPECT_EQ(Control(set.get(), IOCTL_SET_SENSITIVITY_X, {7, 0, 0, 0}, 0), SIM_OK);
    EXPECT_EQ(Control(set.get(), IOCTL_SET_SENSITIVITY_Y, {0xFE, 0xFF, 0xFF, 0xFF}, 0), SIM_OK);
    EXPECT_EQ(Control(set.get(), IOCTL_SET_INTERCEPTION_MASK, {0, 0xFF, 0, 0}, 0), SIM_OK);
    SimMemory image;
    SimDeviceSaveMemory(set.get(), &image);

    auto started = MakeDevice(h);
    ASSERT_EQ(SimDeviceLoadMemory(started.get(), &image, sizeof(image)), 1);
    SimSettings want = set->settings;
    SimDefaultSettings(&set->settings);
    want.mask = set->settings.mask;
    EXPECT_EQ(std::memcmp(&started->settings, &want, sizeof(want)), 0);
    EXPECT_EQ(started->settings.stage, 4);
    EXPECT_EQ(started->settings.intensity, -1);
    EXPECT_EQ(started->settings.sensY, -2);
    EXPECT_EQ(started->settings.mask, 0xFFFFu);

    // A mouse set back to its factory values keeps those.
    SimDeviceReset(started.get());
    SimMemory fresh, reset;
    SimDeviceSaveMemory(set.get(), &fresh);
    SimDeviceSaveMemory(started.get(), &reset);
    EXPECT_EQ(std::memcmp(&fresh, &reset, sizeof(fresh)), 0);
}

// A missing, cut, longer or damaged image leaves the factory values.
TEST(SimDevice, AnImageThatIsNotWholeIsRefused)
{
    Host h;
    auto set = MakeDevice(h);
    EXPECT_EQ(Control(set.get(), IOCTL_SET_DPI_STAGE, {4}, 0), SIM_OK);
    SimMemory good;
    SimDeviceSaveMemory(set.get(), &good);
    std::vector<uint8_t> whole((uint8_t*)&good, (uint8_t*)&good + sizeof(good));
    auto flipped = [&](size_t at) {
        std::vector<uint8_t> b = whole;
        b[at] ^= 0x01;
        return b;
    };
    std::vector<uint8_t> longer = whole;
    longer.push_back(0);
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"cut", std::vector<uint8_t>(whole.begin(), whole.end() - 1)},
        {"longer", longer},
        {"mark", flipped(offsetof(SimMemory, mark))},
        {"size", flipped(offsetof(SimMemory, size))},
        {"a setting", flipped(offsetof(SimMemory, stage))},
        {"check", flipped(offsetof(SimMemory, check))},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto d = MakeDevice(h);
        SimSettings factory = d->settings;
        EXPECT_EQ(SimDeviceLoadMemory(d.get(), c.bytes.data(), (uint32_t)c.bytes.size()), 0);
        EXPECT_EQ(std::memcmp(&d->settings, &factory, sizeof(factory)), 0);
    }
    auto d = MakeDevice(h);
    EXPECT_EQ(SimDeviceLoadMemory(d.get(), nullptr, sizeof(good)), 0);
    EXPECT_EQ(SimDeviceLoadMemory(d.get(), whole.data(), (uint32_t)whole.size()), 1);
    EXPECT_EQ(d->settings.stage, 4);
}

TEST(SimDevice, TheQueueHoldsWhatTheSemaphoreCanCount)
{
    Host h;
    auto d = MakeDevice(h);
    for (int i = 0; i < SIM_QUEUE_CAPACITY; ++i) EXPECT_EQ(SimDeviceQueueEvent(d.get(), (uint32_t)i, nullptr), SIM_OK);
    EXPECT_EQ(SimDeviceQueueEvent(d.get(), 0x400, nullptr), SIM_QUEUE_FULL);
    EXPECT_EQ(SimDeviceButton(d.get(), 1, 1, nullptr, nullptr), SIM_QUEUE_FULL);
    EXPECT_EQ(d->standard, 0u);  // a press that could not be told did not happen
    std::vector<uint8_t> out;
    for (int i = 0; i < SIM_QUEUE_CAPACITY; ++i) {
        ASSERT_EQ(Control(d.get(), IOCTL_GET_EVENT, {0, 0, 0, 0}, 4, &out), SIM_OK);
        EXPECT_EQ(out[0], (uint8_t)i);  // in order
    }
}

TEST(SimDevice, TheLogKeepsTheLatestRequestsAndIsReadInPages)
{
    Host h;
    auto d = MakeDevice(h);
    const uint32_t total = SIM_LOG_CAPACITY + 100;
    for (uint32_t i = 0; i < total; ++i) Control(d.get(), IOCTL_SET_DPI_STAGE, {(uint8_t)(i % 4 + 1)}, 0);
    SimLogPage page;
    uint32_t got = 0, from = 1, seen = 0, first = 0, last = 0;
    for (;;) {
        ASSERT_EQ(SimControlRequest(d.get(), SIMCTL_READ_LOG, &from, sizeof(from), &page, sizeof(page), &got), SIM_OK);
        ASSERT_EQ(got, sizeof(page));
        if (!page.count) break;
        if (!first) first = page.entries[0].seq;
        for (uint32_t i = 0; i < page.count; ++i) {
            EXPECT_EQ(page.entries[i].code, IOCTL_SET_DPI_STAGE);
            EXPECT_EQ(page.entries[i].in[0], (page.entries[i].seq - 1) % 4 + 1);
        }
        last = page.entries[page.count - 1].seq;
        seen += page.count;
        from = page.next;
    }
    EXPECT_EQ(seen, (uint32_t)SIM_LOG_CAPACITY);
    EXPECT_EQ(first, total - SIM_LOG_CAPACITY + 1);
    EXPECT_EQ(last, total);

    // The control channel's own sizes are checked as well; a reset empties the log.
    EXPECT_EQ(SimControlRequest(d.get(), SIMCTL_READ_LOG, &from, 8, &page, sizeof(page), &got), SIM_BAD_SIZE);
    SimDeviceState state;
    EXPECT_EQ(SimControlRequest(d.get(), SIMCTL_GET_STATE, nullptr, 0, &state, sizeof(state) - 1, &got), SIM_BAD_SIZE);
    EXPECT_EQ(SimControlRequest(d.get(), SIMCTL_RESET, nullptr, 0, nullptr, 0, &got), SIM_OK);
    EXPECT_EQ(SimControlRequest(d.get(), SIMCTL_GET_STATE, nullptr, 0, &state, sizeof(state), &got), SIM_OK);
    EXPECT_EQ(state.logNext, 1u);
    EXPECT_EQ(state.settings.stage, 2);
}
