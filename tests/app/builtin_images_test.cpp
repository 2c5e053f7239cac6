// The built-in pictures as the program receives them: the embedded bytes, decoded
// and resized by the platform layer exactly as start-up does it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "assets/builtin_images.h"
#include "platform/core/colour.h"
#include "platform/core/graphics.h"
#include "sim/plate_setup.h"

namespace vivarix {
namespace {

struct Size {
    std::int32_t width;
    std::int32_t height;
};

// The decoded size of image `number`.
Size expectedSize(std::int32_t number) {
    if (number == 35) return {42, 6};
    if (number == plateTextureImage || number == cloudTextureImage) return {largestBuiltinSide, largestBuiltinSide};
    return {15, 15};
}

const BuiltinImage* findImage(std::int32_t number) {
    for (const BuiltinImage& image : builtinImages())
        if (image.number == number) return &image;
    return nullptr;
}

// Decodes built-in image `number` into a fresh Graphics; fails the test if it
// cannot.
const Image& decodeBuiltin(Graphics& g, std::int32_t number) {
    const BuiltinImage* image = findImage(number);
    EXPECT_NE(image, nullptr) << "image " << number;
    if (image != nullptr) {
        EXPECT_EQ(decodeImage(g, number, image->bytes, image->size), number + 1) << "image " << number;
    }
    return g.images[static_cast<std::size_t>(number)];
}

std::int32_t pixelAt(const Image& image, std::int32_t x, std::int32_t y) {
    return static_cast<std::int32_t>(image.pixels[static_cast<std::size_t>(y) * image.width + x]);
}

std::string describe(std::int32_t colour) {
    return "rgb(" + std::to_string(redOf(colour)) + ", " + std::to_string(greenOf(colour)) + ", " +
           std::to_string(blueOf(colour)) + ")";
}

// The markers of the file's header segments, from SOI up to and including SOS, in
// file order; empty when the segment structure is broken.
std::vector<std::uint8_t> headerMarkers(const BuiltinImage& image) {
    const std::uint8_t* b = image.bytes;
    const std::size_t n = image.size;
    std::vector<std::uint8_t> markers;
    if (n < 4 || b[0] != 0xFF || b[1] != 0xD8) return {};
    markers.push_back(0xD8);
    std::size_t at = 2;
    while (at + 4 <= n) {
        if (b[at] != 0xFF) return {};
        const std::uint8_t marker = b[at + 1];
        const std::size_t length = (std::size_t{b[at + 2]} << 8) | b[at + 3];
        if (length < 2 || at + 2 + length > n) return {};
        markers.push_back(marker);
        if (marker == 0xDA) return markers;  // entropy-coded data follows
        at += 2 + length;
    }
    return {};
}

TEST(BuiltinImages, AreImages35To46InNumberOrder) {
    const auto images = builtinImages();
    ASSERT_EQ(images.size(), 12u);
    for (std::size_t i = 0; i < images.size(); ++i) {
        EXPECT_EQ(images[i].number, static_cast<std::int32_t>(35 + i));
        EXPECT_NE(images[i].bytes, nullptr);
        // Even a 15 by 15 baseline file with its tables needs several hundred bytes.
        EXPECT_GT(images[i].size, 600u) << "image " << images[i].number;
    }
}

TEST(BuiltinImages, AreBaselineJfifFilesEndingInEoi) {
    for (const BuiltinImage& image : builtinImages()) {
        SCOPED_TRACE("image " + std::to_string(image.number));
        const std::vector<std::uint8_t> markers = headerMarkers(image);
        ASSERT_FALSE(markers.empty()) << "broken segment structure";
        ASSERT_GE(markers.size(), 3u);
        EXPECT_EQ(markers[1], 0xE0) << "APP0 (JFIF) must follow SOI";
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.bytes) + 6, 5), std::string("JFIF", 5));
        const std::set<std::uint8_t> seen(markers.begin(), markers.end());
        EXPECT_EQ(seen.count(0xC0), 1u) << "no baseline SOF0";
        // Every other start-of-frame (progressive, extended, lossless, arithmetic);
        // C4, C8 and CC are tables and reserved codes, not frames.
        for (std::uint8_t sof : {0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF})
            EXPECT_EQ(seen.count(sof), 0u) << "frame marker 0xFF" << std::hex << int{sof};
        EXPECT_EQ(image.bytes[image.size - 2], 0xFF);
        EXPECT_EQ(image.bytes[image.size - 1], 0xD9);
    }
}

