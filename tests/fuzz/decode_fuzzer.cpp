// libFuzzer target: decodeImage on arbitrary bytes, then resizeImage.
//
// Besides the sanitizers' reports, it checks the contracts of graphics.h and
// aborts (a crash to libFuzzer) when one is broken:
// - a decode that fails returns 0 and leaves the image held under the number as it
//   was; one that succeeds returns number + 1 and holds an image no larger than the
//   largest built-in picture whose pixels have a zero top byte;
// - an image number outside 0..63 is refused without touching any image;
// - resizeImage gives exactly the size asked for, keeps every channel within the
//   range of the source's channel values (it only averages and interpolates), is
//   the identity at the image's own size, and refuses sizes below 1 or beyond the
//   limits without changing the image.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "assets/builtin_images.h"
#include "platform/core/graphics.h"

namespace {

// The checks walk every pixel; the fuzzer learns nothing from their branches, so
// they are left out of its coverage instrumentation, which would slow them down
// several times.
#define NOT_COVERED __attribute__((no_sanitize("coverage")))

using vivarix::Graphics;
using vivarix::Image;
using vivarix::ImageHandle;

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "decode fuzzer: %s\n", what);
    std::abort();
}

void check(bool holds, const char* what) {
    if (!holds) broken(what);
}

constexpr std::int32_t target = 7;  // the number decoded into

NOT_COVERED bool sameImage(const Image& a, const Image& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

// Per channel, the lowest and highest value over the image.
struct ChannelRange {
    std::array<std::uint32_t, 3> low{255, 255, 255};
    std::array<std::uint32_t, 3> high{0, 0, 0};
};

NOT_COVERED ChannelRange rangeOf(const Image& image) {
    ChannelRange range;
    for (const std::uint32_t p : image.pixels)
        for (std::size_t c = 0; c < 3; ++c) {
            const std::uint32_t v = (p >> (8 * c)) & 0xFFu;
            range.low[c] = std::min(range.low[c], v);
            range.high[c] = std::max(range.high[c], v);
        }
    return range;
}

NOT_COVERED void checkPixels(const Image& image) {
    check(image.width >= 1 && image.height >= 1 && image.width <= vivarix::largestBuiltinSide &&
              image.height <= vivarix::largestBuiltinSide,
          "a decoded picture larger than the largest built-in one");
    check(image.pixels.size() == static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height),
          "pixel count differs from width * height");
    for (const std::uint32_t p : image.pixels) check((p >> 24) == 0, "a pixel with a non-zero top byte");
}

// Resizes the image held under `number` to width by height and checks the result
// against what it was: `range` is its channel range, `source` a copy of it when
// the caller kept one (nullptr otherwise).
NOT_COVERED void resizeAndCheck(Graphics& g, std::int32_t number, const Image* source, const ChannelRange& range,
                    std::int32_t width, std::int32_t height) {
    const std::int32_t sourceWidth = g.images[number].width;
    const std::int32_t sourceHeight = g.images[number].height;
    const ImageHandle handle = vivarix::resizeImage(g, number, width, height);
    check(handle == number + 1, "resizeImage refused a valid size");
    const Image& resized = g.images[number];
    check(resized.width == width && resized.height == height, "resizeImage gave another size");
    check(resized.pixels.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
          "resized pixel count differs from width * height");
    for (const std::uint32_t p : resized.pixels) {
        check((p >> 24) == 0, "a resized pixel with a non-zero top byte");
        for (std::size_t c = 0; c < 3; ++c) {
            const std::uint32_t v = (p >> (8 * c)) & 0xFFu;
            check(v >= range.low[c] && v <= range.high[c], "a resized channel outside the source's range");
        }
    }
    if (source && width == sourceWidth && height == sourceHeight)
        check(sameImage(resized, *source), "resizing to the image's own size changed it");
}

// The image held under `target` before each decode: small and recognisable.
Image previousImage() {
    Image image;
    image.width = 3;
    image.height = 2;
    image.pixels = {0x010203u, 0x040506u, 0x070809u, 0x0A0B0Cu, 0x0D0E0Fu, 0x101112u};
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A fresh Graphics per input: everything an input allocates is freed by its
    // end, so libFuzzer's leak detection has nothing to chase between inputs.
    static const Image previous = previousImage();
    Graphics g;
    g.images[target] = previous;

    // Numbers outside 0..63 are refused before any decoding.
    check(vivarix::decodeImage(g, -1, data, size) == 0, "decodeImage accepted number -1");
    check(vivarix::decodeImage(g, vivarix::maxImageNumber + 1, data, size) == 0, "decodeImage accepted number 64");
    check(sameImage(g.images[target], previous), "a refused number changed an image");

    const ImageHandle handle = vivarix::decodeImage(g, target, data, size);
    if (handle == 0) {
        check(sameImage(g.images[target], previous), "a failed decode changed the previous image");
        check(vivarix::imageHandle(g, target) == target + 1, "a failed decode dropped the previous image");
        return 0;
    }
    check(handle == target + 1, "decodeImage returned another handle");
    check(vivarix::imageOf(g, handle) == &g.images[target], "the handle does not name the decoded image");
    const Image& decoded = g.images[target];
    checkPixels(decoded);
    const ChannelRange range = rangeOf(decoded);
    const std::int32_t w = decoded.width;
    const std::int32_t h = decoded.height;

    // Refused sizes leave the image as it is.
    const std::vector<std::uint32_t> before = decoded.pixels;  // compared below
    check(vivarix::resizeImage(g, target, 0, 5) == 0, "resizeImage accepted width 0");
    check(vivarix::resizeImage(g, target, 5, -3) == 0, "resizeImage accepted height -3");
    check(vivarix::resizeImage(g, target, vivarix::maxImageSide + 1, 1) == 0, "resizeImage accepted a huge width");
    check(vivarix::resizeImage(g, target, 8192, 8193) == 0, "resizeImage accepted more than the pixel limit");
    check(g.images[target].width == w && g.images[target].height == h && g.images[target].pixels == before,
          "a refused resize changed the image");

    // Every decoded picture (at most the size of the built-in textures) goes through
    // a few sizes, each from a copy of it: a single pixel, its own size (the
    // identity), and a shrink of one side with a stretch of the other.
    {
        const Image copy = g.images[target];
        resizeAndCheck(g, target, &copy, range, 1, 1);
        g.images[target] = copy;
        resizeAndCheck(g, target, &copy, range, w, h);
        g.images[target] = copy;
        resizeAndCheck(g, target, &copy, range, std::max(1, w / 3), std::min(h * 2 + 1, 97));
        g.images[target] = copy;
    }
    // A size taken from the input's last two bytes, which libjpeg does not read
    // when they follow the end-of-image marker, so the fuzzer can vary it freely.
    resizeAndCheck(g, target, nullptr, range, 1 + data[size - 2] % 97, 1 + data[size - 1] % 97);
    return 0;
}
