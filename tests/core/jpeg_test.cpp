// decodeImage against pictures encoded here with libjpeg, whole and damaged, and
// resizeImage.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "assets/builtin_images.h"
#include "assets/jpeg_encode.h"
#include "platform/core/colour.h"
#include "platform/core/graphics.h"
#include "platform/core/jpeg_decode.h"

namespace vivarix {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A source picture: RGB triples, or one grey byte per pixel.
struct Picture {
    int width = 0;
    int height = 0;
    bool grey = false;
    std::vector<std::uint8_t> samples;
    int components() const { return grey ? 1 : 3; }
    const std::uint8_t* at(int x, int y) const {
        return &samples[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) *
                        static_cast<std::size_t>(components())];
    }
};

// Smooth gradients with a solid block: easy on JPEG, so colours survive closely.
Picture colourPicture(int width, int height) {
    Picture p{width, height, false, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            p.samples.push_back(static_cast<std::uint8_t>(40 + 160 * x / std::max(1, width - 1)));
            p.samples.push_back(static_cast<std::uint8_t>(200 - 150 * y / std::max(1, height - 1)));
            p.samples.push_back(static_cast<std::uint8_t>(x < width / 2 ? 60 : 180));
        }
    return p;
}

Picture greyPicture(int width, int height) {
    Picture p{width, height, true, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) p.samples.push_back(static_cast<std::uint8_t>(20 + 7 * (x + y) % 200));
    return p;
}

// fullChroma keeps colour at full resolution (4:4:4) so that sharp colour edges
// survive; otherwise libjpeg's default 2x2 chroma subsampling.
Bytes encode(const Picture& p, bool progressive = false, int quality = 95, bool fullChroma = true) {
    JpegEncoding e{p.width, p.height, p.components(), p.grey ? JCS_GRAYSCALE : JCS_RGB, quality, fullChroma};
    e.progressive = progressive;
    return encodeJpeg(e, p.samples.data(), static_cast<std::size_t>(p.width * p.components()));
}

// Where the entropy-coded data of the first scan starts: just past the SOS segment.
std::size_t scanStart(const Bytes& b) {
    for (std::size_t i = 2; i + 3 < b.size();) {
        if (b[i] != 0xFF) return 0;
        const std::uint8_t marker = b[i + 1];
        const std::size_t length = (std::size_t{b[i + 2]} << 8) | b[i + 3];
        if (marker == 0xDA) return i + 2 + length;
        i += 2 + length;
    }
    return 0;
}

// Offset of the SOFn segment's height field (width follows it).
std::size_t frameSizeOffset(const Bytes& b) {
    for (std::size_t i = 2; i + 3 < b.size();) {
        const std::uint8_t marker = b[i + 1];
        const std::size_t length = (std::size_t{b[i + 2]} << 8) | b[i + 3];
        if (marker == 0xC0 || marker == 0xC2) return i + 5;
        i += 2 + length;
    }
    return 0;
}

void setFrameSize(Bytes& b, std::uint16_t width, std::uint16_t height) {
    const std::size_t at = frameSizeOffset(b);
    ASSERT_NE(at, 0u);
    b[at] = static_cast<std::uint8_t>(height >> 8);
    b[at + 1] = static_cast<std::uint8_t>(height & 0xFF);
    b[at + 2] = static_cast<std::uint8_t>(width >> 8);
    b[at + 3] = static_cast<std::uint8_t>(width & 0xFF);
}

ImageHandle decode(Graphics& g, std::int32_t number, const Bytes& b) {
    return decodeImage(g, number, b.data(), b.size());
}

// Largest per-channel difference between the decoded image and the source, and
// the mean absolute difference.
struct Error {
    int largest = 0;
    double mean = 0;
};

Error compare(const Image& image, const Picture& p) {
    Error e;
    long total = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const std::int32_t v = static_cast<std::int32_t>(image.pixels[static_cast<std::size_t>(y * p.width + x)]);
            const int channels[3] = {redOf(v), greenOf(v), blueOf(v)};
            for (int c = 0; c < 3; ++c) {
                const int d = std::abs(channels[c] - p.at(x, y)[p.grey ? 0 : c]);
                e.largest = std::max(e.largest, d);
                total += d;
            }
        }
    e.mean = static_cast<double>(total) / (3.0 * p.width * p.height);
    return e;
}