TEST(BuiltinImages, DecodeAtTheirOwnSizes) {
    Graphics g;
    for (const BuiltinImage& image : builtinImages()) {
        SCOPED_TRACE("image " + std::to_string(image.number));
        const Image& decoded = decodeBuiltin(g, image.number);
        const Size size = expectedSize(image.number);
        EXPECT_EQ(decoded.width, size.width);
        EXPECT_EQ(decoded.height, size.height);
        EXPECT_EQ(decoded.pixels.size(), static_cast<std::size_t>(size.width) * size.height);
        EXPECT_EQ(imageHandle(g, image.number), image.number + 1);
    }
}

// The textures are rescaled once at start-up; the plate cells are later found by
// the exact disc grey, so the enlarged plate texture must not contain it anywhere.
TEST(BuiltinImages, TexturesSurviveTheirStartUpResize) {
    Graphics g;
    decodeBuiltin(g, plateTextureImage);
    ASSERT_EQ(resizeImage(g, plateTextureImage, 460, 460), plateTextureImage + 1);
    const Image& plate = g.images[plateTextureImage];
    ASSERT_EQ(plate.width, 460);
    ASSERT_EQ(plate.height, 460);
    ASSERT_EQ(plate.pixels.size(), 460u * 460u);
    std::int32_t smallestBlueOverGreen = 255;
    std::int32_t discGreyPixels = 0;
    for (std::uint32_t pixel : plate.pixels) {
        const auto colour = static_cast<std::int32_t>(pixel);
        discGreyPixels += colour == plateColour;
        smallestBlueOverGreen = std::min(smallestBlueOverGreen, blueOf(colour) - greenOf(colour));
    }
    EXPECT_EQ(discGreyPixels, 0);
    // Not merely missing the one grey by luck: every pixel stays clearly violet.
    EXPECT_GE(smallestBlueOverGreen, 20);

    decodeBuiltin(g, cloudTextureImage);
    ASSERT_EQ(resizeImage(g, cloudTextureImage, 255, 200), cloudTextureImage + 1);
    EXPECT_EQ(g.images[cloudTextureImage].width, 255);
    EXPECT_EQ(g.images[cloudTextureImage].height, 200);
    EXPECT_EQ(g.images[cloudTextureImage].pixels.size(), 255u * 200u);
}

bool yellowish(std::int32_t c) { return redOf(c) >= 180 && greenOf(c) >= 140 && blueOf(c) <= 110; }
bool blueGround(std::int32_t c) { return blueOf(c) >= redOf(c) + 80 && blueOf(c) >= greenOf(c) + 60; }
bool redGround(std::int32_t c) { return redOf(c) >= greenOf(c) + 100 && redOf(c) >= blueOf(c) + 100; }
bool greenGround(std::int32_t c) { return greenOf(c) >= redOf(c) + 60 && greenOf(c) >= blueOf(c) + 60; }

// The kind button and the legend tell the kinds apart by these icons: a yellow face
// on the ground colour of its kind (blue for kind 0, red for kind 1, green for the
// unused pair).
TEST(BuiltinImages, SmileysAreYellowFacesOnTheirGround) {
    struct Case {
        std::int32_t number;
        bool (*ground)(std::int32_t);
        const char* groundName;
    };
    const Case cases[] = {
        {kind0Image, blueGround, "blue"}, {kind1Image, redGround, "red"}, {38, greenGround, "green"},
        {39, greenGround, "green"}};
    Graphics g;
    for (const Case& c : cases) {
        SCOPED_TRACE("image " + std::to_string(c.number));
        const Image& face = decodeBuiltin(g, c.number);
        ASSERT_EQ(face.pixels.size(), 225u);
        // The forehead and the middle of the face, between the eyes and the mouth.
        for (auto [x, y] : {std::pair{7, 2}, std::pair{7, 8}})
            EXPECT_TRUE(yellowish(pixelAt(face, x, y))) << "(" << x << ", " << y << ") is "
                                                         << describe(pixelAt(face, x, y));
        for (auto [x, y] : {std::pair{0, 0}, std::pair{14, 0}, std::pair{0, 14}, std::pair{14, 14}})
            EXPECT_TRUE(c.ground(pixelAt(face, x, y)))
                << "corner (" << x << ", " << y << ") is " << describe(pixelAt(face, x, y)) << ", not "
                << c.groundName;
    }
}

