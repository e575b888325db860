#pragma once
// A test listener for widget tests: a test that ends with a top-level window
// still shown fails, naming the windows, and they are closed so the next test
// starts from a clean desktop.

#include <QApplication>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

namespace kelmora::test {

class NoWindowLeftOpen : public ::testing::EmptyTestEventListener {
public:
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        QStringList open;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible()) continue;
            open << QStringLiteral("%1 (%2)").arg(window->objectName(), window->metaObject()->className());
            window->close();
            window->hide();
        }
        if (!open.isEmpty()) ADD_FAILURE() << "windows left open: " << open.join(QStringLiteral(", ")).toStdString();
    }
};

// Installs the listener for the whole run.
inline void failTestsThatLeaveWindowsOpen()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new NoWindowLeftOpen);
}

}  // namespace kelmora::test
