// The per-user file type "Bankwise.Document" for .syx dumps, with open,
// print and print-to verbs, written only when the user asks for it
// (bankwise.exe /register) and taken away again by /unregister.
#pragma once

#include <string>

#include "Win.h"

namespace bankwise {

// classes: the key that stands for HKEY_CLASSES_ROOT of this user
// (HKCU\Software\Classes; a scratch key in tests). Each returns the first
// registry error, ERROR_SUCCESS when all went through.
LONG RegisterFileType(HKEY classes, const std::wstring& exePath);
// Leaves .syx to another program that has taken it since.
LONG UnregisterFileType(HKEY classes);

// The user's own HKEY_CLASSES_ROOT part; close it with RegCloseKey.
HKEY OpenUserClasses();

}  // namespace bankwise