// The statistics and magnifier buttons show their state by the chart's colour:
// dark red while off (41, 43), green while on (42, 44).
TEST(BuiltinImages, ChartColourShowsTheButtonState) {
    const auto count = [](const Image& image, bool (*match)(std::int32_t)) {
        std::int32_t n = 0;
        for (std::uint32_t pixel : image.pixels) n += match(static_cast<std::int32_t>(pixel));
        return n;
    };
    const auto darkRed = [](std::int32_t c) {
        return redOf(c) >= 110 && redOf(c) >= greenOf(c) + 80 && redOf(c) >= blueOf(c) + 70;
    };
    const auto green = [](std::int32_t c) {
        return greenOf(c) >= 100 && greenOf(c) >= redOf(c) + 60 && greenOf(c) >= blueOf(c) + 50;
    };
    const auto lightBlue = [](std::int32_t c) {
        return blueOf(c) >= 225 && greenOf(c) >= 190 && redOf(c) >= 170 && blueOf(c) > redOf(c);
    };
    Graphics g;
    for (std::int32_t number : {statsOffImage, statsOnImage, magnifierOffImage, magnifierOnImage}) {
        SCOPED_TRACE("image " + std::to_string(number));
        const Image& chart = decodeBuiltin(g, number);
        const bool on = number == statsOnImage || number == magnifierOnImage;
        // A line across the icon covers well over a dozen pixels.
        EXPECT_GE(count(chart, on ? +green : +darkRed), 12);
        EXPECT_EQ(count(chart, on ? +darkRed : +green), 0);
        // Most of the icon is the light blue ground.
        EXPECT_GE(count(chart, +lightBlue), 100);
    }
}

// The plate texture shows around the disc at all four corners alike: it is its own
// mirror image left to right and top to bottom (up to JPEG's rounding), and paler
// in the middle than at the edges.
TEST(BuiltinImages, PlateTextureIsMirrorSymmetricAndPalerInTheMiddle) {
    Graphics g;
    const Image& texture = decodeBuiltin(g, plateTextureImage);
    ASSERT_EQ(texture.width, 256);
    ASSERT_EQ(texture.height, 256);
    const auto difference = [](std::int32_t a, std::int32_t b) {
        return std::max({std::abs(redOf(a) - redOf(b)), std::abs(greenOf(a) - greenOf(b)),
                         std::abs(blueOf(a) - blueOf(b))});
    };
    std::int32_t worst = 0;
    std::int64_t total = 0;
    for (std::int32_t y = 0; y < 256; ++y) {
        for (std::int32_t x = 0; x < 256; ++x) {
            const std::int32_t p = pixelAt(texture, x, y);
            const std::int32_t d =
                std::max(difference(p, pixelAt(texture, 255 - x, y)), difference(p, pixelAt(texture, x, 255 - y)));
            worst = std::max(worst, d);
            total += d;
        }
    }
    EXPECT_LE(worst, 8);
    EXPECT_LE(total, 256 * 256);  // on average at most one step per pixel

    const auto brightness = [&](std::int32_t x0, std::int32_t y0) {
        std::int64_t sum = 0;
        for (std::int32_t y = y0; y < y0 + 32; ++y)
            for (std::int32_t x = x0; x < x0 + 32; ++x) {
                const std::int32_t p = pixelAt(texture, x, y);
                sum += redOf(p) + greenOf(p) + blueOf(p);
            }
        return sum / (32 * 32);
    };
    const std::int64_t middle = brightness(112, 112);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{224, 0}, std::pair{0, 224}, std::pair{224, 224}})
        EXPECT_GT(middle, brightness(x, y) + 60) << "corner block at (" << x << ", " << y << ")";
}

}  // namespace
}  // namespace vivarix
