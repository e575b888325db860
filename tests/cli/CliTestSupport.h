#pragma once
// The built kelmora-cli in the tests, with English messages unless a test asks otherwise.

#include "tests/support/FakeExtractorHold.h"
#include "tests/support/FakeExtractorLog.h"
#include "tests/support/PseudoTerminal.h"

namespace kelmora::test {

inline const std::string kCli = KELMORA_CLI;
inline const std::string kFakeExtractor = std::string(KELMORA_FAKE_EXTRACTOR_DIR) + "/ffmpeg";

inline Environment cliEnvironment(Environment extra = {})
{
    extra.insert(extra.begin(), {{"LC_ALL", "C.UTF-8"}, {"LANGUAGE", ""}, {"LANG", ""}});
    return extra;  // a later change of a name wins: environmentWith adds them in order
}

inline std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

}  // namespace kelmora::test
