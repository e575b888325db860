#pragma once
// The start-second preview: Panel11 with the picture of the target at the
// chosen second. The extractor's run is watched, not waited for: the window
// goes on, and the picture comes when the run ends. The panel shows for two
// seconds (its timer) each time, with the picture or without one.

#include <memory>
#include <string>

#include "cut/Preview.h"

class QLabel;
class QTimer;
class QWidget;

namespace kelmora {

class ProcessEndWatch;

class PreviewPanel {
public:
    PreviewPanel(std::string programFolder, std::string previewFile, QWidget& panel, QLabel& image, QTimer& timer);
    ~PreviewPanel();

    // Starts the run for target at second, ending an older one; without a
    // target, or when the extractor cannot be started, shows the panel as it is.
    void preview(const std::string& target, int second);
    // Shows the panel for its two seconds from now.
    void show();
    void hide();

private:
    // The run has ended: its picture is shown, or the reason it cannot be read.
    void runEnded();

    QWidget& m_panel;
    QLabel& m_image;
    QTimer& m_timer;
    PreviewRun m_run;
    std::unique_ptr<ProcessEndWatch> m_watch;  // after m_run: goes before the run it watches
};

}  // namespace kelmora
