#pragma once
// The program's messages: English in the source, in the user's language
// through the message catalogs in po/.

#include <string>

#include "platform/Translation.h"

namespace kelmora::cli {

// The message catalogs' name.
inline constexpr const char* kTextDomain = "kelmora-cli";

__attribute__((format_arg(1))) inline const char* tr(const char* message) { return platform::translate(message); }

__attribute__((format_arg(1))) __attribute__((format_arg(2))) inline const char* trn(const char* singular,
                                                                                     const char* plural,
                                                                                     unsigned long count)
{
    return platform::translate(singular, plural, count);
}

// The patterns follow the C99 rules ("%zu") everywhere; on Windows the build
// asks for the C99 printf rather than the system's own.
#if defined(__MINGW32__)
#define KELMORA_PRINTF_FORMAT gnu_printf
#else
#define KELMORA_PRINTF_FORMAT printf
#endif

// printf's formatting into a string; a translated pattern may take its
// arguments in another order ("%2$s ... %1$s").
__attribute__((format(KELMORA_PRINTF_FORMAT, 1, 2))) std::string format(const char* pattern, ...);

}  // namespace kelmora::cli