void expectTopBytesZero(const Image& image) {
    for (std::uint32_t v : image.pixels) ASSERT_EQ(v >> 24, 0u);
}

// --- pictures that decode -------------------------------------------------------

TEST(DecodeImage, BaselineColourPicture) {
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{32, 24}, {15, 15}, {42, 6}, {17, 9}, {1, 1}}) {
        const Picture p = colourPicture(w, h);
        Graphics g;
        ASSERT_EQ(decode(g, 36, encode(p)), 37) << w << "x" << h;
        const Image& image = g.images[36];
        EXPECT_EQ(image.width, w);
        EXPECT_EQ(image.height, h);
        ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(w * h));
        expectTopBytesZero(image);
        const Error e = compare(image, p);
        EXPECT_LT(e.mean, 4.0) << w << "x" << h;
        EXPECT_LT(e.largest, 40) << w << "x" << h;
        EXPECT_EQ(imageHandle(g, 36), 37);
    }
    // Subsampled colour blurs the sharp blue edge but not the picture as a whole.
    const Picture p = colourPicture(64, 48);
    Graphics g;
    ASSERT_EQ(decode(g, 36, encode(p, false, 90, false)), 37);
    EXPECT_LT(compare(g.images[36], p).mean, 6.0);
}

TEST(DecodeImage, RedIsInTheLowByte) {
    Picture p{16, 16, false, {}};
    for (int i = 0; i < 256; ++i) {
        p.samples.push_back(i < 128 ? 250 : 10);  // top half red, bottom half blue
        p.samples.push_back(10);
        p.samples.push_back(i < 128 ? 10 : 250);
    }
    Graphics g;
    ASSERT_EQ(decode(g, 0, encode(p)), 1);
    const std::int32_t top = static_cast<std::int32_t>(g.images[0].pixels[16 * 2 + 8]);
    const std::int32_t bottom = static_cast<std::int32_t>(g.images[0].pixels[16 * 13 + 8]);
    EXPECT_GT(redOf(top), 200);
    EXPECT_LT(blueOf(top), 50);
    EXPECT_GT(blueOf(bottom), 200);
    EXPECT_LT(redOf(bottom), 50);
}

TEST(DecodeImage, ProgressivePicture) {
    const Picture p = colourPicture(40, 33);
    const Bytes bytes = encode(p, true);
    ASSERT_NE(frameSizeOffset(bytes), 0u);
    Graphics g;
    ASSERT_EQ(decode(g, 45, bytes), 46);
    EXPECT_EQ(g.images[45].width, 40);
    EXPECT_EQ(g.images[45].height, 33);
    EXPECT_LT(compare(g.images[45], p).mean, 4.0);
}

TEST(DecodeImage, GreyScalePictureGivesGreyColourValues) {
    const Picture p = greyPicture(23, 19);
    for (const bool progressive : {false, true}) {
        Graphics g;
        ASSERT_EQ(decode(g, 5, encode(p, progressive)), 6);
        const Image& image = g.images[5];
        ASSERT_EQ(image.width, 23);
        ASSERT_EQ(image.height, 19);
        for (std::uint32_t v : image.pixels) {
            const std::int32_t c = static_cast<std::int32_t>(v);
            ASSERT_EQ(redOf(c), greenOf(c));
            ASSERT_EQ(greenOf(c), blueOf(c));
            ASSERT_EQ(v >> 24, 0u);
        }
        EXPECT_LT(compare(image, p).mean, 4.0);
    }
}

TEST(DecodeImage, ReplacesTheImageHeldUnderTheNumber) {
    Graphics g;
    ASSERT_EQ(createImage(g, 45, 460, 460), 46);
    ASSERT_EQ(decode(g, 45, encode(colourPicture(20, 10))), 46);
    EXPECT_EQ(g.images[45].width, 20);
    EXPECT_EQ(g.images[45].height, 10);
    EXPECT_EQ(g.images[45].pixels.size(), 200u);
}

