#pragma once
// The two help links of the title strip: the user's guide beside the program
// and the information page on the web.

#include <optional>
#include <string>
#include <string_view>

#include "platform/Paths.h"

namespace kelmora {

// The guide's path: programFolder + "/Readme.txt". The path must fit a buffer
// of 252 bytes with its terminating zero; a longer one gives nothing.
std::optional<std::string> readmePath(const std::string& programFolder);

// The program file's name without its extension: what follows the last
// separator, up to its last dot (a.b.exe gives a.b, a name without a dot stays).
std::string programName(std::string_view programPath,
                        platform::PathStyle style = platform::nativePathStyle(),
                        platform::CodePage cp = platform::systemCodePage());

// base + "info.php?pf=w&sn=" + programName(programPath), not escaped.
std::string infoPageAddress(std::string_view base, std::string_view programPath,
                            platform::PathStyle style = platform::nativePathStyle(),
                            platform::CodePage cp = platform::systemCodePage());

// The base address of the information page, fixed when the program is built.
std::string infoBaseAddress();

// SSButton3Click: opens the guide with the desktop; a path too long is ignored.
void openReadme(const std::string& programFolder);

// SSButton4Click: opens the information page for the running program.
void openInfoPage(const std::string& programPath);

}  // namespace kelmora
