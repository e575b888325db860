#pragma once
// Shares of a target list for runs on many machines: share K of N takes the
// targets whose file name (the path's last part, its bytes) hashes to K. A
// file always falls in the same share, whatever the host, where it mounts
// the videos, the order the targets were found in or the other targets, so
// the N shares together hold every target exactly once, and a share run
// again takes the same files. Videos of one name fall in one share, so the
// names of their images (" (2)") do not depend on which host came first.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelmora {

// 64-bit FNV-1a of the bytes: the same on every system and in every build.
std::uint64_t stableHash(std::string_view bytes);

// The share (1 to shares) that a file name falls in.
std::uint32_t shardOf(std::string_view fileName, std::uint32_t shares);

// The targets (paths) of share (1 to shares), in their order.
std::vector<std::string> targetsOfShard(const std::vector<std::string>& targets, std::uint32_t share,
                                        std::uint32_t shares);

}  // namespace kelmora
