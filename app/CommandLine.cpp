#include "app/CommandLine.h"

namespace kelmora {

CommandLine::CommandLine(int argc, const char* const* argv)
    : m_programName(argc > 0 && argv[0] ? argv[0] : "kelmora")
{
    for (int i = 1; i < argc; ++i) m_targets.emplace_back(argv[i]);
    m_toolkitArgv = {m_programName.data(), nullptr};
}

}  // namespace kelmora
