#pragma once
// The cut options a kelmora-cli run uses: the window's settings file (or the
// built-in defaults), then the command line's flags over it, then the
// window's option rules.

#include <optional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cut/CutSession.h"
#include "settings/CutSettings.h"

namespace kelmora::cli {

struct CliSettings {
    TCutSettings settings;
    std::string settingsFile;           // the file read; empty when none was
    std::vector<std::string> warnings;  // for standard error; the run goes on
    std::optional<std::string> error;   // the run cannot go on (exit status 2)
};

// programFolder: where the window's settings file is looked for first, as the
// window does. A relative or empty destination is taken against the current folder.
CliSettings assembleSettings(const CliOptions& options, const std::string& programFolder);

// The window's notices for the two choices that never go together (a range
// with a per-second interval), in the user's language.
std::string ruleNoticeText(RuleNotice notice);

}  // namespace kelmora::cli
