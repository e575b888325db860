#include "settings/SettingsLocation.h"

#include "platform/Paths.h"
#include "platform/System.h"

namespace kelmora {

namespace p = platform;

namespace {

const char* const kSettingsFileName = "Kelmora.ini";

bool settingsBesideProgram(const std::string& programFolder)
{
    if (isInstalledProgram(programFolder)) return false;
    return p::fileExists(p::joinPath(programFolder, kSettingsFileName)) || p::isWritableFolder(programFolder);
}

}  // namespace

std::string installMarkPath(const std::string& programFolder)
{
    return p::expandFileName(p::joinPath(programFolder, KELMORA_INSTALL_MARK_FROM_PROGRAM));
}

bool isInstalledProgram(const std::string& programFolder)
{
    return p::entryKind(installMarkPath(programFolder)) == p::EntryKind::RegularFile;
}

std::string settingsFolder(const std::string& programFolder)
{
    if (settingsBesideProgram(programFolder)) return programFolder;
    const std::string folder = p::userConfigFolder();
    p::createFolderWithParents(folder);
    return folder;
}

std::string settingsFilePath(const std::string& programFolder)
{
    return p::joinPath(settingsFolder(programFolder), kSettingsFileName);
}

std::string previewFilePath(const std::string& programFolder)
{
    return p::joinPath(settingsFolder(programFolder), "_thumb.bmp");
}

std::string defaultDestinationFolder(const std::string& programFolder)
{
    if (isInstalledProgram(programFolder)) return p::userPicturesFolder();
    return p::isWritableFolder(programFolder) ? programFolder : p::userPicturesFolder();
}

std::vector<std::string> settingsDefaultsFiles(const std::string& programFolder)
{
    std::vector<std::string> files;
    if (settingsBesideProgram(programFolder)) return files;
    for (const std::string& folder : p::systemConfigFolders()) {
        const std::string file = p::joinPath(folder, kSettingsFileName);
        if (p::entryKind(file) == p::EntryKind::RegularFile) files.push_back(file);
    }
    return files;
}

}  // namespace kelmora
