#include "SuiteRun.h"
#include "RecordingWindow.h"
#include "TrayDriver.h"
#include "GuiTestSupport.h"
#include "core/ConfigSettings.h"
#include "service/DriverLink.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <cstddef>
#include <cstring>
#include <string>

// The real Portwarden.exe on the simulated mouse driver, in this test's Wine prefix: what
// the mouse does reaches the focused window through the real input road, and what the
// service does reaches the driver as requests.

namespace {

// The driver stops with the test program, so later programs of the run find no mouse.
class StopMouseAtTheEnd : public ::testing::Environment {
public:
    void TearDown() override { StopSimMouse(); }
};
::testing::Environment* const s_stopMouse = ::testing::AddGlobalTestEnvironment(new StopMouseAtTheEnd);

const int MOVE_FORWARD = 102;
const int FIRST_MACRO = 1000;

// BUTTON_4 holds W, BUTTON_5 plays macro slot 0 with recorded delays; profile 4 (index 3)
// has its own DPI stage and light.
std::unique_ptr<ConfigData> TestConfig()
{
    std::unique_ptr<ConfigData> cfg = SuiteRun::DefaultConfig();
    ProfileData& p = cfg->profiles[0];
    p.buttons[3].code = MOVE_FORWARD;
    p.buttons[4].code = FIRST_MACRO;
    MacroData& m = p.macros[0];
    CopyField(m.MACRO_NAME, L"recorded");
    const MacroEvent events[] = {{'A', 0, 30}, {'A', 1, 120}, {'B', 0, 60}, {'B', 1, 0}};
    for (int i = 0; i < 4; ++i) m.events[i] = events[i];
    m.events[4] = MacroEvent{0, 0, 0};
    m.loopCount = 1;
    m.loopFlag = 0;
    m.delayMode = 2;
    ProfileData& q = cfg->profiles[3];
    q.DPI_VALUE = 4;
    q.LED_COLOR = 0x0000FF;  // red
    q.LED_INTENSITY = 1;
    q.LED_PULSATION = 4;
    return cfg;
}

const std::vector<uint32_t> kReadDeviceState = {
    IOCTL_GET_FIRMWARE_VERSION, IOCTL_GET_DPI_STAGE, IOCTL_GET_POLLING_RATE, IOCTL_PRE_LED_COLOR,
    IOCTL_GET_LED_COLOR,        IOCTL_GET_LED_INTENSITY, IOCTL_GET_LED_PULSATION,
};
const std::vector<uint32_t> kApplyProfile = {
    IOCTL_PRE_SENSITIVITY, IOCTL_SET_SENSITIVITY_X, IOCTL_SET_SENSITIVITY_Y, IOCTL_SET_INTERCEPTION_MASK,
    IOCTL_POST_MASK,
};

// The names of the DLLs a PE file of this architecture imports from, read from the file.
std::vector<std::string> ImportedDlls(const std::vector<unsigned char>& file)
{
    std::vector<std::string> names;
    auto at = [&](size_t offset, size_t size) { return offset + size <= file.size() ? &file[offset] : nullptr; };
    auto dos = (const IMAGE_DOS_HEADER*)at(0, sizeof(IMAGE_DOS_HEADER));
    if (!dos) return names;
    auto nt = (const IMAGE_NT_HEADERS*)at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS));
    if (!nt || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC) return names;
    auto sections = (const IMAGE_SECTION_HEADER*)at(dos->e_lfanew + offsetof(IMAGE_NT_HEADERS, OptionalHeader) +
                                                        nt->FileHeader.SizeOfOptionalHeader,
                                                    nt->FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER));
    if (!sections) return names;
    auto fileOffset = [&](DWORD rva) -> size_t {
        for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return file.size();
    };
    DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (size_t d = fileOffset(rva);; d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        auto desc = (const IMAGE_IMPORT_DESCRIPTOR*)at(d, sizeof(IMAGE_IMPORT_DESCRIPTOR));
        if (!desc || !desc->Name) break;
        size_t name = fileOffset(desc->Name);
        if (name >= file.size()) break;
        names.push_back((const char*)&file[name]);
    }
    return names;
}

