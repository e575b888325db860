#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/InfoForm1.h"
#include "ui/MascotPanel.h"

using namespace kelmora;

namespace {

// Shows the window modally over main; while it is up, runs `during` and then
// closes it. Returns where it was shown.
QPoint showAndClose(TInfoForm1& info, QWidget& main, const std::function<void()>& during = {})
{
    QPoint shownAt(-1, -1);
    QTimer::singleShot(0, &info, [&] {
        shownAt = info.pos();
        EXPECT_EQ(QApplication::activeModalWidget(), &info);
        if (during) during();
        info.close();
    });
    info.showModalOver(&main);
    return shownAt;
}

}  // namespace

TEST(InfoForm1, IsAHiddenToolWindowWithThePicture)
{
    TInfoForm1 info;
    EXPECT_FALSE(info.isVisible());
    EXPECT_EQ(info.windowTitle(), QStringLiteral("Kelmora"));
    EXPECT_EQ(info.size(), QSize(400, 300));
    EXPECT_TRUE(info.windowFlags() & Qt::Tool);
    EXPECT_FALSE(info.windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_EQ(info.minimumSize(), info.maximumSize());
    EXPECT_EQ(info.Image1->pixmap().size(), QSize(400, 300));
    EXPECT_EQ(info.Image1->geometry(), QRect(0, 0, 400, 300));
}

TEST(InfoForm1, CentredTheFirstTimeThenWhereItWasLeft)
{
    QWidget main;
    main.setGeometry(100, 80, 550, 437);
    main.show();
    TInfoForm1 info;

    // Centred frame over frame, once the window system has given it its frame.
    const auto centred = [&] {
        const QRect own = info.frameGeometry();
        const QRect over = main.frameGeometry();
        return own.size() != info.size()
               && own.topLeft()
                      == over.topLeft() + QPoint((over.width() - own.width()) / 2, (over.height() - own.height()) / 2);
    };
    bool wasCentred = false;
    showAndClose(info, main, [&] { wasCentred = QTest::qWaitFor(centred); });
    EXPECT_TRUE(wasCentred) << "frame " << info.frameGeometry().x() << "," << info.frameGeometry().y();
    EXPECT_FALSE(info.isVisible());

    // Moved while open, closed, shown again: it stays where it was moved to.
    showAndClose(info, main, [&] { info.move(20, 30); });
    main.move(300, 300);
    EXPECT_EQ(showAndClose(info, main), QPoint(20, 30));
}

TEST(InfoForm1, TheMascotKeepsMovingWhileItIsOpen)
{
    QWidget main;
    main.resize(550, 437);
    auto* panel = new TMascotPanel(&main);
    main.show();
    TInfoForm1 info;
    int indexWhenShown = -1;
    showAndClose(info, main, [&] {
        indexWhenShown = panel->FrameIndex;
        EXPECT_TRUE(QTest::qWaitFor([&] { return panel->FrameIndex >= indexWhenShown + 2; }, 5000));
    });
    EXPECT_GE(panel->FrameIndex, indexWhenShown + 2);
}
