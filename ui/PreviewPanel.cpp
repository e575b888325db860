#include "ui/PreviewPanel.h"

#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <utility>

#include "ui/Notice.h"
#include "ui/ProcessEndWatch.h"

namespace kelmora {

PreviewPanel::PreviewPanel(std::string programFolder, std::string previewFile, QWidget& panel, QLabel& image,
                           QTimer& timer)
    : m_panel(panel),
      m_image(image),
      m_timer(timer),
      m_run(std::move(programFolder), std::move(previewFile)),
      m_watch(std::make_unique<ProcessEndWatch>())
{
}

PreviewPanel::~PreviewPanel() = default;

void PreviewPanel::preview(const std::string& target, int second)
{
    if (!target.empty()) {
        m_image.clear();
        m_watch->stop();  // an older run is ended by the new start
        if (m_run.start(target, second)) {
            m_watch->watch(*m_run.running(), [this] { runEnded(); });
            return;
        }
    }
    show();
}

void PreviewPanel::runEnded()
{
    if (const std::optional<std::string> bytes = m_run.finish()) {
        QByteArray data(bytes->data(), static_cast<qsizetype>(bytes->size()));
        QBuffer buffer(&data);
        QImageReader reader(&buffer);
        const QImage picture = reader.read();
        if (picture.isNull()) {
            // The file is gone already: this picture is reported once.
            showErrorDisplay(reader.errorString());
            return;
        }
        m_image.setPixmap(QPixmap::fromImage(picture));
    }
    show();
}

void PreviewPanel::show()
{
    m_timer.stop();
    m_panel.show();
    m_timer.start();
}

void PreviewPanel::hide()
{
    m_panel.hide();
    m_timer.stop();
}

}  // namespace kelmora
