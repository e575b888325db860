#pragma once
// The number a spin edit's text stands for. Plain C++, so the rule can be
// checked on any bytes without a window.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kelmora {

// The text as an integer: leading blanks, an optional sign, then decimal digits or
// hexadecimal ones after "$", "x" or "0x". The whole text must convert; a decimal
// number outside 32 bits fails, a hexadecimal one is taken as its 32-bit pattern.
std::optional<std::int32_t> parseInteger(std::string_view text);

}  // namespace kelmora
