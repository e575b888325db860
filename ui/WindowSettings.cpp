#include "ui/WindowSettings.h"

#include <string_view>

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <string_view>

#include "controls/TextBytes.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"
#include "ui/MainForm1.h"
#include "ui/Notice.h"
#include "ui/ScreenPlacement.h"

namespace kelmora {

namespace {

using T = TCutSettings;

const int kCaptionHeight = 16;  // the title strip GradBox2

// Holds a flag on for as long as it lives.
struct FlagOn {
    explicit FlagOn(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagOn() { m_flag = false; }
    bool& m_flag;
};

}  // namespace

void WindowSettings::loadAtFirstActivation(const std::function<void()>& afterLoad)
{
    // The load's conflict notice is modal: closing it activates the window
    // again before the load is over, and that activation must not load a second time.
    if (m_loaded || m_loading) return;
    const FlagOn loading(m_loading);
    load();
    afterLoad();
    m_loaded = true;
}

void WindowSettings::load()
{
    SettingsFile file(m_window.settingsFilePath());
    // Reading a FIFO would wait for ever, a huge file for long; the close
    // question decides what becomes of the save.
    if (file.state() == platform::ProfileState::NotAFile) {
        showNotice(fromSystemBytes(file.path())
                   + QStringLiteral(" は通常のファイルではないため、設定を読み込めません。既定の設定で始めます。"));
    } else if (file.state() == platform::ProfileState::TooLarge) {
        showNotice(fromSystemBytes(file.path())
                   + QStringLiteral(" は設定ファイルとしては大きすぎる（1 MiB を超える）ため、設定を読み込めません。"
                                    "既定の設定で始めます。"));
    }
    // Every key with the system-wide default or else its control's value as the
    // default, applied in the order of the file.
    const TCutSettings saved =
        readCutSettings(file, settingsDefaultsFiles(m_window.ProgramFolder()), m_window.currentSettings());
    for (const SettingsKey& key : settingsKeys()) apply(key, saved);
}

void WindowSettings::apply(const SettingsKey& key, const TCutSettings& saved)
{
    TMainForm1& w = m_window;
    // The detail choices have no control of their own on the window.
    if (std::string_view(key.section) == "DETAIL") {
        w.applyDetailSettings(saved);
        return;
    }
    if (key.integer == &T::WindowLeft) {
        w.move(saved.WindowLeft, w.y());
    } else if (key.integer == &T::WindowTop) {
        w.move(w.x(), saved.WindowTop);
        // A position saved on a screen that is gone: brought back where the caption can be seen.
        w.move(placeCaptionOnScreens(w.pos(), w.width(), kCaptionHeight, availableScreenAreas()));
    } else if (key.integer) {
        w.numberControl(key.integer)->SetValue(saved.*key.integer);
    } else if (key.choice) {
        w.choiceControl(key.choice)->setChecked(saved.*key.choice);
        if (choicesOf(key.group).back() == key.choice) w.runGroupRule(key.group);
    } else if (key.text) {
        const std::string& folder = saved.*key.text;
        w.BrowseEdit1->SetPath(folder.empty() ? defaultDestinationFolder(w.ProgramFolder()) : folder);
        w.BrowseEdit1Change();
    }
}

void WindowSettings::save()
{
    // Another program holding the file must not freeze the window: the save is
    // tried again while the window goes on painting, for a bounded time.
    const QDeadlineTimer deadline(kLockWaitMs);
    for (;;) {
        SettingsFile file(m_window.settingsFilePath());
        if (tryWriteCutSettings(file, m_window.currentSettings())) return;
        if (deadline.hasExpired()) throw SettingsWriteError(file.path(), SettingsWriteProblem::Busy);
        QEventLoop pause;
        QTimer::singleShot(50, &pause, &QEventLoop::quit);
        pause.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

bool WindowSettings::saveBeforeClose()
{
    try {
        const FlagOn saving(m_saving);
        save();
    } catch (const SettingsWriteError& error) {
        // A file that cannot be written must not keep the user in the program.
        return askQuestion(fromSystemBytes(error.what()) + QStringLiteral("\n保存せずに閉じますか？"));
    }
    return true;
}

}  // namespace kelmora
