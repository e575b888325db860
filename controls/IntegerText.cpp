#include "controls/IntegerText.h"

#include "platform/Integers.h"

namespace kelmora {

std::optional<std::int32_t> parseInteger(std::string_view text)
{
    return platform::parseWordInteger(text, {.leadingBlanks = true, .signedHex = true, .bareX = true});
}

}  // namespace kelmora
