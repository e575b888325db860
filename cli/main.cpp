// kelmora-cli: cuts videos into numbered still images from a terminal, with
// the window's settings, command lines and naming.
#include <string>
#include <vector>

#include "cli/CliProgram.h"
#include "cli/Messages.h"
#include "platform/Paths.h"
#include "platform/StandardStreams.h"
#include "platform/System.h"

int main(int argc, char** argv)
{
    using namespace kelmora;
    // Before anything is opened: a closed standard stream's number taken by a
    // pipe would carry this program's messages into it.
    platform::occupyStandardStreams();
    // A reader that goes away ("| head -1") stops the batch in order (see CliReporter).
    platform::surviveClosedOutput();
    // The catalogs lie where the installed tree (and the build tree) keeps them beside bin/.
    platform::startTranslations(cli::kTextDomain,
                                platform::joinPath(platform::programFolder(), KELMORA_LOCALE_FROM_PROGRAM));
    return cli::runCli(std::vector<std::string>(argv + 1, argv + argc));
}
