#include "ServiceRig.h"
#include "service/DriverLink.h"
#include "service/Firmware.h"
#include "core/AppPaths.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

// Stands in for the event thread, without its timing: after every wait, the event words
// the mouse queued are read and each arrival word is counted.
class ArrivingClock : public FakeClock {
public:
    ArrivingClock(SimMouse& mouse, bool deliver) : m_mouse(mouse), m_deliver(deliver) {}
    void Sleep(DWORD ms) override
    {
        FakeClock::Sleep(ms);
        while (m_deliver && m_mouse.PendingEvents()) {
            DWORD word = 0, got = 0;
            if (!m_mouse.Control(g_hDevice, IOCTL_GET_EVENT, &word, 4, &word, 4, &got)) break;
            if (word == EVENT_ARRIVAL) InterlockedIncrement(&g_nArrivalCount);
        }
    }

private:
    SimMouse& m_mouse;
    bool m_deliver;
};

const wchar_t* FIRMWARE_XML = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n"
                              L"<FirmwareFile>image.bin</FirmwareFile>\r\n<Version>0x1A2</Version>\r\n</root>\r\n";

std::vector<BYTE> Image(size_t size)
{
    std::vector<BYTE> image(size);
    for (size_t i = 0; i < size; ++i) image[i] = (BYTE)(i * 7 + 3);
    return image;
}

class FirmwareUpdate : public testing::Test {
protected:
    TempDir temp;
    SimMouse mouse;
    FakeForeground foreground;
    FakeMouseSettings settings;
    InputRecorder input;
    std::unique_ptr<FakeClock> clock;
    std::unique_ptr<ServiceSeamGuard> seams;

    void SetUp() override { UseClock(true); }
    void UseClock(bool deliverArrivals)
    {
        seams.reset();
        clock.reset(new ArrivingClock(mouse, deliverArrivals));
        seams.reset(new ServiceSeamGuard(&mouse, &input, clock.get(), &foreground, &settings));
        CreateDirectoryW(temp.File(L"App"), nullptr);
        CreateDirectoryW(temp.File(L"Conf"), nullptr);
        wcscpy(g_szAppDir, temp.File(L"App\\"));
        wcscpy(g_szConfDir, temp.File(L"Conf\\"));
        if (!g_hDevice) g_hDevice = mouse.Open();
    }
    void TearDown() override
    {
        if (g_hDevice) mouse.Close(g_hDevice);
        g_hDevice = nullptr;
        seams.reset();
        g_szAppDir[0] = 0;
        g_szConfDir[0] = 0;
    }
    void Install(const std::vector<BYTE>& image, int start = 0x1000)
    {
        ASSERT_TRUE(WriteUtf16File(temp.File(L"App\\Firmware.xml"), FIRMWARE_XML));
        ASSERT_TRUE(WriteBytes(temp.File(L"App\\image.bin"), image));
        SimMouse::State s = mouse.GetState();
        s.fwInfo[8] = (BYTE)(start >> 8);
        s.fwInfo[9] = (BYTE)start;
        mouse.SetState(s);
        mouse.ClearLog();
    }
    std::wstring VersionFile() const { return ReadUtf16File(temp.File(L"Conf\\FWVersion.xml")); }
};

} // namespace

TEST(Firmware, HexNumbers)
{
    struct Case { const wchar_t* text; int want; } cases[] = {
        {L"1A2", 0x1A2}, {L"0x1A2", 0x1A2}, {L"0X1a2", 0x1A2}, {L"1a2", 0x1A2}, {L"1A2G5", 0x1A2}, {L"", 0},
        {L"XYZ", 0}, {L"0x", 0}, {L"x12", 0}, {L"ff", 255}, {L"0", 0}, {L" 12", 0}, {L"12 ", 0x12},
        {L"FFFFFFFFFFFF", -1}, {nullptr, 0},
    };
    for (auto& c : cases) EXPECT_EQ(ParseHexNumber(c.text), c.want) << (c.text ? c.text : L"(null)");
}

