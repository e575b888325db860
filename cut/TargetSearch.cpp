#include "cut/TargetSearch.h"

#include <iterator>

#include "platform/FileFind.h"
#include "platform/System.h"
#include "search/SearchFile.h"

namespace kelmora {

std::vector<std::string> findCutTargets(const std::string& path)
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
    SearchFile1.OnFind = [&found](TSearchFile&, const std::string& Name, const TSearchFileData&, bool&) {
        found.push_back(Name);
    };
    SearchFile1.Search();
    return found;
}

std::vector<std::string> findCutTargets(const std::vector<std::string>& paths)
{
    std::vector<std::string> found;
    for (const std::string& path : paths) {
        std::vector<std::string> entries = findCutTargets(path);
        found.insert(found.end(), std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
    }
    return found;
}

}  // namespace kelmora
