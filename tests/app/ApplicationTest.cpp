// The program's start as main() makes it: what the toolkit gets of the command
// line, the colours of its windows and the language of the toolkit's dialogs.
// One application object for the whole run, built from an argument list full
// of the toolkit's own options, in the C locale.
#include <QAbstractButton>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStyle>
#include <gtest/gtest.h>

#include "app/Application.h"
#include "tests/support/NoWindowLeftOpen.h"

namespace kelmora {
namespace {

const char* const kArguments[] = {"kelmora", "-reverse",      "-style", "windows",  "-platform",
                                  "xcb",     "-qwindowtitle", "x",      "-session", "clip.mp4"};
Application* g_application = nullptr;

TEST(ProgramStart, EveryArgumentIsATargetAndNoneReachesTheToolkit)
{
    EXPECT_EQ(g_application->targets(), std::vector<std::string>(std::begin(kArguments) + 1, std::end(kArguments)));
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));  // from the environment
    EXPECT_NE(QApplication::style()->name().toLower(), QStringLiteral("windows"));
}

TEST(ProgramStart, DialogsSpeakJapaneseInTheClassicColours)
{
    QFileDialog picker;
    picker.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(picker.labelText(QFileDialog::LookIn), QStringLiteral("アドレス:"));
    QMessageBox box(QMessageBox::Question, QStringLiteral("Kelmora"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
    // The box's face as drawn: the classic button face, not the toolkit's own grey.
    box.adjustSize();
    EXPECT_EQ(box.grab().toImage().pixel(2, 2) & 0xFFFFFF, 0xD4D0C8u);
    EXPECT_EQ(QApplication::palette().color(QPalette::Inactive, QPalette::Highlight).rgb() & 0xFFFFFF, 0x0A246Au);
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
