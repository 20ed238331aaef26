#pragma once
#include "core/ConfigData.h"

// The fifty macro slots of a profile as the picker's macro list keeps them: the used
// slots (those with a name) stand at 0..n-1, row r of the list is slot r, and a button
// plays slot s with code 1000 + s.

// Whether slot s is in use.
bool MacroSlotUsed(const ProfileData& profile, int slot);
// The first free slot at or after from; -1 when every one of them is in use.
int FirstFreeMacroSlot(const ProfileData& profile, int from);
// The macro of row r of a list of rowCount rows is deleted: the buttons that played it do
// nothing (BUTTON_OFF), the slots after it move down one place, and the buttons that
// played them follow, each code lowered once. The last listed slot takes the content of
// the slot after it; the fiftieth, having none after it, is emptied. A row outside the
// list changes nothing.
void DeleteMacroRow(ProfileData& profile, int row, int rowCount);
