// Writes the edge-case seeds of the decode fuzzer into a directory:
//     vivarix-fuzz-make-seeds <source-dir>/tests/fuzz/corpus/decode
// Small pictures in the forms libjpeg reads (grey-scale, progressive, restart
// markers), and files decodeImage must refuse (arithmetic-coded, CMYK, empty,
// truncated, tables only, headers beyond the size limit, whole and cut short, not a
// JPEG at all).  The twelve
// built-in pictures are copied next to them by hand from src/assets/pictures.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "assets/builtin_images.h"
#include "assets/jpeg_encode.h"

namespace {

struct Picture {
    int width = 1;
    int height = 1;
    int components = 3;
    J_COLOR_SPACE space = JCS_RGB;
    bool progressive = false;
    bool arithmetic = false;
    unsigned restartRows = 0;
    bool subsampled = false;
};

// A smooth pattern, so that every channel changes across the picture.
std::vector<unsigned char> pattern(const Picture& p) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(p.width * p.height * p.components));
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            for (int c = 0; c < p.components; ++c)
                pixels[static_cast<std::size_t>((y * p.width + x) * p.components + c)] =
                    static_cast<unsigned char>((x * 37 + y * 91 + c * 60) & 0xFF);
    return pixels;
}

std::vector<unsigned char> encode(const Picture& p) {
    vivarix::JpegEncoding e{p.width, p.height, p.components, p.space, 85, !p.subsampled};
    e.progressive = p.progressive;
    e.arithmetic = p.arithmetic;
    e.restartRows = p.restartRows;
    const std::vector<unsigned char> pixels = pattern(p);
    return vivarix::encodeJpeg(e, pixels.data(), static_cast<std::size_t>(p.width * p.components));
}

std::vector<unsigned char> tablesOnly() {
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.in_color_space = JCS_RGB;
    info.input_components = 3;
    jpeg_set_defaults(&info);
    jpeg_write_tables(&info);
    jpeg_destroy_compress(&info);
    std::vector<unsigned char> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

// Sets the size in the first SOF0 or SOF2 marker.
std::vector<unsigned char> withSize(std::vector<unsigned char> bytes, unsigned width, unsigned height) {
    for (std::size_t i = 0; i + 8 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
            bytes[i + 5] = static_cast<unsigned char>(height >> 8);
            bytes[i + 6] = static_cast<unsigned char>(height & 0xFF);
            bytes[i + 7] = static_cast<unsigned char>(width >> 8);
            bytes[i + 8] = static_cast<unsigned char>(width & 0xFF);
            break;
        }
    }
    return bytes;
}

// The bytes up to the end of the first scan header and `more` bytes of its data.
std::vector<unsigned char> cutAfterHeader(const std::vector<unsigned char>& bytes, std::size_t more) {
    for (std::size_t i = 2; i + 3 < bytes.size();) {
        const std::size_t length = (std::size_t{bytes[i + 2]} << 8) | bytes[i + 3];
        if (bytes[i + 1] == 0xDA) return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(i + 2 + length + more)};
        i += 2 + length;
    }
    return bytes;
}

bool write(const std::string& directory, const char* name, const std::vector<unsigned char>& bytes) {
    const std::string path = directory + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vivarix-fuzz-make-seeds DIRECTORY\n");
        return 2;
    }
    const std::string dir = argv[1];

    Picture tiny;
    Picture grey{3, 2, 1, JCS_GRAYSCALE};
    Picture progressive{17, 9};
    progressive.progressive = true;
    Picture restarts{24, 24};
    restarts.restartRows = 1;
    restarts.subsampled = true;
    Picture arithmetic{5, 4};
    arithmetic.arithmetic = true;
    Picture cmyk{4, 4, 4, JCS_CMYK};

    const std::vector<unsigned char> colour = encode(restarts);
    const std::vector<std::pair<const char*, std::vector<unsigned char>>> seeds = {
        {"edge-1x1.jpg", encode(tiny)},
        {"edge-grey-3x2.jpg", encode(grey)},
        {"edge-progressive-17x9.jpg", encode(progressive)},
        {"edge-restarts-420-24x24.jpg", colour},
        {"edge-arithmetic-5x4.jpg", encode(arithmetic)},
        {"edge-cmyk-4x4.jpg", encode(cmyk)},
        {"edge-truncated.jpg", std::vector<unsigned char>(colour.begin(), colour.begin() + colour.size() / 2)},
        {"edge-tables-only.jpg", tablesOnly()},
        {"edge-too-wide.jpg", withSize(encode(tiny), vivarix::largestBuiltinSide + 1, 1)},
        // A progressive file is where libjpeg allocates most for a picture's size.
        {"edge-huge-header-cut.jpg", cutAfterHeader(withSize(encode(progressive), 16384, 4096), 16)},
        {"edge-soi-eoi.jpg", {0xFF, 0xD8, 0xFF, 0xD9}},
        {"edge-empty.jpg", {}},
        {"edge-not-jpeg.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'}},
    };
    for (const auto& [name, bytes] : seeds) {
        if (!write(dir, name, bytes)) {
            std::fprintf(stderr, "vivarix-fuzz-make-seeds: cannot write %s/%s\n", dir.c_str(), name);
            return 1;
        }
    }
    return 0;
}
