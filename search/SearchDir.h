#pragma once
// Walks a folder tree breadth first and reports every folder: the base folder
// itself, then its sub-folders, then theirs, each level in the order the file
// system lists them. A symbolic link to a folder is not walked into, so a link
// loop cannot make the walk endless (the link itself is an entry of its folder).

#include <deque>
#include <functional>
#include <string>

#include "search/SearchFileData.h"

namespace kelmora {

class TSearchDir {
public:
    // Name: the folder's full path. IgnoreSubDir: do not walk below this folder.
    // Continue: false stops the walk.
    using TSearchDirEvent = std::function<void(TSearchDir& Sender, const std::string& Name, const TSearchFileData& Data,
                                               bool& IgnoreSubDir, bool& Continue)>;

    virtual ~TSearchDir() = default;

    const std::string& BaseDir() const { return m_baseDir; }
    void setBaseDir(const std::string& value) { m_baseDir = value; }
    bool Busy() const { return m_busy; }
    // What OnFind reads of Data beside the name. NameAndKind spares examining
    // every folder (FileName, ShortName, IsDirectory and IsHidden are filled;
    // on POSIX the size, times and read-only bit stay empty); Full fills all.
    platform::EntryFacts entryFacts() const { return m_entryFacts; }
    void setEntryFacts(platform::EntryFacts value) { m_entryFacts = value; }

    TSearchDirEvent OnFind;

    // False when the walk did not start (busy, no OnFind, BaseDir missing) or was stopped.
    bool Search();

protected:
    virtual void DoFind(const std::string& Name, const TSearchFileData& Data, bool& IgnoreSubDir, bool& Continue);

private:
    std::string m_baseDir;
    bool m_busy = false;
    platform::EntryFacts m_entryFacts = platform::EntryFacts::Full;
    std::deque<std::string> FolderQueue;
};

}  // namespace kelmora
