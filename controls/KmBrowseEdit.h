#pragma once
// One-line folder field with a browse button inside its right edge. The field
// draws its own text from a TBrowseText model, laid out with the font's own
// advances; the button opens TKmBrowseDlg and a confirmed folder replaces the
// text as SetPath does. A text set from outside shows from its start.

#include <QAbstractButton>
#include <QWidget>
#include <string>
#include <vector>

#include "controls/BrowseText.h"
#include "controls/Colors.h"
#include "controls/DrawnLineEdit.h"
#include "controls/Fonts.h"
#include "controls/KmBrowseDlg.h"
#include "controls/TextLine.h"

class QMenu;

namespace kelmora {

// The browse button: integrated face, a 13 x 14 folder glyph.
class TKmBrowseButton : public QAbstractButton {
public:
    explicit TKmBrowseButton(QWidget* parent = nullptr);
    static QImage folderGlyph();

protected:
    void paintEvent(QPaintEvent*) override;
};

class TKmBrowseEdit : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool StartWithLast READ StartWithLast WRITE setStartWithLast)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE setMaxLength)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
public:
    explicit TKmBrowseEdit(QWidget* parent = nullptr);
    ~TKmBrowseEdit() override;

    void BeginLoad();
    void Loaded();

    std::string GetPath() const { return m_model.text(); }
    void SetPath(const std::string& path);
    // True inside the change event that SetPath (or the picker) raises, false
    // for a change typed by the user.
    bool SettingPath() const { return m_settingPath; }

    TBrowseText& model() { return m_model; }
    const TBrowseText& model() const { return m_model; }

    bool StartWithLast() const { return m_startWithLast; }
    void setStartWithLast(bool on) { m_startWithLast = on; }
    TKmBrowseDlgOptions Options() const { return m_options; }
    void setOptions(TKmBrowseDlgOptions options) { m_options = options; }
    TKmSystemFolders StartFolder() const { return m_startFolder; }
    void setStartFolder(TKmSystemFolders folder) { m_startFolder = folder; }
    int MaxLength() const { return m_model.maxLength(); }
    void setMaxLength(int length) { m_model.setMaxLength(length); }
    bool ReadOnly() const { return m_model.readOnly(); }
    void setReadOnly(bool readOnly) { m_model.setReadOnly(readOnly); }
    TCharCase CharCase() const { return m_model.charCase(); }
    void setCharCase(TCharCase charCase) { m_model.setCharCase(charCase); }
    bool AutoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool on) { m_autoSelect = on; }
    bool HideSelection() const { return m_hideSelection; }
    void setHideSelection(bool on);
    bool Modified() const { return m_model.modified(); }
    void setModified(bool modified) { m_model.setModified(modified); }

    TColor Color() const { return m_color; }
    void setColor(TColor color);
    TColor HighlightBack() const { return m_highlightBack; }
    void setHighlightBack(TColor color);
    TColor HighlightText() const { return m_highlightText; }
    void setHighlightText(TColor color);
    using QWidget::setFont;
    const TFont& Font() const { return m_font; }
    void setFont(const TFont& font);
    // Caret blink: milliseconds between showing and hiding the caret.
    int CaretBlinkRate() const { return m_blinkRate; }
    void setCaretBlinkRate(int ms);
    int ButtonWidth() const { return m_buttonWidth; }
    void setButtonWidth(int width);

    TKmBrowseButton* browseButton() const { return m_button; }
    // The text area inside the bevel, left of the button.
    QRect textArea() const;
    // Horizontal scroll of the text in pixels (0 = text starts at the left).
    int scrollOffset() const { return m_edit.scroll(); }
    // x in the field of the caret position pos, and the position nearest to x.
    int caretX(int pos) const;
    int posAt(int x) const;
    bool caretVisible() const { return m_edit.caretShown(); }

    // The context menu for the current state (the caller owns it).
    QMenu* createContextMenu();

    // The browse button's click: runs the picker and takes a confirmed folder.
    virtual void DoOnBrowseClick();

signals:
    void changed();                            // OnChange
    void textChangedAt(int position);          // OnTextChangedAt
    void cursorPosChanged();                   // OnCursorPosChanged
    void execute(kelmora::TKmBrowseDlg* dlg);  // OnExecute: before the picker opens

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void inputMethodEvent(QInputMethodEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    void changeEvent(QEvent*) override;
    bool event(QEvent*) override;

private:
    void modelChanged();
    void typeText(const QString& text);
    void copy();
    void cut();
    void paste();
    void afterEdit();
    void placeCaret();
    // The text as laid out: each character of the code page decoded on its own, so
    // every caret position (a byte position) has its place in the line.
    struct ShownText {
        TextLine line;
        std::vector<int> indexAt;  // UTF-16 index of caret position pos at [pos - 1]
        // x of caret position pos from the line's start.
        int caretX(int pos) const;
    };
    ShownText shownText() const;
    int textLeft() const { return m_edit.textLeft(textArea()); }
    void layoutButton();

    TBrowseText m_model;
    TKmBrowseButton* m_button = nullptr;
    DrawnLineEdit m_edit{*this};
    TFont m_font;
    TColor m_color = clWhite;
    TColor m_highlightBack = clHighlight;
    TColor m_highlightText = clHighlightText;
    TKmBrowseDlgOptions m_options = kDefaultBrowseDlgOptions;
    TKmSystemFolders m_startFolder = bfoDesktopExpanded;
    int m_blinkRate;
    int m_savedFlashTime;
    int m_buttonWidth = 18;
    bool m_startWithLast = false;
    bool m_autoSelect = false;
    bool m_hideSelection = true;
    bool m_loading = false;
    bool m_selecting = false;
    bool m_settingPath = false;
};

}  // namespace kelmora
