#include "search/SearchFile.h"

#include "platform/FileFind.h"
#include "platform/Paths.h"
#include "platform/System.h"

namespace kelmora {

TSearchFile::TSearchFile()
{
    m_searchDir.OnFind = [this](TSearchDir& Sender, const std::string& Name, const TSearchFileData& Data,
                                bool& IgnoreSubDir,
                                bool& Continue) { SearchDirOnFind(Sender, Name, Data, IgnoreSubDir, Continue); };
}

bool TSearchFile::Search()
{
    if (m_busy || !OnFind) return false;
    m_busy = true;
    struct ClearBusy {
        bool& flag;
        ~ClearBusy() { flag = false; }
    } clearBusy{m_busy};

    FolderList.clear();
    if (m_recursive) {
        m_searchDir.setBaseDir(m_directory);
        m_searchDir.setEntryFacts(m_entryFacts);
        m_searchDir.Search();
    } else {
        FolderList.push_back(platform::expandFileName(m_directory));
    }

    const std::string pattern = m_searchName.empty() ? "*.*" : m_searchName;
    bool Continue = true;
    platform::FileFind find;
    for (const std::string& folder : FolderList) {
        for (bool more = find.first(platform::joinPath(folder, pattern), m_entryFacts); more; more = find.next()) {
            const std::string& name = find.data().name;
            if (name == "." || name == "..") continue;
            DoFind(platform::joinPath(folder, name), toSearchFileData(find.data()), Continue);
            if (!Continue) return false;
        }
    }
    return true;
}

void TSearchFile::DoFind(const std::string& Name, const TSearchFileData& Data, bool& Continue)
{
    if (OnFind) OnFind(*this, Name, Data, Continue);
}

void TSearchFile::DoFindDir(const std::string& Name, const TSearchFileData& Data, bool& Skip, bool& IgnoreSubDir)
{
    if (OnFindDir) OnFindDir(*this, Name, Data, Skip, IgnoreSubDir);
}

void TSearchFile::SearchDirOnFind(TSearchDir&, const std::string& Name, const TSearchFileData& Data, bool& IgnoreSubDir,
                                  bool&)
{
    bool Skip = false;
    DoFindDir(Name, Data, Skip, IgnoreSubDir);
    if (!Skip) FolderList.push_back(Name);
}

}  // namespace kelmora
