#include "configurator/main_window/AboutVersions.h"

namespace {

const int32_t kDefaultSoftwareVersion = 114;

}  // namespace

CString FirmwareVersionText(int32_t firmware)
{
    if (firmware == 0) return L"Disconnected";
    CString text;
    text.Format(L"%x.%02x", (unsigned)(firmware / 100), (unsigned)(firmware % 100));
    return text;
}

CString SoftwareVersionText(int32_t software)
{
    if (software == 0) software = kDefaultSoftwareVersion;
    CString text;
    text.Format(L"%d", (int)software);
    text.Insert(1, L".");
    return text;
}