TEST(Firmware, BlocksCarryAddressAndImageBytes)
{
    std::vector<BYTE> image = Image(1000);
    std::vector<FirmwareBlockData> blocks = FirmwareBlocks(0x1000, image);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].address[0], 0x00);
    EXPECT_EQ(blocks[0].address[1], 0x10);
    EXPECT_EQ(blocks[1].address[0], 0x00);
    EXPECT_EQ(blocks[1].address[1], 0x12);
    EXPECT_EQ(0, memcmp(blocks[0].data, image.data(), 512));
    // The second block: 488 image bytes, then the last 24 bytes of the first block.
    EXPECT_EQ(0, memcmp(blocks[1].data, image.data() + 512, 488));
    EXPECT_EQ(0, memcmp(blocks[1].data + 488, image.data() + 488, 24));

    std::vector<FirmwareBlockData> one = FirmwareBlocks(0x2000, Image(10));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].data[9], Image(10)[9]);
    EXPECT_EQ(one[0].data[10], 0);
    EXPECT_TRUE(FirmwareBlocks(0x1000, {}).empty());
    EXPECT_EQ(FirmwareBlocks(0xFE00, Image(512)).size(), 1u);
}

TEST_F(FirmwareUpdate, WritesTheImageBlockByBlockWithItsWaits)
{
    std::vector<BYTE> image = Image(1000);
    Install(image);
    EXPECT_EQ(UpdateFirmware(), 0);
    std::vector<DWORD> want = {IOCTL_GET_FIRMWARE_INFO, IOCTL_FIRMWARE_UPDATE_START, IOCTL_FIRMWARE_ERASE,
                               IOCTL_FIRMWARE_WRITE_BLOCK, IOCTL_FIRMWARE_WRITE_BLOCK, IOCTL_FIRMWARE_UPDATE_END,
                               IOCTL_GET_FIRMWARE_VERSION};
    EXPECT_EQ(mouse.Codes(), want);
    EXPECT_EQ(mouse.Requests()[1].in, Bytes({0x10, 0x00}));
    std::vector<FirmwareBlockData> blocks = FirmwareBlocks(0x1000, image);
    std::vector<std::vector<BYTE>> written = mouse.GetState().blocks;
    ASSERT_EQ(written.size(), 2u);
    for (size_t i = 0; i < 2; ++i)
        EXPECT_EQ(written[i], std::vector<BYTE>((BYTE*)&blocks[i], (BYTE*)&blocks[i] + 514)) << i;
    // Erase time 100 and block time 10 from the mouse's info; one wait for each arrival.
    EXPECT_EQ(clock->Waits(), std::vector<DWORD>({1000, 1000, 2000, 1200, 210, 210, 1000, 500}));
    EXPECT_NE(VersionFile().find(L"<FW_VERSION>105</FW_VERSION>"), std::wstring::npos) << VersionFile();
}

TEST_F(FirmwareUpdate, AMissingArrivalIsWaitedForThirtySecondsAndIsNoError)
{
    UseClock(false);
    Install(Image(512));
    EXPECT_EQ(UpdateFirmware(), 0);
    std::vector<DWORD> want = {1000};
    want.insert(want.end(), 30, 1000);
    want.insert(want.end(), {2000, 1200, 210});
    want.insert(want.end(), 30, 1000);
    want.push_back(500);
    EXPECT_EQ(clock->Waits(), want);
}

TEST_F(FirmwareUpdate, AFailedBlockIsSentOnceMore)
{
    Install(Image(1000));
    mouse.FailRequest(IOCTL_FIRMWARE_WRITE_BLOCK, 1);
    EXPECT_EQ(UpdateFirmware(), 0);
    std::vector<SimMouse::Request> requests = mouse.Requests();
    ASSERT_EQ(mouse.Codes().size(), 8u);
    EXPECT_EQ(requests[3].code, IOCTL_FIRMWARE_WRITE_BLOCK);
    EXPECT_FALSE(requests[3].ok);
    EXPECT_EQ(requests[4].in, requests[3].in);  // the same block again
    EXPECT_TRUE(requests[4].ok);
    EXPECT_EQ(mouse.GetState().blocks.size(), 2u);
    EXPECT_EQ(clock->Waits(), std::vector<DWORD>({1000, 1000, 2000, 1200, 2000, 210, 210, 1000, 500}));
}

