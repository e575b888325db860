#include "cli/ImageFiles.h"

#include "platform/System.h"

namespace kelmora::cli {

std::string imageFile(const std::string& pattern, std::size_t n)
{
    std::string name;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 4, "%05d") == 0) {
            const std::string digits = std::to_string(n);
            name += std::string(digits.size() < 5 ? 5 - digits.size() : 0, '0') + digits;
            i += 3;
        } else if (pattern.compare(i, 2, "%d") == 0) {
            name += std::to_string(n);
            i += 1;
        } else if (pattern.compare(i, 2, "%%") == 0) {
            name += '%';
            i += 1;
        } else {
            name += pattern[i];
        }
    }
    return name;
}

std::size_t countImages(const std::string& pattern)
{
    std::size_t count = 0;
    while (platform::entryExists(imageFile(pattern, count + 1))) ++count;
    return count;
}

bool removeLastImage(const std::string& pattern)
{
    const std::size_t count = countImages(pattern);
    return count > 0 && platform::deleteFile(imageFile(pattern, count));
}

}  // namespace kelmora::cli
