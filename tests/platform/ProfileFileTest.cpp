#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include "platform/Process.h"
#include "platform/ProfileFile.h"
#include "tests/support/TempFolder.h"

using namespace kelmora::platform;
using kelmora::test::TempFolder;

TEST(ProfileFile, ReadsLikeTheWindowsProfileFunctions)
{
    TempFolder dir;
    const std::string path = dir.write("a.ini",
                                       "top=outside\r\n"
                                       "; comment=not a key\n"
                                       " [ set1 ] \r"
                                       "  S1 = 0x10  \n"
                                       ";S2=5\n"
                                       "s1=second\n"
                                       "Q=\"  quoted  \"\n"
                                       "H='half\n"
                                       "E=\n"
                                       "[SET1]\n"
                                       "S2=later section\n"
                                       "[other]\n"
                                       "S1=other");
    const ProfileFile file(path);
    EXPECT_EQ(file.read("SET1", "S1"), "0x10");          // case, blanks, CR line end
    EXPECT_EQ(file.read("SET1", "Q"), "  quoted  ");     // quotes taken off, inner blanks kept
    EXPECT_EQ(file.read("SET1", "H"), "'half");          // no matching pair: kept
    EXPECT_EQ(file.read("SET1", "E"), "");
    EXPECT_EQ(file.read("SET1", "S2"), std::nullopt);    // commented out; the second [SET1] is not read
    EXPECT_EQ(file.read("other", "s1"), "other");        // last line without an ending
    EXPECT_EQ(file.read("SET1", "top"), std::nullopt);   // lines before any section belong to none
    EXPECT_EQ(ProfileFile(dir / "missing.ini").read("SET", "M_LEFT"), std::nullopt);
}

TEST(ProfileFile, WritesKeepEveryOtherByte)
{
    TempFolder dir;
    const std::string original =
        "; my notes\r\n"
        "[SET]\r\n"
        "M_LEFT=1\r\n"
        "Mine = keep  \r\n"
        "\r\n"
        "; about SET1\r\n"
        "[set1]\r\n"
        "R1=1\r\n"
        "\r\n"
        "[Foreign]\r\n"
        "x=y";
    const std::string path = dir.write("k.ini", original);
    ProfileFile file(path);
    ASSERT_TRUE(file.write("SET", "m_left", "300"));   // updated in place
    ASSERT_TRUE(file.write("SET", "M_TOP", "40"));     // after the section's last key
    ASSERT_TRUE(file.write("SET1", "B1", "/v"));       // after R1, before the blank line
    ASSERT_TRUE(file.write("New", "k", "v"));          // new section at the end
    EXPECT_EQ(TempFolder::read(path),
              "; my notes\r\n"
              "[SET]\r\n"
              "m_left=300\r\n"
              "Mine = keep  \r\n"
              "M_TOP=40\r\n"
              "\r\n"
              "; about SET1\r\n"
              "[set1]\r\n"
              "R1=1\r\n"
              "B1=/v\r\n"
              "\r\n"
              "[Foreign]\r\n"
              "x=y\r\n"
              "[New]\r\n"
              "k=v\r\n");
}

TEST(ProfileFile, ValuesReadBackAsWritten)
{
    TempFolder dir;
    ProfileFile file(dir / "v.ini");
    ASSERT_TRUE(file.write("S", "empty", ""));
    ASSERT_TRUE(file.write("S", "blank", " /tmp/a b "));
    ASSERT_TRUE(file.write("S", "quoted", "\"x\""));
    ASSERT_TRUE(file.write("S", "bytes", "/v/\xFF\xFE=;[x]"));
    ASSERT_TRUE(file.write("S", "broken", "first\nsecond=injected"));
    ASSERT_TRUE(file.write("S", "empty", "now set"));
    EXPECT_EQ(file.read("S", "empty"), "now set");
    EXPECT_EQ(file.read("S", "blank"), " /tmp/a b ");
    EXPECT_EQ(file.read("S", "quoted"), "\"x\"");
    EXPECT_EQ(file.read("S", "bytes"), "/v/\xFF\xFE=;[x]");
    // A line break cannot be stored in a value: it ends the value, and no key is injected.
    EXPECT_EQ(file.read("S", "broken"), "first");
    EXPECT_EQ(file.read("S", "second"), std::nullopt);
    EXPECT_EQ(TempFolder::read(dir / "v.ini"),
              "[S]\nempty=now set\nblank=\" /tmp/a b \"\nquoted=\"\"x\"\"\nbytes=/v/\xFF\xFE=;[x]\nbroken=first\n");
}

