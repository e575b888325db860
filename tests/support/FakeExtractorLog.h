#pragma once
// Reads the log that the fake extractor appends to (KELMORA_FAKE_LOG): one line
// per run, each argument as hex digits followed by ";", so arguments with
// blanks, line breaks or bytes that are not UTF-8 come back exactly.

#include <fstream>
#include <string>
#include <vector>

namespace kelmora::test {

using FakeExtractorRun = std::vector<std::string>;  // the arguments of one run, program name left out

inline std::vector<FakeExtractorRun> readFakeExtractorLog(const std::string& path)
{
    std::vector<FakeExtractorRun> runs;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    const auto nibble = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    while (std::getline(in, line)) {
        FakeExtractorRun run;
        std::string argument;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == ';') {
                run.push_back(argument);
                argument.clear();
            } else if (i + 1 < line.size()) {
                argument += static_cast<char>(nibble(line[i]) * 16 + nibble(line[i + 1]));
                ++i;
            }
        }
        runs.push_back(run);
    }
    return runs;
}

}  // namespace kelmora::test
