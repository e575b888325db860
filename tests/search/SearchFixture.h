#pragma once
// The folder tree the folder-walk tests search, and what a search reports.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "search/SearchFile.h"
#include "tests/support/TempFolder.h"

namespace kelmora::test {

// A: a1, a2, S/s1, S/T/t1
class Search : public ::testing::Test {
protected:
    void SetUp() override
    {
        A = dir / "A";
        dir.write("A/a1", "1");
        dir.write("A/a2", "22");
        dir.write("A/S/s1");
        dir.write("A/S/T/t1");
        search.setDirectory(A);
        search.setSearchName("*.*");
        search.OnFind = [this](TSearchFile&, const std::string& name, const TSearchFileData& data, bool& Continue) {
            found.push_back(name);
            foundData.push_back(data);
            events.push_back("find " + name);
            Continue = !stopAt.empty() ? name != stopAt : true;
        };
    }
    // The names reported under each folder come in the file system's order: compare them sorted.
    static std::vector<std::string> sorted(std::vector<std::string> v)
    {
        std::sort(v.begin(), v.end());
        return v;
    }

    // A path below A written with "/", in the system's own form.
    std::string at(const std::string& below) const { return dir / ("A/" + below); }

    TempFolder dir;
    std::string A;
    TSearchFile search;
    std::vector<std::string> found;
    std::vector<TSearchFileData> foundData;
    std::vector<std::string> events;
    std::string stopAt;
};

}  // namespace kelmora::test
