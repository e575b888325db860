#include "platform/Translation.h"

namespace kelmora::platform {

// The Windows build carries no message catalogs: every message is the
// program's own English text, and plurals follow the English rule.

void startTranslations(const std::string& /*domain*/, const std::string& /*folder*/) {}

const char* translate(const char* message) { return message; }

const char* translate(const char* singular, const char* plural, unsigned long count)
{
    return count == 1 ? singular : plural;
}

}  // namespace kelmora::platform
