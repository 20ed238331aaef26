// The tray program's one application object; the framework's wWinMain drives it.
#include "tray/TrayIconApp.h"

CTrayIconApp theApp;
