// The command-line converter: every rule of bankwise-convert, callable in
// process so that tests see its exit status and both output streams.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "Profile.h"

namespace bankwise {

// Exit statuses of a run.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // a dump could not be converted or written
inline constexpr int kExitUsage = 2;

// args are the command-line arguments after the program name. The text of
// a single dump without -o or -d goes to out, byte for byte; messages go to
// err. stored is the user's settings store; a run only reads it.
int RunConverter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 IProfile& stored);

}  // namespace bankwise
