#include "cut/Preview.h"

#include <fstream>
#include <iterator>
#include <utility>

#include "cut/CutCommand.h"
#include "platform/Paths.h"
#include "platform/System.h"

namespace kelmora {

namespace {

// How long an ended run may take to go (a killed process normally goes at once).
constexpr int kEndWaitMs = 1000;

}  // namespace

PreviewRun::PreviewRun(std::string programFolder, std::string previewFile)
    : m_programFolder(std::move(programFolder)), m_previewFile(std::move(previewFile))
{
}

PreviewRun::~PreviewRun()
{
    if (m_run) m_run->terminate(0);
}

void PreviewRun::endRun()
{
    if (!m_run) return;
    // Killed, not asked: a preview nobody waits for has nothing worth finishing,
    // and once it has gone it can write nothing more.
    m_run->terminate(0);
    m_run->waitFor(kEndWaitMs);
    m_run.reset();
}

bool PreviewRun::start(const std::string& target, std::int32_t startSecond)
{
    endRun();
    // unlink() removes a link itself: the extractor never writes through one.
    platform::deleteFile(m_previewFile);
    const ExtractorCommand command =
        BuildThumbnailCommandLine(target, startSecond, platform::folderPartWithoutSeparator(m_previewFile));
    const std::string program = platform::findProgram(command.program, m_programFolder);
    if (program.empty()) return false;
    m_run = platform::ChildProcess::startHidden({program, command.arguments, command.commandLine});
    return m_run.has_value();
}

std::optional<std::string> PreviewRun::finish()
{
    if (!m_run) return std::nullopt;
    m_run->waitFor(0);
    m_run.reset();
    if (platform::entryKind(m_previewFile) != platform::EntryKind::RegularFile) return std::nullopt;
    std::ifstream in(m_previewFile, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    platform::deleteFile(m_previewFile);
    return bytes;
}

}  // namespace kelmora
