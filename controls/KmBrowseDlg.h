#pragma once
// The folder picker: a modal folder dialog that shows folders only, preselects a
// folder and is placed on the screen by Position relative to RelatePos.

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>
#include <string>

class QFileDialog;
class QWidget;

namespace kelmora {

enum TKmBrowseDlgOption : unsigned {
    doBrowseForComputer = 1u << 0,
    doBrowseForPrinter = 1u << 1,
    doDontGoBelowDomain = 1u << 2,
    doReturnFileSysAncestors = 1u << 3,
    doReturnFileSysDirs = 1u << 4,
    doStatusText = 1u << 5,
    doShowFiles = 1u << 6,
    doAllowEdit = 1u << 7,
    doShowPath = 1u << 8,
    doEnableOK = 1u << 9,
};
using TKmBrowseDlgOptions = unsigned;
constexpr TKmBrowseDlgOptions kDefaultBrowseDlgOptions = doReturnFileSysDirs | doShowPath;

// Roots of the picker's tree. Kept for stored layouts; the folder dialog here
// always starts from the whole file system.
// clang-format off
enum TKmSystemFolders {
    bfoDesktop, bfoDesktopExpanded, bfoPrograms, bfoControlPanel, bfoPrinters, bfoPersonal,
    bfoFavorites, bfoStartup, bfoRecent, bfoSendto, bfoRecycleBin, bfoStartMenu,
    bfoDesktopDirectory, bfoMyComputer, bfoNetwork, bfoNetworkNeighborhood, bfoInternet,
    bfoFonts, bfoTemplates, bfoCommonStartMenu, bfoCommonPrograms, bfoCommonStartup,
    bfoCommonDesktopDirectory, bfoAppData, bfoPrintHood, bfoAltStartup, bfoCommonAltstartup,
    bfoCommonFavorites, bfoInternetChache, bfoCookies, bfoHistory,
};

enum TKmDlgPosition {
    bpCustom, bpTopLeft, bpTopCenter, bpTopRight, bpCenterLeft, bpCenter, bpCenterRight,
    bpBottomLeft, bpBottomCenter, bpBottomRight,
};
// clang-format on

enum TKmDlgPosRel { brScreen, brScreenWorkArea, brMainForm, brActiveWindow };

// Top-left corner of a dialog of the given size placed at position in target,
// pulled back to end at target's bottom or right where it would pass the screen's,
// and never above or left of the screen.
QPoint placeDialog(QSize size, QRect target, QRect screen, TKmDlgPosition position);

class TKmBrowseDlg : public QObject {
    Q_OBJECT
public:
    // Runs the prepared dialog and returns its result code; the default execs it.
    using Runner = std::function<int(QFileDialog&)>;

    explicit TKmBrowseDlg(QObject* owner = nullptr);
    ~TKmBrowseDlg() override;

    // Shows the dialog modally over the owning window (or the active one).
    // True when a folder was confirmed; SelectedFolder then holds its path.
    bool Execute();

    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }
    QString CaptionTitle() const { return m_captionTitle; }
    void setCaptionTitle(const QString& title) { m_captionTitle = title; }
    QString StatusText() const { return m_statusText; }
    void setStatusText(const QString& text) { m_statusText = text; }
    // In: the folder to preselect; out: the confirmed folder (bytes of the system code page).
    const std::string& SelectedFolder() const { return m_selectedFolder; }
    void setSelectedFolder(const std::string& folder) { m_selectedFolder = folder; }
    // Name of the confirmed folder as the dialog shows it.
    QString DisplayName() const { return m_displayName; }
    TKmSystemFolders StartFolder() const { return m_startFolder; }
    void setStartFolder(TKmSystemFolders folder) { m_startFolder = folder; }
    TKmBrowseDlgOptions Options() const { return m_options; }
    void setOptions(TKmBrowseDlgOptions options) { m_options = options; }
    TKmDlgPosition Position() const { return m_position; }
    void setPosition(TKmDlgPosition position) { m_position = position; }
    TKmDlgPosRel RelatePos() const { return m_relatePos; }
    void setRelatePos(TKmDlgPosRel relatePos) { m_relatePos = relatePos; }

    // The dialog while Execute runs, else null.
    QFileDialog* dialog() const { return m_dialog; }

    // Replaces how every picker is run (tests answer it without blocking).
    static void setRunner(Runner runner);

signals:
    void init(QFileDialog* dialog);              // OnInit: placed and preselected
    void selectionChanged(const QString& path);  // OnSelectionChanged

private:
    QRect targetRect(const QWidget* dialog) const;

    QString m_caption, m_captionTitle, m_statusText, m_displayName;
    std::string m_selectedFolder;
    TKmSystemFolders m_startFolder = bfoDesktopExpanded;
    TKmBrowseDlgOptions m_options = kDefaultBrowseDlgOptions;
    TKmDlgPosition m_position = bpCenter;
    TKmDlgPosRel m_relatePos = brActiveWindow;
    QFileDialog* m_dialog = nullptr;
};

}  // namespace kelmora
