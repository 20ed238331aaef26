#pragma once

// The configuration program's main window is looked up by its title at most once per
// PROGRAM_LOOKUP_MS: the lookup walks every top-level window, too slow for a mouse that
// reports a thousand events a second. A program that opens or closes is noticed within
// that time.
const unsigned PROGRAM_LOOKUP_MS = 200;

// The next button event looks the window up again.
void ForgetConfigurationProgramWindow();
