#include "controls/KmBrowseEdit.h"

#include <utility>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>

#include "controls/KmSpinEdit.h"
#include "controls/Property.h"
#include "controls/TextBytes.h"

namespace kelmora {

namespace {

// The folder glyph: '.' transparent, 'K' outline, 'Y' folder, 'W' its lit edge.
constexpr const char* kFolderRows[14] = {
    ".............", ".............", ".............", "..KKKK.......", ".KWWWWK......",
    "KWYYYYWKKKKK.", "KWWWWWWWWWWK.", "KWYYYYYYYYYK.", "KWYYYYYYYYYK.", "KWYYYYYYYYYK.",
    "KWYYYYYYYYYK.", "KWYYYYYYYYYK.", "KKKKKKKKKKKK.", ".............",
};

}  // namespace

TKmBrowseButton::TKmBrowseButton(QWidget* parent) : QAbstractButton(parent)
{
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
}

QImage TKmBrowseButton::folderGlyph()
{
    QImage glyph(13, 14, QImage::Format_ARGB32);
    glyph.fill(Qt::transparent);
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 13; ++x) {
            switch (kFolderRows[y][x]) {
            case 'K': glyph.setPixel(x, y, qRgb(0, 0, 0)); break;
            case 'Y': glyph.setPixel(x, y, qRgb(0xFF, 0xFF, 0x00)); break;
            case 'W': glyph.setPixel(x, y, qRgb(0xFF, 0xFF, 0xFF)); break;
            default: break;
            }
        }
    }
    return glyph;
}

void TKmBrowseButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, toQColor(clBtnFace));
    const bool down = isDown();
    if (down) {
        p.setPen(toQColor(clBtnShadow));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    } else {
        p.setPen(toQColor(cl3DDkShadow));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(toQColor(clBtnHighlight));
        p.drawLine(1, 1, r.width() - 3, 1);
        p.drawLine(1, 1, 1, r.height() - 3);
        p.setPen(toQColor(clBtnShadow));
        p.drawLine(r.width() - 2, 1, r.width() - 2, r.height() - 2);
        p.drawLine(1, r.height() - 2, r.width() - 2, r.height() - 2);
    }
    QImage glyph = folderGlyph();
    if (!isEnabled()) {
        // Disabled: the outline alone, in grey.
        const QRgb outline = toQColor(clGrayText).rgb(), face = toQColor(clBtnFace).rgb();
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x)
                if (qAlpha(glyph.pixel(x, y)))
                    glyph.setPixel(x, y, glyph.pixel(x, y) == qRgb(0, 0, 0) ? outline : face);
    }
    p.drawImage(QPoint((r.width() - glyph.width()) / 2 + down, (r.height() - glyph.height()) / 2 + down), glyph);
}

TKmBrowseEdit::TKmBrowseEdit(QWidget* parent)
    : QWidget(parent),
      m_blinkRate(std::max(1, QApplication::cursorFlashTime() / 2)),
      m_savedFlashTime(QApplication::cursorFlashTime())
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_button = new TKmBrowseButton(this);
    connect(m_button, &QAbstractButton::clicked, this, [this] { DoOnBrowseClick(); });
    m_model.onChange = [this] { modelChanged(); };
    m_edit.setBlinkPeriod(m_blinkRate);
    QWidget::setFont(fieldTextFont(m_font.font));
    resize(121, 21);
    layoutButton();
}

TKmBrowseEdit::~TKmBrowseEdit()
{
    if (m_edit.blinking()) QApplication::setCursorFlashTime(m_savedFlashTime);
}

void TKmBrowseEdit::BeginLoad() { m_loading = true; }

void TKmBrowseEdit::Loaded()
{
    m_loading = false;
    layoutButton();
}

void TKmBrowseEdit::SetPath(const std::string& path)
{
    const bool outer = std::exchange(m_settingPath, true);
    const bool changedText = m_model.setText(path);
    m_settingPath = outer;
    if (!changedText) return;
    // The caret went before the first character: the new text shows from its start.
    m_edit.setScroll(0);
    update();
    if (hasFocus()) placeCaret();
}

void TKmBrowseEdit::modelChanged()
{
    update();
    if (m_loading) return;
    emit textChangedAt(m_model.caret());
    emit changed();
}

void TKmBrowseEdit::setHideSelection(bool on) { setAndUpdate(*this, m_hideSelection, on); }
void TKmBrowseEdit::setColor(TColor color) { setAndUpdate(*this, m_color, color); }
void TKmBrowseEdit::setHighlightBack(TColor color) { setAndUpdate(*this, m_highlightBack, color); }
void TKmBrowseEdit::setHighlightText(TColor color) { setAndUpdate(*this, m_highlightText, color); }

void TKmBrowseEdit::setFont(const TFont& font)
{
    if (setAndUpdate(*this, m_font, font)) QWidget::setFont(fieldTextFont(font.font));
}

