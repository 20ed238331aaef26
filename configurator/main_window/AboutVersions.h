#pragma once
#include <cstdint>
#include "framework/CString.h"

// The version texts of the About box, from the numbers of "FWVersion.xml".

// The firmware number f as "%x.%02x" of f / 100 and f % 100 (105 gives "1.05"); 0, the
// number of a missing file, gives "Disconnected".
CString FirmwareVersionText(int32_t firmware);
// The software number with a point after its first digit (114 gives "1.14"); 0, the number
// of a missing file or element, counts as 114.
CString SoftwareVersionText(int32_t software);
