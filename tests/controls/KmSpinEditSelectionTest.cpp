// The spin edit and the X11 primary selection: a middle click pastes it, and the
// pasted text passes the same filter as typing. The primary selection exists only
// on a real X server, so this test runs under Xvfb.
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/KmSpinEdit.h"
#include "platform/Beep.h"

using namespace kelmora;

namespace {

struct BeepCounter : platform::BeepSink {
    int count = 0;
    void beep() override { ++count; }
};

}  // namespace

TEST(SpinEditPrimarySelection, MiddleClickPastePassesTheTypingFilter)
{
    ASSERT_TRUE(QApplication::clipboard()->supportsSelection()) << "needs an X server";
    struct Row {
        const char* selection;
        bool editorEnabled;
        const char* expected;
        int beeps;
    };
    const Row rows[] = {
        {"34", true, "1234", 0},      {"3a4", true, "12", 1},  // a refused character refuses the whole text
        {"345678", true, "12345", 0}, {"3\n4", true, "123", 0}, {"34", false, "12", 0},
    };
    BeepCounter beeps;
    platform::setBeepSink(&beeps);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.selection << (row.editorEnabled ? "" : " with the editor off"));
        TKmSpinEdit e;
        e.setMaxLength(5);
        e.setMaxValue(99999);
        e.SetValue(12);
        e.setEditorEnabled(row.editorEnabled);
        e.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&e));
        e.end(false);
        beeps.count = 0;
        QApplication::clipboard()->setText(QString::fromUtf8(row.selection), QClipboard::Selection);
        QTest::mouseClick(&e, Qt::MiddleButton, Qt::NoModifier, QPoint(10, 10));
        EXPECT_EQ(e.text().toStdString(), row.expected);
        EXPECT_EQ(beeps.count, row.beeps);
    }
    platform::setBeepSink(nullptr);
}
