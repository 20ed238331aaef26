#pragma once
#include "core/ConfigData.h"
#include <windows.h>

class CXmlDoc;

// Fills the record from "Config.xml" at path; what the file lacks keeps its reset value.
// Always 0. Called after ResetConfig and followed by ValidateConfig.
int LoadConfig(ConfigData& cfg, const wchar_t* path);

// The parts of a save that could not be written, as bits.
enum ConfigSaveFailure : unsigned {
    CONFIG_SAVE_REGISTRY = 1,  // a registry key could not be opened or created
    CONFIG_SAVE_FILE = 2,      // "Config.xml"
    CONFIG_SAVE_TRAY = 4,      // "TrayIcon.xml" loaded but could not be written
};

// Writes the current profile's mouse values into the registry, then "Config.xml" of
// g_szConfDir (updated in place when it loads, made anew otherwise), then the profile
// names into "TrayIcon.xml" there when that file loads. 0 when everything was written;
// -1 when a registry key could not be opened or a file could not be written, and then
// failed (when given) tells which parts, so a caller knows whether "Config.xml" holds the
// record. A registry failure does not stop the files from being written.
int SaveConfig(const ConfigData& cfg, unsigned* failed = nullptr);

// Opens the key under HKEY_CURRENT_USER with full access, or creates it. 0 on success.
LONG OpenUserRegKey(const wchar_t* subKey, HKEY* key);
// Writes a REG_SZ value; the data length counts the terminating zero.
LONG SetRegString(HKEY key, const wchar_t* name, const wchar_t* text);

// The writer's two halves, also used by the default-file tool and the benchmark.
// BuildConfigDoc makes the whole document of a new "Config.xml"; UpdateConfigDoc changes
// a loaded one in place, touching only values that differ from the record.
void BuildConfigDoc(CXmlDoc& doc, const ConfigData& cfg);
void UpdateConfigDoc(CXmlDoc& doc, const ConfigData& cfg);
// The keys of one profile, as "Config.xml" holds them inside PROFILE_n and a single-profile
// file under its root. AddProfileElements adds them in the writer's order after the current
// element of the entered one. ReadProfileElements reads them from the children of the
// entered element; what is missing keeps its value. With loopCountAlone a MACRO_LOOP_COUNT
// holding a bare count (as older single-profile files have it) reads as that count.
void AddProfileElements(CXmlDoc& doc, const ProfileData& p);
void ReadProfileElements(CXmlDoc& doc, ProfileData& p, bool loopCountAlone = false);
// Writes a new "Config.xml" for the record at path (no registry, no "TrayIcon.xml").
bool WriteNewConfigFile(const ConfigData& cfg, const wchar_t* path);
