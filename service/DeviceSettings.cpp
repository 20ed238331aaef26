#include "service/DeviceSettings.h"
#include "service/HIDWnd.h"
#include "service/DriverLink.h"
#include "service/Firmware.h"
#include "service/PeerWindows.h"
#include "service/ServiceSeams.h"
#include "core/AppPaths.h"
#include "core/ConfigFile.h"
#include "core/Messages.h"
#include "core/XmlDoc.h"


int g_nLastDpiStage = 0;

int CurrentProfileIndex(const ConfigData& cfg)
{
    return (cfg.PROFILE_ID >= 0 && cfg.PROFILE_ID < PROFILE_COUNT) ? cfg.PROFILE_ID : 0;
}

DWORD InterceptionMask(const ConfigData& cfg)
{
    if (cfg.GAME_MODE == 1) return 0xFF00;
    const ProfileData& p = cfg.profiles[CurrentProfileIndex(cfg)];
    DWORD mask = 0xFFFF;
    if (p.buttons[0].code == 1) mask &= ~0x01u;    // BUTTON_1 LEFT_CLICK
    if (p.buttons[1].code == 2) mask &= ~0x02u;    // BUTTON_2 RIGHT_CLICK
    if (p.buttons[2].code == 101) mask &= ~0x04u;  // BUTTON_3 MOVE_AND_STEER (middle click)
    if (p.buttons[6].code == 4) mask &= ~0x08u;    // BUTTON_7 WINDOWS_BUTTON_4
    if (p.buttons[7].code == 5) mask &= ~0x10u;    // BUTTON_8 WINDOWS_BUTTON_5
    return mask;
}

int ClampDeviceSensitivity(int value)
{
    return value < 0 ? 0 : value > 18 ? 18 : value;
}

UINT DoubleClickTimeFor(int speed)
{
    return (speed >= 150 && speed <= 950) ? (UINT)speed : 500;
}

int ZeroAsFive(int value)
{
    return value == 0 ? 5 : value;
}

int DpiStepTarget(int stage, bool up)
{
    if (up) return stage <= 1 ? 0 : stage - 1;
    return stage >= 4 ? 0 : stage + 1;
}

static BOOL SendByte(DWORD code, int value)
{
    BYTE b = (BYTE)(value & 0xFF);
    return DeviceRequest(code, &b, 1, nullptr, 0);
}

// A 1-byte getter: the zeroed byte goes in, the device's byte comes back.
static BOOL ReadByte(DWORD code, BYTE* value)
{
    BYTE b = 0;
    if (!DeviceRequest(code, &b, 1, &b, 1)) return FALSE;
    *value = b;
    return TRUE;
}

int CHIDWnd::ApplyProfile()
{
    IClockSeam& clock = ClockSeam();
    const ProfileData& p = m_config.profiles[CurrentProfileIndex(m_config)];

    clock.Sleep(1);
    BYTE one = 1;
    DeviceRequestUnchecked(IOCTL_PRE_SENSITIVITY, &one, 1, nullptr, 0);
    if (g_hDevice) {
        INT32 x = ClampDeviceSensitivity(p.ADVANCE_SENSITIVITY_X);
        DeviceRequest(IOCTL_SET_SENSITIVITY_X, &x, sizeof(x), nullptr, 0);
        INT32 y = ClampDeviceSensitivity(p.ADVANCE_SENSITIVITY_Y);
        DeviceRequest(IOCTL_SET_SENSITIVITY_Y, &y, sizeof(y), nullptr, 0);
    }
    clock.Sleep(1);
    MouseSettingsSeam().SetDoubleClickTime(DoubleClickTimeFor(p.DOUBLE_CLICK_SPEED));
    clock.Sleep(1);
    MouseSettingsSeam().SetMouseSpeed(ZeroAsFive(p.SENSITIVITY));
    clock.Sleep(1);
    MouseSettingsSeam().SetWheelScrollLines((UINT)ZeroAsFive(p.SCROLL_SPEED));
    clock.Sleep(1);

    DWORD mask = InterceptionMask(m_config);
    if (g_hDevice) {
        DeviceRequest(IOCTL_SET_INTERCEPTION_MASK, &mask, sizeof(mask), nullptr, 0);
        BYTE zero = 0;
        DeviceRequest(IOCTL_POST_MASK, &zero, 1, nullptr, 0);
    }
    return 1;
}

