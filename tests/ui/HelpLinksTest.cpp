#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "MainFormFixture.h"
#include "platform/System.h"
#include "tests/support/TempFolder.h"
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
    EXPECT_EQ(infoPageAddress("https://kelmora.example/", "C:\\Tools\\tool.exe", platform::PathStyle::Windows),
              "https://kelmora.example/info.php?pf=w&sn=tool");
    EXPECT_EQ(infoPageAddress("https://kelmora.example/", "/opt/k/my tool&x.bin", platform::PathStyle::Posix),
              "https://kelmora.example/info.php?pf=w&sn=my tool&x");
}

TEST(HelpLinks, InstalledGuideSitsUnderTheSharedDocumentFolder)
{
    EXPECT_EQ(installedGuideFolder("/usr/bin"), "/usr/share/doc/kelmora");
    EXPECT_EQ(installedGuideFolder("/tmp/prefix/bin"), "/tmp/prefix/share/doc/kelmora");
}

// The two title-strip buttons on a program installed as prefix/bin/kelmora,
// with the guide beside the program, in the installed place, both or neither.
struct GuideRow {
    const char* name;
    bool besideProgram;
    bool installed;
    const char* opensFrom;  // folder below the prefix that the buttons open the guide from; none: a notice each
};

class GuideButtons : public test::MainFormTest, public ::testing::WithParamInterface<GuideRow> {
protected:
    void SetUp() override
    {
        test::MainFormTest::SetUp();
        setLinkOpener([this](const std::string& link) { opened.push_back(link); });
    }
    void TearDown() override
    {
        setLinkOpener(nullptr);
        test::MainFormTest::TearDown();
    }

    std::vector<std::string> opened;
};

TEST_P(GuideButtons, OpenTheGuideWhereItIs)
{
    const GuideRow& row = GetParam();
    for (const char* name : {"Readme.txt", "Readme.html"}) {
        if (row.besideProgram) writeFile(QStringLiteral("bin/") + QLatin1String(name), "guide");
        if (row.installed) writeFile(QStringLiteral("share/doc/kelmora/") + QLatin1String(name), "guide");
    }
    QDir(folder.path()).mkpath(QStringLiteral("bin"));
    form = std::make_unique<TMainForm1>(path(QStringLiteral("bin")), std::vector<std::string>{});
    form->FormActivate();
    form->show();

    QTest::mouseClick(form->SSButton3, Qt::LeftButton);
    QTest::mouseClick(form->SSButton4, Qt::LeftButton);

    if (!row.opensFrom) {
        // Nothing is silent: each button names the file it looked for.
        ASSERT_TRUE(opened.empty() || !infoBaseAddress().empty());
        ASSERT_FALSE(notices.empty());
        EXPECT_TRUE(notices[0].text.endsWith(QString::fromStdString(path(QStringLiteral("bin/Readme.txt")))));
        return;
    }
    const std::string guideFolder = path(QString::fromLatin1(row.opensFrom));
    const std::string info = infoBaseAddress().empty() ? guideFolder + "/Readme.html"
                                                       : infoPageAddress(infoBaseAddress(), platform::programPath());
    EXPECT_EQ(opened, (std::vector<std::string>{guideFolder + "/Readme.txt", info}));
    EXPECT_TRUE(notices.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, GuideButtons,
                         ::testing::Values(GuideRow{"BesideOnly", true, false, "bin"},
                                           GuideRow{"InstalledOnly", false, true, "share/doc/kelmora"},
                                           GuideRow{"BothPreferBeside", true, true, "bin"},
                                           GuideRow{"NeitherTellsWhereItLooked", false, false, nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

// Without a web address the information button opens the guide's page; with
// one, the page on the web.
TEST(HelpLinks, InfoLinkIsTheGuidePageUnlessAnAddressIsSet)
{
    test::TempFolder prefix;
    prefix.write("share/doc/kelmora/Readme.html", "guide");
    std::filesystem::create_directories(prefix / "bin");
    const std::string program = prefix / "bin/kelmora";
    const struct {
        const char* name;
        const char* base;
        std::string expected;
    } rows[] = {
        {"no address: the installed page", "", prefix / "share/doc/kelmora/Readme.html"},
        {"an address: the web page", "https://example.org/k/", "https://example.org/k/info.php?pf=w&sn=kelmora"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(infoLink(row.base, program, prefix / "bin"), row.expected);
    }
}

// A desktop without a viewer: each link that cannot start one says so, naming
// what to open by hand.
class DesktopWithoutViewer : public test::MainFormTest {};

TEST_F(DesktopWithoutViewer, ALinkNoViewerOpensIsNamedInANotice)
{
    writeFile(QStringLiteral("Readme.txt"), "guide");
    writeFile(QStringLiteral("Readme.html"), "guide");
    QTemporaryDir emptyPath;
    const QByteArray searchPath = qgetenv("PATH");
    qputenv("PATH", emptyPath.path().toLocal8Bit());
    open().show();
    QTest::mouseClick(form->SSButton3, Qt::LeftButton);
    QTest::mouseClick(form->SSButton4, Qt::LeftButton);
    qputenv("PATH", searchPath);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_TRUE(notices[0].text.endsWith(QString::fromStdString(path(QStringLiteral("Readme.txt")))));
    const QString info = infoBaseAddress().empty()
                             ? QString::fromStdString(path(QStringLiteral("Readme.html")))
                             : QString::fromStdString(infoPageAddress(infoBaseAddress(), platform::programPath()));
    EXPECT_TRUE(notices[1].text.endsWith(info));
}
