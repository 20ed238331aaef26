#include "core/AppPaths.h"

wchar_t g_szAppDir[MAX_PATH];
wchar_t g_szConfDir[MAX_PATH];
