#include "cli/CliReporter.h"

#include <algorithm>
#include <cerrno>
#include <set>
#include <utility>

#include "cli/Messages.h"
#include "cli/TerminalText.h"
#include "cut/JsonLine.h"
#include "cut/TargetList.h"
#include "platform/StandardStreams.h"
#include "platform/System.h"
#include "platform/Terminal.h"

namespace kelmora::cli {

namespace p = platform;

namespace {

// The display is looked at ten times a second at most.
constexpr int kRedrawMs = 100;

double secondsSince(CliReporter::Clock::time_point start)
{
    return std::chrono::duration<double>(CliReporter::Clock::now() - start).count();
}

NotCutReason notRun() { return {"not_run", tr("not started before the stop")}; }

// A cut run's line: "done", and what else the run says.
std::string doneText(const CutEntryResult& result)
{
    if (result.note == CutNote::NoKeyFrames) return tr("done (no key frames: one image at each scene change instead)");
    if (result.repeats) return format(tr("done (%zu repeated images left out)"), *result.repeats);
    return tr("done");
}

}  // namespace

CliReporter::CliReporter(ProgressStyle style, bool json, std::vector<std::string> files,
                         std::vector<std::string> missing, std::function<void(int requests)> onInterrupt)
    : m_style(style),
      m_json(json),
      m_files(std::move(files)),
      m_missing(std::move(missing)),
      m_onInterrupt(std::move(onInterrupt))
{
}

void CliReporter::out(const std::string& text) { write(stdout, text, m_outputClosed); }

void CliReporter::err(const std::string& text) { write(stderr, text, m_errorClosed); }

void CliReporter::write(std::FILE* stream, const std::string& text, bool& closed)
{
    if (closed) return;
    if (std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0) return;
    const int error = errno;
    std::clearerr(stream);
    if (!p::isClosedOutput(error)) return;
    // Nobody reads what the batch says any more: it stops, as on the interrupt key.
    closed = true;
    if (m_onClosedOutput) std::exchange(m_onClosedOutput, nullptr)();
}

void CliReporter::reportMissing()
{
    for (const std::string& target : m_missing) {
        if (m_json) {
            out(JsonLine()
                    .addText("type", "run")
                    .addNull("number")
                    .addNull("total")
                    .addText("target", target)
                    .addText("status", "failed")
                    .addText("reason", "not_found")
                    .addText("message", tr("not found"))
                    .text()
                + "\n");
        }
    }
}

void CliReporter::entryStarted(const CutJob& job)
{
    m_jobs[job.id] = job;
    m_started[job.id] = Clock::now();
}

namespace {

// What a run that wrote its images did beside what was asked; empty when nothing.
std::string warningText(const CutEntryResult& result)
{
    const CutWarning& warning = result.warning;
    std::string text;
    if (!warning.inputTrouble.empty()) {
        std::string said = warning.inputTrouble;
        if (said.back() == '.') said.pop_back();
        text = format(tr("damaged input: %s"), said.c_str());
        if (warning.declaredFrames)
            text += format(tr("; %zu images, the video declares %lld frames"), result.images,
                           static_cast<long long>(*warning.declaredFrames));
    }
    if (warning.rate != RateChange::None && !text.empty()) text += "; ";
    if (warning.rate == RateChange::EveryFrame)
        text += format(tr("the video has %.3g frames a second: each frame was taken once"), warning.videoRate);
    if (warning.rate == RateChange::FirstFrame)
        text += tr("the video is shorter than one interval: its first frame was taken");
    return text;
}

}  // namespace

NotCutReason CliReporter::reasonFor(const CutEntryResult& result) const
{
    const CutFailure& failure = result.failure;
    switch (failure.why) {
    case CutReason::NotFound: return {"not_found", tr("not found")};
    case CutReason::Destination:
        if (failure.error != 0)
            return {"destination",
                    format(tr("the destination folder cannot take images: %s"), p::errorText(failure.error).c_str())};
        return {"destination", tr("the destination folder cannot take images")};
    case CutReason::NotStarted: return {"not_started", format(tr("could not be started: %s"), failure.detail.c_str())};
    case CutReason::ExitStatus:
        // The extractor's own words say best why it failed.
        if (!failure.detail.empty()) return {"exit_status", failure.detail};
        return {"exit_status", format(tr("exit status %d"), failure.exitStatus)};
    case CutReason::Signal: return {"signal", format(tr("ended by signal %d"), failure.exitSignal)};
    case CutReason::Stopped: return {"stopped", tr("stopped")};
    case CutReason::NotRun: return notRun();
    case CutReason::NoImage:
        if (failure.videoSeconds)
            return {"no_image", format(tr("no image written: the start is past the end of the video (%.1f s long)"),
                                       *failure.videoSeconds)};
        break;
    case CutReason::None: break;
    }
    return {"no_image", tr("no image written")};
}

void CliReporter::destinationRefused(const std::string& folder, DestinationProblem, int error)
{
    m_notices.push_back(
        format(tr("cannot make the destination folder %s: %s"), folder.c_str(), p::errorText(error).c_str()));
}

void CliReporter::writeRunJson(const CutEntryResult& result, const char* status, const NotCutReason* reason)
{
    JsonLine line;
    line.addText("type", "run")
        .addNumber("number", static_cast<std::int64_t>(result.number))
        .addNumber("total", static_cast<std::int64_t>(result.total))
        .addText("target", result.target)
        .addText("status", status);
    if (reason) line.addText("reason", reason->code).addText("message", reason->message);
    else line.addNull("reason").addNull("message");
    const auto job = m_jobs.find(result.job);
    if (job != m_jobs.end()) line.addNumber("exit_status", result.failure.exitStatus);
    else line.addNull("exit_status");
    if (result.failure.exitSignal != 0) line.addNumber("signal", result.failure.exitSignal);
    else line.addNull("signal");
    if (job != m_jobs.end()) {
        line.addText("output_pattern", job->second.outputPattern);
        // Images named by time: the claim was a stand-in, the first image is the earliest time.
        if (!namesByTime(job->second.settings)) line.addText("first_image", job->second.firstImage);
        else if (!result.timedImages.empty()) line.addText("first_image", result.timedImages.front().file);
        else line.addNull("first_image");
        line.addNumber("images", static_cast<std::int64_t>(result.images))
            .addSeconds("seconds", std::chrono::duration<double>(Clock::now() - m_started[result.job]).count());
    } else {
        line.addNull("output_pattern").addNull("first_image").addNumber("images", 0).addNull("seconds");
    }
    if (result.note == CutNote::NoKeyFrames) line.addText("note", "no_key_frames");
    else line.addNull("note");
    if (result.repeats) line.addNumber("repeats", static_cast<std::int64_t>(*result.repeats));
    else line.addNull("repeats");
    if (const std::string warning = warningText(result); !warning.empty()) line.addText("warning", warning);
    else line.addNull("warning");
    if (m_jsonImages && job != m_jobs.end()) writeImagesJson(result, job->second);
    out(line.text() + "\n");
}

void CliReporter::writeImagesJson(const CutEntryResult& result, const CutJob& job)
{
    const auto imageLine = [&](const std::string& file) {
        JsonLine line;
        line.addText("type", "image").addNumber("number", static_cast<std::int64_t>(result.number));
        line.addText("target", result.target).addText("file", file);
        return line;
    };
    if (namesByTime(job.settings)) {
        for (const TimedImage& image : result.timedImages)
            out(imageLine(image.file).addSeconds("time", static_cast<double>(image.ms) / 1000).text() + "\n");
        return;
    }
    for (std::size_t n = 1; n <= result.images; ++n)
        out(imageLine(imageFile(job.outputPattern, n)).addNull("time").text() + "\n");
}

void CliReporter::entryFinished(const CutEntryResult& result)
{
    Entry entry{result.number, result.target, result.status == CutEntryStatus::Cut, {}, warningText(result)};
    const char* status = "cut";
    if (result.status == CutEntryStatus::Failed) {
        entry.reason = reasonFor(result);
        status = "failed";
        ++m_failed;
    } else if (result.status == CutEntryStatus::Skipped) {
        entry.reason = {"not_a_file", tr("not a file")};
        status = "skipped";
    } else if (result.status == CutEntryStatus::Done) {
        entry.reason = {"already_cut", tr("cut before, every image is there")};
        status = "skipped";
    }
    if (m_json) writeRunJson(result, status, entry.cut ? nullptr : &entry.reason);
    if (m_style == ProgressStyle::Lines) {
        std::string line = format("[%zu/%zu] %s: ", result.number, result.total, printableText(result.target).c_str());
        const std::string reason = printableText(entry.reason.message);
        const std::string warning = printableText(entry.warning);
        if (entry.cut && !warning.empty()) line += format(tr("done with a warning (%s)"), warning.c_str());
        else if (entry.cut) line += doneText(result);
        else if (result.status == CutEntryStatus::Skipped || result.status == CutEntryStatus::Done)
            line += format(tr("skipped (%s)"), reason.c_str());
        else line += format(tr("failed (%s)"), reason.c_str());
        err(line + "\n");
    }
    m_finished.push_back(std::move(entry));
    m_jobs.erase(result.job);
    m_started.erase(result.job);
}

ProgressSnapshot CliReporter::snapshot() const
{
    ProgressSnapshot snapshot;
    snapshot.total = m_files.size();
    snapshot.finished = m_finished.size();
    snapshot.failed = m_failed;
    snapshot.elapsedSeconds = secondsSince(m_start);
    if (m_runner) snapshot.jobs = m_runner->runningJobs();
    return snapshot;
}

int CliReporter::msUntilDue()
{
    if (m_style != ProgressStyle::Terminal) return -1;
    const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_lastCheck).count();
    return static_cast<int>(std::max<long long>(0, kRedrawMs - since));
}

