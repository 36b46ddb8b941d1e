#include "KorgGen.h"

#include "Examples.h"

namespace bankwise::gen {

void WriteKorgExamples(const std::filesystem::path& /*dir*/) {}

}  // namespace bankwise::gen