TEST(DecodeImage, SizeLimits) {
    // At the size of the largest built-in picture it decodes; one pixel more on
    // either side is refused.
    Graphics g;
    ASSERT_EQ(decode(g, 1, encode(greyPicture(largestBuiltinSide, 2), false, 50)), 2);
    EXPECT_EQ(g.images[1].width, largestBuiltinSide);
    EXPECT_EQ(decode(g, 2, encode(greyPicture(largestBuiltinSide + 1, 2), false, 50)), 0);
    EXPECT_EQ(decode(g, 2, encode(greyPicture(2, largestBuiltinSide + 1), false, 50)), 0);
    EXPECT_EQ(imageHandle(g, 2), 0);
}

// A few hundred bytes whose header declares a huge picture, whole or cut short after
// the header (16384 x 4096 once cost 256 MB of pixels before the cut was noticed):
// refused as too large on the header alone, with nothing allocated for the pixels.
TEST(DecodeImage, RefusesAForgedHugeHeaderBeforeAllocating) {
    Graphics g;
    ASSERT_EQ(decode(g, 1, encode(colourPicture(4, 4))), 2);
    for (const bool progressive : {false, true}) {
        const Bytes small = encode(colourPicture(16, 16), progressive);
        for (const auto& [w, h] : std::vector<std::pair<std::uint16_t, std::uint16_t>>{
                 {60000, 60000}, {16384, 4096}, {65000, 16}, {16, 65000}, {largestBuiltinSide + 1, 1}}) {
            Bytes forged = small;
            setFrameSize(forged, w, h);
            const Bytes cut(forged.begin(), forged.begin() + static_cast<std::ptrdiff_t>(scanStart(forged) + 8));
            for (const Bytes* file : {static_cast<const Bytes*>(&forged), &cut}) {
                SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + (progressive ? " progressive" : "") +
                             (file == &cut ? ", cut after the header" : ""));
                jpeg::Decoded decoded;
                EXPECT_EQ(jpeg::decodeJpeg(file->data(), file->size(), &decoded), jpeg::Outcome::tooLarge);
                EXPECT_EQ(decoded.pixels, nullptr);
                EXPECT_EQ(decoded.row, nullptr);
                jpeg::freeDecoded(&decoded);
                EXPECT_EQ(decode(g, 1, *file), 0);
                EXPECT_EQ(g.images[1].width, 4);
            }
        }
    }
}

// --- bytes that must not decode ----------------------------------------------------

// Decodes `bytes` into image 7, which already holds a good picture; the call must
// fail and leave that picture exactly as it was.
class Rejects : public ::testing::Test {
protected:
    Graphics g;
    Image before;
    Bytes good;

    void SetUp() override {
        good = encode(colourPicture(48, 32));
        ASSERT_EQ(decode(g, 7, good), 8);
        before = g.images[7];
    }
    void expectRejected(const std::uint8_t* data, std::size_t size, const std::string& what) {
        EXPECT_EQ(decodeImage(g, 7, data, size), 0) << what;
        EXPECT_EQ(g.images[7].width, before.width) << what;
        EXPECT_EQ(g.images[7].height, before.height) << what;
        EXPECT_TRUE(g.images[7].pixels == before.pixels) << what;
    }
    void expectRejected(const Bytes& b, const std::string& what) { expectRejected(b.data(), b.size(), what); }
};

TEST_F(Rejects, EmptyInput) {
    expectRejected(nullptr, 0, "null, size 0");
    expectRejected(good.data(), 0, "size 0");
    expectRejected(Bytes{}, "empty vector");
}

TEST_F(Rejects, BytesThatAreNotAJpegFile) {
    std::mt19937 random(12345);
    for (int round = 0; round < 50; ++round) {
        Bytes noise(1 + random() % 3000);
        for (std::uint8_t& b : noise) b = static_cast<std::uint8_t>(random());
        expectRejected(noise, "random bytes, round " + std::to_string(round));
        // Behind a start-of-image marker the noise gets past the first check.
        noise.insert(noise.begin(), {0xFF, 0xD8});
        expectRejected(noise, "SOI + random bytes, round " + std::to_string(round));
    }
    const Bytes text = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0};
    expectRejected(text, "a GIF signature");
}

TEST_F(Rejects, StreamCutInTheHeader) {
    const std::size_t start = scanStart(good);
    ASSERT_GT(start, 100u);
    for (std::size_t size = 1; size <= start; ++size) expectRejected(good.data(), size, "cut at " + std::to_string(size));
}

