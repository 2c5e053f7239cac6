// resizeImage: separable resampling in exact integer arithmetic.
//
// Each axis is resampled on its own.  A shrinking axis averages areas: destination
// pixel i covers source span [i * src / dst, (i + 1) * src / dst), and each source
// pixel weighs by how much of it lies in that span.  An enlarging (or unchanged)
// axis interpolates linearly between the two source pixels whose centres surround
// the destination pixel's centre, clamped at the borders.  Weights are integers
// with a fixed sum per axis, so a picture of one colour stays exactly that colour
// and the result does not depend on the floating-point unit.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/core/graphics.h"

namespace vivarix {

namespace {

struct Tap {
    std::int32_t source;
    std::uint32_t weight;
};

// For every destination index, the source indices and weights that make it; all
// destination indices share the weight sum `total`.
struct AxisPlan {
    std::vector<std::size_t> first;  // taps of index i: taps[first[i] .. first[i + 1])
    std::vector<Tap> taps;
    std::uint64_t total = 1;
};

AxisPlan planAxis(std::int64_t src, std::int64_t dst) {
    AxisPlan plan;
    plan.first.reserve(static_cast<std::size_t>(dst) + 1);
    if (dst < src) {
        // Lengths in units of 1/dst source pixel: source pixel s is [s*dst, (s+1)*dst),
        // destination pixel i is [i*src, (i+1)*src).
        plan.total = static_cast<std::uint64_t>(src);
        for (std::int64_t i = 0; i < dst; ++i) {
            plan.first.push_back(plan.taps.size());
            const std::int64_t begin = i * src;
            const std::int64_t end = begin + src;
            for (std::int64_t s = begin / dst; s * dst < end; ++s) {
                const std::int64_t overlap = std::min(end, (s + 1) * dst) - std::max(begin, s * dst);
                if (overlap > 0)
                    plan.taps.push_back({static_cast<std::int32_t>(s), static_cast<std::uint32_t>(overlap)});
            }
        }
    } else {
        // The centre of destination pixel i in source pixel coordinates is
        // ((2i + 1) * src - dst) / (2 * dst) - measured from source pixel 0's centre.
        const std::int64_t denominator = 2 * dst;
        plan.total = static_cast<std::uint64_t>(denominator);
        for (std::int64_t i = 0; i < dst; ++i) {
            plan.first.push_back(plan.taps.size());
            const std::int64_t numerator = std::clamp<std::int64_t>((2 * i + 1) * src - dst, 0, (src - 1) * denominator);
            const std::int64_t s = numerator / denominator;
            const std::int64_t fraction = numerator % denominator;
            plan.taps.push_back({static_cast<std::int32_t>(s), static_cast<std::uint32_t>(denominator - fraction)});
            if (fraction > 0)
                plan.taps.push_back({static_cast<std::int32_t>(s + 1), static_cast<std::uint32_t>(fraction)});
        }
    }
    plan.first.push_back(plan.taps.size());
    return plan;
}

}  // namespace

ImageHandle resizeImage(Graphics& g, std::int32_t number, std::int32_t width, std::int32_t height) {
    if (number < 0 || number > maxImageNumber || width < 1 || height < 1) return 0;
    if (width > maxImageSide || height > maxImageSide || std::int64_t{width} * height > maxImagePixels) return 0;
    Image& image = g.images[static_cast<std::size_t>(number)];
    if (!imageExists(image)) return 0;
    // The horizontal pass holds every source row at the new width: that too stays
    // within the size limit.
    if (std::int64_t{image.height} * width > maxImagePixels) return 0;

    const std::size_t srcW = static_cast<std::size_t>(image.width);
    const std::size_t srcH = static_cast<std::size_t>(image.height);
    const std::size_t dstW = static_cast<std::size_t>(width);
    const std::size_t dstH = static_cast<std::size_t>(height);
    const AxisPlan across = planAxis(image.width, width);
    const AxisPlan down = planAxis(image.height, height);

    // Horizontal pass: every source row to dstW pixels, three channels each, still
    // scaled by across.total (no rounding yet).
    std::vector<std::uint64_t> rows(srcH * dstW * 3);
    for (std::size_t y = 0; y < srcH; ++y) {
        const std::uint32_t* from = &image.pixels[y * srcW];
        std::uint64_t* to = &rows[y * dstW * 3];
        for (std::size_t x = 0; x < dstW; ++x) {
            std::uint64_t r = 0, gr = 0, b = 0;
            for (std::size_t t = across.first[x]; t < across.first[x + 1]; ++t) {
                const std::uint32_t p = from[across.taps[t].source];
                const std::uint64_t w = across.taps[t].weight;
                r += (p & 0xFFu) * w;
                gr += ((p >> 8) & 0xFFu) * w;
                b += ((p >> 16) & 0xFFu) * w;
            }
            to[3 * x] = r;
            to[3 * x + 1] = gr;
            to[3 * x + 2] = b;
        }
    }

    // Vertical pass, then one rounding division by the product of the weight sums.
    const std::uint64_t total = across.total * down.total;
    Image resized;
    resized.width = width;
    resized.height = height;
    resized.pixels.assign(dstW * dstH, 0u);
    std::vector<std::uint64_t> sum(dstW * 3);
    for (std::size_t y = 0; y < dstH; ++y) {
        std::fill(sum.begin(), sum.end(), 0u);
        for (std::size_t t = down.first[y]; t < down.first[y + 1]; ++t) {
            const std::uint64_t* from = &rows[static_cast<std::size_t>(down.taps[t].source) * dstW * 3];
            const std::uint64_t w = down.taps[t].weight;
            for (std::size_t i = 0; i < dstW * 3; ++i) sum[i] += from[i] * w;
        }
        std::uint32_t* to = &resized.pixels[y * dstW];
        for (std::size_t x = 0; x < dstW; ++x) {
            const auto channel = [&](std::size_t c) {
                return static_cast<std::uint32_t>((sum[3 * x + c] + total / 2) / total);
            };
            to[x] = channel(0) | (channel(1) << 8) | (channel(2) << 16);
        }
    }
    image = std::move(resized);
    return number + 1;
}

}  // namespace vivarix
