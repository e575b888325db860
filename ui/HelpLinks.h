#pragma once
// The two help links of the title strip: the user's guide and the information
// page. The guide lies beside the program (portable use) or where an install
// puts it (../share/doc/kelmora from the program's folder); the information
// page is the guide as a page unless the build names a web address for it.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Paths.h"

namespace kelmora {

// The guide file `fileName` ("Readme.txt", "Readme.html"): programFolder + "/" +
// fileName when that exists, else the installed one when that exists, else the
// one beside the program. The path must fit a buffer of 252 bytes with its
// terminating zero; a longer one gives nothing.
std::optional<std::string> guidePath(const std::string& programFolder, std::string_view fileName);

// guidePath(programFolder, "Readme.txt").
std::optional<std::string> readmePath(const std::string& programFolder);

// The folder an install puts the guide in, for a program in programFolder.
std::string installedGuideFolder(const std::string& programFolder);

// The program file's name without its extension: what follows the last
// separator, up to its last dot (a.b.exe gives a.b, a name without a dot stays).
std::string programName(std::string_view programPath, platform::PathStyle style = platform::nativePathStyle(),
                        platform::CodePage cp = platform::systemCodePage());

// base + "info.php?pf=w&sn=" + programName(programPath), not escaped.
std::string infoPageAddress(std::string_view base, std::string_view programPath,
                            platform::PathStyle style = platform::nativePathStyle(),
                            platform::CodePage cp = platform::systemCodePage());

// What the "INFO." button opens: the web page under base, or with an empty
// base the guide's page (guidePath(programFolder, "Readme.html")).
std::optional<std::string> infoLink(std::string_view base, std::string_view programPath,
                                    const std::string& programFolder);

// The base address of the information page, fixed when the program is built;
// empty when none was given.
std::string infoBaseAddress();

// Receives what the window opens with the desktop (help links, the
// destination folder). The desktop's handler unless replaced.
using LinkOpener = std::function<void(const std::string& documentOrAddress)>;

// Routes what the window opens to opener (tests); an empty one restores the desktop.
void setLinkOpener(LinkOpener opener);

// Opens a file, a folder or a web address with the desktop. Nothing is
// silent: a file or folder that is not there, or a desktop that starts no
// viewer, gets a notice naming the path, so the user can open it by hand.
// False after such a notice.
bool openForUser(const std::string& documentOrAddress);

// SSButton3Click: opens the guide with the desktop; a path too long is ignored.
void openReadme(const std::string& programFolder);

// SSButton4Click: opens the information page for the running program.
void openInfoPage(const std::string& programPath, const std::string& programFolder);

}  // namespace kelmora
