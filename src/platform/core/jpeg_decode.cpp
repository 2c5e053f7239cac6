#include "platform/core/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstdlib>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/core/graphics.h"

namespace vivarix {

namespace jpeg {

namespace {

// libjpeg's error manager extended with where to jump back to and a warning count.
struct ErrorManager {
    jpeg_error_mgr base;  // first member: libjpeg sees a jpeg_error_mgr*
    std::jmp_buf jump;
    int warnings;
};

// Everything the decode touches after setjmp lives here, in the caller's frame and
// reached through a pointer, so nothing local to the setjmp frame changes between
// setjmp and longjmp (such locals would be indeterminate after the jump).
struct DecodeState {
    jpeg_decompress_struct info;
    ErrorManager error;
    bool created;
    Decoded* out;
};

[[noreturn]] void onFatalError(j_common_ptr info) {
    auto* error = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(error->jump, 1);
}

// Level -1 is a warning (corrupt or truncated data that libjpeg papers over); higher
// levels are trace messages.  Nothing is printed.
void onMessage(j_common_ptr info, int level) {
    if (level < 0) ++reinterpret_cast<ErrorManager*>(info->err)->warnings;
}

bool within(std::uint32_t width, std::uint32_t height) {
    return width >= 1 && height >= 1 && width <= maxSide && height <= maxSide;
}

// The setjmp frame.  Holds only plain C data and touches nothing but *s after
// setjmp; every path out of it destroys the decompressor.
Outcome run(DecodeState* s, const std::uint8_t* bytes, std::size_t size) {
    s->info.err = jpeg_std_error(&s->error.base);
    s->error.base.error_exit = onFatalError;
    s->error.base.emit_message = onMessage;
    s->error.warnings = 0;
    s->created = false;
    if (setjmp(s->error.jump)) {
        if (s->created) jpeg_destroy_decompress(&s->info);
        return s->error.base.msg_code == JERR_OUT_OF_MEMORY ? Outcome::outOfMemory : Outcome::damaged;
    }
    jpeg_create_decompress(&s->info);
    s->created = true;
    jpeg_mem_src(&s->info, bytes, static_cast<unsigned long>(size));
    if (jpeg_read_header(&s->info, TRUE) != JPEG_HEADER_OK || s->error.warnings != 0) {
        jpeg_destroy_decompress(&s->info);
        return Outcome::damaged;
    }
    // Decided on the header alone: jpeg_start_decompress below is where libjpeg
    // allocates its buffers for the picture (a whole-picture coefficient store for a
    // progressive file), and then we allocate its pixels.
    if (!within(s->info.image_width, s->info.image_height)) {
        jpeg_destroy_decompress(&s->info);
        return Outcome::tooLarge;
    }
    // Arithmetic-coded files are refused: libjpeg pads an arithmetic-coded scan whose
    // data stops short with zeros and warns about nothing, so a truncated or damaged
    // one would pass for clean.  A Huffman-coded scan that stops short raises a
    // warning.
    if (s->info.arith_code) {
        jpeg_destroy_decompress(&s->info);
        return Outcome::arithmeticCoded;
    }
    // Grey-scale and colour pictures alike come out as RGB triples.
    s->info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&s->info);
    const std::uint32_t width = s->info.output_width;
    const std::uint32_t height = s->info.output_height;
    if (s->info.output_components != 3 || !within(width, height) || s->error.warnings != 0) {
        jpeg_destroy_decompress(&s->info);
        return Outcome::damaged;
    }
    s->out->width = width;
    s->out->height = height;
    s->out->pixels = static_cast<std::uint32_t*>(
        std::malloc(static_cast<std::size_t>(width) * height * sizeof(std::uint32_t)));
    s->out->row = static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(width) * 3));
    if (!s->out->pixels || !s->out->row) {
        jpeg_destroy_decompress(&s->info);
        return Outcome::outOfMemory;
    }
    while (s->info.output_scanline < height) {
        JSAMPROW rows[1] = {s->out->row};
        const std::uint32_t y = s->info.output_scanline;
        if (jpeg_read_scanlines(&s->info, rows, 1) != 1 || s->error.warnings != 0) {
            // A warning already condemns the picture: stop instead of decoding the rest.
            jpeg_destroy_decompress(&s->info);
            return Outcome::damaged;
        }
        std::uint32_t* to = s->out->pixels + static_cast<std::size_t>(y) * width;
        const unsigned char* from = s->out->row;
        for (std::uint32_t x = 0; x < width; ++x, from += 3)
            to[x] = std::uint32_t{from[0]} | (std::uint32_t{from[1]} << 8) | (std::uint32_t{from[2]} << 16);
    }
    // Finishing reads on to the end-of-image marker and may warn about what it finds.
    jpeg_finish_decompress(&s->info);
    const bool clean = s->error.warnings == 0;
    jpeg_destroy_decompress(&s->info);
    return clean ? Outcome::decoded : Outcome::damaged;
}

}  // namespace

Outcome decodeJpeg(const std::uint8_t* bytes, std::size_t size, Decoded* out) {
    if (!bytes || size == 0 || !out) return Outcome::damaged;
    DecodeState state{};
    state.out = out;
    return run(&state, bytes, size);
}

void freeDecoded(Decoded* decoded) {
    std::free(decoded->pixels);
    std::free(decoded->row);
    decoded->pixels = nullptr;
    decoded->row = nullptr;
}

}  // namespace jpeg

}  // namespace vivarix
