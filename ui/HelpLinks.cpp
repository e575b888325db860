#include "ui/HelpLinks.h"

#include "platform/System.h"

namespace kelmora {

namespace {

constexpr std::size_t ReadmeBufferSize = 252;  // terminating zero included

}  // namespace

std::optional<std::string> readmePath(const std::string& programFolder)
{
    std::string path = programFolder + "/Readme.txt";
    if (path.size() + 1 > ReadmeBufferSize) return std::nullopt;
    return path;
}

std::string programName(std::string_view programPath, platform::PathStyle style, platform::CodePage cp)
{
    return platform::replaceExtension(platform::fileNamePart(programPath, style, cp), "", style, cp);
}

std::string infoPageAddress(std::string_view base, std::string_view programPath,
                            platform::PathStyle style, platform::CodePage cp)
{
    return std::string(base) + "info.php?pf=w&sn=" + programName(programPath, style, cp);
}

std::string infoBaseAddress()
{
    return KELMORA_INFO_BASE_URL;
}

void openReadme(const std::string& programFolder)
{
    // The desktop's answer is not looked at: a missing guide shows nothing.
    if (const auto path = readmePath(programFolder)) platform::openWithDesktop(*path);
}

void openInfoPage(const std::string& programPath)
{
    platform::openWithDesktop(infoPageAddress(infoBaseAddress(), programPath));
}

}  // namespace kelmora