TEST_F(Rejects, StreamCutInsideTheImageData) {
    const std::size_t start = scanStart(good);
    ASSERT_GT(good.size(), start + 100);
    // Every cut from the first entropy-coded byte up to and including the missing
    // last byte of the end-of-image marker.
    for (std::size_t size = start + 1; size < good.size(); ++size)
        expectRejected(good.data(), size, "cut at " + std::to_string(size) + " of " + std::to_string(good.size()));
}

TEST_F(Rejects, ProgressiveStreamCutBetweenScans) {
    const Bytes progressive = encode(colourPicture(48, 32), true);
    std::size_t cuts = 0;
    for (std::size_t i = scanStart(progressive); i + 1 < progressive.size(); ++i)
        if (progressive[i] == 0xFF && progressive[i + 1] == 0xDA) {  // a later scan starts here
            expectRejected(progressive.data(), i, "cut before the scan at " + std::to_string(i));
            ++cuts;
        }
    EXPECT_GT(cuts, 2u);
}

TEST_F(Rejects, CorruptedBytesInTheMiddle) {
    const std::size_t start = scanStart(good);
    const std::size_t middle = start + (good.size() - start) / 2;
    {
        Bytes b = good;  // a restart marker where no restart interval was declared
        b[middle] = 0xFF;
        b[middle + 1] = 0xD3;
        expectRejected(b, "stray restart marker");
    }
    {
        Bytes b = good;  // an end-of-image marker halfway through the scan
        b[middle] = 0xFF;
        b[middle + 1] = 0xD9;
        expectRejected(b, "early end-of-image marker");
    }
    {
        // 64 one-bits (each 0xFF data byte is stuffed with a 0x00): longer than any
        // Huffman code plus its extra bits, and all-ones is never a valid code.
        Bytes b = good;
        for (std::size_t i = middle; i < middle + 16; i += 2) {
            b[i] = 0xFF;
            b[i + 1] = 0x00;
        }
        expectRejected(b, "bad Huffman codes");
    }
    {
        Bytes b = good;  // a chunk of the scan dropped: the data no longer fits the frame
        b.erase(b.begin() + static_cast<std::ptrdiff_t>(middle), b.begin() + static_cast<std::ptrdiff_t>(middle + 40));
        expectRejected(b, "40 bytes dropped");
    }
    {
        Bytes b = good;  // junk after the scan, before the end-of-image marker
        ASSERT_EQ(b[b.size() - 2], 0xFF);
        ASSERT_EQ(b[b.size() - 1], 0xD9);
        b.insert(b.end() - 2, {0x12, 0x34, 0x56});
        expectRejected(b, "junk before the end-of-image marker");
    }
    {
        Bytes b = good;  // junk between two header segments
        b.insert(b.begin() + static_cast<std::ptrdiff_t>(frameSizeOffset(b) - 5), {0x00, 0x11});
        expectRejected(b, "junk between header segments");
    }
    {
        Bytes b = good;  // a 12-bit sample precision this build cannot decode
        b[frameSizeOffset(b) - 1] = 12;
        expectRejected(b, "12-bit precision");
    }
    {
        Bytes b = good;  // a frame of no pixels
        setFrameSize(b, 48, 0);
        expectRejected(b, "zero height");
    }
}

// Random damage to a good file: whatever libjpeg makes of it, the call returns,
// and either fails leaving the old picture or yields a consistent image.
TEST_F(Rejects, RandomDamageNeverEndsTheProcess) {
    std::mt19937 random(777);
    int rejected = 0;
    for (int round = 0; round < 400; ++round) {
        Bytes b = good;
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < flips; ++i) b[random() % b.size()] = static_cast<std::uint8_t>(random());
        if (round % 4 == 0) b.resize(random() % b.size());
        const ImageHandle h = decode(g, 7, b);
        const Image& image = g.images[7];
        if (h == 0) {
            ++rejected;
            ASSERT_TRUE(image.pixels == before.pixels) << "round " << round;
        } else {
            ASSERT_EQ(h, 8);
            ASSERT_GE(image.width, 1);
            ASSERT_GE(image.height, 1);
            ASSERT_EQ(image.pixels.size(),
                      static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
            expectTopBytesZero(image);
            g.images[7] = before;
        }
    }
    EXPECT_GT(rejected, 100);
}