TEST_F(FirmwareUpdate, ABlockFailingTwiceEndsTheUpdateModeAndFails)
{
    Install(Image(1500));
    mouse.FailRequest(IOCTL_FIRMWARE_WRITE_BLOCK, 2);
    EXPECT_EQ(UpdateFirmware(), -1);
    EXPECT_EQ(mouse.Codes(), std::vector<DWORD>({IOCTL_GET_FIRMWARE_INFO, IOCTL_FIRMWARE_UPDATE_START,
                                                 IOCTL_FIRMWARE_ERASE, IOCTL_FIRMWARE_WRITE_BLOCK,
                                                 IOCTL_FIRMWARE_WRITE_BLOCK, IOCTL_FIRMWARE_UPDATE_END}));
    EXPECT_EQ(clock->Waits(), std::vector<DWORD>({1000, 1000, 2000, 1200, 2000, 1000, 500}));
    EXPECT_EQ(VersionFile(), L"");  // the version is not read after a failure
}

TEST_F(FirmwareUpdate, AFailedEraseStillEndsTheUpdateMode)
{
    Install(Image(1000));
    mouse.FailRequest(IOCTL_FIRMWARE_ERASE);
    EXPECT_EQ(UpdateFirmware(), -1);
    EXPECT_EQ(mouse.Codes(), std::vector<DWORD>({IOCTL_GET_FIRMWARE_INFO, IOCTL_FIRMWARE_UPDATE_START,
                                                 IOCTL_FIRMWARE_ERASE, IOCTL_FIRMWARE_UPDATE_END}));
    EXPECT_EQ(clock->Waits(), std::vector<DWORD>({1000, 1000, 2000, 1000, 500}));
}

TEST_F(FirmwareUpdate, AnImageThatDoesNotFitIsRefusedBeforeAnyUpdateRequest)
{
    Install(Image(0x100), 0xFF00);  // would end at 0x10000
    EXPECT_EQ(UpdateFirmware(), -1);
    EXPECT_EQ(mouse.Codes(), std::vector<DWORD>({IOCTL_GET_FIRMWARE_INFO}));
    EXPECT_TRUE(clock->Waits().empty());

    Install(Image(0xFF), 0xFF00);  // ends at 0xFFFF: fits
    EXPECT_EQ(UpdateFirmware(), 0);
    EXPECT_EQ(mouse.GetState().blocks.size(), 1u);

    Install(Image(0x20000), 0);  // larger than the whole address space
    EXPECT_EQ(UpdateFirmware(), -1);
    EXPECT_EQ(mouse.Codes(), std::vector<DWORD>({IOCTL_GET_FIRMWARE_INFO}));
}

