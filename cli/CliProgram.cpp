#include "cli/CliProgram.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <thread>
#include <unordered_set>

#include "cli/CliOptions.h"
#include "cli/CliReporter.h"
#include "cli/CliRunner.h"
#include "cli/CliSettings.h"
#include "cli/Messages.h"
#include "cli/TargetRegistration.h"
#include "cli/TerminalText.h"
#include "cut/CutSession.h"
#include "cut/RunProgress.h"
#include "cut/Shard.h"
#include "platform/CommandLine.h"
#include "platform/Interrupt.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/StandardStreams.h"
#include "platform/System.h"
#include "platform/Terminal.h"

namespace kelmora::cli {

namespace p = platform;

namespace {

constexpr int kUsageError = 2;
// Standard output or error lost its reader: the status a shell shows for a
// program ended by SIGPIPE (128 + 13), which is what the program did not let happen.
constexpr int kClosedOutput = 141;

// A message for the user; the names in it are shown with their control characters escaped.
void writeError(const std::string& text)
{
    const std::string line = "kelmora-cli: " + printableLines(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

// Prints a line for each job instead of running it (the command line of a
// dry run, the file of --list). Every run "ends" at once.
class PrintingRunner : public CutRunner {
public:
    // onClosedOutput: called when the reader of standard output has gone.
    PrintingRunner(std::function<std::string(const CutJob&)> lineOf, std::function<void()> onClosedOutput)
        : m_lineOf(std::move(lineOf)), m_onClosedOutput(std::move(onClosedOutput))
    {
    }

    bool start(const CutJob& job, std::string&) override
    {
        const std::string line = m_lineOf(job);
        if (!m_outputClosed
            && (std::fwrite(line.data(), 1, line.size(), stdout) != line.size() || std::fflush(stdout) != 0)) {
            std::clearerr(stdout);
            if (p::isClosedOutput(errno)) {
                m_outputClosed = true;
                m_onClosedOutput();
            }
        }
        m_started.push_back(job.id);
        return true;
    }
    bool outputClosed() const { return m_outputClosed; }
    CutRunEnd waitForEnd() override
    {
        const std::uint64_t job = m_started.front();
        m_started.erase(m_started.begin());
        return {job, 0, 0, {}, {}, {}};
    }
    void stop(std::uint64_t) override {}

private:
    std::function<std::string(const CutJob&)> m_lineOf;
    std::function<void()> m_onClosedOutput;
    bool m_outputClosed = false;
    std::vector<std::uint64_t> m_started;
};

// The targets of the command line and of the lists it names. False (after
// the message) when a list cannot be read.
// passOver: the destination, which no folder target registers.
bool collectTargets(const CliOptions& options, Registration& registration, const std::string& passOver)
{
    for (const std::string& target : options.targets) registerTarget(target, registration, passOver);
    for (const std::string& list : options.filesFrom) {
        std::vector<std::string> entries;
        if (list == "-") {
            entries = readTargetList(std::cin, options.nulSeparated);
        } else {
            std::ifstream in(list, std::ios::binary);
            if (!in) {
                writeError(format(tr("%s: cannot read the list of targets"), list.c_str()));
                return false;
            }
            entries = readTargetList(in, options.nulSeparated);
        }
        for (const std::string& target : entries) registerTarget(target, registration, passOver);
    }
    return true;
}

}  // namespace

int runCli(const std::vector<std::string>& arguments)
{
    const unsigned processors = std::thread::hardware_concurrency();
    ParsedCommandLine parsed =
        parseCommandLine(arguments, processors == 0 ? 1 : static_cast<int>(std::min<unsigned>(processors, kMaxJobs)));
    std::fwrite(parsed.output.data(), 1, parsed.output.size(), stdout);
    const std::string parseError = printableLines(parsed.error);
    std::fwrite(parseError.data(), 1, parseError.size(), stderr);
    if (!parsed.options) return parsed.exitStatus;
    const CliOptions& options = *parsed.options;
    if (options.targets.empty() && options.filesFrom.empty()) {
        writeError(tr("no TARGET given (see --help)"));
        return kUsageError;
    }

    const std::string programFolder = p::programFolder();
    CliSettings settings = assembleSettings(options, programFolder);
    for (const std::string& warning : settings.warnings) writeError(warning);
    if (settings.error) {
        writeError(*settings.error);
        return kUsageError;
    }

    Registration registration;
    if (!collectTargets(options, registration, destinationFolder(settings.settings.DestinationFolder)))
        return kUsageError;

    const std::string extractor = p::findProgram(options.ffmpeg.value_or(p::extractorProgramName()), programFolder);
    if (extractor.empty()) {
        writeError(format(tr("%s not found: install it, or name it with --ffmpeg PATH"),
                          options.ffmpeg.value_or(p::extractorProgramName()).c_str()));
        return kNoExtractorStatus;
    }

    // A dry run makes no folder and claims no name.
    CutSession::FolderMaker makeNothing = [](const std::string&) { return 0; };
    std::unordered_set<std::string> named;
    CutSession::NameClaimer claimNothing = [&named](const std::string& folder, const std::string& name,
                                                    TOutputFormat format) {
        return chooseOutputName(folder, name, format, named);
    };
    // Nor does it replace anything: the name shown is the one a replacing run would take.
    CutSession::ReplacingClaimer replaceNothing = [&named](const std::string& folder, const std::string& name,
                                                           TOutputFormat format,
                                                           const std::function<bool(const std::string&)>&) {
        named.insert(firstImagePath(folder, fitOutputName(name, {}, format), format));
        return NameClaim{fitOutputName(name, {}, format), 0, {}};
    };
    const bool showOnly = options.dryRun || options.list;
    CutSession session(programFolder, showOnly ? makeNothing : CutSession::FolderMaker(),
                       showOnly ? claimNothing : CutSession::NameClaimer(),
                       showOnly ? replaceNothing : CutSession::ReplacingClaimer());
    session.setExtractor(extractor);
    session.setOptions(settings.settings);
    session.setResume(options.resume);
    session.setDryRun(showOnly);
    // This run's share of the files: the others are other runs' work.
    if (options.shards > 1) registration.files = targetsOfShard(registration.files, options.shard, options.shards);
    session.targets().addAll(registration.files);

    if (options.list) {
        // The list needs no video's facts: no prober runs for it.
        session.setVideoProber({});
        const char end = options.nulSeparated ? '\0' : '\n';
        PrintingRunner runner([end](const CutJob& job) { return job.target + end; },
                              [&session] { session.requestStop(); });
        session.runBatch(runner, 1);
        if (std::fflush(stdout) != 0 && p::isClosedOutput(errno)) return kClosedOutput;
        for (const std::string& target : registration.missing) writeError(format(tr("%s: not found"), target.c_str()));
        if (runner.outputClosed()) return kClosedOutput;
        return registration.missing.empty() ? 0 : 1;
    }

    if (options.dryRun) {
        PrintingRunner runner(
            [](const CutJob& job) {
                return p::pastableCommandLine(job.program, job.command.arguments, job.command.commandLine) + "\n";
            },
            [&session] { session.requestStop(); });
        session.runBatch(runner, 1);
        for (const std::string& target : registration.missing) writeError(format(tr("%s: not found"), target.c_str()));
        if (runner.outputClosed()) return kClosedOutput;
        return registration.missing.empty() ? 0 : 1;
    }

    ProgressStyle style = ProgressStyle::None;
    if (!options.quiet) {
        style = p::isTerminal(p::StandardStream::Error) && p::enableTerminalControls(p::StandardStream::Error)
                    ? ProgressStyle::Terminal
                    : ProgressStyle::Lines;
    }
    p::InterruptWatch interrupts;
    CliRunner* runnerInUse = nullptr;
    CliReporter* reporterInUse = nullptr;
    // The exit status of what stopped the batch first; 0 while nothing has.
    int stopStatus = 0;
    CliReporter reporter(style, options.json, registration.files, registration.missing, [&](int requests) {
        // The first request lets the runs close their files; another one ends them now.
        if (stopStatus == 0) {
            stopStatus = interrupts.exitStatus();
            if (style != ProgressStyle::None)
                reporterInUse->say(
                    tr("stopping: the running extractors close their files (press Ctrl+C again to end them now)"));
            session.requestStop();
            --requests;
        }
        if (requests > 0 && runnerInUse) runnerInUse->killAll();
    });
    reporterInUse = &reporter;
    // A reader that has gone stops the batch as the first interrupt does: the
    // runs close their files and end, none is left running behind.
    reporter.setOnClosedOutput([&] {
        if (stopStatus != 0) return;
        stopStatus = kClosedOutput;
        if (style != ProgressStyle::None)
            reporter.say(tr("stopping: the output was closed; the running extractors close their files"));
        session.requestStop();
    });
    CliRunner::Config config;
    config.readProgress = style == ProgressStyle::Terminal;
    if (config.readProgress) config.prober = proberBeside(extractor);
    if (settings.settings.RangeFromSecond) {
        config.skipSeconds = settings.settings.StartSecond;
        config.frameLimit = settings.settings.FrameCount;
    }
    CliRunner runner(config, &interrupts, &reporter);
    runnerInUse = &runner;
    reporter.setRunner(&runner);
    reporter.setJsonImages(options.jsonImages);
    session.setListener(&reporter);
    reporter.reportMissing();

    // An output found closed already leaves the batch unstarted (a stop asked
    // for before it runs would be forgotten when it starts).
    const CutBatchReport report =
        stopStatus != 0 ? CutBatchReport{} : session.runBatch(runner, static_cast<std::size_t>(options.jobs));
    // A request that came after the last wait still counts.
    if (interrupts.takeRequests() > 0 && stopStatus == 0) stopStatus = interrupts.exitStatus();
    return reporter.finish(report, stopStatus);
}

}  // namespace kelmora::cli
