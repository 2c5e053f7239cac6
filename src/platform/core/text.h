// Conversions between integers and text, as the program shows and reads numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vivarix {

// Decimal: a minus sign for negative values, no leading zeros, no fill characters.
std::string formatDecimal(std::int32_t value);

// Upper-case hexadecimal of the value's 32-bit two's complement, no leading zeros:
// 0 gives "0", 255 gives "FF", -1 gives "FFFFFFFF".
std::string formatHex(std::int32_t value);

// The value of the leading decimal digits: leading spaces (only ' ') are skipped,
// one optional '+' or '-' is accepted, digits are read up to the first non-digit,
// their value is reduced modulo 2^32 and negated after a '-'.  No digits give 0:
// "222222" -> 222222, "2A2" -> 2, "  -17x" -> -17, "A22" -> 0, "" -> 0.
std::int32_t parseDecimal(std::string_view text);

// `text` safe to show in a message on a terminal: the control bytes (below 32, and
// 127) written as \r, \n, \t or \xNN, everything else as it is.
std::string printableText(std::string_view text);

}  // namespace vivarix
