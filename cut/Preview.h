#pragma once
// The start-second preview's extractor runs. One run at a time writes the one
// preview file; the window watches the run's end and then takes the picture.
// A newer preview ends an older run that is still going, and each run starts
// with no file at the preview's name, so the picture shown is always this
// run's: never a late file of an earlier second, never a leftover that the
// extractor refuses to replace.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Process.h"

namespace kelmora {

class PreviewRun {
public:
    // programFolder: where the extractor is looked for first; previewFile: the
    // one file every run writes.
    PreviewRun(std::string programFolder, std::string previewFile);
    PreviewRun(const PreviewRun&) = delete;
    PreviewRun& operator=(const PreviewRun&) = delete;
    // A run still going is ended; its file may stay behind, the next run removes it.
    ~PreviewRun();

    // Ends a run still going, removes whatever stands at the preview file's
    // name (a symbolic link is removed itself, never followed) and starts the
    // extractor for target at startSecond. False when it could not be started.
    bool start(const std::string& target, std::int32_t startSecond);

    // The run under way, for its end to be watched; null when there is none.
    platform::ChildProcess* running() { return m_run ? &*m_run : nullptr; }

    // Once the run has ended: the picture it wrote, as the file's bytes, and
    // the file removed, so a picture that cannot be read is reported once and
    // never again. Nothing when the run wrote no file (or none is under way).
    std::optional<std::string> finish();

private:
    void endRun();

    std::string m_programFolder;
    std::string m_previewFile;
    std::optional<platform::ChildProcess> m_run;
};

}  // namespace kelmora
