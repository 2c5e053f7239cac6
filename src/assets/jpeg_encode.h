// JPEG encoding for the tools and tests that make pictures: the asset generator,
// the decoder's tests and the fuzzer's seeds.  The program itself only decodes.
//
// Errors go through libjpeg's standard error manager, which prints and exits:
// fine for a tool or a test, never linked into the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE
#include <vector>

#include <jpeglib.h>

namespace vivarix {

struct JpegEncoding {
    int width = 1;
    int height = 1;
    int components = 3;                // samples per pixel of `rows`
    J_COLOR_SPACE space = JCS_RGB;     // of the samples: JCS_RGB, JCS_GRAYSCALE, JCS_CMYK
    int quality = 85;
    bool fullChroma = true;            // colour at full resolution (4:4:4), else 4:2:0
    bool progressive = false;
    bool arithmetic = false;           // arithmetic coding instead of Huffman
    unsigned restartRows = 0;          // a restart marker every this many MCU rows; 0 none
};

// Encodes `height` rows of `width * components` samples each, row y starting at
// rows + y * rowStride; a rowStride of 0 repeats the first row.  Baseline
// settings: standard Huffman tables, the exact integer DCT.
std::vector<std::uint8_t> encodeJpeg(const JpegEncoding& encoding, const std::uint8_t* rows, std::size_t rowStride);

}  // namespace vivarix
