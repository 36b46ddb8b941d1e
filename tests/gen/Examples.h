// The small example dumps shipped in examples/, made by our own generator.
#pragma once

#include <filesystem>

namespace bankwise::gen {

// Each writes its family's examples into dir.
void WriteOrbitExamples(const std::filesystem::path& dir);
void WriteJvXpExamples(const std::filesystem::path& dir);
void WriteKorgExamples(const std::filesystem::path& dir);
void WriteFs1rExamples(const std::filesystem::path& dir);
void WriteVirusExamples(const std::filesystem::path& dir);

}  // namespace bankwise::gen
