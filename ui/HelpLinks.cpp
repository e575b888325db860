#include "ui/HelpLinks.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

#include "platform/CodePage.h"

namespace kelmora {

namespace {

constexpr std::size_t ReadmeBufferSize = 252;  // terminating zero included

// Hands a document or an address to the desktop; the result is not looked at.
void openWithDesktop(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

}  // namespace

std::optional<std::string> readmePath(const std::string& programFolder)
{
    std::string path = programFolder + "/Readme.txt";
    if (path.size() + 1 > ReadmeBufferSize) return std::nullopt;
    return path;
}

std::string programName(std::string_view programPath, std::string_view separators)
{
    // Walk whole characters so a trail byte is never taken for a separator or a dot.
    std::size_t nameStart = 0;
    std::size_t lastDot = std::string_view::npos;
    for (std::size_t i = 0; i < programPath.size(); i = platform::charEnd(programPath, i)) {
        const char c = programPath[i];
        if (separators.find(c) != std::string_view::npos) {
            nameStart = i + 1;
            lastDot = std::string_view::npos;
        } else if (c == '.') {
            lastDot = i;
        }
    }
    const std::size_t nameEnd = lastDot == std::string_view::npos ? programPath.size() : lastDot;
    return std::string(programPath.substr(nameStart, nameEnd - nameStart));
}

std::string infoPageAddress(std::string_view base, std::string_view programPath,
                            std::string_view separators)
{
    return std::string(base) + "info.php?pf=w&sn=" + programName(programPath, separators);
}

std::string infoBaseAddress()
{
    return KELMORA_INFO_BASE_URL;
}

void openReadme(const std::string& programFolder)
{
    if (const auto path = readmePath(programFolder))
        openWithDesktop(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(*path))));
}

void openInfoPage(const std::string& programPath)
{
    const std::string address = infoPageAddress(infoBaseAddress(), programPath);
    openWithDesktop(QUrl(QString::fromStdString(address)));
}

}  // namespace kelmora