TEST_F(FirmwareUpdate, MissingFilesAndAFailedInfoRequestFailAtOnce)
{
    // No "Firmware.xml": nothing is asked of the device.
    mouse.ClearLog();
    EXPECT_EQ(UpdateFirmware(), -1);
    EXPECT_TRUE(mouse.Codes().empty());

    // No FirmwareFile element, or an image that is not there.
    ASSERT_TRUE(WriteUtf16File(temp.File(L"App\\Firmware.xml"),
                               L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<Version>1</Version>\r\n</root>\r\n"));
    EXPECT_EQ(UpdateFirmware(), -1);
    ASSERT_TRUE(WriteUtf16File(temp.File(L"App\\Firmware.xml"), FIRMWARE_XML));
    EXPECT_EQ(UpdateFirmware(), -1);
    EXPECT_TRUE(mouse.Codes().empty());

    Install(Image(100));
    mouse.FailRequest(IOCTL_GET_FIRMWARE_INFO);
    EXPECT_EQ(UpdateFirmware(), -1);
    EXPECT_EQ(mouse.Codes(), std::vector<DWORD>({IOCTL_GET_FIRMWARE_INFO}));
    EXPECT_EQ(FirmwareVersions(), -1);

    // Without a device the info request fails in the driver's place.
    mouse.FailRequest(IOCTL_GET_FIRMWARE_INFO, 0);
    mouse.Close(g_hDevice);
    g_hDevice = nullptr;
    EXPECT_EQ(UpdateFirmware(), -1);
    EXPECT_EQ(FirmwareVersions(), -1);
}

TEST_F(FirmwareUpdate, VersionsOfTheImageAndTheDevice)
{
    Install(Image(10));
    SimMouse::State s = mouse.GetState();
    s.fwInfo[4] = 1;
    s.fwInfo[5] = 5;
    mouse.SetState(s);
    EXPECT_EQ(FirmwareVersions(), 0x01A20105);
    struct Case { const wchar_t* version; int want; } cases[] = {
        {L"1A2G5", 0x01A20105}, {L"", 0x105}, {L"XYZ", 0x105}, {L"0xFFFF", (int)0xFFFF0105u},
    };
    for (auto& c : cases) {
        std::wstring xml = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<Version>" + std::wstring(c.version) +
                           L"</Version>\r\n</root>\r\n";
        ASSERT_TRUE(WriteUtf16File(temp.File(L"App\\Firmware.xml"), xml));
        EXPECT_EQ(FirmwareVersions(), c.want) << c.version;
    }
    ASSERT_TRUE(WriteUtf16File(temp.File(L"App\\Firmware.xml"),
                               L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<Other>1</Other>\r\n</root>\r\n"));
    EXPECT_EQ(FirmwareVersions(), -1);
}

TEST_F(FirmwareUpdate, TheVersionFile)
{
    // A new file.
    EXPECT_EQ(WriteFirmwareVersionFile(105), 1);
    std::vector<BYTE> bytes = ReadBytes(temp.File(L"Conf\\FWVersion.xml"));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(VersionFile(), L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<FW_VERSION>105</FW_VERSION>\r\n"
                             L"<SOFTWARE_VERSION>114</SOFTWARE_VERSION>\r\n</root>\r\n");
    // Updated in place.
    EXPECT_EQ(WriteFirmwareVersionFile(0), 1);
    EXPECT_EQ(VersionFile(), L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<FW_VERSION>0</FW_VERSION>\r\n"
                             L"<SOFTWARE_VERSION>114</SOFTWARE_VERSION>\r\n</root>\r\n");
    // A file without SOFTWARE_VERSION keeps FW_VERSION up to date and gains nothing.
    ASSERT_TRUE(WriteUtf16File(temp.File(L"Conf\\FWVersion.xml"),
                               L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<FW_VERSION>3</FW_VERSION>\r\n</root>\r\n"));
    WriteFirmwareVersionFile(212);
    EXPECT_EQ(VersionFile(), L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<FW_VERSION>212</FW_VERSION>\r\n</root>\r\n");
}

TEST_F(FirmwareUpdate, TheDeviceVersionIsReadAgainOnceWhenItReadsZero)
{
    // An open About box is told that the version file changed.
    HWND about = CreateWindowExW(0, L"STATIC", GEARLOOM_ABOUT_TITLE, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_TRUE(about);
    EXPECT_EQ(ReadFirmwareVersion(), 1);
    EXPECT_EQ(mouse.Codes(), std::vector<DWORD>({IOCTL_GET_FIRMWARE_VERSION}));
    EXPECT_NE(VersionFile().find(L"<FW_VERSION>105</FW_VERSION>"), std::wstring::npos);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, about, WM_VERSION_CHANGED, WM_VERSION_CHANGED, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_EQ(msg.lParam, 0);
    DestroyWindow(about);

    SimMouse::State s = mouse.GetState();
    s.fwLow = s.fwHigh = 0;
    mouse.SetState(s);
    mouse.ClearLog();
    EXPECT_EQ(ReadFirmwareVersion(), 1);
    EXPECT_EQ(mouse.Codes(), std::vector<DWORD>({IOCTL_GET_FIRMWARE_VERSION, IOCTL_GET_FIRMWARE_VERSION}));
    EXPECT_NE(VersionFile().find(L"<FW_VERSION>0</FW_VERSION>"), std::wstring::npos);

    mouse.Close(g_hDevice);
    g_hDevice = nullptr;
    mouse.ClearLog();
    EXPECT_EQ(ReadFirmwareVersion(), 0);
    EXPECT_TRUE(mouse.Codes().empty());
}

TEST(FirmwareMessages, TheServiceWindowAnswersBothMessages)
{
    ServiceRig rig;
    rig.WriteConfig(*ServiceRig::DefaultConfig());
    ASSERT_TRUE(rig.Create(true));
    rig.Pump();
    ASSERT_TRUE(WriteUtf16File(rig.AppDir() + L"Firmware.xml", FIRMWARE_XML));
    ASSERT_TRUE(WriteBytes(rig.AppDir() + L"image.bin", Image(700)));
    EXPECT_EQ(rig.wnd->SendMessage(WM_FIRMWARE_VERSIONS), 0x01A20105);
    rig.mouse.ClearLog();
    EXPECT_EQ(rig.wnd->SendMessage(WM_FIRMWARE_UPDATE), 0);
    EXPECT_EQ(rig.mouse.GetState().blocks.size(), 2u);
    std::vector<DWORD> codes = rig.mouse.Codes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), IOCTL_GET_FIRMWARE_INFO);
}
