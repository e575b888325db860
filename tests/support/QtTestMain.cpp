// GoogleTest main for widget tests: one QApplication for the whole run.
#include <QApplication>
#include <gtest/gtest.h>

#include "controls/Fonts.h"
#include "tests/support/NoWindowLeftOpen.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kelmora::installFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    kelmora::test::failTestsThatLeaveWindowsOpen();
    return RUN_ALL_TESTS();
}
