// Usage: bench_walk [names|full] FOLDER
// Walks FOLDER recursively for "*.*" with TSearchFile and prints
// "<entries> <seconds>" (entries including FOLDER itself, as find counts it).
// "names" asks only for names and kinds, as registration does; "full" (the
// default) for every fact of every entry.

#include <chrono>
#include <cstdio>
#include <string>

#include "search/SearchFile.h"

int main(int argc, char** argv)
{
    const std::string mode = argc == 3 ? argv[1] : "full";
    if ((argc != 2 && argc != 3) || (mode != "names" && mode != "full")) {
        std::fprintf(stderr, "usage: %s [names|full] FOLDER\n", argv[0]);
        return 2;
    }
    kelmora::TSearchFile search;
    search.setDirectory(argv[argc - 1]);
    search.setSearchName("*.*");
    search.setRecursive(true);
    search.setEntryFacts(mode == "names" ? kelmora::platform::EntryFacts::NameAndKind
                                         : kelmora::platform::EntryFacts::Full);
    long entries = 1;
    std::uint64_t bytes = 0;  // uses the data, so the walk cannot be cut short
    search.OnFind = [&](kelmora::TSearchFile&, const std::string& name, const kelmora::TSearchFileData& data, bool&) {
        ++entries;
        bytes += name.size() + static_cast<std::uint64_t>(data.Size);
    };
    const auto start = std::chrono::steady_clock::now();
    search.Search();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%ld %.3f\n", entries, took.count());
    return bytes == 0 && entries > 1 ? 1 : 0;
}
