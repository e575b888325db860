#pragma once
// "詳細設定…": the cut choices beyond the window's own, one group box per
// concern (which frames become images, how the images are named, their
// quality and shape, what becomes of images already there). It edits
// a copy of the options; the window takes the DETAIL keys of settings()
// when the dialog is accepted.

#include <QDialog>

#include "settings/CutSettings.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QRadioButton;
class QSpinBox;

namespace kelmora {

class DetailDialog : public QDialog {
    Q_OBJECT
public:
    explicit DetailDialog(const TCutSettings& settings, QWidget* parent = nullptr);

    // The options given, with the dialog's choices.
    TCutSettings settings() const;

    // The controls, for tests.
    QRadioButton* pickButton(std::int32_t mode) const;
    QSpinBox* sceneThreshold() const { return m_scene; }
    QSpinBox* everySeconds() const { return m_every; }
    QCheckBox* noRepeats() const { return m_noRepeats; }
    QRadioButton* namesButton(std::int32_t names) const;
    QSpinBox* quality() const { return m_quality; }
    QRadioButton* sizeModeButton(std::int32_t mode) const;
    QCheckBox* webp() const { return m_webp; }
    QCheckBox* lossless() const { return m_lossless; }
    QSpinBox* pngLevel() const { return m_pngLevel; }
    QRadioButton* existingButton(ExistingImages existing) const;

private:
    QGroupBox* pickGroup();
    QGroupBox* namesGroup();
    QGroupBox* pixelsGroup();
    QGroupBox* existingGroup();
    void updateEnabled();

    TCutSettings m_settings;
    QButtonGroup* m_pick = nullptr;
    QSpinBox* m_scene = nullptr;
    QSpinBox* m_every = nullptr;
    QCheckBox* m_noRepeats = nullptr;
    QButtonGroup* m_names = nullptr;
    QSpinBox* m_quality = nullptr;
    QButtonGroup* m_sizeMode = nullptr;
    QCheckBox* m_webp = nullptr;
    QCheckBox* m_lossless = nullptr;
    QSpinBox* m_pngLevel = nullptr;
    QButtonGroup* m_existing = nullptr;
};

// Copies the DETAIL keys of from into to: the dialog's choices, and those
// read from the settings file.
void copyDetailKeys(const TCutSettings& from, TCutSettings& to);

// What the window shows of the detail choices before a cut: empty while the
// frames are picked and named as the window's own options say, else a short
// name of the mode ("シーン", "60秒ごと", "時刻名") for the interval group's
// caption, and a sentence for its hint.
QString detailModeShort(const TCutSettings& settings);
QString detailModeHint(const TCutSettings& settings);
// The same for the size group (how a width and height apply: "収める") and
// the format group (WebP, a quality, a PNG compression: "WebP・画質80").
QString sizeModeShort(const TCutSettings& settings);
QString formatModeShort(const TCutSettings& settings);
// The same for the destination group: what a cut does with images already there ("とばす").
QString existingModeShort(const TCutSettings& settings);

}  // namespace kelmora