TEST(ProfileFile, RefusedWriteChangesNothing)
{
    TempFolder dir;
    const std::string path = dir.write("r.ini", "[SET]\nM_LEFT=1\n");
    ::chmod(path.c_str(), 0444);
    struct stat st {};
    ProfileFile readOnly(path);
    EXPECT_FALSE(readOnly.write("SET", "M_LEFT", "2"));
    EXPECT_EQ(TempFolder::read(path), "[SET]\nM_LEFT=1\n");

    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);

    // The name is taken by a folder: the rename fails and the folder stays.
    std::filesystem::create_directory(dir / "dir.ini");
    dir.write("dir.ini/inside", "x");
    EXPECT_FALSE(ProfileFile(dir / "dir.ini").write("SET", "M_LEFT", "2"));
    EXPECT_EQ(TempFolder::read(dir / "dir.ini/inside"), "x");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);  // no temporary left

}

TEST(ProfileFile, MissingFolderIsAnError)
{
    TempFolder dir;
    ProfileFile file(dir / "no/such/folder.ini");
    EXPECT_FALSE(file.write("SET", "M_LEFT", "1"));
}

namespace {

struct EndingRow {
    const char* name;
    std::string before;
    std::string after;  // once S/K is set to "v"
};

void PrintTo(const EndingRow& row, std::ostream* os) { *os << row.name; }

class ProfileFileEndings : public ::testing::TestWithParam<EndingRow> {};

}  // namespace

