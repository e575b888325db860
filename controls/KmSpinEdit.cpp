#include "controls/KmSpinEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QWheelEvent>
#include <algorithm>
#include <limits>

#include "controls/KmSpinButton.h"
#include "controls/Property.h"
#include "platform/Beep.h"

namespace kelmora {

namespace {

void fieldBeep() { platform::beep(); }

std::int32_t saturate(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// The focus moving to or back from a pop-up menu or another window, not between
// the controls of the window.
bool isFocusHandOver(Qt::FocusReason reason)
{
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}

}  // namespace

void drawSunkenBevel(QPainter& p, const QRect& r)
{
    const int l = r.left(), t = r.top(), rt = r.right(), b = r.bottom();
    p.setPen(toQColor(clBtnShadow));
    p.drawLine(l, t, rt - 1, t);
    p.drawLine(l, t, l, b - 1);
    p.setPen(toQColor(clBtnHighlight));
    p.drawLine(l, b, rt, b);
    p.drawLine(rt, t, rt, b);
    p.setPen(toQColor(cl3DDkShadow));
    p.drawLine(l + 1, t + 1, rt - 2, t + 1);
    p.drawLine(l + 1, t + 1, l + 1, b - 2);
    p.setPen(toQColor(cl3DLight));
    p.drawLine(l + 1, b - 1, rt - 1, b - 1);
    p.drawLine(rt - 1, t + 1, rt - 1, b - 1);
}

TKmSpinEdit::TKmSpinEdit(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
    setContentsMargins(2, 2, 2, 2);
    setAcceptDrops(false);
    m_button = new TKmSpinButton(this);
    connect(m_button, &TKmSpinButton::upClick, this, &TKmSpinEdit::UpClick);
    connect(m_button, &TKmSpinButton::downClick, this, &TKmSpinEdit::DownClick);
    QLineEdit::setText(QStringLiteral("0"));
    connect(this, &QLineEdit::textChanged, this, [this] {
        scrollToCaret();
        if (!m_loading) emit changed();
    });
    connect(this, &QLineEdit::cursorPositionChanged, this, [this] {
        scrollToCaret();
        restartCaretBlink();
    });
    connect(this, &QLineEdit::selectionChanged, this, qOverload<>(&QWidget::update));
    QWidget::setFont(fieldTextFont(m_font.font));
    applyColors();
    resize(121, 21);
    layoutButton();
}

void TKmSpinEdit::BeginLoad() { m_loading = true; }

void TKmSpinEdit::Loaded()
{
    m_loading = false;
    layoutButton();
}

void TKmSpinEdit::setTextChecked(const QString& text)
{
    if (text != QLineEdit::text()) QLineEdit::setText(text);
}

TKmSpinEdit::Reading TKmSpinEdit::read() const
{
    const QString minText = QString::number(m_minValue);
    if (m_suffix.isEmpty()) {
        if (text().isEmpty()) return {m_minValue, minText};
        if (const auto v = parseInteger(text().toStdString())) return {*v, text()};
        return {m_minValue, minText};
    }
    QString kept;
    for (const QChar c : text())
        if (c == u'+' || c == u'-' || (c >= u'0' && c <= u'9')) kept += c;
    if (kept.isEmpty()) kept = minText;
    if (const auto v = parseInteger(kept.toStdString())) return {*v, kept + m_suffix};
    return {m_minValue, minText + m_suffix};
}

int TKmSpinEdit::GetValue()
{
    const Reading reading = read();
    setTextChecked(reading.text);
    return reading.value;
}

int TKmSpinEdit::valueShown() const { return read().value; }

void TKmSpinEdit::SetValue(int value) { setTextChecked(QString::number(CheckValue(value)) + m_suffix); }

int TKmSpinEdit::CheckValue(int value) const
{
    if (m_minValue == m_maxValue) return value;
    if (value < m_minValue) return m_minValue;
    if (value > m_maxValue) return m_maxValue;
    return value;
}

void TKmSpinEdit::setMaxValue(int value)
{
    if (value == m_maxValue || (value <= m_minValue && !m_loading)) return;
    m_maxValue = value;
    if (GetValue() > m_maxValue) SetValue(m_maxValue);
}

void TKmSpinEdit::setMinValue(int value)
{
    if (value == m_minValue || (value >= m_maxValue && !m_loading)) return;
    m_minValue = value;
    if (GetValue() < m_minValue) SetValue(m_minValue);
}

int TKmSpinEdit::Interval() const { return m_button->Interval(); }

void TKmSpinEdit::setInterval(int ms) { m_button->setInterval(ms); }

void TKmSpinEdit::setSuffix(const QString& suffix)
{
    if (suffix == m_suffix) return;
    const int value = GetValue();
    m_suffix = suffix;
    SetValue(value);
}

void TKmSpinEdit::setColor(TColor color)
{
    if (setAndUpdate(*this, m_color, color)) applyColors();
}

void TKmSpinEdit::setFont(const TFont& font)
{
    if (!setAndUpdate(*this, m_font, font)) return;
    QWidget::setFont(fieldTextFont(font.font));
    applyColors();
    layoutButton();
    scrollToCaret();
}

void TKmSpinEdit::applyColors()
{
    QPalette pal = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Base, toQColor(m_color));
        pal.setColor(group, QPalette::Window, toQColor(m_color));
        pal.setColor(group, QPalette::Text, toQColor(group == QPalette::Disabled ? clGrayText : m_font.Color));
        pal.setColor(group, QPalette::Highlight, toQColor(clHighlight));
        pal.setColor(group, QPalette::HighlightedText, toQColor(clHighlightText));
    }
    setPalette(pal);
}

