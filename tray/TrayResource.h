#pragma once
// Icon resources of the tray program (Bellwick.rc). The program's own icon is the first
// group, so the shell shows it for the program file.
#define IDI_BELLWICK 128
#define IDI_DEVICE_ABSENT 130
#define IDI_DEVICE_PRESENT 131
