// The user's own settings store, whichever the platform keeps: Qt settings
// on Linux (~/.config/Orvane/Bankwise.conf), the registry on Windows
// (HKEY_CURRENT_USER\Software\Orvane\Bankwise).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Profile.h"

namespace bankwise {

// The store for a program that only reads it (the converter): nothing is
// opened until a setting is first read, so --help never touches it. When
// the store or a value in it cannot be used, warn is called once with the
// warning and the defaults apply. Writes are refused.
std::unique_ptr<IProfile> OpenUserSettingsForReading(std::function<void(const std::string&)> warn);

}  // namespace bankwise
