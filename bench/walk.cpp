// Usage: bench_walk FOLDER
// Walks FOLDER recursively for "*.*" with TSearchFile and prints
// "<entries> <seconds>" (entries including FOLDER itself, as find counts it).

#include <chrono>
#include <cstdio>

#include "search/SearchFile.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    kelmora::TSearchFile search;
    search.setDirectory(argv[1]);
    search.setSearchName("*.*");
    search.setRecursive(true);
    long entries = 1;
    std::uint64_t bytes = 0;  // uses the data, so the walk cannot be cut short
    search.OnFind = [&](kelmora::TSearchFile&, const std::string& name, const kelmora::TSearchFileData& data,
                        bool&) {
        ++entries;
        bytes += name.size() + static_cast<std::uint64_t>(data.Size);
    };
    const auto start = std::chrono::steady_clock::now();
    search.Search();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%ld %.3f\n", entries, took.count());
    return bytes == 0 && entries > 1 ? 1 : 0;
}