void TKmBrowseEdit::setCaretBlinkRate(int ms)
{
    if (ms <= 0 || ms == m_blinkRate) return;
    m_blinkRate = ms;
    m_edit.setBlinkPeriod(ms);
    if (hasFocus()) QApplication::setCursorFlashTime(2 * ms);
}

void TKmBrowseEdit::setButtonWidth(int width)
{
    if (setAndUpdate(*this, m_buttonWidth, std::max(0, width))) layoutButton();
}

QRect TKmBrowseEdit::textArea() const { return DrawnLineEdit::textArea(rect(), m_buttonWidth + 1); }

void TKmBrowseEdit::layoutButton()
{
    const QRect area = textArea();
    m_button->setGeometry(area.right() + 1, area.top(), m_buttonWidth, area.height());
}

void TKmBrowseEdit::resizeEvent(QResizeEvent*) { layoutButton(); }

TKmBrowseEdit::ShownText TKmBrowseEdit::shownText() const
{
    const std::string& bytes = m_model.text();
    QString text;
    std::vector<int> indexAt(bytes.size() + 1, 0);
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t end = platform::charEnd(bytes, pos);
        for (std::size_t i = pos; i < end; ++i) indexAt[i] = static_cast<int>(text.size());
        text += fromSystemBytes(std::string_view(bytes).substr(pos, end - pos));
        pos = end;
    }
    indexAt[bytes.size()] = static_cast<int>(text.size());
    return {TextLine(text, font()), std::move(indexAt)};
}

int TKmBrowseEdit::ShownText::caretX(int pos) const { return line.caretX(indexAt[static_cast<std::size_t>(pos - 1)]); }

int TKmBrowseEdit::caretX(int pos) const { return textLeft() + shownText().caretX(pos); }

int TKmBrowseEdit::posAt(int x) const
{
    const ShownText shown = shownText();
    auto distance = [&](int pos) { return std::abs(textLeft() + shown.caretX(pos) - x); };
    int best = 1, bestDistance = distance(1);
    for (int pos = 1; pos <= m_model.length();) {
        pos = m_model.nextCharPos(pos);
        if (distance(pos) < bestDistance) {
            best = pos;
            bestDistance = distance(pos);
        }
    }
    return best;
}

void TKmBrowseEdit::placeCaret()
{
    if (!hasFocus()) return;
    // A caret past the right edge comes back two pixels inside it.
    m_edit.scrollToShow(shownText().caretX(m_model.caret()), textArea().width(), 2);
    m_edit.startBlink(m_blinkRate);
}

void TKmBrowseEdit::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), toQColor(m_color));
    drawSunkenBevel(p, rect());

    const QRect area = textArea();
    const ShownText shown = shownText();
    const int rowHeight = shown.line.height();
    const int top = area.top() + (area.height() - rowHeight) / 2;
    const int left = textLeft();
    auto index = [&shown](int pos) { return shown.indexAt[static_cast<std::size_t>(pos - 1)]; };
    int selFrom = 0, selTo = 0;
    if (m_model.hasSelection() && (hasFocus() || !m_hideSelection)) {
        selFrom = index(m_model.selStart());
        selTo = index(m_model.selStart() + m_model.selLength());
    }
    DrawnLineEdit::drawText(p, area, shown.line, QPoint(left, top), toQColor(isEnabled() ? m_font.Color : clGrayText),
                            selFrom, selTo, toQColor(m_highlightBack), toQColor(m_highlightText));
    // The caret is as tall as the font's letters with their ascenders and descenders.
    const int caretHeight = QFontMetrics(font()).boundingRect(QStringLiteral("Qp")).height();
    m_edit.drawCaret(p, QRect(left + shown.caretX(m_model.caret()), top, 1, caretHeight), area);
}

void TKmBrowseEdit::afterEdit()
{
    placeCaret();
    update();
    emit cursorPosChanged();
}

void TKmBrowseEdit::typeText(const QString& text)
{
    for (const char32_t c : text.toUcs4()) {
        if (c < 32 || c == 127) continue;
        m_model.typeChar(toSystemBytes(QString::fromUcs4(&c, 1)));
    }
}

void TKmBrowseEdit::copy()
{
    if (m_model.hasSelection()) QApplication::clipboard()->setText(fromSystemBytes(m_model.selectedText()));
}

void TKmBrowseEdit::cut()
{
    if (m_model.readOnly() || !m_model.hasSelection()) return;
    copy();
    m_model.deleteSelection();
}

void TKmBrowseEdit::paste()
{
    QString clip = QApplication::clipboard()->text();
    const qsizetype lineEnd = clip.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (lineEnd >= 0) clip.truncate(lineEnd);
    m_model.insertText(toSystemBytes(clip));
}

