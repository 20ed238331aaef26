#pragma once
// The tray program's icons, drawn from code in the skin's look (dark body, gold trim):
// a mouse whose light shows gold for the program itself, red with the device present and
// grey, the whole mouse greyed, with the device absent. Each .ico holds every size the
// shell asks for, as 32-bit images with an alpha channel and an AND mask.
#include <cstdint>
#include <vector>

enum class TrayIconKind { Program, DeviceAbsent, DevicePresent };

struct TrayIconFile {
    TrayIconKind kind;
    const wchar_t* name;  // file name under tray/icons/
};
extern const TrayIconFile kTrayIconFiles[3];
extern const int kTrayIconSizes[5];

// Top-down rows of 0xAARRGGBB (straight alpha), size x size.
std::vector<uint32_t> DrawTrayIcon(TrayIconKind kind, int size);
// The whole .ico file.
std::vector<uint8_t> MakeTrayIconFile(TrayIconKind kind);
