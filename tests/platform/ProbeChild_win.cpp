// A child program for the Windows process tests. It appends one line to the
// file %KELMORA_PROBE_LOG%: its command line as the system handed it, then each
// argument as its C runtime split them, every text in hex digits and followed
// by ";". Then it waits for the event %KELMORA_PROBE_HOLD% when that is set,
// signals the event %KELMORA_PROBE_DONE% when that is set, and exits with
// %KELMORA_PROBE_EXIT% (default 0).

#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

namespace {

std::string hex(const std::string& text)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : text) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out + ";";
}

void signal(const char* variable)
{
    const char* name = std::getenv(variable);
    if (!name || !*name) return;
    if (const HANDLE event = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, name)) {
        ::SetEvent(event);
        ::CloseHandle(event);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (const char* log = std::getenv("KELMORA_PROBE_LOG"); log && *log) {
        std::string line = hex(::GetCommandLineA());
        for (int i = 0; i < argc; ++i) line += hex(argv[i]);
        line += "\n";
        if (FILE* out = std::fopen(log, "ab")) {
            std::fwrite(line.data(), 1, line.size(), out);
            std::fclose(out);
        }
    }
    if (const char* hold = std::getenv("KELMORA_PROBE_HOLD"); hold && *hold) {
        if (const HANDLE event = ::OpenEventA(SYNCHRONIZE, FALSE, hold)) {
            ::WaitForSingleObject(event, INFINITE);
            ::CloseHandle(event);
        }
    }
    signal("KELMORA_PROBE_DONE");
    const char* exitCode = std::getenv("KELMORA_PROBE_EXIT");
    return exitCode && *exitCode ? std::atoi(exitCode) : 0;
}
