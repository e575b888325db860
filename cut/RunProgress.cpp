#include "cut/RunProgress.h"

#include <algorithm>

#include "platform/Paths.h"

namespace kelmora {

namespace p = platform;

const std::vector<std::string>& RunProgress::reportingArguments()
{
    static const std::vector<std::string> arguments{"-nostdin", "-progress", "pipe:1"};
    return arguments;
}

std::optional<RunProgress> RunProgress::create(std::string& error, double skipSeconds,
                                               std::optional<std::int64_t> frameLimit)
{
    RunProgress progress;
    progress.m_report = p::OutputPipe::create(&error);
    if (!progress.m_report) return std::nullopt;
    progress.m_skipSeconds = skipSeconds;
    progress.m_frameLimit = frameLimit;
    return progress;
}

void RunProgress::closeReportWritingEnd()
{
    if (m_report) m_report->closeWritingEnd();
}

void RunProgress::askDuration(const std::string& prober, const std::string& target)
{
    if (prober.empty()) return;
    std::string ignored;
    m_probePipe = p::OutputPipe::create(&ignored);
    if (m_probePipe) {
        p::StartOptions options;
        options.ownProcessGroup = true;
        options.standardOutput = m_probePipe->writingEnd();
        m_probe = p::ChildProcess::startHidden({prober, probeDurationArguments(target), {}}, options, &ignored);
        m_probePipe->closeWritingEnd();
    }
    if (!m_probe) m_probePipe.reset();
}

void RunProgress::knowDuration(double seconds) { m_seconds = std::max(0.0, seconds - m_skipSeconds); }

p::WaitHandle RunProgress::reportHandle() const { return m_report ? m_report->readyHandle() : p::kNoWaitHandle; }
p::WaitHandle RunProgress::probeHandle() const { return m_probePipe ? m_probePipe->readyHandle() : p::kNoWaitHandle; }

void RunProgress::readReport()
{
    if (!m_report) return;
    std::string bytes;
    const bool open = m_report->readAvailable(bytes);
    m_progress.feed(bytes);
    if (!open) m_report.reset();
}

void RunProgress::readProbe()
{
    if (!m_probePipe) return;
    std::string answer;
    const bool open = m_probePipe->readAvailable(answer);
    m_answer.feed(answer);
    if (open) return;
    m_probePipe.reset();
    m_seconds = m_answer.duration();
    if (m_seconds) m_seconds = std::max(0.0, *m_seconds - m_skipSeconds);
    if (m_probe) m_probe->waitFor(-1);
    m_probe.reset();
}

void RunProgress::endProbe()
{
    if (m_probe) m_probe->terminate(0);
}

std::string proberBeside(const std::string& extractorPath)
{
    std::string name = p::extractorProgramName();
    name.replace(0, 6, "ffprobe");  // "ffmpeg" -> "ffprobe", ".exe" and all
    return p::findProgram(name, p::folderPartWithoutSeparator(extractorPath));
}

}  // namespace kelmora
