#include "search/SearchFile.h"

#include "platform/FileFind.h"
#include "platform/Paths.h"
#include "platform/System.h"

namespace kelmora {

TSearchFile::TSearchFile()
{
    searchDir_.OnFind = [this](TSearchDir& Sender, const std::string& Name, const TSearchFileData& Data,
                               bool& IgnoreSubDir,
                               bool& Continue) { SearchDirOnFind(Sender, Name, Data, IgnoreSubDir, Continue); };
}

bool TSearchFile::Search()
{
    if (busy_ || !OnFind) return false;
    busy_ = true;
    struct ClearBusy {
        bool& flag;
        ~ClearBusy() { flag = false; }
    } clearBusy{busy_};

    FolderList.clear();
    if (recursive_) {
        searchDir_.setBaseDir(directory_);
        searchDir_.setEntryFacts(m_entryFacts);
        searchDir_.Search();
    } else {
        FolderList.push_back(platform::expandFileName(directory_));
    }

    const std::string pattern = searchName_.empty() ? "*.*" : searchName_;
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
