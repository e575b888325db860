#pragma once
// Reports every entry that matches a wildcard pattern in one folder or, with
// Recursive, in a folder and every folder below it. Two phases: the folders
// are collected first (breadth first, OnFindDir may leave some out), then
// each is listed. Nothing is kept: every entry goes to OnFind.

#include <functional>
#include <string>
#include <vector>

#include "search/SearchDir.h"

namespace kelmora {

class TSearchFile {
public:
    // Name: the entry's full path. Continue: false stops the search.
    using TFindFileEvent =
        std::function<void(TSearchFile& Sender, const std::string& Name, const TSearchFileData& Data, bool& Continue)>;
    // A folder about to be listed. Skip: do not list it. IgnoreSubDir: do not go below it.
    using TFindDirEvent = std::function<void(TSearchFile& Sender, const std::string& Name, const TSearchFileData& Data,
                                             bool& Skip, bool& IgnoreSubDir)>;

    TSearchFile();
    virtual ~TSearchFile() = default;
    TSearchFile(const TSearchFile&) = delete;
    TSearchFile& operator=(const TSearchFile&) = delete;

    const std::string& Directory() const { return m_directory; }
    void setDirectory(const std::string& value) { m_directory = value; }
    const std::string& SearchName() const { return m_searchName; }  // empty means "*.*"
    void setSearchName(const std::string& value) { m_searchName = value; }
    bool Recursive() const { return m_recursive; }
    void setRecursive(bool value) { m_recursive = value; }
    bool Busy() const { return m_busy; }
    // What OnFind and OnFindDir read of Data beside the name. NameAndKind
    // spares examining every entry (FileName, ShortName, IsDirectory and
    // IsHidden are filled; on POSIX the size, times and read-only bit stay
    // empty): a walk that only collects names costs little more than listing
    // the folders. Full, the default, fills every field.
    platform::EntryFacts entryFacts() const { return m_entryFacts; }
    void setEntryFacts(platform::EntryFacts value) { m_entryFacts = value; }

    TFindFileEvent OnFind;
    TFindDirEvent OnFindDir;

    // True when the search ran to its end; false when it did not start (busy,
    // no OnFind) or OnFind stopped it.
    bool Search();

protected:
    virtual void DoFind(const std::string& Name, const TSearchFileData& Data, bool& Continue);
    virtual void DoFindDir(const std::string& Name, const TSearchFileData& Data, bool& Skip, bool& IgnoreSubDir);

private:
    void SearchDirOnFind(TSearchDir& Sender, const std::string& Name, const TSearchFileData& Data, bool& IgnoreSubDir,
                         bool& Continue);

    std::string m_directory;
    std::string m_searchName;
    bool m_recursive = false;
    bool m_busy = false;
    platform::EntryFacts m_entryFacts = platform::EntryFacts::Full;
    std::vector<std::string> FolderList;
    TSearchDir m_searchDir;
};

}  // namespace kelmora
