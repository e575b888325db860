#include "ui/DetailDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <string_view>

namespace kelmora {

namespace {

QSpinBox* spinFor(IntegerField field, std::int32_t value, const QString& suffix)
{
    const SettingsKey& key = settingsKey(field);
    auto* spin = new QSpinBox;
    spin->setRange(key.minValue, key.maxValue);
    spin->setValue(value);
    spin->setSuffix(suffix);
    return spin;
}

}  // namespace

DetailDialog::DetailDialog(const TCutSettings& settings, QWidget* parent) : QDialog(parent), m_settings(settings)
{
    setWindowTitle(QStringLiteral("詳細設定"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pickGroup());
    layout->addWidget(namesGroup());
    layout->addWidget(pixelsGroup());
    layout->addWidget(existingGroup());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    updateEnabled();
}

QGroupBox* DetailDialog::pickGroup()
{
    auto* group = new QGroupBox(QStringLiteral("カットするフレーム"));
    auto* grid = new QGridLayout(group);
    m_pick = new QButtonGroup(group);
    const struct {
        std::int32_t mode;
        const char* text;
    } choices[] = {
        {kPickPlain, "カット間隔のとおり"},
        {kPickScenes, "シーンの変わり目ごと（と最初のフレーム）"},
        {kPickKeyFrames, "キーフレームのみ（速い）"},
        {kPickEvery, "一定の秒数ごと"},
    };
    int row = 0;
    for (const auto& choice : choices) {
        auto* button = new QRadioButton(QString::fromUtf8(choice.text));
        m_pick->addButton(button, choice.mode);
        grid->addWidget(button, row++, 0);
    }
    const std::int32_t mode =
        m_settings.PickMode >= kPickPlain && m_settings.PickMode <= kPickEvery ? m_settings.PickMode : kPickPlain;
    m_pick->button(mode)->setChecked(true);
    m_scene = spinFor(&TCutSettings::SceneThreshold, m_settings.SceneThreshold, QStringLiteral(" %"));
    m_scene->setToolTip(QStringLiteral("前のフレームとどれだけ違えば変わり目とみなすか（小さいほど多く拾う）"));
    grid->addWidget(m_scene, 1, 1);
    m_every = spinFor(&TCutSettings::EverySeconds, m_settings.EverySeconds, QStringLiteral(" 秒"));
    grid->addWidget(m_every, 3, 1);
    m_noRepeats = new QCheckBox(QStringLiteral("ほぼ同じ画像が続くときは省く"));
    m_noRepeats->setChecked(m_settings.NoRepeats);
    grid->addWidget(m_noRepeats, row, 0, 1, 2);
    connect(m_pick, &QButtonGroup::idToggled, this, [this] { updateEnabled(); });
    return group;
}

QGroupBox* DetailDialog::namesGroup()
{
    auto* group = new QGroupBox(QStringLiteral("画像の名前"));
    auto* box = new QVBoxLayout(group);
    m_names = new QButtonGroup(group);
    auto* numbered = new QRadioButton(QStringLiteral("連番（clip_00001.jpg）"));
    auto* byTime = new QRadioButton(QStringLiteral("動画内の時刻（clip_00-01-23.456.jpg）"));
    m_names->addButton(numbered, kNamesNumbered);
    m_names->addButton(byTime, kNamesByTime);
    box->addWidget(numbered);
    box->addWidget(byTime);
    (m_settings.ImageNames == kNamesByTime ? byTime : numbered)->setChecked(true);
    return group;
}

QGroupBox* DetailDialog::pixelsGroup()
{
    auto* group = new QGroupBox(QStringLiteral("画質と形"));
    auto* grid = new QGridLayout(group);
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("画質（JPEG・WebP、1〜100）")), row, 0);
    m_quality = spinFor(&TCutSettings::ImageQuality, m_settings.ImageQuality, {});
    m_quality->setSpecialValueText(QStringLiteral("標準（高画質）"));
    grid->addWidget(m_quality, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("「幅 x 高さ」の合わせ方")), row++, 0, 1, 2);
    m_sizeMode = new QButtonGroup(group);
    const struct {
        std::int32_t mode;
        const char* text;
    } sizes[] = {
        {smExact, "幅 x 高さちょうど"},
        {smFit, "幅 x 高さに収める（形を保つ）"},
        {smWidth, "幅に合わせる（高さは形から）"},
        {smHeight, "高さに合わせる（幅は形から）"},
    };
    for (const auto& size : sizes) {
        auto* button = new QRadioButton(QString::fromUtf8(size.text));
        m_sizeMode->addButton(button, size.mode);
        grid->addWidget(button, row++, 0, 1, 2);
    }
    const std::int32_t mode =
        m_settings.SizeMode >= smExact && m_settings.SizeMode <= smHeight ? m_settings.SizeMode : smExact;
    m_sizeMode->button(mode)->setChecked(true);
    m_webp = new QCheckBox(QStringLiteral("WebP で保存（保存形式の代わりに）"));
    m_webp->setChecked(m_settings.FormatWebp);
    grid->addWidget(m_webp, row, 0);
    m_lossless = new QCheckBox(QStringLiteral("ロスレス"));
    m_lossless->setChecked(m_settings.WebpLossless);
    grid->addWidget(m_lossless, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("PNG の圧縮（0〜9）")), row, 0);
    m_pngLevel = spinFor(&TCutSettings::PngLevel, m_settings.PngLevel, {});
    m_pngLevel->setSpecialValueText(QStringLiteral("標準"));
    grid->addWidget(m_pngLevel, row, 1);
    connect(m_webp, &QCheckBox::toggled, this, [this] { updateEnabled(); });
    connect(m_lossless, &QCheckBox::toggled, this, [this] { updateEnabled(); });
    return group;
}

