#include "configurator/function_picker/MacroSlots.h"
#include "core/FunctionCodes.h"

namespace {

const int BUTTON_OFF_CODE = 9;

void Recode(ProfileData& profile, int from, int to)
{
    for (ButtonSlot& b : profile.buttons)
        if (b.code == from) b.code = to;
}

}  // namespace

bool MacroSlotUsed(const ProfileData& profile, int slot)
{
    return slot >= 0 && slot < MACRO_COUNT && profile.macros[slot].MACRO_NAME[0] != 0;
}

int FirstFreeMacroSlot(const ProfileData& profile, int from)
{
    for (int s = from < 0 ? 0 : from; s < MACRO_COUNT; ++s)
        if (!MacroSlotUsed(profile, s)) return s;
    return -1;
}

void DeleteMacroRow(ProfileData& profile, int row, int rowCount)
{
    if (rowCount > MACRO_COUNT) rowCount = MACRO_COUNT;
    if (row < 0 || row >= rowCount) return;
    Recode(profile, FIRST_MACRO_CODE + row, BUTTON_OFF_CODE);
    for (int d = row; d < rowCount; ++d) {
        if (d + 1 < MACRO_COUNT) {
            profile.macros[d] = profile.macros[d + 1];
            Recode(profile, FIRST_MACRO_CODE + d + 1, FIRST_MACRO_CODE + d);
        } else {
            // No slot follows the last one: it is left empty as in a new configuration, and no
            // code names a slot past it.
            ResetMacro(profile.macros[d]);
        }
    }
}
