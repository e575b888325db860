#include "ui/HelpLinks.h"

#include "platform/System.h"

namespace kelmora {

namespace {

constexpr std::size_t ReadmeBufferSize = 252;  // terminating zero included

LinkOpener& linkOpener()
{
    static LinkOpener opener;
    return opener;
}

void open(const std::string& documentOrAddress)
{
    // The desktop's answer is not looked at: a missing guide shows nothing.
    if (linkOpener()) linkOpener()(documentOrAddress);
    else platform::openWithDesktop(documentOrAddress);
}

}  // namespace

std::string installedGuideFolder(const std::string& programFolder)
{
    return platform::expandFileName(programFolder + "/" + KELMORA_DOC_FROM_PROGRAM);
}

std::optional<std::string> guidePath(const std::string& programFolder, std::string_view fileName)
{
    std::string path = programFolder + "/" + std::string(fileName);
    if (!platform::fileExists(path)) {
        std::string installed = installedGuideFolder(programFolder) + "/" + std::string(fileName);
        if (platform::fileExists(installed)) path = std::move(installed);
    }
    if (path.size() + 1 > ReadmeBufferSize) return std::nullopt;
    return path;
}

std::optional<std::string> readmePath(const std::string& programFolder)
{
    return guidePath(programFolder, "Readme.txt");
}

std::string programName(std::string_view programPath, platform::PathStyle style, platform::CodePage cp)
{
    return platform::replaceExtension(platform::fileNamePart(programPath, style, cp), "", style, cp);
}

std::string infoPageAddress(std::string_view base, std::string_view programPath, platform::PathStyle style,
                            platform::CodePage cp)
{
    return std::string(base) + "info.php?pf=w&sn=" + programName(programPath, style, cp);
}

std::optional<std::string> infoLink(std::string_view base, std::string_view programPath,
                                    const std::string& programFolder)
{
    if (base.empty()) return guidePath(programFolder, "Readme.html");
    return infoPageAddress(base, programPath);
}

std::string infoBaseAddress() { return KELMORA_INFO_BASE_URL; }

void setLinkOpener(LinkOpener opener) { linkOpener() = std::move(opener); }

void openReadme(const std::string& programFolder)
{
    if (const auto path = readmePath(programFolder)) open(*path);
}

void openInfoPage(const std::string& programPath, const std::string& programFolder)
{
    if (const auto link = infoLink(infoBaseAddress(), programPath, programFolder)) open(*link);
}

}  // namespace kelmora
