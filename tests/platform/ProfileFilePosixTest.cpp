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

TEST(ProfileFilePosix, ValuesReadBackAsWritten)
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

TEST(ProfileFilePosix, RefusedWriteChangesNothing)
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

TEST(ProfileFilePosix, OnlyARegularFileIsReadOrWritten)
{
    // Opening a FIFO for reading would wait for a writer: none of these may block.
    TempFolder dir;
    ASSERT_EQ(::mkfifo((dir / "fifo.ini").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("fifo.ini", (dir / "link-to-fifo.ini").c_str()), 0);
    std::filesystem::create_directory(dir / "folder.ini");
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
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
        EXPECT_EQ(file.read("S", "k"),
                  row.state == ProfileState::Read ? std::optional<std::string>("v") : std::nullopt);
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

TEST(ProfileFilePosix, WritesThroughALinkInItsTargetsFolder)
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

TEST(ProfileFilePosix, AFolderThatRefusesATemporaryFileGetsTheFileRewrittenInPlace)
{
    // A program folder the user cannot write, with a settings file they can. The
    // write runs as another user (root passes every permission check).
    struct Row {
        const char* name;
        mode_t fileMode;
        bool written;
    };
    for (const Row& row :
         {Row{"the user may write the file", 0666, true}, Row{"the user may not write the file", 0444, false}}) {
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
            arguments.insert(arguments.begin(), {"--reuid", "nobody", "--regid", "nogroup", "--clear-groups", writer});
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