bool TKmSpinEdit::IsValidChar(char32_t c) const
{
    bool valid = c == U'+' || c == U'-' || (c >= U'0' && c <= U'9') || c < 32;
    if (!m_editorEnabled && valid && (c >= 32 || c == 8)) valid = false;
    return valid;
}

void TKmSpinEdit::stepBy(std::int64_t delta)
{
    if (isReadOnly()) {
        fieldBeep();
        return;
    }
    SetValue(saturate(GetValue() + delta));
}

void TKmSpinEdit::UpClick() { stepBy(m_lineSize); }

void TKmSpinEdit::DownClick() { stepBy(-static_cast<std::int64_t>(m_lineSize)); }

bool TKmSpinEdit::fitsMaxLength(int insertedChars) const
{
    return m_maxLength == 0 || text().size() - selectedText().size() + insertedChars <= m_maxLength;
}

bool TKmSpinEdit::takesAsTyped(const QString& text) const
{
    const auto chars = text.toUcs4();
    return std::all_of(chars.begin(), chars.end(), [this](char32_t c) { return c >= 32 && IsValidChar(c); });
}

void TKmSpinEdit::insertFiltered(QString text)
{
    if (!canEdit() || text.isEmpty()) return;
    if (!takesAsTyped(text)) {
        fieldBeep();
        return;
    }
    if (m_maxLength > 0)
        text = text.left(std::max<qsizetype>(0, m_maxLength - (QLineEdit::text().size() - selectedText().size())));
    if (!text.isEmpty()) insert(text);
}

void TKmSpinEdit::pasteFrom(QClipboard::Mode mode)
{
    if (!canEdit()) return;
    QString clip = QApplication::clipboard()->text(mode);
    // One line, as the field holds one.
    const qsizetype lineEnd = clip.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (lineEnd >= 0) clip.truncate(lineEnd);
    insertFiltered(clip);
}

void TKmSpinEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up: UpClick(); return;
    case Qt::Key_Down: DownClick(); return;
    case Qt::Key_PageUp:
        if (!isReadOnly()) SetValue(saturate(static_cast<std::int64_t>(GetValue()) + m_pageSize));
        return;
    case Qt::Key_PageDown:
        if (!isReadOnly()) SetValue(saturate(static_cast<std::int64_t>(GetValue()) - m_pageSize));
        return;
    default: break;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteFrom(QClipboard::Clipboard);
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        if (canEdit()) cut();
        return;
    }
    // Without the editor the text changes only by the steps.
    if (!m_editorEnabled) {
        for (const auto key :
             {QKeySequence::Undo, QKeySequence::Redo, QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
              QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine})
            if (event->matches(key)) return;
    }

    // The character the key types, as the filter sees it.
    std::optional<char32_t> typed;
    switch (event->key()) {
    case Qt::Key_Backspace: typed = 8; break;
    case Qt::Key_Delete:
        // Deleting is editing, as Backspace is.
        if (!m_editorEnabled) {
            fieldBeep();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter: typed = 13; break;
    case Qt::Key_Escape: typed = 27; break;
    default:
        if (!event->text().isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
            typed = event->text().toUcs4().value(0);
    }
    if (typed) {
        if (!IsValidChar(*typed)) {
            fieldBeep();
            return;
        }
        if (*typed >= 32 && !fitsMaxLength(static_cast<int>(event->text().size()))) return;
    }
    QLineEdit::keyPressEvent(event);
}

void TKmSpinEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    if (!commit.isEmpty()) {
        if (!takesAsTyped(commit)) {
            fieldBeep();
            return;
        }
        if (!fitsMaxLength(static_cast<int>(commit.size()))) return;
    }
    QLineEdit::inputMethodEvent(event);
}

void TKmSpinEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    scrollToCaret();
    restartCaretBlink();
    // The focus coming back from a pop-up menu or another window is no entry: the selection stays.
    if (m_autoSelect && event->reason() != Qt::MouseFocusReason && !isFocusHandOver(event->reason())) selectAll();
}

void TKmSpinEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    m_edit.stopBlink();
    m_mouseSelecting = false;
    scrollToCaret();
    // A pop-up menu or another window taking over is no exit from the field.
    if (isFocusHandOver(event->reason())) return;
    const int value = GetValue();
    if (value != CheckValue(value)) SetValue(value);
}

void TKmSpinEdit::wheelEvent(QWheelEvent* event)
{
    event->accept();
    // Fine-grained wheels send small deltas: one step per notch of 120.
    m_wheelDelta += event->angleDelta().y();
    for (; m_wheelDelta >= 120; m_wheelDelta -= 120) UpClick();
    for (; m_wheelDelta <= -120; m_wheelDelta += 120) DownClick();
}

