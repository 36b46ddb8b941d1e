#include "Fs1rGen.h"

#include "Examples.h"

namespace bankwise::gen {

void WriteFs1rExamples(const std::filesystem::path& /*dir*/) {}

}  // namespace bankwise::gen
