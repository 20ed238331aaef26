// The device service's one application object; the framework's wWinMain drives it.
#include "service/PortwardenApp.h"

CHIDApp theApp;
