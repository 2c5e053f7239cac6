#include "assets/jpeg_encode.h"

#include <cstdlib>

namespace vivarix {

std::vector<std::uint8_t> encodeJpeg(const JpegEncoding& e, const std::uint8_t* rows, std::size_t rowStride) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(e.width);
    info.image_height = static_cast<JDIMENSION>(e.height);
    info.input_components = e.components;
    info.in_color_space = e.space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, e.quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    info.optimize_coding = FALSE;
    if (e.fullChroma && e.space == JCS_RGB)
        for (int c = 0; c < info.num_components; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    if (e.progressive) jpeg_simple_progression(&info);
    info.arith_code = e.arithmetic ? TRUE : FALSE;
    info.restart_in_rows = static_cast<int>(e.restartRows);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rows + info.next_scanline * rowStride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

}  // namespace vivarix