TEST(DecodeImage, RefusesNumbersOutsideTheRange) {
    Graphics g;
    const Bytes good = encode(colourPicture(8, 8));
    for (const std::int32_t n : {-1, 64, INT_MIN, INT_MAX}) EXPECT_EQ(decode(g, n, good), 0) << n;
    EXPECT_EQ(decode(g, 63, good), 64);
}

// --- resizeImage ---------------------------------------------------------------

Image uniform(int w, int h, std::uint32_t colour) {
    Image image;
    image.width = w;
    image.height = h;
    image.pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), colour);
    return image;
}

std::uint32_t pixel(const Image& image, int x, int y) {
    return image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                        static_cast<std::size_t>(x)];
}

TEST(ResizeImage, RefusesWorkBeyondTheSizeLimit) {
    // 16 by 16384 to 16384 by 1: both pictures are small, but the rows at the new
    // width would be 16384 by 16384.
    Graphics g;
    ASSERT_NE(createImage(g, 3, 16, maxImageSide), 0);
    EXPECT_EQ(resizeImage(g, 3, maxImageSide, 1), 0);
    EXPECT_EQ(g.images[3].width, 16);
    EXPECT_NE(resizeImage(g, 3, 64, 1), 0);
}

TEST(ResizeImage, GivesTheRequestedSize) {
    struct Case {
        int fromW, fromH, toW, toH;
    };
    for (const Case& k : std::vector<Case>{
             {256, 256, 460, 460}, {256, 256, 255, 200}, {1, 1, 5, 3}, {7, 5, 1, 1}, {10, 3, 3, 10}, {4, 4, 4, 4}}) {
        Graphics g;
        g.images[45] = uniform(k.fromW, k.fromH, 0x102030);
        ASSERT_EQ(resizeImage(g, 45, k.toW, k.toH), 46);
        EXPECT_EQ(g.images[45].width, k.toW);
        EXPECT_EQ(g.images[45].height, k.toH);
        EXPECT_EQ(g.images[45].pixels.size(), static_cast<std::size_t>(k.toW * k.toH));
    }
}

TEST(ResizeImage, OneColourStaysExactlyThatColour) {
    for (const std::uint32_t colour : {0x000000u, 0xFFFFFFu, 0x8040C0u, 0x010203u})
        for (const auto& [w, h] : std::vector<std::pair<int, int>>{{460, 460}, {255, 200}, {3, 700}, {1, 1}}) {
            Graphics g;
            g.images[46] = uniform(256, 256, colour);
            ASSERT_EQ(resizeImage(g, 46, w, h), 47);
            for (std::uint32_t v : g.images[46].pixels) ASSERT_EQ(v, colour) << w << "x" << h;
        }
}

// Left half one colour, right half another: after scaling, each side keeps its
// colour away from the seam, and the seam only blends from one to the other.
TEST(ResizeImage, TwoColourSplitKeepsItsSides) {
    const std::uint32_t left = rgb(255, 0, 0);
    const std::uint32_t right = rgb(0, 0, 255);
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{460, 460}, {255, 200}, {100, 300}, {129, 5}}) {
        Graphics g;
        Image split = uniform(256, 256, left);
        for (int y = 0; y < 256; ++y)
            for (int x = 128; x < 256; ++x) split.pixels[static_cast<std::size_t>(y * 256 + x)] = right;
        g.images[45] = split;
        ASSERT_EQ(resizeImage(g, 45, w, h), 46);
        const Image& out = g.images[45];
        const int seam = w / 2;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const std::uint32_t v = pixel(out, x, y);
                if (x < seam - 2) {
                    ASSERT_EQ(v, left) << w << "x" << h << " at " << x << "," << y;
                }
                if (x >= seam + 2) {
                    ASSERT_EQ(v, right) << w << "x" << h << " at " << x << "," << y;
                }
                ASSERT_EQ(greenOf(static_cast<std::int32_t>(v)), 0);
                if (x > 0) {
                    const std::int32_t prev = static_cast<std::int32_t>(pixel(out, x - 1, y));
                    ASSERT_LE(redOf(static_cast<std::int32_t>(v)), redOf(prev));
                    ASSERT_GE(blueOf(static_cast<std::int32_t>(v)), blueOf(prev));
                }
            }
            ASSERT_EQ(pixel(out, 0, y), pixel(out, 0, 0));  // every row alike
        }
    }
}

