// Records added by many writers at once land whole, and a file's stamp tells
// one version from another.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <thread>
#include <vector>

#include "platform/RecordFile.h"
#include "tests/support/TempFolder.h"

namespace kelmora::platform {
namespace {

using test::TempFolder;

TEST(RecordFile, RecordsOfWritersAtOnceLandWholeAndNeverInterleave)
{
    TempFolder dir;
    const std::string path = dir / "records";
    constexpr int kWriters = 4, kRecords = 200;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&path, w] {
            // Long records: one write each, longer than a small buffer would take at once.
            for (int r = 0; r < kRecords; ++r)
                EXPECT_EQ(
                    appendInOneWrite(path, std::string(5000, static_cast<char>('a' + w)) + std::to_string(r) + "\n"),
                    0);
        });
    }
    for (std::thread& writer : writers) writer.join();
    const std::optional<std::string> text = readWholeFile(path);
    ASSERT_TRUE(text);
    std::set<std::string> seen;
    std::size_t lines = 0;
    for (std::size_t start = 0, end; start < text->size(); start = end + 1) {
        end = text->find('\n', start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = text->substr(start, end - start);
        ASSERT_EQ(line.find_first_not_of(line[0]), 5000u) << "a record of one writer, whole";
        seen.insert(line);
        ++lines;
    }
    EXPECT_EQ(lines, static_cast<std::size_t>(kWriters * kRecords));
    EXPECT_EQ(seen.size(), lines);
}

TEST(RecordFile, AStampChangesWithTheFileAndNoneForAMissingOne)
{
    TempFolder dir;
    const std::string path = dir.write("video", "12345");
    const std::optional<FileStamp> before = fileStamp(path);
    ASSERT_TRUE(before);
    EXPECT_EQ(before->size, 5);
    EXPECT_EQ(fileStamp(path), before);
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - std::chrono::hours(1));
    const std::optional<FileStamp> touched = fileStamp(path);
    ASSERT_TRUE(touched);
    EXPECT_EQ(touched->size, 5);
    // An hour back, give or take the second a system may round the time it sets to.
    EXPECT_NEAR(static_cast<double>(before->modifiedNs - touched->modifiedNs), 3600e9, 1e9);
    EXPECT_FALSE(fileStamp(dir / "missing"));
    EXPECT_FALSE(readWholeFile(dir / "missing"));
    EXPECT_EQ(appendInOneWrite(dir / "no/such/folder/records", "x\n"), ENOENT);
}

}  // namespace
}  // namespace kelmora::platform
