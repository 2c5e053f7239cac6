// Fractions in thousandths, as vivarix-lab and vivarix-sweep both write them: a
// quotient is rounded to three decimals, half up, that is a quotient exactly
// halfway between two thousandths goes to the one further from zero.  Exact
// integer arithmetic, so that no binary fraction decides a tie.
#pragma once

#include <cstdint>
#include <string>

namespace vivarix::lab {

// numerator / denominator in thousandths; denominator > 0 and |numerator| below
// 2^53, so that the scaled numerator fits.
inline std::int64_t roundedThousandths(std::int64_t numerator, std::int64_t denominator) {
    const std::uint64_t magnitude = numerator < 0 ? 0 - static_cast<std::uint64_t>(numerator) : numerator;
    const std::uint64_t d = static_cast<std::uint64_t>(denominator);
    const auto rounded = static_cast<std::int64_t>((magnitude * 2000 + d) / (d * 2));
    return numerator < 0 ? -rounded : rounded;
}

// Thousandths as decimal text: with all three decimals ("2.500"), or without the
// trailing zeros and a point with nothing after it ("2.5", "2").
inline std::string thousandthsText(std::int64_t thousandths, bool trimmed) {
    const std::uint64_t magnitude = thousandths < 0 ? 0 - static_cast<std::uint64_t>(thousandths) : thousandths;
    std::string fraction = std::to_string(magnitude % 1000);
    fraction.insert(0, 3 - fraction.size(), '0');
    if (trimmed) fraction.erase(fraction.find_last_not_of('0') + 1);
    return (thousandths < 0 ? "-" : "") + std::to_string(magnitude / 1000) + (fraction.empty() ? "" : "." + fraction);
}

}  // namespace vivarix::lab
