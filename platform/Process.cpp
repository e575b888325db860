#include "platform/Process.h"

namespace kelmora::platform {

// Every form of a start comes down to a command with options, which each system starts its own way.

std::optional<ChildProcess> ChildProcess::startHidden(const ProcessCommand& command, std::string* error)
{
    return startHidden(command, StartOptions{}, error);
}

std::optional<ChildProcess> ChildProcess::startHidden(const std::string& program,
                                                      const std::vector<std::string>& arguments, std::string* error)
{
    return startHidden(ProcessCommand{program, arguments, {}}, StartOptions{}, error);
}

std::optional<ChildProcess> ChildProcess::startHidden(const std::string& program,
                                                      const std::vector<std::string>& arguments,
                                                      const StartOptions& options, std::string* error)
{
    return startHidden(ProcessCommand{program, arguments, {}}, options, error);
}

WaitHandle ChildProcess::endHandle() const { return m_handle; }

bool startDetached(const std::string& program, const std::vector<std::string>& arguments)
{
    return startDetached(ProcessCommand{program, arguments, {}});
}

}  // namespace kelmora::platform
