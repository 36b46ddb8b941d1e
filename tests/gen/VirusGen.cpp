#include "VirusGen.h"

#include "Examples.h"

namespace bankwise::gen {

void WriteVirusExamples(const std::filesystem::path& /*dir*/) {}

}  // namespace bankwise::gen
