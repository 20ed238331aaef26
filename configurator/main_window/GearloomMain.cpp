// The configuration program's one application object; the framework's wWinMain drives it.
#include "configurator/main_window/CAPApp.h"

CAPApp theApp;
