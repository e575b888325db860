#pragma once
// Messages in the user's language, from the program's message catalogs.
// The text in the program is English; a catalog gives it in another language.

#include <string>

namespace kelmora::platform {

// Takes the user's language from the environment and reads the catalogs of
// domain from folder (folder/LANG/LC_MESSAGES/domain.mo). Only messages and
// the character set follow the user: numbers are still read and written in
// the program's own way.
void startTranslations(const std::string& domain, const std::string& folder);

// message in the user's language, or message itself when no catalog has it.
const char* translate(const char* message);

// The form of singular or plural that suits count, in the user's language.
const char* translate(const char* singular, const char* plural, unsigned long count);

}  // namespace kelmora::platform
