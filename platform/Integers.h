#pragma once
// Integers read from text, by the program's two rules:
//  - parseInteger: plain decimal, what other programs and the user's command
//    line write ("-12"), checked whole.
//  - parseWordInteger: the settings file's and the spin edits' numbers, which
//    may also be hexadecimal and stand for a 32-bit word ("$FFFFFFFF" is -1).

#include <cstdint>
#include <optional>
#include <string_view>

namespace kelmora::platform {

// An optional "-" and decimal digits, the whole text and nothing else (no "+",
// no blank); nullopt when that is not the text or the number needs more than 64 bits.
std::optional<std::int64_t> parseInteger(std::string_view text);

// What a word text may have beyond the settings file's strict form.
struct WordIntegerForms {
    bool leadingBlanks = false;  // blanks and tabs before the number
    bool signedHex = false;      // a sign before a hexadecimal prefix ("-$10" is -16)
    bool bareX = false;          // "x" or "X" alone as a hexadecimal prefix
};

// An optional sign and decimal digits, or "$", "0x" or "0X" and hexadecimal
// digits, the whole text. A decimal number outside 32 bits fails; a
// hexadecimal one is taken as its 32-bit pattern ("$FFFFFFFF" is -1).
std::optional<std::int32_t> parseWordInteger(std::string_view text, WordIntegerForms forms = {});

}  // namespace kelmora::platform
