#include "platform/System.h"

#include <cerrno>
#include <cstring>

#include "platform/Paths.h"
#include "platform/SystemSteps.h"

namespace kelmora::platform {

std::string programFolder() { return folderPartWithoutSeparator(programPath()); }

void createFolderWithParents(const std::string& path)
{
    const std::string folder = removeTrailingSeparator(path);
    if (folder.size() < 3 || folderExists(folder)) return;
    createFolderWithParents(folderPartWithSeparator(folder));
    makeOneFolder(folder);
}

int makeFolderWithParents(const std::string& path)
{
    const std::string folder = removeTrailingSeparator(path);
    if (const int state = folderState(folder); state != ENOENT) return state;
    const std::string parent = folderPartWithoutSeparator(folder);
    if (!parent.empty() && parent != folder) {
        if (const int error = makeFolderWithParents(parent)) return error;
    }
    if (const int error = makeOneFolder(folder); error != 0 && error != EEXIST) return error;
    return folderExists(folder) ? 0 : ENOTDIR;
}

std::string errorText(int error) { return std::strerror(error); }

}  // namespace kelmora::platform
