#include "cut/Shard.h"

#include "platform/Paths.h"

namespace kelmora {

std::uint64_t stableHash(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::uint32_t shardOf(std::string_view fileName, std::uint32_t shares)
{
    if (shares <= 1) return 1;
    return static_cast<std::uint32_t>(stableHash(fileName) % shares) + 1;
}

std::vector<std::string> targetsOfShard(const std::vector<std::string>& targets, std::uint32_t share,
                                        std::uint32_t shares)
{
    std::vector<std::string> taken;
    for (const std::string& target : targets)
        if (shardOf(platform::fileNamePart(target), shares) == share) taken.push_back(target);
    return taken;
}

}  // namespace kelmora
