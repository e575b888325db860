#pragma once
// The main window's settings file: loaded at the window's first activation
// into its controls, key by key in the order of the file, and saved when the
// window closes, without freezing it while another program holds the file.

#include <functional>

#include "settings/CutSettings.h"

namespace kelmora {

class TMainForm1;

class WindowSettings {
public:
    // How long a close waits for a file another program holds.
    static constexpr int kLockWaitMs = 2000;

    explicit WindowSettings(TMainForm1& window) : m_window(window) {}

    // The first activation: loads every key, then runs afterLoad (the
    // command line's targets). Any later activation does nothing.
    void loadAtFirstActivation(const std::function<void()>& afterLoad);
    bool loaded() const { return m_loaded; }

    // Writes every key. When the file refuses the save, or another program
    // holds it for longer than kLockWaitMs (the window painting meanwhile),
    // asks whether to close without saving; false keeps the window open.
    bool saveBeforeClose();
    // A close's save is waiting for the file.
    bool saving() const { return m_saving; }

private:
    void load();
    // Sets the control of one key to its saved value, then runs what follows
    // that key in the load: the group's rule after its last choice, the
    // destination rule after the folder.
    void apply(const SettingsKey& key, const TCutSettings& saved);
    void save();

    TMainForm1& m_window;
    bool m_loaded = false;
    bool m_loading = false;  // the first activation's load is under way
    bool m_saving = false;
};

}  // namespace kelmora
