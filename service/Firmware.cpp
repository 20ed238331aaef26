#include "service/Firmware.h"
#include "service/DriverLink.h"
#include "service/HIDWnd.h"
#include "service/PeerWindows.h"
#include "service/ServiceSeams.h"
#include "core/AppPaths.h"
#include "core/Messages.h"
#include "core/XmlDoc.h"
#include <algorithm>
#include <cstring>

namespace {

const int ARRIVAL_WAITS = 30;

// The text of the root's child name in the program folder's "Firmware.xml".
bool ReadFirmwareXml(const wchar_t* name, CString& text)
{
    CXmlDoc doc;
    if (!doc.LoadFile(CString(g_szAppDir) + L"Firmware.xml"))
        return false;
    if (!doc.FindChildNode(name))
        return false;
    text = doc.GetChildText();
    return true;
}

bool ReadImage(const CString& path, std::vector<BYTE>& image)
{
    // A tool may replace the image meanwhile (this handle keeps the old one), but nobody
    // may write into it while it is read.
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(file, &size) != 0;
    // Nothing above 64 KB can fit below address 0x10000; such a file is not read whole.
    if (ok && size.QuadPart > 0x10000)
        size.QuadPart = 0x10001;
    if (ok) {
        image.resize((size_t)size.QuadPart);
        DWORD got = 0;
        ok = image.empty() || (ReadFile(file, image.data(), (DWORD)image.size(), &got, nullptr) && got == image.size());
    }
    CloseHandle(file);
    return ok;
}

bool ReadFirmwareInfo(FirmwareInfoData& info)
{
    std::memset(&info, 0, sizeof(info));
    return DeviceRequestUnchecked(IOCTL_GET_FIRMWARE_INFO, nullptr, 0, &info, sizeof(info)) != FALSE;
}

// The device re-enumerates after the start and end requests; a missing arrival is no
// error, the update goes on after 30 s.
void WaitForArrivalAfter(LONG count)
{
    for (int waits = 0; g_nArrivalCount <= count && waits < ARRIVAL_WAITS; ++waits)
        ClockSeam().Sleep(1000);
}

bool WriteBlock(FirmwareBlockData& block)
{
    return DeviceRequestUnchecked(IOCTL_FIRMWARE_WRITE_BLOCK, &block, sizeof(block), nullptr, 0) != FALSE;
}

} // namespace

int ParseHexNumber(const wchar_t* text)
{
    if (!text)
        return 0;
    CString s(text);
    s.MakeUpper();
    const wchar_t* p = s;
    if (p[0] == L'0' && p[1] == L'X')
        p += 2;
    unsigned value = 0;
    for (; *p; ++p) {
        unsigned digit;
        if (*p >= L'0' && *p <= L'9')
            digit = *p - L'0';
        else if (*p >= L'A' && *p <= L'F')
            digit = *p - L'A' + 10;
        else
            break;
        value = value * 16 + digit;
    }
    return (int)value;
}

std::vector<FirmwareBlockData> FirmwareBlocks(int start, const std::vector<BYTE>& image)
{
    std::vector<FirmwareBlockData> blocks;
    FirmwareBlockData block = {};
    size_t offset = 0;
    for (long addr = start; addr < start + (long)image.size(); addr += FIRMWARE_BLOCK_SIZE) {
        size_t n = std::min((size_t)FIRMWARE_BLOCK_SIZE, image.size() - offset);
        std::memcpy(block.data, image.data() + offset, n);
        offset += n;
        block.address[0] = (BYTE)(addr & 0xFF);
        block.address[1] = (BYTE)((addr >> 8) & 0xFF);
        blocks.push_back(block);
    }
    return blocks;
}

