// kelmora-cli: cuts videos into numbered still images from a terminal, with
// the window's settings, command lines and naming.
#include <string>
#include <vector>

#include "cli/CliProgram.h"
#include "cli/Messages.h"
#include "platform/Paths.h"
#include "platform/System.h"

int main(int argc, char** argv)
{
    using namespace kelmora;
    // The catalogs lie where the installed tree (and the build tree) keeps them beside bin/.
    platform::startTranslations(cli::kTextDomain,
                                platform::joinPath(platform::programFolder(), KELMORA_LOCALE_FROM_PROGRAM));
    return cli::runCli(std::vector<std::string>(argv + 1, argv + argc));
}
