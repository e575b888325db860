// The spin edit: reading and writing the number, limits and loading, the key
// filter, focus-out clamping, the wheel, and the two-half button with its repeat.
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <stdexcept>

#include "controls/KmSpinButton.h"
#include "controls/KmSpinEdit.h"
#include "platform/Beep.h"
#include "tests/controls/PaintedTestSupport.h"

using namespace kelmora;

namespace {

struct BeepCounter : platform::BeepSink {
    int count = 0;
    void beep() override { ++count; }
};

class SpinEditTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setBeepSink(&beeps); }
    void TearDown() override { platform::setBeepSink(nullptr); }

    // A field loaded as the main window stores its instances.
    static void load(TKmSpinEdit& e, int min, int max, int maxLength, int value)
    {
        e.BeginLoad();
        e.setColor(clSilver);
        e.setFont(uiTFont(11, clWhite));
        e.setMaxValue(max);
        e.setMinValue(min);
        e.setMaxLength(maxLength);
        e.SetValue(value);
        e.Loaded();
        e.resize(50, 20);
    }
    static void focusOut(TKmSpinEdit& e, Qt::FocusReason reason = Qt::TabFocusReason)
    {
        QFocusEvent event(QEvent::FocusOut, reason);
        QApplication::sendEvent(&e, &event);
    }
    static void wheel(TKmSpinEdit& e, int delta)
    {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&e, &event);
    }
    static void mouse(QWidget& w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, pos, w.mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(&w, &event);
    }

    BeepCounter beeps;
};

}  // namespace

struct ParseCase {
    const char* name;
    const char* text;
    std::optional<int> value;  // none: not a number
};

