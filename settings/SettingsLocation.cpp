#include "settings/SettingsLocation.h"

#include "platform/Paths.h"
#include "platform/System.h"

namespace kelmora {

namespace p = platform;

std::string settingsFolder(const std::string& programFolder)
{
    if (p::fileExists(p::joinPath(programFolder, "Kelmora.ini")) || p::isWritableFolder(programFolder)) {
        return programFolder;
    }
    const std::string folder = p::userConfigFolder();
    p::createFolderWithParents(folder);
    return folder;
}

std::string settingsFilePath(const std::string& programFolder)
{
    return p::joinPath(settingsFolder(programFolder), "Kelmora.ini");
}

std::string previewFilePath(const std::string& programFolder)
{
    return p::joinPath(settingsFolder(programFolder), "_thumb.bmp");
}

std::string defaultDestinationFolder(const std::string& programFolder)
{
    return p::isWritableFolder(programFolder) ? programFolder : p::userPicturesFolder();
}

}  // namespace kelmora