TEST(ResizeImage, ShrinkingAveragesAreas) {
    Graphics g;
    // 4x2 black and white columns to 2x1: each output pixel is half white.
    Image stripes = uniform(4, 2, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; x += 2) stripes.pixels[static_cast<std::size_t>(y * 4 + x)] = 0xFFFFFF;
    g.images[1] = stripes;
    ASSERT_EQ(resizeImage(g, 1, 2, 1), 2);
    for (std::uint32_t v : g.images[1].pixels) {
        const std::int32_t c = static_cast<std::int32_t>(v);
        EXPECT_NEAR(redOf(c), 127.5, 0.6);
        EXPECT_EQ(redOf(c), greenOf(c));
        EXPECT_EQ(redOf(c), blueOf(c));
    }
    // A random picture shrunk keeps its mean colour (every source pixel counts once).
    std::mt19937 random(99);
    Image noise = uniform(256, 256, 0);
    double sums[3] = {0, 0, 0};
    for (std::uint32_t& v : noise.pixels) {
        v = random() & 0xFFFFFFu;
        for (int c = 0; c < 3; ++c) sums[c] += (v >> (8 * c)) & 0xFF;
    }
    g.images[2] = noise;
    ASSERT_EQ(resizeImage(g, 2, 255, 200), 3);
    double out[3] = {0, 0, 0};
    for (std::uint32_t v : g.images[2].pixels)
        for (int c = 0; c < 3; ++c) out[c] += (v >> (8 * c)) & 0xFF;
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(out[c] / (255.0 * 200.0), sums[c] / 65536.0, 0.5) << "channel " << c;
}

TEST(ResizeImage, EnlargingInterpolatesWithinTheNeighbours) {
    Graphics g;
    Image ramp = uniform(4, 1, 0);
    ramp.pixels = {rgb(0, 0, 0), rgb(100, 0, 0), rgb(200, 0, 0), rgb(240, 0, 0)};
    g.images[1] = ramp;
    ASSERT_EQ(resizeImage(g, 1, 16, 2), 2);
    const Image& out = g.images[1];
    EXPECT_EQ(pixel(out, 0, 0), static_cast<std::uint32_t>(rgb(0, 0, 0)));      // clamped at the border
    EXPECT_EQ(pixel(out, 15, 1), static_cast<std::uint32_t>(rgb(240, 0, 0)));
    for (int x = 1; x < 16; ++x) EXPECT_GE(redOf(static_cast<std::int32_t>(pixel(out, x, 0))),
                                           redOf(static_cast<std::int32_t>(pixel(out, x - 1, 0))));
    // Output 6 has its centre at source x = 1.125: 7/8 of 100 and 1/8 of 200.
    EXPECT_NEAR(redOf(static_cast<std::int32_t>(pixel(out, 6, 0))), 112.5, 0.5);
    // Output 2 at source x = 0.125: 7/8 of 0 and 1/8 of 100.
    EXPECT_NEAR(redOf(static_cast<std::int32_t>(pixel(out, 2, 0))), 12.5, 0.5);
}

TEST(ResizeImage, RefusesBadNumbersAndSizesAndLeavesTheImage) {
    Graphics g;
    g.images[9] = uniform(3, 3, 0x123456);
    struct Case {
        std::int32_t number, width, height;
    };
    for (const Case& k : std::vector<Case>{{8, 5, 5} /* no image */, {-1, 5, 5}, {64, 5, 5}, {INT_MIN, 5, 5},
                                           {9, 0, 5}, {9, 5, 0}, {9, -5, 5}, {9, INT_MIN, INT_MIN},
                                           {9, maxImageSide + 1, 1}, {9, maxImageSide, maxImageSide}}) {
        EXPECT_EQ(resizeImage(g, k.number, k.width, k.height), 0) << k.number << " " << k.width << "x" << k.height;
    }
    EXPECT_EQ(g.images[9].width, 3);
    EXPECT_EQ(g.images[9].height, 3);
    EXPECT_EQ(g.images[9].pixels, std::vector<std::uint32_t>(9, 0x123456));
    EXPECT_EQ(imageHandle(g, 8), 0);
}

}  // namespace
}  // namespace vivarix
