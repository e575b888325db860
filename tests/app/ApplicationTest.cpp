// The program's start as main() makes it: what the toolkit gets of the command
// line, the colours of its windows and the language of the toolkit's dialogs.
// One application object for the whole run, built from an argument list full
// of the toolkit's own options, in the C locale.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStyle>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/Application.h"
#include "tests/support/NoWindowLeftOpen.h"
#include "ui/MainForm1.h"

namespace kelmora {
namespace {

const char* const kArguments[] = {"kelmora", "-reverse", "-style", "windows", "-platform", "xcb",
                                  "-qwindowtitle", "x", "-session", "clip.mp4"};
Application* g_application = nullptr;

TEST(ProgramStart, EveryArgumentIsATargetAndNoneReachesTheToolkit)
{
    EXPECT_EQ(g_application->targets(), std::vector<std::string>(std::begin(kArguments) + 1, std::end(kArguments)));
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));  // from the environment
    EXPECT_NE(QApplication::style()->name().toLower(), QStringLiteral("windows"));

    // The files named like options are registered as the window's targets.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    for (const char* name : {"-reverse", "-style", "windows"}) {
        QFile file(QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    TMainForm1 window(folder.path().toStdString(), g_application->targets());
    window.FormActivate();
    QDir::setCurrent(previous);
    EXPECT_EQ(window.Targets(), (std::vector<std::string>{"-reverse", "-style", "windows"}));
    EXPECT_EQ(window.layoutDirection(), Qt::LeftToRight);
}

TEST(ProgramStart, TheToolkitsDialogsSpeakJapanese)
{
    QFileDialog picker;
    picker.setOption(QFileDialog::DontUseNativeDialog);
    const std::pair<QFileDialog::DialogLabel, const char*> labels[] = {
        {QFileDialog::LookIn, "アドレス:"},
        {QFileDialog::Reject, "キャンセル"},
    };
    for (const auto& [label, text] : labels) {
        SCOPED_TRACE(label);
        EXPECT_EQ(picker.labelText(label), QString::fromUtf8(text));
    }
    QMessageBox box(QMessageBox::Question, QStringLiteral("Kelmora"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
}

TEST(ProgramStart, WindowsAndDialogsAreDrawnInTheClassicColours)
{
    const struct {
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
        QRgb rgb;
    } rows[] = {
        {QPalette::Active, QPalette::Window, 0xD4D0C8},     {QPalette::Active, QPalette::Button, 0xD4D0C8},
        {QPalette::Inactive, QPalette::Highlight, 0x0A246A}, {QPalette::Active, QPalette::HighlightedText, 0xFFFFFF},
        {QPalette::Active, QPalette::Base, 0xFFFFFF},       {QPalette::Active, QPalette::ToolTipBase, 0xFFFFE1},
        {QPalette::Disabled, QPalette::Text, 0x808080},     {QPalette::Active, QPalette::Shadow, 0x404040},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.group << "/" << row.role);
        EXPECT_EQ(QApplication::palette().color(row.group, row.role).rgb() & 0xFFFFFF, row.rgb);
    }
    // A message box's face, as drawn.
    QMessageBox box(QMessageBox::Information, QStringLiteral("Kelmora"), QStringLiteral("x"));
    box.adjustSize();
    EXPECT_EQ(box.grab().toImage().pixel(2, 2) & 0xFFFFFF, 0xD4D0C8u);
}

}  // namespace
}  // namespace kelmora

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The toolkit's texts are Japanese whatever the system's language is.
    qputenv("LC_ALL", "C");
    qputenv("LANG", "C");
    qunsetenv("LANGUAGE");
    kelmora::Application app(static_cast<int>(std::size(kelmora::kArguments)), kelmora::kArguments);
    kelmora::g_application = &app;
    kelmora::test::failTestsThatLeaveWindowsOpen();
    return RUN_ALL_TESTS();
}
