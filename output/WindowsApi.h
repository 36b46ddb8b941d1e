// <windows.h> for the Windows platform files. Its ANSI/wide macros would
// rename our own GetProfileString, GetProfileInt, WriteProfileString,
// WriteProfileInt and LoadString in every file that sees both, so they are
// taken back here; the system calls of those names are never used.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef GetProfileString
#undef GetProfileInt
#undef WriteProfileString
#undef WriteProfileInt
#undef LoadString