TEST_P(ProfileFileEndings, AddedKeyKeepsEveryLine)
{
    TempFolder dir;
    const std::string path = dir.write("e.ini", GetParam().before);
    ASSERT_TRUE(ProfileFile(path).write("S", "K", "v"));
    EXPECT_EQ(TempFolder::read(path), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProfileFileEndings,
    ::testing::Values(
        EndingRow{"BlankLfLineAfterTheKeyStays", "[S]\rA=1\r\n\n[T]\rx=y\r", "[S]\rA=1\r\nK=v\r\n\n[T]\rx=y\r"},
        EndingRow{"EndingOfTheLineBefore", "[S]\nA=1\r\n[T]\n", "[S]\nA=1\r\nK=v\r\n[T]\n"},
        EndingRow{"LastLineWithoutEnding", "[S]\r\nA=1", "[S]\r\nA=1\r\nK=v\r\n"},
        EndingRow{"NewSectionInTheFirstLinesEnding", "[T]\rx=y\n", "[T]\rx=y\n[S]\rK=v\r"}),
    [](const ::testing::TestParamInfo<EndingRow>& row) { return std::string(row.param.name); });

TEST(ProfileFile, OnlyARegularFileIsReadOrWritten)
{
    // Opening a FIFO for reading would wait for a writer: none of these may block.
    TempFolder dir;
    ASSERT_EQ(::mkfifo((dir / "fifo.ini").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("fifo.ini", (dir / "link-to-fifo.ini").c_str()), 0);
    std::filesystem::create_directory(dir / "folder.ini");
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", (dir / "socket.ini").c_str());
    ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    dir.write("file.ini", "[S]\nk=v\n");
    ASSERT_EQ(::symlink("file.ini", (dir / "link-to-file.ini").c_str()), 0);

    struct Row {
        const char* name;
        ProfileState state;
    };
    for (const Row& row : {Row{"fifo.ini", ProfileState::NotAFile}, Row{"link-to-fifo.ini", ProfileState::NotAFile},
                           Row{"folder.ini", ProfileState::NotAFile}, Row{"socket.ini", ProfileState::NotAFile},
                           Row{"missing.ini", ProfileState::Missing}, Row{"file.ini", ProfileState::Read},
                           Row{"link-to-file.ini", ProfileState::Read}}) {
        SCOPED_TRACE(row.name);
        ProfileFile file(dir / row.name);
        ProfileText text;
        EXPECT_EQ(file.load(text), row.state);
        EXPECT_EQ(file.read("S", "k"), row.state == ProfileState::Read ? std::optional<std::string>("v") : std::nullopt);
        if (row.state != ProfileState::NotAFile) continue;
        struct stat before {};
        ASSERT_EQ(::lstat((dir / row.name).c_str(), &before), 0);
        EXPECT_FALSE(file.write("S", "k", "w"));  // not replaced by a regular file
        struct stat after {};
        ASSERT_EQ(::lstat((dir / row.name).c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_ino, before.st_ino);
    }
    ::close(listening);
}

TEST(ProfileFile, WritesThroughALinkInItsTargetsFolder)
{
    // Settings kept in a dotfiles folder: the link stays a link, and the target is
    // replaced in its own folder (a rename cannot cross folders, and none is left behind).
    struct Row {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;  // link, what it points to
        bool targetExists;
    };
    const Row rows[] = {
        {"relative link", {{"prog/Kelmora.ini", "../dots/Kelmora.ini"}}, true},
        {"absolute link", {{"prog/Kelmora.ini", "@/dots/Kelmora.ini"}}, true},
        {"link to a link", {{"prog/Kelmora.ini", "hop.ini"}, {"prog/hop.ini", "../dots/Kelmora.ini"}}, true},
        {"link to a file not made yet", {{"prog/Kelmora.ini", "../dots/Kelmora.ini"}}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder dir;
        std::filesystem::create_directories(dir / "prog");
        std::filesystem::create_directories(dir / "dots");
        if (row.targetExists) dir.write("dots/Kelmora.ini", "; mine\n[SET]\nM_LEFT=1\n");
        for (const auto& [link, to] : row.links) {
            const std::string target = to.front() == '@' ? dir.path() + to.substr(1) : to;
            ASSERT_EQ(::symlink(target.c_str(), (dir / link).c_str()), 0);
        }
        ProfileFile file(dir / "prog/Kelmora.ini");
        ASSERT_TRUE(file.write("SET", "M_LEFT", "5"));
        for (const auto& [link, to] : row.links) EXPECT_TRUE(std::filesystem::is_symlink(dir / link)) << link;
        EXPECT_EQ(TempFolder::read(dir / "dots/Kelmora.ini"),
                  row.targetExists ? "; mine\n[SET]\nM_LEFT=5\n" : "[SET]\nM_LEFT=5\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "dots"), {}), 1);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "prog"), {}),
                  static_cast<long>(row.links.size()));
    }
}

TEST(ProfileFile, UpdatesFromTwoWritersWaitForEachOther)
{
    // Each update reads a count and writes it plus one: a lost update shows as a short count.
    TempFolder dir;
    const std::string path = dir.write("count.ini", "[N]\ncount=0\n");
    constexpr int perWriter = 60;
    const auto count = [&path] {
        ProfileFile file(path);  // a file object of its own, as a second window has
        for (int i = 0; i < perWriter; ++i) {
            ASSERT_TRUE(file.update([](ProfileText& text) {
                text.write("N", "count", std::to_string(std::stoi(text.read("N", "count").value()) + 1));
            }));
        }
    };
    std::thread first(count);
    std::thread second(count);
    first.join();
    second.join();
    EXPECT_EQ(ProfileFile(path).read("N", "count"), std::to_string(2 * perWriter));
}

TEST(ProfileFile, AFolderThatRefusesATemporaryFileGetsTheFileRewrittenInPlace)
{
    // A program folder the user cannot write, with a settings file they can. The
    // write runs as another user (root passes every permission check).
    struct Row {
        const char* name;
        mode_t fileMode;
        bool written;
    };
    for (const Row& row : {Row{"the user may write the file", 0666, true},
                           Row{"the user may not write the file", 0444, false}}) {
        SCOPED_TRACE(row.name);
        TempFolder dir;
        ::chmod(dir.path().c_str(), 0755);
        const std::string writer = dir / "profile_writer";
        std::filesystem::copy_file(KELMORA_PROFILE_WRITER, writer);
        const std::string path = dir.write("prog/Kelmora.ini", "; mine\r\n[SET]\r\nM_LEFT=1\r\n");
        ::chmod(path.c_str(), row.fileMode);
        ::chmod((dir / "prog").c_str(), 0555);
        struct stat before {};
        ASSERT_EQ(::stat(path.c_str(), &before), 0);

        std::vector<std::string> arguments = {path, "SET", "M_LEFT", "300"};
        std::string program = writer;
        if (::geteuid() == 0) {
            program = findProgram("setpriv", "");
            ASSERT_FALSE(program.empty());
            arguments.insert(arguments.begin(),
                             {"--reuid", "nobody", "--regid", "nogroup", "--clear-groups", writer});
        }
        std::optional<ChildProcess> run = ChildProcess::startHidden(program, arguments);
        ASSERT_TRUE(run);
        ASSERT_TRUE(run->waitFor(-1));
        ::chmod((dir / "prog").c_str(), 0755);

        EXPECT_EQ(run->exitStatus() == 0, row.written) << "exit status " << run->exitStatus();
        EXPECT_EQ(TempFolder::read(path),
                  row.written ? "; mine\r\n[SET]\r\nM_LEFT=300\r\n" : "; mine\r\n[SET]\r\nM_LEFT=1\r\n");
        struct stat after {};
        ASSERT_EQ(::stat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "prog"), {}), 1);
    }
}
