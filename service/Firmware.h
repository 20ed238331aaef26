#pragma once
#include <windows.h>
#include <vector>

// The mouse's firmware: its version as reported to the configuration program through
// "FWVersion.xml", and writing a new image named by "Firmware.xml" into the mouse.

const int SOFTWARE_VERSION = 114;
const int FIRMWARE_BLOCK_SIZE = 512;

#pragma pack(push, 1)
struct FirmwareVersionData {
    BYTE low;
    BYTE high;
};
// 16-bit fields are big-endian.
struct FirmwareInfoData {
    BYTE reserved[4];
    BYTE version[2];
    BYTE unused[2];
    BYTE startAddress[2];
    BYTE eraseTime[2];
    BYTE blockTime[2];
    BYTE unused2[2];
};
struct FirmwareBlockData {
    BYTE address[2];  // little-endian
    BYTE data[FIRMWARE_BLOCK_SIZE];
};
#pragma pack(pop)
static_assert(sizeof(FirmwareVersionData) == 2, "FirmwareVersionData is 2 bytes");
static_assert(sizeof(FirmwareInfoData) == 16, "FirmwareInfoData is 16 bytes");
static_assert(sizeof(FirmwareBlockData) == 514, "FirmwareBlockData is 514 bytes");

inline int BigEndian16(const BYTE (&b)[2]) { return b[0] * 256 + b[1]; }

// Hexadecimal text, with or without 0x, either case; stops at the first other character.
int ParseHexNumber(const wchar_t* text);

// The blocks that write image into the device from address start. Each block carries the
// next 512 bytes; after a short read at the end the rest keeps the bytes of the block before.
std::vector<FirmwareBlockData> FirmwareBlocks(int start, const std::vector<BYTE>& image);

// Reads the device's version into "FWVersion.xml" and tells the About box: 1, or 0 without device.
int ReadFirmwareVersion();
// FW_VERSION and SOFTWARE_VERSION of g_szConfDir's "FWVersion.xml"; always 1.
int WriteFirmwareVersionFile(int firmwareVersion);
// Writes the version file and tells the About box that the version changed.
void PublishFirmwareVersion(int firmwareVersion);

// The whole update: 0 success, -1 failure.
int UpdateFirmware();
// (image version << 16) | device version as a 32-bit value, or -1.
int FirmwareVersions();
