#include "cli/TargetRegistration.h"

#include "cut/TargetSearch.h"
#include "platform/FileFind.h"
#include "platform/Paths.h"
#include "platform/System.h"

namespace kelmora::cli {

namespace p = platform;

namespace {

// A file itself, or a folder's files in and below it.
void addEntry(const std::string& path, Registration& registration, const std::string& passOver)
{
    const bool folder = p::entryKind(path) == p::EntryKind::Folder;
    for (std::string& found : findCutTargets(path, folder ? passOver : std::string())) {
        // The walk reports the folders below too, and anything else a folder
        // holds; only its files are cut.
        if (folder && p::entryKind(found) != p::EntryKind::RegularFile) continue;
        registration.files.push_back(std::move(found));
    }
}

bool hasWildcard(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

}  // namespace

void registerTarget(const std::string& target, Registration& registration, const std::string& passOver)
{
    // A name that exists is itself, wildcard characters or not.
    if (p::entryExists(target)) {
        addEntry(target, registration, passOver);
        return;
    }
    const std::string namePart = p::fileNamePart(target);
    if (!hasWildcard(namePart)) {
        registration.missing.push_back(target);
        return;
    }
    const std::string folder = p::folderPartWithSeparator(target);
    p::FileFind lookup;
    bool matched = false;
    for (bool found = lookup.first(target); found; found = lookup.next()) {
        const std::string& name = lookup.data().name;
        if (name == "." || name == "..") continue;
        matched = true;
        addEntry(folder + name, registration, passOver);
    }
    if (!matched) registration.missing.push_back(target);
}

std::vector<std::string> readTargetList(std::istream& in, bool nulSeparated)
{
    std::vector<std::string> entries;
    std::string entry;
    while (std::getline(in, entry, nulSeparated ? '\0' : '\n')) {
        if (!nulSeparated && !entry.empty() && entry.back() == '\r') entry.pop_back();
        if (!entry.empty()) entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace kelmora::cli
