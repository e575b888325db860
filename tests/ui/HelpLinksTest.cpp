#include <gtest/gtest.h>

#include "ui/HelpLinks.h"

using namespace kelmora;

TEST(HelpLinks, ReadmePathFollowsTheProgramFolderWithinTheLimit)
{
    EXPECT_EQ(readmePath("C:\\Tools"), "C:\\Tools/Readme.txt");
    EXPECT_EQ(readmePath("C:\\"), "C:\\/Readme.txt");
    EXPECT_EQ(readmePath("/opt/kelmora"), "/opt/kelmora/Readme.txt");

    // 252 bytes with the terminating zero: a path of 251 bytes fits, 252 does not.
    const std::string fits(251 - 11, 'a');
    ASSERT_EQ(readmePath(fits)->size(), 251u);
    EXPECT_EQ(readmePath(fits + "b"), std::nullopt);
}

TEST(HelpLinks, ProgramNameDropsFolderAndLastExtension)
{
    using platform::CodePage;
    const auto windows = platform::PathStyle::Windows;
    const auto posix = platform::PathStyle::Posix;
    EXPECT_EQ(programName("C:\\Tools\\tool.exe", windows), "tool");
    EXPECT_EQ(programName("C:\\Tools\\a.b.exe", windows), "a.b");
    EXPECT_EQ(programName("C:\\dir.x\\prog", windows), "prog");  // a dot in a folder is no extension
    EXPECT_EQ(programName("D:name.exe", windows), "name");
    EXPECT_EQ(programName("/usr/local/bin/kelmora", posix), "kelmora");
    EXPECT_EQ(programName("/home/u/my.tools/kelmora", posix), "kelmora");
    EXPECT_EQ(programName("kelmora", posix), "kelmora");
    // A double-byte name whose trail byte is the code of "\\" stays whole.
    EXPECT_EQ(programName("C:\\\x83\x5c.exe", windows, CodePage::Cp932), "\x83\x5c");
}

TEST(HelpLinks, PageAddressCarriesTheNameUnescaped)
{
    EXPECT_EQ(infoPageAddress("https://kelmora.example/", "C:\\Tools\\tool.exe",
                              platform::PathStyle::Windows),
              "https://kelmora.example/info.php?pf=w&sn=tool");
    EXPECT_EQ(infoPageAddress("https://kelmora.example/", "/opt/k/my tool&x.bin", platform::PathStyle::Posix),
              "https://kelmora.example/info.php?pf=w&sn=my tool&x");
    EXPECT_FALSE(infoBaseAddress().empty());
}