QRadioButton* DetailDialog::sizeModeButton(std::int32_t mode) const
{
    return qobject_cast<QRadioButton*>(m_sizeMode->button(mode));
}

QGroupBox* DetailDialog::existingGroup()
{
    auto* group = new QGroupBox(QStringLiteral("保存先に同じ名前の画像があるとき"));
    auto* box = new QVBoxLayout(group);
    m_existing = new QButtonGroup(group);
    const struct {
        ExistingImages existing;
        const char* text;
    } choices[] = {
        {ExistingImages::Rename, "別の名前で保存（clip (2)_00001.jpg）"},
        {ExistingImages::Skip, "同じ設定でカット済みの動画はとばす"},
        {ExistingImages::Overwrite, "上書きする"},
    };
    for (const auto& choice : choices) {
        auto* button = new QRadioButton(QString::fromUtf8(choice.text));
        m_existing->addButton(button, static_cast<int>(choice.existing));
        box->addWidget(button);
    }
    QAbstractButton* chosen = m_existing->button(m_settings.Existing);
    (chosen ? chosen : m_existing->button(static_cast<int>(ExistingImages::Rename)))->setChecked(true);
    return group;
}

QRadioButton* DetailDialog::existingButton(ExistingImages existing) const
{
    return qobject_cast<QRadioButton*>(m_existing->button(static_cast<int>(existing)));
}

void DetailDialog::updateEnabled()
{
    const int mode = m_pick->checkedId();
    m_scene->setEnabled(mode == kPickScenes);
    m_every->setEnabled(mode == kPickEvery);
    // Repeats are left out of every frame or N a second only.
    m_noRepeats->setEnabled(mode == kPickPlain);
    m_lossless->setEnabled(m_webp->isChecked());
    // A lossless image has no quality to choose.
    m_quality->setEnabled(!(m_webp->isChecked() && m_lossless->isChecked()));
}

