// Writing a finished text to the file a user named, without harming what
// is there: the converter's -o and -d use it, and so can the desktop
// program's Save and Export.
//
//   the target                       how it is written
//   absent                           a new file, made complete under a
//                                    temporary name beside it, then renamed
//   a regular file with one link     the same, and the new file takes over
//                                    the old one's mode (and owner, where
//                                    the system allows)
//   a regular file with more links   overwritten in place once the whole
//                                    text is ready, so the links stay linked
//   a read-only regular file         refused, left as it is
//   a character device, FIFO,        opened and written, as a shell
//   terminal, /dev/stdout            redirect would; nothing is replaced
//   a symbolic link                  followed: the file it points to is
//                                    written by the rules above, in that
//                                    file's folder, and the link stays
//   a folder or a block device       refused
//
// On Windows the same promises are kept with its own calls: the new file is
// made with CREATE_NEW and put in place by ReplaceFileW, which passes on the
// old one's attributes, security and creation time (MoveFileExW where that
// is refused); "read-only" is the read-only attribute; the link count and
// "the same file" come from GetFileInformationByHandle (volume serial number
// and file index); the console, NUL and pipes are written directly.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bankwise {

enum class EOutputMethod {
    Replace,  // through a temporary file, renamed over the target
    InPlace,  // overwritten and cut to length
    Direct,   // opened and written as it is
    Refused,  // not written at all
};

struct COutputTarget
{
    EOutputMethod method = EOutputMethod::Refused;
    std::string file;    // what is written: the target with its links followed
    std::string reason;  // why it is refused
};

// How text written to path would reach it, looked at now.
COutputTarget DescribeOutputTarget(const std::string& path);

// Writes bytes to path by the rules above. Returns the reason of a failure
// (a system message, or why the target is refused); a failed Replace or a
// refusal leaves the target as it was and no temporary file behind.
std::optional<std::string> WriteOutputFile(const std::string& path, std::string_view bytes);

// The rules above in the words of the converter's --help, for this platform.
std::string DescribeOutputRules();

// From now on SIGINT, SIGTERM and SIGHUP first remove the temporary file
// that WriteOutputFile is writing, if any, then end the program as they
// would have. Signals the program was started to ignore stay ignored. Does
// nothing where there are no such signals.
void RemoveTemporaryFileOnSignals();

}  // namespace bankwise
