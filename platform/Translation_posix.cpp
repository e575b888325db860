#include "platform/Translation.h"

#include <clocale>
#include <libintl.h>

namespace kelmora::platform {

void startTranslations(const std::string& domain, const std::string& folder)
{
    std::setlocale(LC_MESSAGES, "");
    std::setlocale(LC_CTYPE, "");
    ::bindtextdomain(domain.c_str(), folder.c_str());
    ::textdomain(domain.c_str());
}

const char* translate(const char* message) { return ::gettext(message); }

const char* translate(const char* singular, const char* plural, unsigned long count)
{
    return ::ngettext(singular, plural, count);
}

}  // namespace kelmora::platform
