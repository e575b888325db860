#include "search/SearchDir.h"

#include "platform/FileFind.h"
#include "platform/Paths.h"
#include "platform/System.h"

namespace kelmora {

namespace {

bool isDotEntry(const std::string& name) { return name == "." || name == ".."; }

}  // namespace

bool TSearchDir::Search()
{
    if (m_busy || !OnFind) return false;
    const std::string base = platform::expandFileName(m_baseDir);
    platform::FileFindData found;
    if (!platform::lookUpEntry(base, found)) return false;

    m_busy = true;
    struct ClearBusy {  // also when a handler throws
        bool& flag;
        ~ClearBusy() { flag = false; }
    } clearBusy{m_busy};
    FolderQueue.clear();
    bool Continue = true;
    bool IgnoreSubDir = false;
    DoFind(base, toSearchFileData(found), IgnoreSubDir, Continue);
    if (!Continue) return false;
    if (!IgnoreSubDir) FolderQueue.push_back(base);

    platform::FileFind find;
    while (!FolderQueue.empty()) {
        const std::string folder = std::move(FolderQueue.front());
        FolderQueue.pop_front();
        for (bool more = find.firstFolder(platform::joinPath(folder, "*.*"), m_entryFacts); more; more = find.next()) {
            const platform::FileFindData& entry = find.data();
            // A link to a folder is not walked into: a link loop would never end.
            if (!(entry.attributes & platform::faDirectory) || entry.isSymbolicLink || isDotEntry(entry.name)) continue;
            std::string path = platform::joinPath(folder, entry.name);
            IgnoreSubDir = false;
            DoFind(path, toSearchFileData(entry), IgnoreSubDir, Continue);
            if (!Continue) return false;
            if (!IgnoreSubDir) FolderQueue.push_back(std::move(path));
        }
    }
    return true;
}

void TSearchDir::DoFind(const std::string& Name, const TSearchFileData& Data, bool& IgnoreSubDir, bool& Continue)
{
    if (OnFind) OnFind(*this, Name, Data, IgnoreSubDir, Continue);
}

}  // namespace kelmora