class ParseInteger : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseInteger, ReadsDecimalAndHexOrRefuses)
{
    EXPECT_EQ(parseInteger(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseInteger,
    ::testing::Values(ParseCase{"Decimal", "123", 123}, ParseCase{"LeadingSpaces", "  -5", -5},
                      ParseCase{"PlusSign", "+7", 7}, ParseCase{"DollarHex", "$1F", 31}, ParseCase{"XHex", "x10", 16},
                      ParseCase{"ZeroXHex", "0x10", 16}, ParseCase{"UpperZeroXMixedDigits", "0XfF", 255},
                      ParseCase{"NegativeHex", "-$10", -16}, ParseCase{"Largest", "2147483647", 2147483647},
                      ParseCase{"Smallest", "-2147483648", INT32_MIN}, ParseCase{"HexWrapsToNegative", "$FFFFFFFF", -1},
                      ParseCase{"LeadingZeros", "007", 7}, ParseCase{"Empty", "", std::nullopt},
                      ParseCase{"Space", " ", std::nullopt}, ParseCase{"MinusAlone", "-", std::nullopt},
                      ParseCase{"PlusAlone", "+", std::nullopt}, ParseCase{"DollarAlone", "$", std::nullopt},
                      ParseCase{"ZeroXAlone", "0x", std::nullopt}, ParseCase{"XAlone", "x", std::nullopt},
                      ParseCase{"TrailingSpace", "12 ", std::nullopt}, ParseCase{"InnerMinus", "1-2", std::nullopt},
                      ParseCase{"Letters", "abc", std::nullopt}, ParseCase{"AboveLargest", "2147483648", std::nullopt},
                      ParseCase{"BelowSmallest", "-2147483649", std::nullopt},
                      ParseCase{"HexAboveLargest", "$100000000", std::nullopt},
                      ParseCase{"Fraction", "1.5", std::nullopt}, ParseCase{"DoubleMinus", "--1", std::nullopt}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST_F(SpinEditTest, ReadingResetsEmptyOrBadTextToMinimumThroughTheChangeRule)
{
    TKmSpinEdit e;
    load(e, 0, 99999, 5, 0);
    QSignalSpy changed(&e, &TKmSpinEdit::changed);

    e.setText("");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(e.GetValue(), 0);
    EXPECT_EQ(e.text(), "0");
    EXPECT_EQ(changed.count(), 2);

    e.setText("-");
    EXPECT_EQ(e.GetValue(), 0);
    EXPECT_EQ(e.text(), "0");

    e.setText("$10");
    EXPECT_EQ(e.GetValue(), 16);
    EXPECT_EQ(e.text(), "$10") << "a good text is left as typed";

    e.setText("123456");
    EXPECT_EQ(e.GetValue(), 123456) << "reading never clamps";
    changed.clear();
    e.SetValue(7);
    e.SetValue(7);
    EXPECT_EQ(changed.count(), 1) << "an equal text raises nothing";
}

TEST_F(SpinEditTest, SuffixKeepsSignsAndDigits)
{
    TKmSpinEdit e;
    e.setMaxValue(1000);
    e.setSuffix(" s");
    EXPECT_EQ(e.text(), "0 s");
    e.setText("a1b2 s");
    EXPECT_EQ(e.GetValue(), 12);
    EXPECT_EQ(e.text(), "12 s");
    e.setText("x");
    EXPECT_EQ(e.GetValue(), 0);
    EXPECT_EQ(e.text(), "0 s");
    e.setText("1-2");
    EXPECT_EQ(e.GetValue(), 0);
    EXPECT_EQ(e.text(), "0 s");
    e.SetValue(2000);
    EXPECT_EQ(e.text(), "1000 s");
}

TEST_F(SpinEditTest, TheValueShownIsWhatReadingGivesAndLeavesTheTextAsTyped)
{
    struct Row {
        const char* text;
        const char* suffix;
        int value;
    };
    const Row rows[] = {
        {"", "", 1}, {"-", "", 1}, {"$10", "", 16}, {"123456", "", 123456}, {"a1b2 s", " s", 12}, {"x", " s", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        TKmSpinEdit e;
        load(e, 1, 99999, 5, 1);
        e.setSuffix(QString::fromLatin1(row.suffix));
        e.setText(QString::fromLatin1(row.text));
        QSignalSpy changed(&e, &TKmSpinEdit::changed);
        EXPECT_EQ(e.valueShown(), row.value);
        EXPECT_EQ(e.text(), QString::fromLatin1(row.text));
        EXPECT_EQ(changed.count(), 0);
        EXPECT_EQ(e.GetValue(), row.value);
    }
}

TEST_F(SpinEditTest, LoadingTakesLimitsInStoredOrderWithoutChangeEvents)
{
    TKmSpinEdit e;
    QSignalSpy changed(&e, &TKmSpinEdit::changed);
    load(e, 1, 99999, 5, 1);
    EXPECT_EQ(e.text(), "1");
    EXPECT_EQ(changed.count(), 0);

    // Outside loading a limit that crosses the other is ignored.
    e.setMinValue(99999);
    EXPECT_EQ(e.MinValue(), 1);
    e.setMaxValue(0);
    EXPECT_EQ(e.MaxValue(), 99999);
    // A lower maximum pulls the value down with it.
    e.SetValue(500);
    e.setMaxValue(60);
    EXPECT_EQ(e.text(), "60");
    e.setMinValue(70 - 20);
    EXPECT_EQ(e.text(), "60");
    e.setMaxValue(100);
    e.setMinValue(80);
    EXPECT_EQ(e.text(), "80");

    // Equal limits: no clamping at all, even when the focus leaves.
    TKmSpinEdit free;
    load(free, 0, 0, 0, 0);
    free.SetValue(-123456);
    focusOut(free);
    EXPECT_EQ(free.text(), "-123456");
}

TEST_F(SpinEditTest, TypedNumberIsClampedOnlyWhenTheFocusLeaves)
{
    TKmSpinEdit e;
    load(e, 1, 60, 3, 1);
    QSignalSpy changed(&e, &TKmSpinEdit::changed);
    e.selectAll();
    QTest::keyClicks(&e, "99");
    EXPECT_EQ(e.GetValue(), 99);
    changed.clear();
    focusOut(e, Qt::PopupFocusReason);
    focusOut(e, Qt::ActiveWindowFocusReason);
    EXPECT_EQ(e.text(), "99") << "a menu or another window is no exit";
    focusOut(e);
    EXPECT_EQ(e.text(), "60");
    EXPECT_EQ(changed.count(), 1);
    focusOut(e);
    EXPECT_EQ(changed.count(), 1);

    // Coming back from a menu or another window keeps the selection; entering selects all.
    e.setSelection(0, 1);
    for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent in(QEvent::FocusIn, reason);
        QApplication::sendEvent(&e, &in);
        EXPECT_EQ(e.selectedText(), "6") << reason;
    }
    QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&e, &tabIn);
    EXPECT_EQ(e.selectedText(), "60");
}

TEST_F(SpinEditTest, KeyFilterBeepsOnRefusedCharacters)
{
    TKmSpinEdit e;
    load(e, 0, 99999, 5, 0);
    e.selectAll();
    QTest::keyClicks(&e, "1a2");
    EXPECT_EQ(e.text(), "12");
    EXPECT_EQ(beeps.count, 1);
    QTest::keyClicks(&e, "-+");
    EXPECT_EQ(e.text(), "12-+") << "signs may go anywhere; the read makes them the minimum";
    EXPECT_EQ(e.GetValue(), 0);
    e.setText("123");
    QTest::keyClick(&e, Qt::Key_Backspace);
    QTest::keyClick(&e, Qt::Key_Home);
    QTest::keyClick(&e, Qt::Key_Delete);
    EXPECT_EQ(e.text(), "2");
    EXPECT_EQ(beeps.count, 1);

    e.SetValue(42);
    e.setEditorEnabled(false);
    e.end(false);
    QTest::keyClick(&e, Qt::Key_5);
    QTest::keyClick(&e, Qt::Key_Backspace);
    QTest::keyClick(&e, Qt::Key_Home);
    QTest::keyClick(&e, Qt::Key_Delete);
    QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e.text(), "42");
    EXPECT_EQ(beeps.count, 4);
    QTest::keyClick(&e, Qt::Key_Up);
    EXPECT_EQ(e.text(), "43") << "the steps work without the editor";
}

TEST_F(SpinEditTest, ArrowAndPageKeysStepAndReadOnlyRefuses)
{
    TKmSpinEdit e;
    load(e, 0, 100, 0, 50);
    QTest::keyClick(&e, Qt::Key_Up);
    EXPECT_EQ(e.GetValue(), 51);
    QTest::keyClick(&e, Qt::Key_Down);
    QTest::keyClick(&e, Qt::Key_Down);
    EXPECT_EQ(e.GetValue(), 49);
    QTest::keyClick(&e, Qt::Key_PageUp);
    EXPECT_EQ(e.GetValue(), 59);
    e.setPageSize(100);
    QTest::keyClick(&e, Qt::Key_PageUp);
    EXPECT_EQ(e.GetValue(), 100);
    QTest::keyClick(&e, Qt::Key_PageDown);
    EXPECT_EQ(e.GetValue(), 0);
    EXPECT_EQ(beeps.count, 0);

    e.setReadOnly(true);
    QTest::keyClick(&e, Qt::Key_Up);
    QTest::keyClick(&e, Qt::Key_Down);
    EXPECT_EQ(beeps.count, 2);
    QTest::keyClick(&e, Qt::Key_PageUp);
    wheel(e, 120);
    EXPECT_EQ(beeps.count, 3) << "Page Up stays silent, the wheel beeps";
    EXPECT_EQ(e.GetValue(), 0);
}

TEST_F(SpinEditTest, UnlimitedFieldSaturatesInsteadOfWrapping)
{
    TKmSpinEdit e;
    load(e, 0, 0, 0, 0);
    e.SetValue(INT32_MAX);
    e.UpClick();
    EXPECT_EQ(e.GetValue(), INT32_MAX);
    e.SetValue(INT32_MIN);
    QTest::keyClick(&e, Qt::Key_PageDown);
    EXPECT_EQ(e.GetValue(), INT32_MIN);
}

TEST_F(SpinEditTest, WheelStepsOncePerNotch)
{
    TKmSpinEdit e;
    load(e, 0, 100, 0, 10);
    wheel(e, 120);
    EXPECT_EQ(e.GetValue(), 11);
    wheel(e, -240);
    EXPECT_EQ(e.GetValue(), 9);
    wheel(e, 60);
    EXPECT_EQ(e.GetValue(), 9);
    wheel(e, 60);
    EXPECT_EQ(e.GetValue(), 10);
}

TEST_F(SpinEditTest, MaxLengthLimitsTypingButNotStepping)
{
    TKmSpinEdit e;
    load(e, 0, 9999, 3, 320);
    e.selectAll();
    QTest::keyClicks(&e, "1234");
    EXPECT_EQ(e.text(), "123");
    EXPECT_EQ(beeps.count, 0);
    e.SetValue(999);
    e.UpClick();
    EXPECT_EQ(e.text(), "1000");
    for (int i = 0; i < 9000; ++i) e.UpClick();
    EXPECT_EQ(e.text(), "9999");
    e.end(false);
    QTest::keyClick(&e, Qt::Key_Backspace);
    EXPECT_EQ(e.text(), "999");
    QTest::keyClick(&e, Qt::Key_1);
    EXPECT_EQ(e.text(), "999");
}

TEST_F(SpinEditTest, ButtonHalvesStepAndRepeatOnTheTick)
{
    TKmSpinEdit e;
    load(e, 1, 60, 3, 1);
    e.show();
    TKmSpinButton& b = *e.Button();
    EXPECT_EQ(b.geometry(), QRect(32, 2, 16, 16)) << "square, flush inside the border";
    EXPECT_TRUE(TKmSpinButton::isDownHalf(15, 15, 16, 16));
    EXPECT_FALSE(TKmSpinButton::isDownHalf(8, 8, 16, 16)) << "on the diagonal counts as up";
    EXPECT_TRUE(TKmSpinButton::isDownHalf(8, 9, 16, 16));

    QSignalSpy changed(&e, &TKmSpinEdit::changed);
    mouse(b, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton);
    EXPECT_EQ(e.GetValue(), 2) << "one step at once";
    EXPECT_EQ(b.state(), TKmSpinButton::sUpPressed);
    for (int tick = 0; tick < 5; ++tick) b.repeatTick();
    EXPECT_EQ(e.GetValue(), 2) << "nothing before Interval + 200 ms";
    b.repeatTick();
    EXPECT_EQ(e.GetValue(), 3);
    b.repeatTick();
    b.repeatTick();
    EXPECT_EQ(e.GetValue(), 4) << "then every Interval";

    // Sliding onto the other half pauses the steps; sliding back resumes them.
    mouse(b, QEvent::MouseMove, {14, 14}, Qt::LeftButton);
    EXPECT_EQ(b.state(), TKmSpinButton::sNormal);
    for (int tick = 0; tick < 6; ++tick) b.repeatTick();
    EXPECT_EQ(e.GetValue(), 4);
    mouse(b, QEvent::MouseMove, {40, 3}, Qt::LeftButton);
    EXPECT_EQ(b.state(), TKmSpinButton::sNormal);
    mouse(b, QEvent::MouseMove, {2, 2}, Qt::LeftButton);
    EXPECT_EQ(b.state(), TKmSpinButton::sUpPressed);
    b.repeatTick();
    b.repeatTick();
    EXPECT_EQ(e.GetValue(), 5);
    mouse(b, QEvent::MouseButtonRelease, {2, 2}, Qt::NoButton);
    EXPECT_FALSE(b.repeating());
    EXPECT_EQ(b.state(), TKmSpinButton::sNormal);

    // The down half; at a limit the step leaves the text as it is.
    e.SetValue(1);
    changed.clear();
    mouse(b, QEvent::MouseButtonPress, {14, 14}, Qt::LeftButton);
    mouse(b, QEvent::MouseButtonRelease, {14, 14}, Qt::NoButton);
    EXPECT_EQ(e.GetValue(), 1);
    EXPECT_EQ(changed.count(), 0);
}

// The step timing is driven tick by tick above; here the real timer drives the
// repeats, waited for as they come, and the release stops that timer.
TEST_F(SpinEditTest, HeldButtonRepeatsOnTheRealTimer)
{
    TKmSpinEdit e;
    load(e, 0, 1000, 0, 0);
    mouse(*e.Button(), QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton);
    EXPECT_TRUE(e.Button()->repeating());
    EXPECT_TRUE(QTest::qWaitFor([&e] { return e.GetValue() >= 3; }, 10000));
    mouse(*e.Button(), QEvent::MouseButtonRelease, {3, 3}, Qt::NoButton);
    EXPECT_FALSE(e.Button()->repeating());
    const int released = e.GetValue();
    QCoreApplication::processEvents();  // whatever was queued before the release
    EXPECT_EQ(e.GetValue(), released);
}

TEST_F(SpinEditTest, DisabledFieldShowsGreyArrowsAndIgnoresPresses)
{
    TKmSpinEdit e;
    load(e, 0, 100, 0, 5);
    e.setEnabled(false);
    TKmSpinButton& b = *e.Button();
    EXPECT_EQ(b.state(), TKmSpinButton::sDisabled);
    mouse(b, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton);
    EXPECT_EQ(e.GetValue(), 5);
    e.setEnabled(true);
    EXPECT_EQ(b.state(), TKmSpinButton::sNormal);

    // A change handler that disables the field during the first step leaves no repeat running.
    QObject::connect(&e, &TKmSpinEdit::changed, &e, [&e] { e.setEnabled(false); });
    mouse(b, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton);
    EXPECT_EQ(e.GetValue(), 6);
    EXPECT_FALSE(b.repeating());
}

TEST(SpinButtonImages, StateImagesAndStrip)
{
    const QRgb black = qRgb(0, 0, 0), face = toQColor(clBtnFace).rgb(), grey = toQColor(clGrayText).rgb(),
               white = toQColor(clHighlightText).rgb(), light = toQColor(clBtnHighlight).rgb(),
               shadow = toQColor(clBtnShadow).rgb();
    const QImage normal = TKmSpinButton::stateImage(0, 16, 16);
    EXPECT_EQ(normal.pixel(0, 0), black);
    EXPECT_EQ(normal.pixel(15, 15), black);
    EXPECT_EQ(normal.pixel(8, 7), black) << "the diagonal";
    EXPECT_EQ(normal.pixel(1, 5), light) << "raised up half";
    EXPECT_EQ(normal.pixel(4, 3), black) << "up arrow tip";
    EXPECT_EQ(normal.pixel(2, 5), black);
    EXPECT_EQ(normal.pixel(6, 5), black);
    EXPECT_EQ(normal.pixel(9, 9), black) << "down arrow top row";
    EXPECT_EQ(normal.pixel(13, 9), black);
    EXPECT_EQ(normal.pixel(11, 11), black) << "down arrow tip";
    EXPECT_EQ(normal.pixel(14, 14), shadow) << "down half's shadow edge";
    EXPECT_EQ(normal.pixel(5, 9), shadow) << "shadow inside the diagonal";
    EXPECT_EQ(normal.pixel(3, 7), face);

    const QImage up = TKmSpinButton::stateImage(1, 16, 16);
    EXPECT_EQ(up.pixel(1, 5), shadow) << "sunken up half";
    EXPECT_EQ(up.pixel(5, 4), black) << "the arrow moves down and right";
    EXPECT_EQ(up.pixel(4, 3), face);
    const QImage down = TKmSpinButton::stateImage(2, 16, 16);
    EXPECT_EQ(down.pixel(14, 14), light);
    EXPECT_EQ(down.pixel(12, 12), black);

    const QImage disabled = TKmSpinButton::stateImage(3, 16, 16);
    EXPECT_EQ(disabled.pixel(4, 3), grey);
    EXPECT_EQ(disabled.pixel(7, 6), white) << "embossed copy one pixel right and down";
    EXPECT_EQ(disabled.pixel(13, 10), white);

    TKmSpinButton b;
    b.resize(16, 16);
    b.grab();
    b.grab();
    EXPECT_EQ(b.stripDraws(), 1);
    EXPECT_EQ(b.strip().size(), QSize(64, 16));
    b.resize(18, 18);
    b.grab();
    EXPECT_EQ(b.stripDraws(), 2);
}

TEST_F(SpinEditTest, FieldLooksRightOnScreen)
{
    QWidget window;
    window.resize(140, 60);
    TKmSpinEdit e(&window);
    e.setColor(clSilver);
    e.setFont(uiTFont(11, clWhite));
    load(e, 0, 9999, 3, 320);
    e.move(10, 10);
    TKmSpinEdit d(&window);
    load(d, 1, 60, 3, 1);
    d.move(70, 10);
    d.setEnabled(false);
    const QImage shot = window.grab().toImage();
    shot.scaled(shot.size() * 5).save("/tmp/kelmora-spinedit.png");
    EXPECT_EQ(shot.pixelColor(10 + 3, 10 + 10), QColor(0xC0, 0xC0, 0xC0)) << "field colour";
    EXPECT_GE(e.minimumFieldHeight(), 14);
    const QImage button = e.Button()->grab().toImage();
    EXPECT_EQ(button.pixel(4, 3), qRgb(0, 0, 0));
}

TEST_F(SpinEditTest, HeldButtonStopsRepeatingWhenItLosesTheMouse)
{
    // Each way returns what it opened, to be closed afterwards.
    struct Row {
        const char* name;
        std::function<QWidget*(QWidget& window, TKmSpinEdit& e)> lose;
    };
    const Row rows[] = {
        {"a modal window opens",
         [](QWidget& window, TKmSpinEdit&) {
             auto* box = new QDialog(&window);
             box->setModal(true);
             box->show();
             return static_cast<QWidget*>(box);
         }},
        {"another window becomes active",
         [](QWidget&, TKmSpinEdit&) {
             auto* other = new QWidget;
             other->show();
             other->activateWindow();
             EXPECT_TRUE(QTest::qWaitForWindowActive(other));
             return other;
         }},
        {"a pop-up menu opens",
         [](QWidget& window, TKmSpinEdit&) {
             auto* menu = new QMenu(&window);
             menu->addAction(QStringLiteral("x"));
             menu->popup(window.mapToGlobal(QPoint(5, 5)));
             return static_cast<QWidget*>(menu);
         }},
        {"another widget grabs the mouse",
         [](QWidget& window, TKmSpinEdit&) {
             auto* grabber = new QWidget(&window);
             grabber->show();
             grabber->grabMouse();
             return grabber;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget window;
        TKmSpinEdit e(&window);
        load(e, 0, 1000, 0, 0);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        TKmSpinButton& b = *e.Button();
        mouse(b, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton);
        ASSERT_TRUE(b.repeating());
        const std::unique_ptr<QWidget> opened(row.lose(window, e));
        for (int tick = 0; tick < 12; ++tick) b.repeatTick();  // whatever the timer still delivers
        EXPECT_EQ(e.GetValue(), 1) << "the press's own step only";
        EXPECT_FALSE(b.repeating());
        if (opened) opened->releaseMouse();
    }
}

TEST_F(SpinEditTest, ChangeHandlerThatThrowsEndsTheHold)
{
    for (const int throwingStep : {1, 2}) {  // the press's own step, the first repeat
        SCOPED_TRACE(throwingStep);
        TKmSpinEdit e;
        load(e, 0, 1000, 0, 0);
        TKmSpinButton& b = *e.Button();
        int steps = 0;
        QObject::connect(&e, &TKmSpinEdit::changed, &e, [&] {
            if (++steps == throwingStep) throw std::runtime_error("handler failed");
        });
        EXPECT_THROW(
            {
                mouse(b, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton);
                for (int tick = 0; tick < 6; ++tick) b.repeatTick();
            },
            std::runtime_error);
        for (int tick = 0; tick < 12; ++tick) b.repeatTick();
        EXPECT_EQ(steps, throwingStep) << "no step after the failure";
        EXPECT_EQ(b.state(), TKmSpinButton::sNormal);
    }
}

TEST_F(SpinEditTest, EveryWayTextComesInPassesTheTypingFilter)
{
    struct Route {
        const char* name;
        std::function<void(TKmSpinEdit& e, const QString& text)> bring;
    };
    auto pasteWith = [](QKeyCombination keys) {
        return [keys](TKmSpinEdit& e, const QString& text) {
            QApplication::clipboard()->setText(text);
            QTest::keyClick(&e, keys.key(), keys.keyboardModifiers());
        };
    };
    const Route routes[] = {
        {"Ctrl+V", pasteWith(Qt::ControlModifier | Qt::Key_V)},
        {"Shift+Insert", pasteWith(Qt::ShiftModifier | Qt::Key_Insert)},
        {"an input method",
         [](TKmSpinEdit& e, const QString& text) {
             QInputMethodEvent commit;
             commit.setCommitString(text);
             QApplication::sendEvent(&e, &commit);
         }},
    };
    for (const Route& route : routes) {
        SCOPED_TRACE(route.name);
        TKmSpinEdit e;
        load(e, 0, 99999, 5, 12);
        e.end(false);
        beeps.count = 0;
        route.bring(e, QStringLiteral("3a"));
        route.bring(e, QStringLiteral("3\t4"));
        EXPECT_EQ(e.text(), "12") << "a refused character refuses the whole text";
        EXPECT_EQ(beeps.count, 2);
        route.bring(e, QStringLiteral("-3"));
        route.bring(e, QStringLiteral("9"));
        route.bring(e, QStringLiteral("1"));
        EXPECT_EQ(e.text(), "12-39") << "up to MaxLength, then nothing";
        e.setEditorEnabled(false);
        e.selectAll();
        route.bring(e, QStringLiteral("5"));
        EXPECT_EQ(e.text(), "12-39") << "nothing with the editor off";
    }
}

TEST_F(SpinEditTest, NumberThatFitsIsDrawnWholeInTheTextArea)
{
    QWidget window;
    TKmSpinEdit e(&window);
    load(e, 0, 9999, 4, 0);  // 50 x 20, as the main window's fields
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (const int value : {1920, 9999}) {
        for (const bool focused : {false, true}) {
            SCOPED_TRACE(testing::Message() << value << (focused ? " with the caret after it" : ""));
            focused ? e.setFocus() : window.setFocus();
            e.SetValue(value);
            e.end(false);
            const QImage field = test::grabImage(e);
            const QRect area = e.textArea();
            const QRect beside(0, area.top(), e.Button()->x(), area.height());  // the area and the border's rows
            EXPECT_EQ(test::pointsOf(field, clWhite, beside), test::pointsOf(field, clWhite, area))
                << "nothing outside";
            EXPECT_EQ(test::shapeOf(field, clWhite, area), test::toolkitTextShape(QString::number(value), e.font()))
                << "every pixel of the number";
        }
    }
}

TEST_F(SpinEditTest, PressAndDragPlaceTheCaretWhereTheCharactersAreDrawn)
{
    TKmSpinEdit e;
    load(e, 0, 99999, 5, 1920);
    const QFontMetrics fm(e.font());
    auto xOf = [&](int pos) { return e.textArea().left() + fm.horizontalAdvance(e.text().left(pos)); };
    for (int pos = 0; pos <= 4; ++pos) {
        mouse(e, QEvent::MouseButtonPress, {xOf(pos), 10}, Qt::LeftButton);
        EXPECT_EQ(e.cursorPosition(), pos);
    }
    mouse(e, QEvent::MouseButtonPress, {xOf(1), 10}, Qt::LeftButton);
    mouse(e, QEvent::MouseMove, {xOf(3), 10}, Qt::LeftButton);
    EXPECT_EQ(e.selectedText(), "92");
}

TEST_F(SpinEditTest, LongNumberScrollsToKeepTheCaretInView)
{
    QWidget window;
    TKmSpinEdit e(&window);
    load(e, -2147483647, 2147483647, 0, -2147483647);  // wider than the 50-pixel field
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QRect area = e.textArea();
    const TextLine line(e.text(), e.font());
    ASSERT_GT(line.width(), area.width());

    e.setFocus();
    e.end(false);
    EXPECT_EQ(area.left() + line.caretX(static_cast<int>(e.text().size())) - e.scrollOffset(), area.right())
        << "the caret at the area's last column";
    e.home(false);
    EXPECT_EQ(e.scrollOffset(), 0);
    e.end(false);
    window.setFocus();
    EXPECT_EQ(e.scrollOffset(), 0) << "without the focus the number shows from its start";
}
