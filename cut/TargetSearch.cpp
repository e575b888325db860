#include "cut/TargetSearch.h"

#include <iterator>

#include "cut/Manifest.h"
#include "platform/FileFind.h"
#include "platform/Paths.h"
#include "platform/System.h"
#include "search/SearchFile.h"

namespace kelmora {

std::vector<std::string> findCutTargets(const std::string& path, const std::string& passOver)
{
    std::vector<std::string> found;
    platform::FileFind lookup;
    if (!lookup.first(path)) return found;
    if ((lookup.data().attributes & platform::faDirectory) == 0) {
        found.push_back(path);
        return found;
    }
    // The root names no entry of its own, as a drive root does not: a dropped
    // root, or a link to it, registers nothing instead of walking the whole
    // file system. (Only folders are resolved: a drop of many files stays one
    // look-up each.)
    if (platform::resolveLinks(path) == "/") return found;
    TSearchFile SearchFile1;
    SearchFile1.setRecursive(true);
    SearchFile1.setDirectory(path);
    SearchFile1.setSearchName("*.*");
    // Only the names are registered: examining each entry (size, times) would
    // cost more than the walk itself.
    SearchFile1.setEntryFacts(platform::EntryFacts::NameAndKind);
    // Folders are compared with their links followed: one look-up a folder,
    // never one a file.
    const std::string passedOver = passOver.empty() ? std::string() : platform::resolveLinks(passOver);
    const auto isPassedOver = [&passedOver](const std::string& folder) {
        return !passedOver.empty() && platform::resolveLinks(folder) == passedOver;
    };
    SearchFile1.OnFindDir = [&isPassedOver](TSearchFile&, const std::string& Name, const TSearchFileData&, bool& Skip,
                                            bool& IgnoreSubDir) {
        if (isPassedOver(Name)) Skip = IgnoreSubDir = true;
    };
    SearchFile1.OnFind = [&found, &isPassedOver](TSearchFile&, const std::string& Name, const TSearchFileData& Data,
                                                 bool&) {
        if (Data.IsDirectory && isPassedOver(Name)) return;
        // A destination walked (not the one of this cut) holds the program's own files too.
        if (!Data.IsDirectory && isBookkeepingFile(platform::fileNamePart(Name))) return;
        found.push_back(Name);
    };
    SearchFile1.Search();
    return found;
}

std::vector<std::string> findCutTargets(const std::vector<std::string>& paths, const std::string& passOver)
{
    std::vector<std::string> found;
    for (const std::string& path : paths) {
        std::vector<std::string> entries = findCutTargets(path, passOver);
        found.insert(found.end(), std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
    }
    return found;
}

}  // namespace kelmora