int CHIDWnd::ReadDeviceState()
{
    IClockSeam& clock = ClockSeam();
    clock.Sleep(1);
    ReadFirmwareVersion();
    clock.Sleep(1);
    ReadDpiStage();
    clock.Sleep(1);
    ReadPollingRate();
    clock.Sleep(1);
    ReadLedColor();
    clock.Sleep(1);
    ReadLedIntensity();
    clock.Sleep(1);
    ReadLedPulsation();
    clock.Sleep(1);
    if (CompareConfig(m_savedConfig, m_config) != 0) {
        SaveConfig(m_config);
        m_savedConfig = m_config;
    }
    return 1;
}

int CHIDWnd::ReadDpiStage()
{
    BYTE stage;
    if (!ReadByte(IOCTL_GET_DPI_STAGE, &stage)) return 0;
    m_config.profiles[CurrentProfileIndex(m_config)].DPI_VALUE = stage;
    return stage;
}

int CHIDWnd::ReadPollingRate()
{
    if (!g_hDevice) return 0;
    BYTE code;
    if (ReadByte(IOCTL_GET_POLLING_RATE, &code)) m_config.POLLING_RATE = code;
    return 1;
}

int CHIDWnd::ReadLedColor()
{
    if (!g_hDevice) return 0;
    BYTE one = 1;
    DeviceRequest(IOCTL_PRE_LED_COLOR, &one, 1, nullptr, 0);
    LedColorData c = {};
    if (DeviceRequest(IOCTL_GET_LED_COLOR, &c, sizeof(c), &c, sizeof(c)))
        m_config.profiles[CurrentProfileIndex(m_config)].LED_COLOR = c.r | (c.g << 8) | (c.b << 16);
    return 1;
}

int CHIDWnd::ReadLedIntensity()
{
    if (!g_hDevice) return 0;
    BYTE level;
    if (ReadByte(IOCTL_GET_LED_INTENSITY, &level))
        m_config.profiles[CurrentProfileIndex(m_config)].LED_INTENSITY = (signed char)level;
    return 1;
}

int CHIDWnd::ReadLedPulsation()
{
    if (!g_hDevice) return 0;
    BYTE level;
    if (ReadByte(IOCTL_GET_LED_PULSATION, &level))
        m_config.profiles[CurrentProfileIndex(m_config)].LED_PULSATION = (signed char)level;
    return 1;
}

// The setters answer 1 only when the device took the request.

int CHIDWnd::SetDpiStage(int stage)
{
    if (!g_hDevice) return 0;
    if (stage == -1) stage = m_config.profiles[CurrentProfileIndex(m_config)].DPI_VALUE;
    BOOL ok = SendByte(IOCTL_SET_DPI_STAGE, stage);
    ReadDpiStage();
    return ok ? 1 : 0;
}

int CHIDWnd::SetPollingRate(int code)
{
    if (!g_hDevice) return 0;
    if (code == -1) code = m_config.POLLING_RATE;
    return SendByte(IOCTL_SET_POLLING_RATE, code) ? 1 : 0;
}

int CHIDWnd::SetLedColor(COLORREF color)
{
    if (!g_hDevice) return 0;
    BYTE one = 1;
    DeviceRequest(IOCTL_PRE_LED_COLOR, &one, 1, nullptr, 0);
    ClockSeam().Sleep(200);
    if (color == 0) color = m_config.profiles[CurrentProfileIndex(m_config)].LED_COLOR;
    LedColorData c = {(BYTE)(color & 0xFF), (BYTE)((color >> 8) & 0xFF), (BYTE)((color >> 16) & 0xFF)};
    return DeviceRequest(IOCTL_SET_LED_COLOR, &c, sizeof(c), nullptr, 0) ? 1 : 0;
}

int CHIDWnd::SetLedIntensity(int level)
{
    if (!g_hDevice) return 0;
    if (level == -1) level = m_config.profiles[CurrentProfileIndex(m_config)].LED_INTENSITY;
    return SendByte(IOCTL_SET_LED_INTENSITY, level) ? 1 : 0;
}

