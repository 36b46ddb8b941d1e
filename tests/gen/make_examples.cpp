// Writes the example dumps into the folder given on the command line.
#include <exception>
#include <iostream>

#include "Examples.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: bankwise-make-examples DIR\n";
        return 2;
    }
    try {
        const std::filesystem::path dir = argv[1];
        std::filesystem::create_directories(dir);
        bankwise::gen::WriteOrbitExamples(dir);
        bankwise::gen::WriteJvXpExamples(dir);
        bankwise::gen::WriteKorgExamples(dir);
        bankwise::gen::WriteFs1rExamples(dir);
        bankwise::gen::WriteVirusExamples(dir);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
