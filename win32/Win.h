// <windows.h> for the Windows desktop program. It turns GetProfileString,
// WriteProfileString, LoadString and friends into their ...A/...W macros,
// which would rename our own profile and string-table calls: those macros
// are taken back here, and the program calls the W functions by name.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#undef GetProfileString
#undef GetProfileInt
#undef WriteProfileString
#undef WriteProfileInt
#undef LoadString