std::vector<uint32_t> Join(std::vector<uint32_t> a, const std::vector<uint32_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Where a process was started from.
CString ImagePath(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return CString();
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    BOOL ok = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    return ok ? CString(path) : CString();
}

// The tray program runs until it is ended from outside: at the end of a test that let the
// service start it, its window is closed and its icon has gone.
struct EndTrayProgramAtTheEnd {
    ~EndTrayProgramAtTheEnd()
    {
        if (HWND tray = FindWindowW(nullptr, BELLWICK_WINDOW_TITLE)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(tray, &pid);
            HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
            PostMessageW(tray, WM_CLOSE, 0, 0);
            if (process) {
                WaitForSingleObject(process, TRAY_GUARD_MS);
                CloseHandle(process);
            }
        }
        WaitUntil([] { return TrayIconWindow() == nullptr; });
    }
};

class SuiteEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::wstring error = run.StartMouse();
        ASSERT_TRUE(error.empty()) << "simulated mouse: " << std::string(error.begin(), error.end());
        ASSERT_EQ(FindWindowW(nullptr, PORTWARDEN_WINDOW_TITLE), nullptr) << "a service is already running";
    }

    // Starts the service on the test configuration; it finds the mouse.
    void Start()
    {
        ASSERT_TRUE(run.WriteConfig(*TestConfig()));
        ASSERT_TRUE(run.StartService());
        SimDeviceState s = run.State();
        ASSERT_EQ(s.registered, 1);
        ASSERT_EQ(s.opens, 1);
    }

    // A press and a release of BUTTON_4 type W into the window.
    void ExpectButtonTypesW(RecordingWindow& window)
    {
        window.Clear();
        ASSERT_EQ(run.mouse.Button(4, true).result, SIM_OK);
        ASSERT_TRUE(window.WaitForKeys(1)) << "no key-down arrived";
        ASSERT_EQ(run.mouse.Button(4, false).result, SIM_OK);
        ASSERT_TRUE(window.WaitForKeys(2)) << "no key-up arrived";
        std::vector<RecordingWindow::Message> keys = window.Keys();
        ASSERT_EQ(keys.size(), 2u);
        EXPECT_EQ(keys[0].message, (UINT)WM_KEYDOWN);
        EXPECT_EQ(keys[0].wParam, (WPARAM)'W');
        EXPECT_EQ(keys[1].message, (UINT)WM_KEYUP);
        EXPECT_EQ(keys[1].wParam, (WPARAM)'W');
    }

    // Profile 4's own DPI stage and light.
    void ExpectTheFourthProfileOnTheMouse()
    {
        SimDeviceState s = run.State();
        EXPECT_EQ(s.settings.stage, 4);
        EXPECT_EQ(s.settings.r, 0xFF);
        EXPECT_EQ(s.settings.g, 0);
        EXPECT_EQ(s.settings.b, 0);
        EXPECT_EQ(s.settings.intensity, 1);
        EXPECT_EQ(s.settings.pulsation, 4);
    }

    SuiteRun run;
};

}  // namespace

// A driver that imports from anything but the kernel is loaded by Wine as an ordinary DLL,
// and its start fails.
TEST(SimulatedMouseDriver, ImportsFromTheKernelAlone)
{
    std::vector<std::string> dlls = ImportedDlls(ReadBytes(ExeDir() + L"simmouse.sys"));
    ASSERT_FALSE(dlls.empty());
    for (std::string& d : dlls) {
        for (char& ch : d) ch = (char)tolower((unsigned char)ch);
        EXPECT_TRUE(d == "ntoskrnl.exe" || d == "hal.dll") << d;
    }
}

