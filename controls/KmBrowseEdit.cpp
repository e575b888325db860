#include "controls/KmBrowseEdit.h"

#include <QApplication>
#include <QPainter>

namespace kelmora {

TKmBrowseButton::TKmBrowseButton(QWidget* parent) : QAbstractButton(parent) {}

QImage TKmBrowseButton::folderGlyph() { return QImage(13, 14, QImage::Format_ARGB32); }

void TKmBrowseButton::paintEvent(QPaintEvent*) {}

TKmBrowseEdit::TKmBrowseEdit(QWidget* parent)
    : QWidget(parent), m_blinkRate(QApplication::cursorFlashTime() / 2),
      m_savedFlashTime(QApplication::cursorFlashTime())
{
    m_button = new TKmBrowseButton(this);
    m_model.onChange = [this] { modelChanged(); };
    resize(121, 21);
}

TKmBrowseEdit::~TKmBrowseEdit() = default;

void TKmBrowseEdit::BeginLoad() { m_loading = true; }
void TKmBrowseEdit::Loaded() { m_loading = false; }

void TKmBrowseEdit::SetPath(const std::string& path) { m_model.setText(path); }

void TKmBrowseEdit::modelChanged()
{
    update();
    if (!m_loading) emit changed();
}

void TKmBrowseEdit::setHideSelection(bool on) { m_hideSelection = on; }
void TKmBrowseEdit::setColor(TColor color) { m_color = color; update(); }
void TKmBrowseEdit::setHighlightBack(TColor color) { m_highlightBack = color; update(); }
void TKmBrowseEdit::setHighlightText(TColor color) { m_highlightText = color; update(); }
void TKmBrowseEdit::setFont(const TFont& font) { m_font = font; update(); }
void TKmBrowseEdit::setCaretBlinkRate(int ms) { m_blinkRate = ms; }
void TKmBrowseEdit::setButtonWidth(int width) { m_buttonWidth = width; }
QRect TKmBrowseEdit::textArea() const { return rect().adjusted(2, 2, -3 - m_buttonWidth, -2); }
QMenu* TKmBrowseEdit::createContextMenu() { return nullptr; }
void TKmBrowseEdit::DoOnBrowseClick() {}
void TKmBrowseEdit::paintEvent(QPaintEvent*) {}
void TKmBrowseEdit::resizeEvent(QResizeEvent*) {}
void TKmBrowseEdit::keyPressEvent(QKeyEvent*) {}
void TKmBrowseEdit::inputMethodEvent(QInputMethodEvent*) {}
void TKmBrowseEdit::mousePressEvent(QMouseEvent*) {}
void TKmBrowseEdit::mouseMoveEvent(QMouseEvent*) {}
void TKmBrowseEdit::mouseReleaseEvent(QMouseEvent*) {}
void TKmBrowseEdit::focusInEvent(QFocusEvent*) {}
void TKmBrowseEdit::focusOutEvent(QFocusEvent*) {}
void TKmBrowseEdit::changeEvent(QEvent* e) { QWidget::changeEvent(e); }
bool TKmBrowseEdit::event(QEvent* e) { return QWidget::event(e); }

}  // namespace kelmora
