// Writes one key of a profile file, so a test can write as another user:
//   profile_writer FILE SECTION KEY VALUE
// Exit status 0 when the write succeeded, else the error number (or 100 for a
// wrong call).
#include <cerrno>

#include "platform/ProfileFile.h"

int main(int argc, char** argv)
{
    if (argc != 5) return 100;
    kelmora::platform::ProfileFile file(argv[1]);
    if (file.write(argv[2], argv[3], argv[4])) return 0;
    return errno != 0 ? errno : 100;
}