void TKmBrowseEdit::keyPressEvent(QKeyEvent* event)
{
    if (!isEnabled()) return;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool alt = event->modifiers() & Qt::AltModifier;
    switch (event->key()) {
    case Qt::Key_Backspace: m_model.backspace(); break;
    case Qt::Key_Delete:
        if (shift) cut();
        else m_model.deleteForward();
        break;
    case Qt::Key_Left: m_model.moveLeft(ctrl, shift); break;
    case Qt::Key_Right: m_model.moveRight(ctrl, shift); break;
    case Qt::Key_Home: m_model.home(shift); break;
    case Qt::Key_End: m_model.end(shift); break;
    case Qt::Key_Escape:
        m_model.clearSelection();
        event->ignore();  // the window may still want it
        update();
        return;
    case Qt::Key_Insert:
        if (shift) paste();
        else if (ctrl) copy();
        else if (!alt) TBrowseText::setOverwriteMode(!TBrowseText::overwriteMode());
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab: event->ignore(); return;
    default:
        if (ctrl) {
            switch (event->key()) {
            case Qt::Key_A: m_model.selectAll(); break;
            case Qt::Key_C: copy(); break;
            case Qt::Key_V: paste(); break;
            case Qt::Key_X: cut(); break;
            case Qt::Key_Z: m_model.undo(); break;
            default: event->ignore(); return;
            }
        } else if (!event->text().isEmpty()) {
            typeText(event->text());
        } else {
            event->ignore();
            return;
        }
    }
    afterEdit();
}

void TKmBrowseEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (isEnabled() && !event->commitString().isEmpty()) {
        typeText(event->commitString());
        afterEdit();
    }
    event->accept();
}

void TKmBrowseEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    m_model.setCaret(posAt(event->position().toPoint().x()), event->modifiers() & Qt::ShiftModifier);
    m_selecting = true;
    afterEdit();
}

void TKmBrowseEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_selecting) return;
    m_model.setCaret(posAt(event->position().toPoint().x()), true);
    afterEdit();
}

void TKmBrowseEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) m_selecting = false;
    if (event->button() == Qt::RightButton && isEnabled() && contextMenuPolicy() == Qt::DefaultContextMenu) {
        QMenu* menu = createContextMenu();
        menu->exec(event->globalPosition().toPoint());
        delete menu;
    }
}

bool TKmBrowseEdit::event(QEvent* event)
{
    // The menu opens on the right button's release; the keyboard's menu key opens it at the caret.
    if (event->type() == QEvent::ContextMenu && contextMenuPolicy() == Qt::DefaultContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        if (menuEvent->reason() == QContextMenuEvent::Keyboard && isEnabled()) {
            QMenu* menu = createContextMenu();
            menu->exec(mapToGlobal(QPoint(caretX(m_model.caret()), height() / 2)));
            delete menu;
        }
        return true;
    }
    return QWidget::event(event);
}

QMenu* TKmBrowseEdit::createContextMenu()
{
    auto* menu = new QMenu(this);
    const bool writable = !m_model.readOnly();
    const bool selection = m_model.hasSelection();
    auto add = [&](const QString& caption, bool enabled, auto slot) {
        QAction* action = menu->addAction(caption);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [this, slot] {
            slot();
            afterEdit();
        });
    };
    add(QStringLiteral("&Undo"), writable && m_model.undoEnabled(), [this] { m_model.undo(); });
    menu->addSeparator();
    add(QStringLiteral("&Cut"), writable && selection, [this] { cut(); });
    add(QStringLiteral("&Copy"), selection, [this] { copy(); });
    add(QStringLiteral("&Insert"), writable && !QApplication::clipboard()->text().isEmpty(), [this] { paste(); });
    add(QStringLiteral("&Delete"), writable && selection, [this] { m_model.deleteSelection(); });
    menu->addSeparator();
    add(QStringLiteral("Select all"), m_model.length() > 0, [this] { m_model.selectAll(); });
    return menu;
}

void TKmBrowseEdit::focusInEvent(QFocusEvent* event)
{
    QApplication::setCursorFlashTime(2 * m_blinkRate);
    m_edit.startBlink(m_blinkRate);
    if (m_autoSelect) m_model.selectAll();
    placeCaret();
    QWidget::focusInEvent(event);
}

void TKmBrowseEdit::focusOutEvent(QFocusEvent* event)
{
    m_edit.stopBlink();
    QApplication::setCursorFlashTime(m_savedFlashTime);
    QWidget::focusOutEvent(event);
}

void TKmBrowseEdit::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange) update();
    QWidget::changeEvent(event);
}

void TKmBrowseEdit::DoOnBrowseClick()
{
    TKmBrowseDlg dialog(window());
    dialog.setStartFolder(m_startFolder);
    dialog.setOptions(m_options);
    if (m_startWithLast && !m_model.text().empty()) dialog.setSelectedFolder(m_model.text());
    emit execute(&dialog);
    if (dialog.Execute()) SetPath(dialog.SelectedFolder());
}

}  // namespace kelmora
