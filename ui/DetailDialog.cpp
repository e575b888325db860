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

void DetailDialog::updateEnabled()
{
    const int mode = m_pick->checkedId();
    m_scene->setEnabled(mode == kPickScenes);
    m_every->setEnabled(mode == kPickEvery);
    // Repeats are left out of every frame or N a second only.
    m_noRepeats->setEnabled(mode == kPickPlain);
}

TCutSettings DetailDialog::settings() const
{
    TCutSettings s = m_settings;
    s.PickMode = m_pick->checkedId();
    s.SceneThreshold = m_scene->value();
    s.EverySeconds = m_every->value();
    s.NoRepeats = m_noRepeats->isChecked();
    s.ImageNames = m_names->checkedId();
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

}  // namespace kelmora