int WriteFirmwareVersionFile(int firmwareVersion)
{
    CString path = CString(g_szConfDir) + L"FWVersion.xml";
    CXmlDoc doc;
    if (doc.LoadFile(path)) {
        doc.FindElement(nullptr);
        doc.EnterNode();
        if (doc.FindElement(L"FW_VERSION"))
            doc.SetTextAt(doc.m_currentPos, firmwareVersion);
        if (doc.FindElement(L"SOFTWARE_VERSION"))
            doc.SetTextAt(doc.m_currentPos, SOFTWARE_VERSION);
    } else {
        doc.SetDocText(L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n");
        doc.m_docFlags = XMLDOC_UTF16LE_BOM;
        doc.AddElement(L"root");
        doc.EnterNode();
        doc.AddElement(L"FW_VERSION", firmwareVersion);
        doc.AddElement(L"SOFTWARE_VERSION", SOFTWARE_VERSION);
    }
    doc.SaveFile(path);
    return 1;
}

int ReadFirmwareVersion()
{
    if (!g_hDevice)
        return 0;
    FirmwareVersionData v = {};
    DeviceRequest(IOCTL_GET_FIRMWARE_VERSION, nullptr, 0, &v, sizeof(v));
    int version = v.high * 100 + v.low;
    if (version == 0) {
        DeviceRequest(IOCTL_GET_FIRMWARE_VERSION, nullptr, 0, &v, sizeof(v));
        version = v.high * 100 + v.low;
    }
    PublishFirmwareVersion(version);
    return 1;
}

void PublishFirmwareVersion(int firmwareVersion)
{
    WriteFirmwareVersionFile(firmwareVersion);
    PostToWindowTitled(GEARLOOM_ABOUT_TITLE, WM_VERSION_CHANGED, 0, 0);
}

int UpdateFirmware()
{
    LONG entry = g_nArrivalCount;
    int result = 0;

    CString fileName;
    std::vector<BYTE> image;
    if (!ReadFirmwareXml(L"FirmwareFile", fileName) || !ReadImage(CString(g_szAppDir) + fileName, image))
        return -1;

    FirmwareInfoData info;
    if (!ReadFirmwareInfo(info))
        return -1;
    int start = BigEndian16(info.startAddress);
    int eraseTime = BigEndian16(info.eraseTime);
    int blockTime = BigEndian16(info.blockTime);
    if (start + (long long)image.size() > 0xFFFF)
        return -1;

    ClockSeam().Sleep(1000);
    WORD startValue = 0x0010;
    DeviceRequestUnchecked(IOCTL_FIRMWARE_UPDATE_START, &startValue, sizeof(startValue), nullptr, 0);
    WaitForArrivalAfter(entry);
    ClockSeam().Sleep(2000);

    // A failed erase still leaves the update mode below, as a failed block does.
    if (!DeviceRequestUnchecked(IOCTL_FIRMWARE_ERASE, nullptr, 0, nullptr, 0)) {
        result = -1;
    } else {
        ClockSeam().Sleep((DWORD)(2 * eraseTime + 1000));
        for (FirmwareBlockData& block : FirmwareBlocks(start, image)) {
            if (!WriteBlock(block)) {
                ClockSeam().Sleep(2000);
                if (!WriteBlock(block)) {
                    result = -1;
                    break;
                }
            }
            ClockSeam().Sleep((DWORD)(blockTime + 200));
        }
    }

    LONG before = g_nArrivalCount;
    DeviceRequestUnchecked(IOCTL_FIRMWARE_UPDATE_END, nullptr, 0, nullptr, 0);
    WaitForArrivalAfter(before);
    if (result == 0)
        ReadFirmwareVersion();
    ClockSeam().Sleep(500);
    return result;
}

int FirmwareVersions()
{
    FirmwareInfoData info;
    if (!ReadFirmwareInfo(info))
        return -1;
    int device = BigEndian16(info.version);
    CString version;
    if (!ReadFirmwareXml(L"Version", version))
        return -1;
    return (int)(((unsigned)ParseHexNumber(version) << 16) | (unsigned)device);
}

LRESULT CHIDWnd::OnFirmwareUpdate(WPARAM, LPARAM)
{
    return UpdateFirmware();
}

LRESULT CHIDWnd::OnFirmwareVersions(WPARAM, LPARAM)
{
    return FirmwareVersions();
}
