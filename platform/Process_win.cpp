#include "platform/Process.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include <windows.h>

#include "platform/CodePage.h"
#include "platform/CommandLine.h"
#include "platform/Paths.h"
#include "platform/System.h"

namespace kelmora::platform {

namespace {

constexpr auto W = PathStyle::Windows;

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

std::string systemMessage(DWORD error)
{
    char* text = nullptr;
    const DWORD n =
        ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = n ? std::string(text, n) : "error " + std::to_string(error);
    if (text) ::LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    return message;
}

bool isProgramFile(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

struct Started {
    HANDLE process;
    DWORD id;
};

// The null device as an inheritable handle, for the child's standard handles.
class NullDevice {
public:
    NullDevice()
    {
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        m_handle = ::CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                 OPEN_EXISTING, 0, nullptr);
    }
    ~NullDevice()
    {
        if (m_handle != INVALID_HANDLE_VALUE) ::CloseHandle(m_handle);
    }
    NullDevice(const NullDevice&) = delete;
    NullDevice& operator=(const NullDevice&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// Starts the program hidden: no window, its standard handles on the null
// device (so it never waits at a prompt on a console nobody sees) unless its
// output goes to a pipe, and no other handle of ours inherited. The command line is handed on exactly as
// given; the program run is the one findProgram finds, so a program of that
// name in the current folder is never taken instead.
std::optional<Started> createHidden(const ProcessCommand& command, const StartOptions& options, std::string* error)
{
    const auto fail = [error](const std::string& why) -> std::optional<Started> {
        if (error) *error = why;
        return std::nullopt;
    };
    const std::string path = findProgram(command.program, programFolder());
    if (path.empty()) return fail(command.program + ": " + systemMessage(ERROR_FILE_NOT_FOUND));

    std::string line =
        command.commandLine.empty() ? windowsCommandLine(command.program, command.arguments) : command.commandLine;
    const NullDevice null;
    if (null.get() == INVALID_HANDLE_VALUE) return fail("NUL: " + systemMessage(::GetLastError()));

    const HANDLE output = options.standardOutput == -1 ? null.get() : handleOf(options.standardOutput);
    const HANDLE errors = options.standardError == -1 ? null.get() : handleOf(options.standardError);

    // Only the handles on this list are inherited, each named once.
    std::vector<HANDLE> inherited{null.get()};
    for (const HANDLE handle : {output, errors})
        if (std::find(inherited.begin(), inherited.end(), handle) == inherited.end()) inherited.push_back(handle);
    const DWORD inheritedBytes = static_cast<DWORD>(inherited.size() * sizeof(HANDLE));
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> attributeList(size);
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeList.data());
    if (!::InitializeProcThreadAttributeList(attributes, 1, 0, &size)) return fail(systemMessage(::GetLastError()));
    ::UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited.data(), inheritedBytes,
                                nullptr, nullptr);

    STARTUPINFOEXA startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.StartupInfo.wShowWindow = SW_HIDE;
    startup.StartupInfo.hStdInput = null.get();
    startup.StartupInfo.hStdOutput = output;
    startup.StartupInfo.hStdError = errors;
    startup.lpAttributeList = attributes;
    PROCESS_INFORMATION started{};
    const BOOL created = ::CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, TRUE,
                                          CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                                          &startup.StartupInfo, &started);
    const DWORD createError = ::GetLastError();
    ::DeleteProcThreadAttributeList(attributes);
    if (!created) return fail(path + ": " + systemMessage(createError));
    ::CloseHandle(started.hThread);
    return Started{started.hProcess, started.dwProcessId};
}

}  // namespace

// A hidden child has a console of its own: the interrupt key of ours never reaches it.
std::optional<ChildProcess> ChildProcess::startHidden(const ProcessCommand& command, const StartOptions& options,
                                                      std::string* error)
{
    const std::optional<Started> started = createHidden(command, options, error);
    if (!started) return std::nullopt;
    return ChildProcess(started->id, reinterpret_cast<std::intptr_t>(started->process));
}

// A process handle is no descriptor: an event loop waits on it with the system's own call.
int ChildProcess::exitNotifier() const { return -1; }

void ChildProcess::release()
{
    // The program runs on by itself; nothing is left behind when it ends.
    if (m_handle != -1) ::CloseHandle(handleOf(m_handle));
    m_pid = -1;
    m_handle = -1;
}

bool ChildProcess::reap(bool block)
{
    if (m_ended || m_handle == -1) return m_ended;
    if (::WaitForSingleObject(handleOf(m_handle), block ? INFINITE : 0) != WAIT_OBJECT_0) return false;
    DWORD code = 0;
    m_ended = true;
    m_exitStatus = ::GetExitCodeProcess(handleOf(m_handle), &code) ? static_cast<int>(code) : -1;
    return true;
}

bool ChildProcess::waitFor(int timeoutMs)
{
    if (reap(false)) return true;
    if (timeoutMs < 0) return reap(true);
    ::WaitForSingleObject(handleOf(m_handle), static_cast<DWORD>(timeoutMs));
    return reap(false);
}

// A hidden console program has no window to close and no console of ours to
// share a break with: it is ended at once.
void ChildProcess::terminate(int /*graceMs*/)
{
    if (m_handle == -1 || reap(false)) return;
    ::TerminateProcess(handleOf(m_handle), 1);
}

bool startDetached(const ProcessCommand& command)
{
    const std::optional<Started> started = createHidden(command, StartOptions{}, nullptr);
    if (!started) return false;
    ::CloseHandle(started->process);
    return true;
}

std::string extractorProgramName() { return "ffmpeg.exe"; }

std::string findProgram(const std::string& name, const std::string& programFolder)
{
    if (name.empty()) return {};
    if (findChar(name, "\\/:") != std::string::npos) return isProgramFile(name) ? name : std::string();
    if (!programFolder.empty()) {
        const std::string beside = joinPath(programFolder, name, W);
        if (isProgramFile(beside)) return beside;
    }
    const char* searchPath = std::getenv("PATH");
    std::string_view rest = searchPath ? searchPath : "";
    while (!rest.empty()) {
        const std::size_t semicolon = rest.find(';');
        std::string folder(rest.substr(0, semicolon));
        rest = semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
        if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"')
            folder = folder.substr(1, folder.size() - 2);
        if (folder.empty()) continue;
        const std::string candidate = joinPath(folder, name, W);
        if (isProgramFile(candidate)) return candidate;
    }
    return {};
}

}  // namespace kelmora::platform