TCutSettings DetailDialog::settings() const
{
    TCutSettings s = m_settings;
    s.PickMode = m_pick->checkedId();
    s.SceneThreshold = m_scene->value();
    s.EverySeconds = m_every->value();
    s.NoRepeats = m_noRepeats->isChecked();
    s.ImageNames = m_names->checkedId();
    s.ImageQuality = m_quality->value();
    s.SizeMode = m_sizeMode->checkedId();
    s.FormatWebp = m_webp->isChecked();
    s.WebpLossless = m_lossless->isChecked();
    s.PngLevel = m_pngLevel->value();
    s.Existing = m_existing->checkedId();
    return s;
}

QRadioButton* DetailDialog::pickButton(std::int32_t mode) const
{
    return qobject_cast<QRadioButton*>(m_pick->button(mode));
}

QRadioButton* DetailDialog::namesButton(std::int32_t names) const
{
    return qobject_cast<QRadioButton*>(m_names->button(names));
}

void copyDetailKeys(const TCutSettings& from, TCutSettings& to)
{
    for (const SettingsKey& key : settingsKeys()) {
        if (std::string_view(key.section) != "DETAIL") continue;
        if (key.integer) to.*key.integer = from.*key.integer;
        if (key.choice) to.*key.choice = from.*key.choice;
        if (key.text) to.*key.text = from.*key.text;
    }
}

QString detailModeShort(const TCutSettings& s)
{
    QStringList parts;
    switch (s.PickMode) {
    case kPickScenes: parts << QStringLiteral("シーン"); break;
    case kPickKeyFrames: parts << QStringLiteral("キーフレーム"); break;
    case kPickEvery: parts << QStringLiteral("%1秒ごと").arg(s.EverySeconds); break;
    default:
        if (s.NoRepeats) parts << QStringLiteral("重複なし");
        break;
    }
    if (s.ImageNames == kNamesByTime) parts << QStringLiteral("時刻名");
    return parts.join(QStringLiteral("・"));
}

QString detailModeHint(const TCutSettings& s)
{
    QStringList lines;
    switch (s.PickMode) {
    case kPickScenes:
        lines << QStringLiteral(" シーンの変わり目ごとに１枚（しきい値 %1 %）：カット間隔は使いません")
                     .arg(s.SceneThreshold);
        break;
    case kPickKeyFrames: lines << QStringLiteral(" キーフレームのみ：カット間隔は使いません"); break;
    case kPickEvery: lines << QStringLiteral(" %1 秒ごとに１枚：カット間隔は使いません").arg(s.EverySeconds); break;
    default:
        if (s.NoRepeats) lines << QStringLiteral(" ほぼ同じ画像が続くときは省きます");
        break;
    }
    if (s.ImageNames == kNamesByTime) lines << QStringLiteral(" 画像の名前は動画内の時刻です");
    if (!lines.isEmpty()) lines << QStringLiteral(" （右クリックの「詳細設定…」で変更）");
    return lines.join(QLatin1Char('\n'));
}

QString sizeModeShort(const TCutSettings& s)
{
    switch (s.SizeMode) {
    case smFit: return QStringLiteral("収める");
    case smWidth: return QStringLiteral("幅に合わせる");
    case smHeight: return QStringLiteral("高さに合わせる");
    default: return {};
    }
}

QString formatModeShort(const TCutSettings& s)
{
    QStringList parts;
    if (s.FormatWebp) parts << (s.WebpLossless ? QStringLiteral("WebP ロスレス") : QStringLiteral("WebP"));
    if (s.ImageQuality > 0 && !(s.FormatWebp && s.WebpLossless)) parts << QStringLiteral("画質%1").arg(s.ImageQuality);
    if (s.PngLevel >= 0) parts << QStringLiteral("PNG圧縮%1").arg(s.PngLevel);
    return parts.join(QStringLiteral("・"));
}

QString existingModeShort(const TCutSettings& s)
{
    switch (static_cast<ExistingImages>(s.Existing)) {
    case ExistingImages::Skip: return QStringLiteral("カット済みはとばす");
    case ExistingImages::Overwrite: return QStringLiteral("上書き");
    default: return {};
    }
}

}  // namespace kelmora