void CliReporter::wokeUp()
{
    if (m_style == ProgressStyle::Terminal && msUntilDue() == 0) draw(false);
}

void CliReporter::draw(bool force)
{
    m_lastCheck = Clock::now();
    const int columns = p::terminalColumns(p::StandardStream::Error);
    // One column short of the width: a full line would wrap on some terminals.
    const std::size_t width = columns > 1 ? static_cast<std::size_t>(columns - 1) : 79;
    std::vector<std::string> lines = renderProgress(snapshot(), width);
    if (!force && lines == m_drawn) return;
    err(redrawSequence(m_drawnLines, lines));
    m_drawnLines = lines.size();
    m_drawn = std::move(lines);
}

void CliReporter::clearDisplay()
{
    if (m_drawnLines == 0) return;
    err(redrawSequence(m_drawnLines, {}));
    m_drawnLines = 0;
    m_drawn.clear();
}

void CliReporter::say(const std::string& text)
{
    // The display is drawn again below the line at the next look.
    clearDisplay();
    err("kelmora-cli: " + printableLines(text) + "\n");
}

void CliReporter::interrupted(int requests)
{
    if (m_onInterrupt) m_onInterrupt(requests);
}

int CliReporter::finish(const CutBatchReport& report, int interruptStatus)
{
    if (m_style == ProgressStyle::Terminal) {
        clearDisplay();
        // The overall line stays, as the last word of the display.
        ProgressSnapshot last = snapshot();
        last.jobs.clear();
        const int columns = p::terminalColumns(p::StandardStream::Error);
        err(renderProgress(last, columns > 1 ? static_cast<std::size_t>(columns - 1) : 79).front() + "\n");
    }

    // What the batch never took, in the list's order.
    const std::vector<std::string>& unfinished = report.notRun;
    std::vector<Entry> notCut;
    for (const std::string& target : m_missing)
        notCut.push_back({0, target, false, {"not_found", tr("not found")}, {}});
    // The entries the batch took, in the order it took them, whatever order they ended in.
    std::vector<Entry> finished = m_finished;
    std::stable_sort(finished.begin(), finished.end(),
                     [](const Entry& a, const Entry& b) { return a.number < b.number; });
    for (const Entry& entry : finished)
        if (!entry.cut && entry.reason.code != "not_a_file" && entry.reason.code != "already_cut")
            notCut.push_back(entry);
    for (const std::string& target : unfinished) {
        notCut.push_back({0, target, false, notRun(), {}});
        if (m_json)
            out(JsonLine()
                    .addText("type", "run")
                    .addNull("number")
                    .addNull("total")
                    .addText("target", target)
                    .addText("status", "not_run")
                    .addText("reason", "not_run")
                    .addText("message", notRun().message)
                    .text()
                + "\n");
    }
    const std::size_t cut = static_cast<std::size_t>(
        std::count_if(m_finished.begin(), m_finished.end(), [](const Entry& e) { return e.cut; }));

    if (interruptStatus != 0) {
        err(format(tr("Stopped: %zu of %zu files cut.\n"), cut, m_files.size()));
        if (cut > 0) {
            err(std::string(tr("Cut:")) + "\n");
            for (const Entry& entry : finished)
                if (entry.cut) err("  " + printableText(entry.target) + "\n");
        }
    }
    if (!notCut.empty()) {
        err(std::string(interruptStatus != 0 ? tr("Not cut:") : tr("These files could not be cut:")) + "\n");
        for (const Entry& entry : notCut)
            err("  " + printableText(entry.target) + ": " + printableText(entry.reason.message) + "\n");
    }
    // The runs that wrote their images but did something else than asked, where no line per run said so.
    if (m_style != ProgressStyle::Lines) {
        bool first = true;
        for (const Entry& entry : finished) {
            if (!entry.cut || entry.warning.empty()) continue;
            if (first) err(std::string(tr("Cut with a warning:")) + "\n");
            first = false;
            err("  " + printableText(entry.target) + ": " + printableText(entry.warning) + "\n");
        }
    }
    // Notices the session gave that no line above explains.
    if (report.outcome == CutBatchOutcome::DestinationRefused)
        for (const std::string& text : m_notices) err(printableLines(text) + "\n");
    if (report.outcome == CutBatchOutcome::Aborted) err(printableLines(report.error) + "\n");

    int exitStatus = 0;
    if (interruptStatus != 0) exitStatus = interruptStatus;
    else if (report.outcome == CutBatchOutcome::StartFailed) exitStatus = kNoExtractorStatus;
    else if (!notCut.empty() || report.outcome == CutBatchOutcome::Aborted
             || report.outcome == CutBatchOutcome::DestinationRefused)
        exitStatus = 1;

    if (m_json) {
        const std::size_t skipped = m_finished.size() - cut - m_failed;
        out(JsonLine()
                .addText("type", "summary")
                .addNumber("total", static_cast<std::int64_t>(m_files.size() + m_missing.size()))
                .addNumber("cut", static_cast<std::int64_t>(cut))
                .addNumber("failed", static_cast<std::int64_t>(m_failed + m_missing.size()))
                .addNumber("skipped", static_cast<std::int64_t>(skipped))
                .addNumber("not_run", static_cast<std::int64_t>(unfinished.size()))
                .addBool("interrupted", interruptStatus != 0)
                .addNumber("exit_status", exitStatus)
                .addSeconds("seconds", secondsSince(m_start))
                .text()
            + "\n");
    }
    return exitStatus;
}

}  // namespace kelmora::cli
