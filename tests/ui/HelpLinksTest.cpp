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
    const std::string_view windows = "\\:";
    EXPECT_EQ(programName("C:\\Tools\\tool.exe", windows), "tool");
    EXPECT_EQ(programName("C:\\Tools\\a.b.exe", windows), "a.b");
    EXPECT_EQ(programName("C:\\dir.x\\prog", windows), "prog");  // a dot in a folder is no extension
    EXPECT_EQ(programName("D:name.exe", windows), "name");
    EXPECT_EQ(programName("/usr/local/bin/kelmora"), "kelmora");
    EXPECT_EQ(programName("/home/u/my.tools/kelmora"), "kelmora");
    EXPECT_EQ(programName("kelmora"), "kelmora");
}

TEST(HelpLinks, PageAddressCarriesTheNameUnescaped)
{
    EXPECT_EQ(infoPageAddress("https://kelmora.example/", "C:\\Tools\\tool.exe", "\\:"),
              "https://kelmora.example/info.php?pf=w&sn=tool");
    EXPECT_EQ(infoPageAddress("https://kelmora.example/", "/opt/k/my tool&x.bin"),
              "https://kelmora.example/info.php?pf=w&sn=my tool&x");
    EXPECT_FALSE(infoBaseAddress().empty());
}
