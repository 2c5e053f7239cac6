#include "platform/core/text.h"

namespace vivarix {

std::string formatDecimal(std::int32_t value) {
    return std::to_string(value);
}

std::string formatHex(std::int32_t value) {
    static constexpr char digits[] = "0123456789ABCDEF";
    auto bits = static_cast<std::uint32_t>(value);
    char buffer[8];
    int n = 0;
    do {
        buffer[n++] = digits[bits & 0xF];
        bits >>= 4;
    } while (bits != 0);
    std::string text;
    while (n > 0) text.push_back(buffer[--n]);
    return text;
}

std::int32_t parseDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::uint32_t value = 0;  // unsigned: the reduction modulo 2^32 is the natural wrap
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::string printableText(std::string_view text) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 32 && byte != 127) {
            shown.push_back(c);
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\t') {
            shown += "\\t";
        } else {
            shown += "\\x";
            shown.push_back(digits[byte >> 4]);
            shown.push_back(digits[byte & 15]);
        }
    }
    return shown;
}

}  // namespace vivarix
