#include "ui/HelpLinks.h"

#include "controls/TextBytes.h"
#include "platform/System.h"
#include "ui/Notice.h"

namespace kelmora {

namespace {

constexpr std::size_t ReadmeBufferSize = 252;  // terminating zero included

LinkOpener& linkOpener()
{
    static LinkOpener opener;
    return opener;
}

// A web address ("https://…", "mailto:…"): a scheme of letters before a colon,
// and no separator before it.
bool isAddress(const std::string& link)
{
    const std::size_t colon = link.find(':');
    if (colon == std::string::npos || colon < 2) return false;  // "C:" is a drive
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = link[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) return false;
    }
    return true;
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

bool openForUser(const std::string& documentOrAddress)
{
    const bool address = isAddress(documentOrAddress);
    const QString shown = fromSystemBytes(documentOrAddress);
    if (!address && !platform::entryExists(documentOrAddress)) {
        showNotice(QStringLiteral("次の場所が見つかりませんでした。\n") + shown);
        return false;
    }
    if (linkOpener()) {
        linkOpener()(documentOrAddress);
        return true;
    }
    if (platform::openWithDesktop(documentOrAddress)) return true;
    showNotice(
        (address ? QStringLiteral("ブラウザを起動できませんでした。次のアドレスを直接開いてください。\n")
                 : QStringLiteral("開くためのアプリケーションを起動できませんでした。次の場所を直接開いてください。\n"))
        + shown);
    return false;
}

void openReadme(const std::string& programFolder)
{
    if (const auto path = readmePath(programFolder)) openForUser(*path);
}

void openInfoPage(const std::string& programPath, const std::string& programFolder)
{
    if (const auto link = infoLink(infoBaseAddress(), programPath, programFolder)) openForUser(*link);
}

}  // namespace kelmora
