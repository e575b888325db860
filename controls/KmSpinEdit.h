#pragma once
// One-line integer field with a spin button inside its right edge. The text is
// the value's only store: GetValue reads it (without clamping) and SetValue
// writes it clamped. A typed number is clamped only when the focus leaves.
// Whatever the user brings in (keys, a paste of either clipboard, an input
// method) passes the same character filter and MaxLength; the field takes no
// drops. It lays out and draws its own text, so a number that fits the text
// area is shown whole.

#include <QClipboard>
#include <QLineEdit>
#include <cstdint>
#include <optional>
#include <string_view>

#include "controls/Colors.h"
#include "controls/DrawnLineEdit.h"
#include "controls/Fonts.h"
#include "controls/IntegerText.h"
#include "controls/TextLine.h"

namespace kelmora {

class TKmSpinButton;

// The sunken two-pixel border of an edit field around r.
void drawSunkenBevel(QPainter& p, const QRect& r);

class TKmSpinEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int MinValue READ MinValue WRITE setMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE setMaxValue)
    Q_PROPERTY(int LineSize READ LineSize WRITE setLineSize)
    Q_PROPERTY(int PageSize READ PageSize WRITE setPageSize)
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)
    Q_PROPERTY(bool EditorEnabled READ EditorEnabled WRITE setEditorEnabled)
public:
    explicit TKmSpinEdit(QWidget* parent = nullptr);

    // Stored layout: no changed() between BeginLoad and Loaded, and the limits
    // may arrive in any order.
    void BeginLoad();
    void Loaded();
    bool loading() const { return m_loading; }

    int GetValue();
    // What GetValue returns, without putting a number back into the field, so
    // that following the user's typing never changes what is typed.
    int valueShown() const;
    void SetValue(int value);
    int CheckValue(int value) const;

    int MinValue() const { return m_minValue; }
    void setMinValue(int value);
    int MaxValue() const { return m_maxValue; }
    void setMaxValue(int value);
    int LineSize() const { return m_lineSize; }
    void setLineSize(int value) { m_lineSize = value; }
    int PageSize() const { return m_pageSize; }
    void setPageSize(int value) { m_pageSize = value; }
    // The step of the button, the arrow keys and the wheel (LineSize by another name).
    int Increment() const { return m_lineSize; }
    void setIncrement(int value) { m_lineSize = value; }
    int Interval() const;
    void setInterval(int ms);
    QString Suffix() const { return m_suffix; }
    void setSuffix(const QString& suffix);
    Qt::Alignment Alignment() const { return alignment(); }
    void setAlignment(Qt::Alignment alignment) { QLineEdit::setAlignment(alignment); }

    // Bounds only what the user brings in; SetValue and the steps may go past it.
    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int length) { m_maxLength = length < 0 ? 0 : length; }
    bool EditorEnabled() const { return m_editorEnabled; }
    void setEditorEnabled(bool enabled) { m_editorEnabled = enabled; }
    bool ReadOnly() const { return isReadOnly(); }
    void setReadOnly(bool readOnly) { QLineEdit::setReadOnly(readOnly); }
    bool AutoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool autoSelect) { m_autoSelect = autoSelect; }

    TColor Color() const { return m_color; }
    void setColor(TColor color);
    using QWidget::setFont;
    const TFont& Font() const { return m_font; }
    void setFont(const TFont& font);

    TKmSpinButton* Button() const { return m_button; }

    // The key filter for typed characters.
    virtual bool IsValidChar(char32_t c) const;

    // Smallest height the field takes for its font.
    int minimumFieldHeight() const;

    // Where the text is drawn: inside the border, left of the button.
    QRect textArea() const;
    // Horizontal scroll of the text in pixels (0 = the text starts at the area's left).
    int scrollOffset() const { return m_edit.scroll(); }

public slots:
    void UpClick();
    void DownClick();

signals:
    void changed();

protected:
    void keyPressEvent(QKeyEvent*) override;
    void inputMethodEvent(QInputMethodEvent*) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void paintEvent(QPaintEvent*) override;
    void contextMenuEvent(QContextMenuEvent*) override;

private:
    void stepBy(std::int64_t delta);
    void setTextChecked(const QString& text);
    // The value the text stands for, and the text GetValue leaves in the field.
    struct Reading {
        int value;
        QString text;
    };
    Reading read() const;
    bool canEdit() const { return m_editorEnabled && !isReadOnly(); }
    bool fitsMaxLength(int insertedChars) const;
    // True when the key filter takes every character of text as typed input.
    bool takesAsTyped(const QString& text) const;
    // Inserts text from a clipboard in place of the selection, as typing
    // would: refused with a beep when the filter refuses a character, cut to MaxLength.
    void insertFiltered(QString text);
    void pasteFrom(QClipboard::Mode mode);
    void applyColors();
    void layoutButton();

    TextLine textLine() const;
    QPoint textOrigin(const TextLine& line) const;
    int positionAt(int x) const;
    QRect caretRect(const TextLine& line) const;
    // Keeps the caret inside the text area while focused; shows the start otherwise.
    void scrollToCaret();
    void restartCaretBlink();

    TKmSpinButton* m_button = nullptr;
    QString m_suffix;
    TColor m_color = clWindow;
    TFont m_font;
    int m_minValue = 0;
    int m_maxValue = 100;
    int m_lineSize = 1;
    int m_pageSize = 10;
    int m_maxLength = 0;
    int m_wheelDelta = 0;
    int m_selectionAnchor = 0;  // where a mouse selection started
    DrawnLineEdit m_edit{*this};
    bool m_mouseSelecting = false;
    bool m_editorEnabled = true;
    bool m_autoSelect = true;
    bool m_loading = false;
};

}  // namespace kelmora
