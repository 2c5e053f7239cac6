// Arithmetic-coded JPEG files.  libjpeg's arithmetic decoder pads a scan whose
// data stops short with zeros and reports nothing, so such a file cannot be told
// from a clean one; decodeImage refuses them.  The first case is an input the
// decode fuzzer made: 244 bytes claiming a 2049 by 8452 picture, whose scan data
// ends after a few dozen bytes, and which decoded "cleanly" into 17 million pixels.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "platform/core/graphics.h"

namespace vivarix {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes shortArithmeticScan = {
    0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x00, 0x01, 0x01, 0x00,
    0x00, 0x01, 0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x05, 0x03, 0x04, 0x14, 0x03, 0xfc, 0x05,
    0x04, 0x04, 0x04, 0x05, 0x05, 0x05, 0x07, 0x06, 0x0c, 0x08, 0x07, 0x07, 0x07, 0x07, 0x0f, 0x0b,
    0x0b, 0x09, 0x0c, 0x11, 0x12, 0x12, 0x0f, 0x11, 0x0f, 0x11, 0x11, 0x13, 0x16, 0x1c, 0x17, 0x13,
    0x14, 0x1a, 0x15, 0x11, 0xff, 0xff, 0xff, 0x94, 0xe5, 0xe2, 0xe2, 0xe0, 0xe0, 0xe0, 0xf3, 0x17,
    0x22, 0x24, 0x22, 0x1e, 0x24, 0x1c, 0x1e, 0x1f, 0x1e, 0xff, 0xdb, 0x00, 0x43, 0x01, 0x05, 0x05,
    0x05, 0x07, 0x06, 0x07, 0x0e, 0x08, 0x08, 0x0e, 0x1e, 0x14, 0x11, 0x14, 0x1e, 0x23, 0x1e, 0x9e,
    0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e,
    0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e,
    0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0x1e, 0xff, 0xc9,
    0x00, 0x11, 0x08, 0x21, 0x04, 0x08, 0x01, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xff, 0xcc, 0x00, 0x0a, 0x00, 0x10, 0x10, 0x05, 0x01, 0x10, 0x11, 0x05, 0xff, 0xda, 0x00,
    0x0c, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3f, 0x00, 0xd1, 0xd5, 0x9e, 0xeb, 0x71,
    0xba, 0xed, 0xcb, 0xac, 0xec, 0xcb, 0xfb, 0xbf, 0x0f, 0x96, 0xb4, 0xf8, 0x27, 0x4a, 0xb5, 0x3a,
    0xb0, 0xfb, 0x60, 0x20, 0x20, 0x3e, 0x60, 0xba, 0xc1, 0x61, 0xea, 0xa9, 0x34, 0xff, 0xd9, 0xaf,
    0xb9, 0xb6, 0xf9, 0x00,
};

// An 8-by-8 colour picture, arithmetic-coded unless `huffman`.
Bytes encodeSmall(bool huffman) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = 8;
    info.image_height = 8;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    info.arith_code = huffman ? FALSE : TRUE;
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(8 * 3);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            row[static_cast<std::size_t>(3 * x)] = static_cast<std::uint8_t>(30 * x);
            row[static_cast<std::size_t>(3 * x + 1)] = static_cast<std::uint8_t>(30 * y);
            row[static_cast<std::size_t>(3 * x + 2)] = 128;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

// The file with its scan's entropy-coded data removed: the start-of-scan header
// followed directly by the end-of-image marker.
Bytes withoutScanData(const Bytes& file) {
    for (std::size_t i = 0; i + 3 < file.size(); ++i) {
        if (file[i] != 0xFF || file[i + 1] != 0xDA) continue;
        const std::size_t header = (std::size_t{file[i + 2]} << 8) | file[i + 3];
        Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(i + 2 + header));
        cut.push_back(0xFF);
        cut.push_back(0xD9);
        return cut;
    }
    return {};
}

// The image held under number 3 before each decode.
struct ArithmeticFiles : ::testing::Test {
    void SetUp() override {
        ASSERT_EQ(createImage(g, 3, 2, 2), 4);
        startDrawing(g, imageOutput(3));
        drawBox(g, 0, 0, 2, 2, 0x123456);
        stopDrawing(g);
        before = g.images[3];
    }
    void expectRefused(const Bytes& file) {
        EXPECT_EQ(decodeImage(g, 3, file.data(), file.size()), 0);
        EXPECT_EQ(g.images[3].width, 2);
        EXPECT_EQ(g.images[3].height, 2);
        EXPECT_EQ(g.images[3].pixels, before.pixels);
    }
    Graphics g;
    Image before;
};

TEST_F(ArithmeticFiles, AScanThatStopsShortIsRefused) {
    expectRefused(shortArithmeticScan);
    const Bytes cut = withoutScanData(encodeSmall(false));
    ASSERT_FALSE(cut.empty());
    expectRefused(cut);
}

TEST_F(ArithmeticFiles, AreRefusedEvenWhenWhole) {
    expectRefused(encodeSmall(false));
}

TEST_F(ArithmeticFiles, TheSamePictureHuffmanCodedDecodesAndItsCutScanIsRefused) {
    const Bytes whole = encodeSmall(true);
    EXPECT_EQ(decodeImage(g, 3, whole.data(), whole.size()), 4);
    EXPECT_EQ(g.images[3].width, 8);
    EXPECT_EQ(g.images[3].height, 8);
    g.images[3] = before;
    expectRefused(withoutScanData(whole));
}

}  // namespace
}  // namespace vivarix