int CHIDWnd::SetLedPulsation(int level)
{
    if (!g_hDevice) return 0;
    if (level == -1) level = m_config.profiles[CurrentProfileIndex(m_config)].LED_PULSATION;
    return SendByte(IOCTL_SET_LED_PULSATION, level) ? 1 : 0;
}

int CHIDWnd::ApplyChangedDeviceSettings()
{
    const ProfileData& before = m_prevConfig.profiles[CurrentProfileIndex(m_prevConfig)];
    const ProfileData& now = m_config.profiles[CurrentProfileIndex(m_config)];
    SetDpiStage(-1);
    if (before.LED_COLOR != now.LED_COLOR) SetLedColor(0);
    if (before.LED_INTENSITY != now.LED_INTENSITY) SetLedIntensity(-1);
    if (before.LED_PULSATION != now.LED_PULSATION) SetLedPulsation(-1);
    if (m_prevConfig.POLLING_RATE != m_config.POLLING_RATE) SetPollingRate(-1);
    return 1;
}

LRESULT CHIDWnd::OnReloadConfig(WPARAM, LPARAM)
{
    m_prevConfig = m_config;
    LoadConfiguration();
    ApplyChangedDeviceSettings();
    DeviceRequestUnchecked(IOCTL_POST_RELOAD, nullptr, 0, nullptr, 0);
    ClockSeam().Sleep(100);
    ApplyProfile();
    return 1;
}

int CHIDWnd::SelectDpiStage(int stage)
{
    if (!g_hDevice) return 0;
    // A stage the device refused is neither remembered nor reported.
    if (!SendByte(IOCTL_SET_DPI_STAGE, stage)) return 0;
    ClockSeam().Sleep(100);
    g_nLastDpiStage = stage;
    PostToWindowTitled(GEARLOOM_MAIN_TITLE, WM_SERVICE_DPI_CHANGED, (WPARAM)stage, 0);
    int profile = CurrentProfileIndex(m_config);
    WriteProfileDpi(profile, stage);
    // The file now holds the stage; the images follow it, so a later switch or reload
    // does not send the old stage again.
    m_config.profiles[profile].DPI_VALUE = stage;
    m_savedConfig.profiles[profile].DPI_VALUE = stage;
    return 1;
}

static int DpiStep(CHIDWnd& wnd, bool up)
{
    if (!g_hDevice) return 0;
    BYTE read;
    int stage;
    if (ReadByte(IOCTL_GET_DPI_STAGE, &read)) stage = read;
    else stage = g_nLastDpiStage ? g_nLastDpiStage : (up ? 2 : 3);
    int target = DpiStepTarget(stage, up);
    if (!target) return 0;
    if (!SendByte(IOCTL_SET_DPI_STAGE, target)) {
        g_nLastDpiStage = stage;
        return 0;
    }
    ClockSeam().Sleep(100);
    // The stage now set, so steps go on from it even while the stage cannot be read.
    g_nLastDpiStage = target;
    // The image follows the device, as after a direct choice, so a later switch or reload
    // does not send the old stage again. The file is written here only without the
    // configuration program, which otherwise stores the stage itself.
    int profile = CurrentProfileIndex(wnd.m_config);
    wnd.m_config.profiles[profile].DPI_VALUE = target;
    if (!PostToWindowTitled(GEARLOOM_MAIN_TITLE, WM_SERVICE_DPI_CHANGED, (WPARAM)target, 0)) {
        WriteProfileDpi(profile, target);
        wnd.m_savedConfig.profiles[profile].DPI_VALUE = target;
    }
    return 1;
}

int CHIDWnd::DpiUp()
{
    return DpiStep(*this, true);
}

int CHIDWnd::DpiDown()
{
    return DpiStep(*this, false);
}

int WriteProfileDpi(int profile, int stage)
{
    CString path = CString(g_szConfDir) + L"Config.xml";
    CXmlDoc doc;
    if (!doc.LoadFile(path)) return 1;
    CString name;
    name.Format(L"PROFILE_%d", profile + 1);
    doc.FindElement(nullptr);
    doc.EnterNode();
    while (doc.FindElement(name)) {
        doc.EnterNode();
        if (doc.FindElement(L"DPI_VALUE")) doc.SetTextAt(doc.m_currentPos, stage);
        doc.LeaveNode();
    }
    doc.SaveFile(path);
    return 1;
}
