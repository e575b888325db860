#pragma once
// A fresh folder in the system's temporary folder for one test, removed with
// everything in it. Paths use the system's own separator.

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

namespace kelmora::test {

class TempFolder {
public:
    TempFolder()
    {
        std::random_device random;
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            const auto candidate = std::filesystem::temp_directory_path() / ("kelmora-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) m_path = candidate.string();
        }
        if (m_path.empty()) throw std::runtime_error("no temporary folder");
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    // "a/b" below the folder, with the system's separator.
    std::string operator/(const std::string& name) const
    {
        return (std::filesystem::path(m_path) / std::filesystem::path(name).make_preferred()).string();
    }

    // Writes a file below the folder (parents made as needed) and returns its path.
    std::string write(const std::string& name, const std::string& content = {}) const
    {
        const std::string file = *this / name;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

    static std::string read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::string m_path;
};

}  // namespace kelmora::test