int TKmSpinEdit::minimumFieldHeight() const
{
    const int line = QFontMetrics(font()).height();
    const int system = QFontMetrics(QApplication::font()).height();
    return line + std::min(line, system) / 4 + 4;
}

void TKmSpinEdit::layoutButton()
{
    const int h = height();
    const int side = std::max(0, h - 4);
    m_button->setGeometry(width() - h + 2, 2, side, side);
}

// Ends two pixels before the button.
QRect TKmSpinEdit::textArea() const { return DrawnLineEdit::textArea(rect(), m_button->width() + 2); }

TextLine TKmSpinEdit::textLine() const { return TextLine(text(), font()); }

QPoint TKmSpinEdit::textOrigin(const TextLine& line) const
{
    const QRect area = textArea();
    return {m_edit.textLeft(area), area.top() + (area.height() - line.height() + 1) / 2};
}

int TKmSpinEdit::positionAt(int x) const
{
    const TextLine line = textLine();
    return line.indexAt(x - textOrigin(line).x());
}

QRect TKmSpinEdit::caretRect(const TextLine& line) const
{
    const QPoint origin = textOrigin(line);
    return QRect(origin.x() + line.caretX(cursorPosition()), origin.y(), 1, line.height());
}

void TKmSpinEdit::scrollToCaret()
{
    const TextLine line = textLine();
    const int room = textArea().width();
    if (!hasFocus() || line.width() <= room) {
        m_edit.setScroll(0);
        return;
    }
    m_edit.scrollToShow(line.caretX(cursorPosition()), room, 0);
    // Nothing scrolls past the text's end.
    m_edit.setScroll(std::clamp(m_edit.scroll(), 0, line.width() + 1 - room));
}

void TKmSpinEdit::restartCaretBlink()
{
    if (hasFocus()) m_edit.startBlink(QApplication::cursorFlashTime() / 2);
}

void TKmSpinEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    const int minHeight = minimumFieldHeight();
    if (height() < minHeight) resize(width(), minHeight);
    layoutButton();
    scrollToCaret();
}

void TKmSpinEdit::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(group, QPalette::Base));
    const TextLine line = textLine();
    DrawnLineEdit::drawText(p, textArea(), line, textOrigin(line), pal.color(group, QPalette::Text), selectionStart(),
                            selectionEnd(), pal.color(group, QPalette::Highlight),
                            pal.color(group, QPalette::HighlightedText));
    // The caret may stand just right of the last character, beyond the text area.
    m_edit.drawCaret(p, caretRect(line), rect());
    drawSunkenBevel(p, rect());
}

void TKmSpinEdit::mousePressEvent(QMouseEvent* event)
{
    // The middle button pastes on its release; the right one opens the menu.
    if (event->button() != Qt::LeftButton) return;
    const int pos = positionAt(event->position().toPoint().x());
    if (event->modifiers() & Qt::ShiftModifier) {
        if (!hasSelectedText()) m_selectionAnchor = cursorPosition();
        else m_selectionAnchor = cursorPosition() == selectionStart() ? selectionEnd() : selectionStart();
        setSelection(m_selectionAnchor, pos - m_selectionAnchor);
    } else {
        m_selectionAnchor = pos;
        setCursorPosition(pos);
    }
    m_mouseSelecting = true;
}

void TKmSpinEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_mouseSelecting || !(event->buttons() & Qt::LeftButton)) return;
    const int pos = positionAt(event->position().toPoint().x());
    if (pos == m_selectionAnchor) setCursorPosition(pos);
    else setSelection(m_selectionAnchor, pos - m_selectionAnchor);
}

void TKmSpinEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QClipboard* clipboard = QApplication::clipboard();
    if (event->button() == Qt::LeftButton) {
        m_mouseSelecting = false;
        if (clipboard->supportsSelection() && hasSelectedText())
            clipboard->setText(selectedText(), QClipboard::Selection);
    } else if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
        if (!canEdit()) return;
        deselect();
        pasteFrom(QClipboard::Selection);
    }
}

void TKmSpinEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The whole number is one word.
    if (event->button() == Qt::LeftButton) selectAll();
}

QVariant TKmSpinEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImCursorRectangle) return caretRect(textLine());
    return QLineEdit::inputMethodQuery(query);
}

void TKmSpinEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        const QString name = action->objectName();
        if (name == QLatin1String("edit-cut")) {
            action->setEnabled(canEdit() && hasSelectedText());
        } else if (!m_editorEnabled
                   && (name == QLatin1String("edit-undo") || name == QLatin1String("edit-redo")
                       || name == QLatin1String("edit-delete"))) {
            action->setEnabled(false);
        } else if (name == QLatin1String("edit-paste")) {
            QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this] { pasteFrom(QClipboard::Clipboard); });
            action->setEnabled(canEdit() && !QApplication::clipboard()->text().isEmpty());
        }
    }
    menu->exec(event->globalPos());
    delete menu;
}

}  // namespace kelmora
