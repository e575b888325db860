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
        const char* name;
        QString selection;
        bool editorEnabled;
        QString expected;
        int beeps;
    };
    const Row rows[] = {
        {"digits", QStringLiteral("34"), true, QStringLiteral("1234"), 0},
        {"a letter among the digits", QStringLiteral("3a4"), true, QStringLiteral("12"), 1},
        {"more than MaxLength leaves room for", QStringLiteral("345678"), true, QStringLiteral("12345"), 0},
        {"two lines", QStringLiteral("3\n4"), true, QStringLiteral("123"), 0},
        {"the editor off", QStringLiteral("34"), false, QStringLiteral("12"), 0},
    };
    BeepCounter beeps;
    platform::setBeepSink(&beeps);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget window;
        window.resize(100, 40);
        TKmSpinEdit e(&window);
        e.setGeometry(10, 10, 50, 20);
        e.setMaxLength(5);
        e.setMaxValue(99999);
        e.SetValue(12);
        e.setEditorEnabled(row.editorEnabled);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        e.end(false);
        beeps.count = 0;
        QApplication::clipboard()->setText(row.selection, QClipboard::Selection);
        QTest::mouseClick(&e, Qt::MiddleButton, Qt::NoModifier, QPoint(20, 10));
        EXPECT_EQ(e.text().toStdString(), row.expected.toStdString());
        EXPECT_EQ(beeps.count, row.beeps);
    }
    platform::setBeepSink(nullptr);
}
