#include "cut/Preview.h"

#include <chrono>
#include <thread>

#include "cut/CutCommand.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/System.h"

namespace kelmora {

bool makeThumbnail(const std::string& target, std::int32_t startSecond, const std::string& programFolder,
                   const std::string& previewFile)
{
    const ExtractorCommand command =
        BuildThumbnailCommandLine(target, startSecond, platform::folderPartWithoutSeparator(previewFile));
    const std::string program = platform::findProgram(command.program, programFolder);
    if (!program.empty()) platform::startDetached(program, command.arguments);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return platform::fileExists(previewFile);
}

}  // namespace kelmora
