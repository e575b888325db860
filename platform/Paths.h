#pragma once
// Path rules on byte strings of the system code page. Separators depend on the
// style: Windows paths use "\" and ":" (drive letters), POSIX paths use "/".
// Every rule steps over multi-byte characters whole, so a trail byte that
// happens to have the code of "\" is never taken for a separator.

#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace kelmora::platform {

enum class PathStyle { Windows, Posix };

// The style of the system we run on.
PathStyle nativePathStyle();

// True when the path names its place without the current folder: on POSIX it
// starts with "/"; on Windows it is a share (\\server\share), a folder of the
// current drive (\folder) or a drive's folder (C:\folder). "C:folder" depends
// on the drive's current folder and is not full.
bool isFullPath(std::string_view path, PathStyle style = nativePathStyle());

// "\" for Windows, "/" for POSIX: the separator put between a folder and a name.
char separatorChar(PathStyle style);

// Everything up to and including the last separator; empty without one.
// C:\Tools\cut.exe -> C:\Tools\    /opt/cut -> /opt/
std::string folderPartWithSeparator(std::string_view path, PathStyle style = nativePathStyle(),
                                    CodePage cp = systemCodePage());

// The same without the trailing separator, except where it names a root:
// C:\Tools\cut.exe -> C:\Tools, C:\cut.exe -> C:\ (kept after ":" or "\"),
// /opt/cut -> /opt, /cut -> /.
std::string folderPartWithoutSeparator(std::string_view path, PathStyle style = nativePathStyle(),
                                       CodePage cp = systemCodePage());

// Everything after the last separator.
std::string fileNamePart(std::string_view path, PathStyle style = nativePathStyle(), CodePage cp = systemCodePage());

// When the last dot or separator of the path is a dot, everything from that dot
// on is replaced by suffix; otherwise suffix is appended (a.tar.gz + _x -> a.tar_x).
std::string replaceExtension(std::string_view path, std::string_view suffix, PathStyle style = nativePathStyle(),
                             CodePage cp = systemCodePage());

// Removes one trailing separator ("\" on Windows: C:\ -> C:). On POSIX a lone
// "/" stays, since nothing else names the root.
std::string removeTrailingSeparator(std::string_view path, PathStyle style = nativePathStyle(),
                                    CodePage cp = systemCodePage());

// folder + separator + name, leaving out the separator when the folder's last
// whole character already is one (the folder walk's rule).
std::string joinPath(std::string_view folder, std::string_view name, PathStyle style = nativePathStyle(),
                     CodePage cp = systemCodePage());

// True when the last whole character of path is the separator of the style.
bool endsWithSeparator(std::string_view path, PathStyle style = nativePathStyle(), CodePage cp = systemCodePage());

}  // namespace kelmora::platform