TEST_F(SuiteEndToEnd, TheDriverRefusesBuffersOfAnotherSizeThanTheContracts)
{
    HANDLE device = CreateFileW(DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    uint32_t mark = run.mouse.LogMark();
    std::vector<BYTE> in(1024, 1), out(1024);
    int sent = 0;
    for (uint32_t function = 0x900; function < 0xA00; ++function) {
        uint32_t code = SIM_IOCTL(function), inSize = 0, outSize = 0;
        if (!SimRequestSizes(code, &inSize, &outSize)) continue;
        SCOPED_TRACE(SimRequestName(code));
        // One byte more, and one byte less (or bytes where none belong), of either buffer.
        const uint32_t wrong[][2] = {{inSize + 1, outSize}, {inSize, outSize + 1}, {inSize ? inSize - 1 : 8, outSize},
                                     {inSize, outSize ? outSize - 1 : 4}};
        for (auto& w : wrong) {
            DWORD got = 99;
            SetLastError(0);
            EXPECT_FALSE(DeviceIoControl(device, code, in.data(), w[0], out.data(), w[1], &got, nullptr))
                << w[0] << " in, " << w[1] << " out";
            EXPECT_EQ(GetLastError(), (DWORD)ERROR_BAD_LENGTH);
            ++sent;
        }
    }
    // The registration of a 64-bit program that sends a whole handle.
    HANDLE semaphore = CreateSemaphoreW(nullptr, 0, 100, nullptr);
    EXPECT_FALSE(DeviceIoControl(device, IOCTL_REGISTER_EVENT, &semaphore, 8, nullptr, 0, nullptr, nullptr));
    ++sent;
    // The right sizes are answered.
    BYTE stage = 0;
    DWORD got = 0;
    EXPECT_TRUE(DeviceIoControl(device, IOCTL_GET_DPI_STAGE, &stage, 1, &stage, 1, &got, nullptr));
    EXPECT_EQ(stage, 2);
    EXPECT_EQ(got, 1u);
    CloseHandle(device);
    CloseHandle(semaphore);

    std::vector<SimLogEntry> log = run.RequestsSince(mark, true);
    EXPECT_EQ(sent, 4 * 26 + 1);
    ASSERT_EQ(log.size(), (size_t)sent + 1);
    for (int i = 0; i < sent; ++i) EXPECT_EQ(log[i].result, SIM_BAD_SIZE) << SimRequestName(log[i].code);
    // Nothing refused changed the mouse.
    SimDeviceState s = run.State();
    SimSettings fresh;
    SimDefaultSettings(&fresh);
    EXPECT_EQ(memcmp(&s.settings, &fresh, sizeof(fresh)), 0);
    EXPECT_EQ(s.registered, 0);
    EXPECT_EQ(s.pending, 0);
    EXPECT_EQ(s.opens, 0);
}

// What the control program prints goes through a shell user's awk and grep: plain line
// ends, as a Unix program prints them.
TEST_F(SuiteEndToEnd, TheControlProgramPrintsPlainLineEnds)
{
    const struct {
        const wchar_t* arguments;
        DWORD code;
        const char* line;
    } cases[] = {
        {L"state", 0, "DPI stage       2\n"},
        {L"log", 0, " GET_DPI_STAGE "},
        {L"", 2, "usage: simmouse COMMAND\n"},
        {L"press 12", 1, "button 12 press: value refused\n"},
    };
    // One request, for the log to show.
    BYTE stage = 0;
    DWORD got = 0;
    HANDLE device = CreateFileW(DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(DeviceIoControl(device, IOCTL_GET_DPI_STAGE, &stage, 1, &stage, 1, &got, nullptr));
    CloseHandle(device);
    for (auto& c : cases) {
        SCOPED_TRACE(std::string(c.arguments, c.arguments + wcslen(c.arguments)));
        std::string printed;
        EXPECT_EQ(run.RunControlProgram(c.arguments, &printed), c.code);
        EXPECT_NE(printed.find(c.line), std::string::npos) << printed;
        EXPECT_EQ(printed.find('\r'), std::string::npos) << printed;
    }
}

TEST_F(SuiteEndToEnd, AButtonMappedToAKeyTypesItIntoTheFocusedWindow)
{
    Start();
    // The service registered its semaphore in the driver's 4 bytes and set up the session.
    std::vector<SimLogEntry> start = run.RequestsSince(1);
    ASSERT_FALSE(start.empty());
    EXPECT_EQ(start[0].code, IOCTL_REGISTER_EVENT);
    EXPECT_EQ(start[0].inSize, 4u);
    EXPECT_EQ(RequestCodes(start), Join(Join({IOCTL_REGISTER_EVENT}, kReadDeviceState), kApplyProfile)) << RequestNames(start);
    EXPECT_EQ(run.State().settings.mask, 0xFFE4u);

    RecordingWindow window(L"Portwarden end-to-end keys", true);
    ASSERT_TRUE(window.TakeFocus());
    ExpectButtonTypesW(window);
    std::vector<RecordingWindow::Message> keys = window.Keys();
    ASSERT_EQ(keys.size(), 2u);
    // MOVE_FORWARD goes down as an extended key and up as a plain one.
    EXPECT_TRUE(keys[0].lParam & (1 << 24));
    EXPECT_FALSE(keys[1].lParam & (1 << 24));
    // Each state word was read once by the service's event thread.
    std::vector<SimLogEntry> reads = run.RequestsSince(1, true);
    int words = 0;
    for (const SimLogEntry& e : reads) words += e.code == IOCTL_GET_EVENT && e.result == SIM_OK;
    EXPECT_EQ(words, 2);
    EXPECT_EQ(run.State().pending, 0);
}

TEST_F(SuiteEndToEnd, AProfileChangeWritesTheFileAndSetsTheDevice)
{
    Start();
    ASSERT_EQ(run.ReadConfig()->PROFILE_ID, 0);
    uint32_t mark = run.mouse.LogMark();
    EXPECT_EQ(run.Send(WM_PROFILE_CHANGE, 3), 1);

    EXPECT_EQ(run.ReadConfig()->PROFILE_ID, 3);
    ExpectTheFourthProfileOnTheMouse();
    std::vector<SimLogEntry> sent = run.RequestsSince(mark);
    EXPECT_EQ(RequestCodes(sent), Join(kApplyProfile, {IOCTL_SET_DPI_STAGE, IOCTL_GET_DPI_STAGE, IOCTL_PRE_LED_COLOR,
                                                IOCTL_SET_LED_COLOR, IOCTL_SET_LED_INTENSITY, IOCTL_SET_LED_PULSATION}))
        << RequestNames(sent);

    // Back to the first profile: the values the device had at the start, which the
    // session start took into that profile.
    EXPECT_EQ(run.Send(WM_PROFILE_CHANGE, 0), 1);
    EXPECT_EQ(run.ReadConfig()->PROFILE_ID, 0);
    SimDeviceState s = run.State();
    SimSettings fresh;
    SimDefaultSettings(&fresh);
    EXPECT_EQ(s.settings.stage, fresh.stage);
    EXPECT_EQ(s.settings.r, fresh.r);
    EXPECT_EQ(s.settings.g, fresh.g);
    EXPECT_EQ(s.settings.b, fresh.b);
    EXPECT_EQ(s.settings.intensity, fresh.intensity);
    EXPECT_EQ(s.settings.pulsation, fresh.pulsation);
}

TEST_F(SuiteEndToEnd, AReloadSendsOnlyTheChangedSettings)
{
    Start();
    // "Config.xml" as the session start saved it, then changed as Apply in the
    // configuration program would.
    std::unique_ptr<ConfigData> cfg = run.ReadConfig();
    ValidateConfig(*cfg);
    cfg->profiles[0].LED_PULSATION = 1;
    cfg->POLLING_RATE = 3;
    cfg->profiles[0].ADVANCE_SENSITIVITY_X = 4;
    ASSERT_TRUE(run.WriteConfig(*cfg));
    uint32_t mark = run.mouse.LogMark();

    EXPECT_EQ(run.Send(WM_RELOAD_CONFIG), 1);

    std::vector<SimLogEntry> sent = run.RequestsSince(mark);
    EXPECT_EQ(RequestCodes(sent), Join({IOCTL_SET_DPI_STAGE, IOCTL_GET_DPI_STAGE, IOCTL_SET_LED_PULSATION,
                                 IOCTL_SET_POLLING_RATE, IOCTL_POST_RELOAD},
                                kApplyProfile))
        << RequestNames(sent);
    SimDeviceState s = run.State();
    EXPECT_EQ(s.settings.pulsation, 1);
    EXPECT_EQ(s.settings.pollingRate, 3);
    EXPECT_EQ(s.settings.sensX, 4);
    SimSettings fresh;
    SimDefaultSettings(&fresh);
    EXPECT_EQ(s.settings.intensity, fresh.intensity);
    EXPECT_EQ(s.settings.r, fresh.r);
}

// The mouse keeps what was applied, as a real one does: after the suite ends and starts
// again (the service, and the driver with it) the session start reads back the applied
// values, so "Config.xml" stays as it was. Reset gives the factory values for good.
TEST_F(SuiteEndToEnd, TheMouseKeepsItsSettingsFromOneStartToTheNext)
{
    const COLORREF orange = RGB(0xFF, 0x80, 0x00);
    Start();
    // Applied as the configuration program does: the file written, then the notice.
    std::unique_ptr<ConfigData> cfg = run.ReadConfig();
    ValidateConfig(*cfg);
    cfg->profiles[0].DPI_VALUE = 4;  // 400 DPI
    cfg->profiles[0].LED_COLOR = orange;
    cfg->profiles[0].LED_INTENSITY = 1;
    cfg->profiles[0].LED_PULSATION = 4;
    cfg->POLLING_RATE = 3;
    ASSERT_TRUE(run.WriteConfig(*cfg));
    ASSERT_EQ(run.Send(WM_RELOAD_CONFIG), 1);
    auto expectApplied = [&](const char* when) {
        SCOPED_TRACE(when);
        SimSettings s = run.State().settings;
        EXPECT_EQ(s.stage, 4);
        EXPECT_EQ(RGB(s.r, s.g, s.b), orange);
        EXPECT_EQ(s.intensity, 1);
        EXPECT_EQ(s.pulsation, 4);
        EXPECT_EQ(s.pollingRate, 3);
    };
    expectApplied("applied");
    std::vector<unsigned char> applied = ReadBytes(run.ConfigPath());

    run.StopService();
    std::wstring error = run.RestartMouse();
    ASSERT_TRUE(error.empty()) << std::string(error.begin(), error.end());
    expectApplied("the driver started again");
    ASSERT_TRUE(run.StartService());
    ASSERT_TRUE(run.WaitForRequest(1, IOCTL_POST_MASK)) << "the service did not start a session";
    expectApplied("the service started again");
    EXPECT_TRUE(ReadBytes(run.ConfigPath()) == applied) << "the session start changed \"Config.xml\"";
    std::unique_ptr<ConfigData> read = run.ReadConfig();
    EXPECT_EQ(read->profiles[0].DPI_VALUE, 4);
    EXPECT_EQ(read->profiles[0].LED_COLOR, orange);
    run.StopService();

    // Reset while the driver runs: the factory values, kept across the next start.
    SimSettings factory;
    SimDefaultSettings(&factory);
    auto expectFactory = [&](const char* when) {
        SCOPED_TRACE(when);
        SimSettings s = run.State().settings;
        EXPECT_EQ(std::memcmp(&s, &factory, sizeof(s)), 0) << "stage " << (int)s.stage;
    };
    std::string printed;
    EXPECT_EQ(run.RunControlProgram(L"reset", &printed), 0u) << printed;
    expectFactory("reset");
    error = run.RestartMouse();
    ASSERT_TRUE(error.empty()) << std::string(error.begin(), error.end());
    expectFactory("reset, then started again");

    // Reset while it does not run: its next start has no memory to read.
    HANDLE device = CreateFileW(DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    BYTE stage = 3;
    DWORD got = 0;
    EXPECT_TRUE(DeviceIoControl(device, IOCTL_SET_DPI_STAGE, &stage, 1, nullptr, 0, &got, nullptr));
    CloseHandle(device);
    run.mouse.Close();
    ASSERT_TRUE(StopSimMouse());
    EXPECT_EQ(run.RunControlProgram(L"reset", &printed), 0u) << printed;
    EXPECT_EQ(GetFileAttributesW(SimMouseMemoryFile().c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(InstallSimMouse((ExeDir() + L"simmouse.sys").str(), &error)) << std::string(error.begin(), error.end());
    ASSERT_TRUE(run.mouse.Open());
    expectFactory("reset while stopped, then started");
}

TEST_F(SuiteEndToEnd, UnplugAndPlugThenTheSessionClosedAndOpenedAgain)
{
    RecordingWindow tray(BELLWICK_WINDOW_TITLE, false);
    Start();
    CString fwFile = run.ConfDir() + L"FWVersion.xml";
    EXPECT_NE(ReadUtf16File(fwFile).find(L"<FW_VERSION>105</FW_VERSION>"), std::wstring::npos);

    // Unplugged: the tray icon goes inactive and the About box's file says no firmware;
    // the service keeps its handle, and the mouse takes no presses.
    uint32_t mark = run.mouse.LogMark();
    ASSERT_EQ(run.mouse.Unplug(), SIM_OK);
    ASSERT_TRUE(tray.WaitFor(WM_SET_ICON_INACTIVE, 1));
    EXPECT_EQ(run.Send(WM_SERVICE_PING), 1);  // the removal has been handled
    EXPECT_NE(ReadUtf16File(fwFile).find(L"<FW_VERSION>0</FW_VERSION>"), std::wstring::npos);
    EXPECT_EQ(run.mouse.Button(4, true).result, SIM_NOT_CONNECTED);
    EXPECT_EQ(run.State().opens, 1);

    // Plugged in again: after its pause the service reads the device again and the icon
    // turns active; the profile is not applied again and the handle is the same.
    ASSERT_EQ(run.mouse.Plug(), SIM_OK);
    ASSERT_TRUE(tray.WaitFor(WM_SET_ICON_ACTIVE, 1));
    EXPECT_EQ(run.Send(WM_SERVICE_PING), 1);
    std::vector<SimLogEntry> sent = run.RequestsSince(mark);
    EXPECT_EQ(RequestCodes(sent), kReadDeviceState) << RequestNames(sent);
    EXPECT_NE(ReadUtf16File(fwFile).find(L"<FW_VERSION>105</FW_VERSION>"), std::wstring::npos);
    EXPECT_EQ(run.State().opens, 1);

    RecordingWindow window(L"Portwarden end-to-end keys", true);
    ASSERT_TRUE(window.TakeFocus());
    ExpectButtonTypesW(window);

    // The session ends (console disconnect): every button goes back to Windows and the
    // device is closed. It starts again (console connect): the device is opened, the
    // semaphore registered again, the device read and the profile applied.
    mark = run.mouse.LogMark();
    EXPECT_EQ(run.Send(WM_WTSSESSION_CHANGE, WTS_CONSOLE_DISCONNECT), 0);
    sent = run.RequestsSince(mark);
    EXPECT_EQ(RequestCodes(sent), std::vector<uint32_t>({IOCTL_SET_INTERCEPTION_MASK, IOCTL_UNREGISTER_EVENT}))
        << RequestNames(sent);
    SimDeviceState s = run.State();
    EXPECT_EQ(s.settings.mask, 0u);
    EXPECT_EQ(s.opens, 0);
    EXPECT_EQ(s.registered, 0);

    mark = run.mouse.LogMark();
    EXPECT_EQ(run.Send(WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT), 0);
    sent = run.RequestsSince(mark);
    EXPECT_EQ(RequestCodes(sent), Join(Join({IOCTL_REGISTER_EVENT}, kReadDeviceState), kApplyProfile)) << RequestNames(sent);
    s = run.State();
    EXPECT_EQ(s.settings.mask, 0xFFE4u);
    EXPECT_EQ(s.opens, 1);
    EXPECT_EQ(s.registered, 1);
    ASSERT_TRUE(window.TakeFocus());
    ExpectButtonTypesW(window);
}

TEST_F(SuiteEndToEnd, AMouseThatComesAfterTheStartBringsTheSession)
{
    // The program folder holds a stand-in for the tray program, which a session starts.
    ASSERT_TRUE(CopyFileW(ExeDir() + L"start_marker.exe", run.AppDir() + L"Bellwick.exe", FALSE));
    run.mouse.Close();
    ASSERT_TRUE(StopSimMouse());
    ASSERT_TRUE(run.WriteConfig(*TestConfig()));
    ASSERT_TRUE(run.StartService());
    CString fwFile = run.ConfDir() + L"FWVersion.xml";
    EXPECT_NE(ReadUtf16File(fwFile).find(L"<FW_VERSION>0</FW_VERSION>"), std::wstring::npos);
    CString started = run.AppDir() + L"Bellwick.exe.started";
    EXPECT_EQ(GetFileAttributesW(started), INVALID_FILE_ATTRIBUTES);

    // The driver starts, and Windows tells every window of the new device.
    std::wstring error = run.StartMouse();
    ASSERT_TRUE(error.empty()) << std::string(error.begin(), error.end());
    // The session start ends with the profile's last request.
    ASSERT_TRUE(run.WaitForRequest(1, IOCTL_POST_MASK)) << "the service did not start a session";
    std::vector<SimLogEntry> sent = run.RequestsSince(1);
    EXPECT_EQ(RequestCodes(sent), Join(Join({IOCTL_REGISTER_EVENT}, kReadDeviceState), kApplyProfile)) << RequestNames(sent);
    EXPECT_EQ(run.State().opens, 1);
    EXPECT_NE(ReadUtf16File(fwFile).find(L"<FW_VERSION>105</FW_VERSION>"), std::wstring::npos);
    for (DWORD start = GetTickCount(); GetFileAttributesW(started) == INVALID_FILE_ATTRIBUTES; Sleep(20))
        ASSERT_LT(GetTickCount() - start, 20000u) << "Bellwick.exe was not started";
}

TEST_F(SuiteEndToEnd, AMacroPlaysWithItsRecordedDelays)
{
    Start();
    RecordingWindow window(L"Portwarden end-to-end macro", true);
    ASSERT_TRUE(window.TakeFocus());

    ASSERT_EQ(run.mouse.Button(5, true).result, SIM_OK);
    ASSERT_TRUE(window.WaitForKeys(4));
    ASSERT_EQ(run.mouse.Button(5, false).result, SIM_OK);
    EXPECT_EQ(run.Send(WM_SERVICE_PING), 1);  // the release did nothing more
    std::vector<RecordingWindow::Message> keys = window.Keys();
    ASSERT_EQ(keys.size(), 4u);
    const struct {
        UINT message;
        WPARAM vk;
    } want[] = {{WM_KEYDOWN, 'A'}, {WM_KEYUP, 'A'}, {WM_KEYDOWN, 'B'}, {WM_KEYUP, 'B'}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(keys[i].message, want[i].message) << i;
        EXPECT_EQ(keys[i].wParam, want[i].vk) << i;
    }
    // The recorded delays, measured where the keys arrive. The bounds leave room for the
    // few milliseconds a busy machine takes to hand a key to the window, and keep the
    // three waits apart (the benchmark measures how close they come).
    const int recorded[] = {30, 120, 60};
    for (int i = 0; i < 3; ++i) {
        double measured = TicksToMs(keys[i + 1].time - keys[i].time);
        EXPECT_GT(measured, recorded[i] - 10.0) << "wait " << i;
        EXPECT_LT(measured, recorded[i] + 40.0) << "wait " << i;
    }
}

// Bellwick as it runs on a player's machine: started by the service once it has opened
// the mouse, its icon following the mouse's removal and arrival, and a profile picked in
// its menu switching the mouse through the service.
TEST_F(SuiteEndToEnd, TheServiceStartsTheTrayWhoseIconAndMenuFollowTheMouse)
{
    ASSERT_EQ(FindWindowW(nullptr, BELLWICK_WINDOW_TITLE), nullptr) << "a tray program is already running";
    ExeFileTypeGuard exeType;
    EndTrayProgramAtTheEnd endTray;
    // The program folder holds the tray program and its shipped menu texts.
    ASSERT_TRUE(CopyFileW(ExeDir() + L"Bellwick.exe", run.AppDir() + L"Bellwick.exe", FALSE));
    ASSERT_TRUE(CopyFileW(SourceFile(L"resources\\TrayIcon.xml"), run.AppDir() + L"TrayIcon.xml", FALSE));
    ASSERT_TRUE(run.WriteConfig(*TestConfig()));
    ASSERT_TRUE(SetTrayIconFlag(run.ConfDir(), 1));

    // The service opens the mouse, then starts Bellwick.exe from its own folder.
    ASSERT_TRUE(run.StartService());
    HWND tray = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (tray = FindWindowW(nullptr, BELLWICK_WINDOW_TITLE)) != nullptr; }, TRAY_GUARD_MS));
    DWORD pid = 0;
    GetWindowThreadProcessId(tray, &pid);
    EXPECT_EQ(ImagePath(pid).CompareNoCase(run.AppDir() + L"Bellwick.exe"), 0) << ImagePath(pid).str();
    ASSERT_TRUE(WaitUntil([] { return ClassifyIcon(TrayIconWindow()).gold > 0; })) << "the program's own icon";
    RECT trayArea = WindowRect(GetParent(TrayIconWindow()));

    // Unplugged: the icon turns grey. Plugged in: after the service's pause it turns red.
    ASSERT_EQ(run.mouse.Unplug(), SIM_OK);
    EXPECT_TRUE(WaitUntil([] { return ClassifyIcon(TrayIconWindow()).coloured == 0; }, TRAY_GUARD_MS));
    SaveScreenPng(trayArea, L"e2e-tray-mouse-unplugged");
    ASSERT_EQ(run.mouse.Plug(), SIM_OK);
    EXPECT_TRUE(WaitUntil([] { return ClassifyIcon(TrayIconWindow()).red > 0; }, TRAY_GUARD_MS));
    SaveScreenPng(trayArea, L"e2e-tray-mouse-plugged");

    // Profile 4 picked in the tray menu: the service writes PROFILE_ID and sets the mouse.
    ASSERT_EQ(run.ReadConfig()->PROFILE_ID, 0);
    uint32_t mark = run.mouse.LogMark();
    ASSERT_NE(OpenTrayMenu(pid), nullptr);
    ASSERT_NE(OpenProfileSubmenu(pid), nullptr);
    for (int i = 0; i < 3; ++i) KeyTap(VK_DOWN);  // Profile 1 .. Profile 4
    KeyTap(VK_RETURN);
    // The light's pulsation is the last setting the switch sends.
    ASSERT_TRUE(run.WaitForRequest(mark, IOCTL_SET_LED_PULSATION)) << "the pick did not reach the service";
    EXPECT_EQ(run.ReadConfig()->PROFILE_ID, 3);
    ExpectTheFourthProfileOnTheMouse();

    // At the next touch the menu checks profile 4.
    POINT at = ScreenCenter(TrayIconWindow());
    HWND main = OpenTrayMenu(pid);
    ASSERT_NE(main, nullptr);
    HWND sub = OpenProfileSubmenu(pid);
    ASSERT_NE(sub, nullptr);
    MenuPicture shownMain = Picture(main), shownSub = Picture(sub);
    CloseTrayMenus(pid);
    auto expected = ReferencePictures(ShippedMenuTexts(3), at);
    EXPECT_TRUE(SamePicture(shownMain, expected.first)) << "main menu";
    EXPECT_TRUE(SamePicture(shownSub, expected.second)) << "profile submenu";
}
