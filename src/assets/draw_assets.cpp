// vivarix-draw-assets: draws the twelve built-in pictures (images 35..46) and writes
// them as baseline JFIF JPEG files into the directory given on the command line.
// With --icons it draws the application icon instead, the shy smiley of the blue
// kind button on a rounded blue square, as PNG files of 16 to 256 pixels.
//
// The committed files in src/assets/pictures/ and data/icons/ are this program's
// output; the normal build never runs it.  Run it by hand after changing a drawing
// and commit the files it writes.  The output depends only on this source and the
// libraries' versions (seeded noise, no clock, libjpeg's integer DCT, libpng's
// default deflate), so a rerun without changes writes the same bytes.
//
// Every picture is described as a scene: a function from a point in pixel
// coordinates (x to the right, y down, pixel (i, j) covering [i, i+1) x [j, j+1)) to
// a colour.  A picture is rendered by sampling its scene on a regular sub-pixel grid
// and averaging, so shapes with hard edges come out antialiased.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

// jpeglib.h needs size_t and FILE declared before it.
#include <png.h>

#include "assets/builtin_images.h"
#include "assets/jpeg_encode.h"

namespace {

using vivarix::encodeJpeg;

// ---------------------------------------------------------------------------
// Colours and geometry

struct Rgb {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

constexpr Rgb mix(Rgb a, Rgb b, double t) {
    return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

double smoothstep(double edge0, double edge1, double v) {
    const double t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

double distance(double x0, double y0, double x1, double y1) { return std::hypot(x1 - x0, y1 - y0); }

// Distance from (x, y) to the segment (x0, y0)-(x1, y1).
double segmentDistance(double x, double y, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double t = clamp01(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy));
    return distance(x, y, x0 + t * dx, y0 + t * dy);
}

bool inEllipse(double x, double y, double cx, double cy, double rx, double ry) {
    const double u = (x - cx) / rx;
    const double v = (y - cy) / ry;
    return u * u + v * v <= 1.0;
}

// The lower half of a circle's rim, `width` thick: a "U" stroke.
bool onLowerArc(double x, double y, double cx, double cy, double radius, double width) {
    return y >= cy && std::abs(distance(x, y, cx, cy) - radius) <= width / 2.0;
}

using Scene = std::function<Rgb(double x, double y)>;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3 bytes, rows top to bottom
};

// Averages `samples` x `samples` points per pixel of the scene.
Picture render(int width, int height, int samples, const Scene& scene) {
    Picture picture{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3)};
    const double step = 1.0 / samples;
    std::size_t at = 0;
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            Rgb sum;
            for (int sj = 0; sj < samples; ++sj) {
                for (int si = 0; si < samples; ++si) {
                    const Rgb c = scene(i + (si + 0.5) * step, j + (sj + 0.5) * step);
                    sum.r += c.r;
                    sum.g += c.g;
                    sum.b += c.b;
                }
            }
            const double n = static_cast<double>(samples) * samples;
            for (double channel : {sum.r / n, sum.g / n, sum.b / n}) {
                picture.rgb[at++] = static_cast<std::uint8_t>(std::clamp(std::lround(channel), 0L, 255L));
            }
        }
    }
    return picture;
}

// ---------------------------------------------------------------------------
// Seeded value noise

std::uint32_t hash(std::uint32_t seed, std::int32_t x, std::int32_t y) {
    std::uint32_t h = seed * 0x9E3779B9u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h ^ (h >> 13)) * 0xC2B2AE35u;
    h ^= static_cast<std::uint32_t>(y) * 0x27D4EB2Fu;
    h = (h ^ (h >> 15)) * 0x165667B1u;
    return h ^ (h >> 16);
}

double lattice(std::uint32_t seed, std::int32_t x, std::int32_t y) {
    return static_cast<double>(hash(seed, x, y) & 0xFFFFu) / 65535.0;
}

double fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

// Smooth noise in 0..1 with one lattice point per unit.
double valueNoise(std::uint32_t seed, double x, double y) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<std::int32_t>(fx);
    const auto iy = static_cast<std::int32_t>(fy);
    const double u = fade(x - fx);
    const double v = fade(y - fy);
    const double top = lattice(seed, ix, iy) + (lattice(seed, ix + 1, iy) - lattice(seed, ix, iy)) * u;
    const double bottom =
        lattice(seed, ix, iy + 1) + (lattice(seed, ix + 1, iy + 1) - lattice(seed, ix, iy + 1)) * u;
    return top + (bottom - top) * v;
}

// Fractal sum of `octaves` noise layers, the first with lattice spacing `scale`
// pixels, each further one at twice the frequency and `gain` times the amplitude.
// Normalised to 0..1.
double fractalNoise(std::uint32_t seed, double x, double y, double scale, int octaves, double gain) {
    double sum = 0.0;
    double amplitude = 1.0;
    double total = 0.0;
    double frequency = 1.0 / scale;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * valueNoise(seed + static_cast<std::uint32_t>(o) * 101u, x * frequency, y * frequency);
        total += amplitude;
        amplitude *= gain;
        frequency *= 2.0;
    }
    return sum / total;
}

// ---------------------------------------------------------------------------
// The pictures

constexpr Rgb black{0, 0, 0};

// 35: thermometer, 42 x 6.  The tube is the two middle rows; its dots sit on whole
// pixels so that they stay crisp.
Rgb thermometer(double x, double y) {
    constexpr Rgb red{225, 25, 25};
    constexpr Rgb tubeRim{96, 96, 104};
    constexpr Rgb white{255, 255, 255};
    // Bulb with a small highlight up left.
    if (distance(x, y, 3.0, 3.0) <= 2.9) {
        return distance(x, y, 2.2, 2.1) <= 0.7 ? Rgb{255, 160, 160} : red;
    }
    const bool inTube = x >= 5.0 && x < 41.0 && y >= 2.0 && y < 4.0;
    // Mercury leaving the bulb, the start of the tube.
    if (inTube && x < 8.0) return red;
    if (inTube) {
        const int column = static_cast<int>(x);
        return column % 3 == 0 ? white : black;
    }
    // Rows 1 and 4 and column 41 frame the tube faintly.
    const bool rim = (x >= 5.0 && x < 42.0 && ((y >= 1.0 && y < 1.6) || (y >= 4.4 && y < 5.0))) ||
                     (x >= 41.4 && x < 42.0 && y >= 1.0 && y < 5.0);
    return rim ? tubeRim : black;
}

constexpr double faceX = 7.5;
constexpr double faceY = 7.5;
constexpr double faceRadius = 6.95;
constexpr Rgb faceRim{120, 72, 0};
constexpr Rgb featureBrown{70, 35, 10};

// The yellow disc with a soft highlight up left in `out`; false outside the face.
bool faceBase(double x, double y, Rgb& out) {
    const double d = distance(x, y, faceX, faceY);
    if (d > faceRadius) return false;
    if (d > faceRadius - 0.8) {
        out = faceRim;
        return true;
    }
    const double shade = clamp01(distance(x, y, 5.4, 5.0) / 8.0);
    out = mix(Rgb{255, 244, 130}, Rgb{248, 190, 0}, shade);
    return true;
}

// Shy smiley: eyes closed and cast down, pink cheeks, a small smile.
Rgb shySmiley(double x, double y, Rgb ground) {
    Rgb c;
    if (!faceBase(x, y, c)) return ground;
    if (onLowerArc(x, y, 5.0, 6.1, 1.15, 1.0) || onLowerArc(x, y, 10.0, 6.1, 1.15, 1.0)) return featureBrown;
    if (onLowerArc(x, y, 7.5, 9.3, 1.3, 0.8)) return featureBrown;
    if (inEllipse(x, y, 3.9, 9.2, 1.45, 1.0) || inEllipse(x, y, 11.1, 9.2, 1.45, 1.0)) {
        return mix(c, Rgb{250, 95, 125}, 0.85);
    }
    return c;
}

// Cool smiley: black sunglasses with a glint, a broad grin.
Rgb coolSmiley(double x, double y, Rgb ground) {
    Rgb c;
    if (!faceBase(x, y, c)) return ground;
    constexpr Rgb glass{12, 12, 18};
    // The frame's top bar fills pixel row 4 exactly, so it stays a crisp black line.
    const bool lens = y >= 5.0 && (inEllipse(x, y, 5.0, 5.0, 2.45, 2.9) || inEllipse(x, y, 10.0, 5.0, 2.45, 2.9));
    const bool bar = y >= 4.0 && y <= 5.0 && x >= 1.6 && x <= 13.4;
    if (lens || bar) {
        if (segmentDistance(x, y, 3.9, 6.3, 4.8, 5.4) <= 0.35) return Rgb{170, 180, 210};
        if (segmentDistance(x, y, 8.9, 6.3, 9.8, 5.4) <= 0.35) return Rgb{170, 180, 210};
        return glass;
    }
    if (onLowerArc(x, y, 7.5, 7.2, 3.4, 0.85) && y >= 9.0) return featureBrown;
    return c;
}

// 40: a dark capital A on sand.
Rgb letterA(double x, double y) {
    constexpr Rgb sand{226, 200, 142};
    constexpr Rgb ink{48, 34, 24};
    // Sand with a faint grain so it does not read as a flat colour.
    const Rgb ground = mix(sand, Rgb{205, 176, 118}, 0.6 * valueNoise(40u, x * 0.9, y * 0.9));
    if (y < 1.9 || y > 13.1) return ground;
    const bool stroke = segmentDistance(x, y, 7.5, 1.9, 3.2, 13.1) <= 1.0 ||
                        segmentDistance(x, y, 7.5, 1.9, 11.8, 13.1) <= 1.0;
    // The crossbar runs between the two strokes' inner edges.
    const bool crossbar = y >= 8.5 && y <= 9.8 && x >= 4.5 && x <= 10.5;
    return stroke || crossbar ? ink : ground;
}

// 41..44: a zig-zag line chart with its axes on light blue.
Rgb lineChart(double x, double y, Rgb line) {
    constexpr Rgb ground{200, 226, 250};
    constexpr Rgb axis{50, 60, 84};
    static constexpr double points[][2] = {{3.3, 10.6}, {5.7, 6.2}, {8.0, 9.0}, {10.4, 3.6}, {12.9, 6.6}};
    for (std::size_t k = 0; k + 1 < std::size(points); ++k) {
        if (segmentDistance(x, y, points[k][0], points[k][1], points[k + 1][0], points[k + 1][1]) <= 0.85) {
            return line;
        }
    }
    if (x >= 2.0 && x <= 3.0 && y >= 1.5 && y <= 13.0) return axis;
    if (y >= 12.0 && y <= 13.0 && x >= 2.0 && x <= 13.6) return axis;
    return ground;
}

// 45: the plate texture, 256 x 256.  Marbled lilac and violet, mirrored about both
// centre lines, paler towards the middle.  Every colour drawn keeps blue at least
// 40 above green, and main() rejects a file whose decoded pixels come closer than
// minimumBlueOverGreen: the program finds its plate cells by the exact grey
// (101, 101, 101), and a texture that is clearly violet everywhere cannot turn
// into that grey, neither through JPEG noise nor through the smoothing with
// which the program enlarges it (a weighted mean keeps the margin).
Rgb plateTexture(double x, double y) {
    constexpr Rgb violet{104, 52, 160};
    constexpr Rgb lilac{186, 146, 222};
    constexpr Rgb pale{226, 206, 248};
    // Fold onto one quadrant: pixel i and pixel 255 - i see the same point.
    const double u = std::abs(x - 128.0);
    const double v = std::abs(y - 128.0);
    const double warp = fractalNoise(4501u, u, v, 48.0, 4, 0.5);
    const double r = std::hypot(u, v);
    // Interference of rings round the centre and round the corner, bent by noise.
    const double rings = 0.5 + 0.25 * std::sin(r * 0.16 + warp * 7.0) +
                         0.25 * std::sin(std::hypot(128.0 - u, 128.0 - v) * 0.11 + warp * 5.0);
    const double grain = fractalNoise(4502u, u, v, 12.0, 3, 0.5);
    const double t = clamp01(0.75 * rings + 0.25 * grain);
    const Rgb marbled = mix(violet, lilac, smoothstep(0.15, 0.85, t));
    const double middle = 1.0 - smoothstep(20.0, 150.0, r);
    return mix(marbled, pale, 0.75 * middle);
}

// 46: pale blue sky with white clouds, 256 x 256.
Rgb cloudTexture(double x, double y) {
    constexpr Rgb sky{164, 198, 238};
    constexpr Rgb skyLow{188, 214, 244};
    constexpr Rgb cloud{246, 249, 255};
    const Rgb base = mix(sky, skyLow, y / 256.0);
    const double n = fractalNoise(4601u, x, y, 64.0, 5, 0.55);
    return mix(base, cloud, 0.9 * smoothstep(0.45, 0.72, n));
}

// ---------------------------------------------------------------------------
// JPEG output

struct Quality {
    int quality;
    bool fullChroma;  // 4:4:4 (sharp colour edges for the icons) instead of 4:2:0
};

std::vector<std::uint8_t> compress(const Picture& picture, Quality q) {
    return encodeJpeg({picture.width, picture.height, 3, JCS_RGB, q.quality, q.fullChroma}, picture.rgb.data(),
                      static_cast<std::size_t>(picture.width) * 3);
}

Picture decompress(const std::vector<std::uint8_t>& bytes) {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    Picture picture{static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height), {}};
    picture.rgb.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
    const auto stride = static_cast<std::size_t>(picture.width) * 3;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPLE* row = picture.rgb.data() + cinfo.output_scanline * stride;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return picture;
}

// The smallest blue-minus-green over the decoded file.
int smallestBlueOverGreen(const std::vector<std::uint8_t>& bytes) {
    const Picture decoded = decompress(bytes);
    int smallest = 255;
    for (std::size_t at = 0; at < decoded.rgb.size(); at += 3) {
        smallest = std::min(smallest, decoded.rgb[at + 2] - decoded.rgb[at + 1]);
    }
    return smallest;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

struct Asset {
    const char* file;  // src/assets/CMakeLists.txt lists the same names
    int width;
    int height;
    int samples;
    Quality quality;
    Scene scene;
    bool keepOffGrey = false;  // check the decoded file against minimumBlueOverGreen
};

constexpr Rgb blueGround{40, 92, 214};
constexpr Rgb redGround{206, 32, 36};
constexpr Rgb greenGround{44, 160, 62};
constexpr Rgb chartRed{150, 14, 20};
constexpr Rgb chartGreen{16, 140, 40};

constexpr Quality iconQuality{86, true};
constexpr Quality textureQuality{88, false};

// Keep the plate texture at least this far from grey after a decode.
constexpr int minimumBlueOverGreen = 25;

// ---------------------------------------------------------------------------
// The application icon

struct Rgba {
    Rgb colour;
    double alpha = 0.0;  // coverage, 0 (transparent) to 1
};

using IconScene = std::function<Rgba(double x, double y)>;

struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // width * height * 4 bytes, straight alpha, rows top to bottom
};

// Like render(), with coverage: colours are averaged weighted by their alpha, so a
// shape's edge against the transparent outside keeps the shape's colour.
RgbaPicture renderRgba(int width, int height, int samples, const IconScene& scene) {
    RgbaPicture picture{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 4)};
    const double step = 1.0 / samples;
    const double n = static_cast<double>(samples) * samples;
    std::size_t at = 0;
    auto byte = [](double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); };
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            Rgb sum;
            double alpha = 0.0;
            for (int sj = 0; sj < samples; ++sj) {
                for (int si = 0; si < samples; ++si) {
                    const Rgba c = scene(i + (si + 0.5) * step, j + (sj + 0.5) * step);
                    sum.r += c.colour.r * c.alpha;
                    sum.g += c.colour.g * c.alpha;
                    sum.b += c.colour.b * c.alpha;
                    alpha += c.alpha;
                }
            }
            const double a = alpha > 0.0 ? alpha : 1.0;
            picture.rgba[at++] = byte(sum.r / a);
            picture.rgba[at++] = byte(sum.g / a);
            picture.rgba[at++] = byte(sum.b / a);
            picture.rgba[at++] = byte(255.0 * alpha / n);
        }
    }
    return picture;
}

// Signed distance from (x, y) to the edge of the square [low, high]^2 with corners
// rounded to `radius`: negative inside.
double roundedSquareDistance(double x, double y, double low, double high, double radius) {
    const double centre = (low + high) / 2.0;
    const double half = (high - low) / 2.0 - radius;
    const double qx = std::abs(x - centre) - half;
    const double qy = std::abs(y - centre) - half;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
}

// The icon at `size` pixels: the shy smiley drawn by shySmiley(), centred on a
// rounded square of the kind button's blue.  At 16 pixels the square fills the icon
// and the smiley keeps the button's scale, one unit of its 15-pixel drawing a
// pixel, which puts the closed eyes on a single pixel row.  The larger icons leave
// a margin of 1/32 around the square, as desktop icons in a row do, frame it with
// a darker rim of about a pixel that keeps it apart from a blue panel, and scale
// the smiley to leave a little blue around it.
Rgba appIcon(double x, double y, int size) {
    const bool smallest = size <= 16;
    const double margin = smallest ? 0.0 : size / 32.0;
    const double rim = smallest ? 0.0 : std::max(1.0, size / 64.0);
    const double d = roundedSquareDistance(x, y, margin, size - margin, size * 0.1875);
    if (d > 0.0) return {};
    // Lighter at the top, the button's blue at the bottom.
    const double t = clamp01((y - margin) / (size - 2.0 * margin));
    Rgb ground = mix(Rgb{76, 130, 236}, blueGround, t);
    if (d > -rim) ground = Rgb{22, 54, 150};
    const double scale = smallest ? 1.0 : size / 17.0;
    return {shySmiley(faceX + (x - size / 2.0) / scale, faceY + (y - size / 2.0) / scale, ground), 1.0};
}

bool writePng(const std::string& path, const RgbaPicture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGBA;
    const bool ok = png_image_write_to_file(&image, path.c_str(), 0, picture.rgba.data(), 0, nullptr) != 0;
    if (!ok) std::fprintf(stderr, "%s: %s\n", path.c_str(), image.message);
    png_image_free(&image);
    return ok;
}

// The sizes of the hicolor theme's application icons.
constexpr int iconSizes[] = {16, 32, 48, 64, 128, 256};

// Writes vivarix-<size>.png for every icon size into `dir`.
int drawIcons(const std::string& dir) {
    for (const int size : iconSizes) {
        // 16 x 16 samples per pixel at 16 pixels, fewer as the pixels shrink
        // against the drawing, never fewer than 4 x 4.
        const int samples = std::max(4, 256 / size);
        const RgbaPicture picture =
            renderRgba(size, size, samples, [size](double x, double y) { return appIcon(x, y, size); });
        const std::string file = "vivarix-" + std::to_string(size) + ".png";
        if (!writePng(dir + "/" + file, picture)) return 1;
        std::printf("%-36s %3d x %3d\n", file.c_str(), size, size);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* program = argc > 0 ? argv[0] : "vivarix-draw-assets";
    if (argc == 3 && std::string(argv[1]) == "--icons") return drawIcons(argv[2]);
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: %s <output-dir>\n       %s --icons <output-dir>\n", program, program);
        return 2;
    }
    const std::string dir = argv[1];
    const auto chart = [](Rgb line) { return [line](double x, double y) { return lineChart(x, y, line); }; };
    const std::vector<Asset> assets = {
        {"35-thermometer.jpg", 42, 6, 16, iconQuality, thermometer},
        {"36-smiley-shy-blue.jpg", 15, 15, 16, iconQuality,
         [](double x, double y) { return shySmiley(x, y, blueGround); }},
        {"37-smiley-sunglasses-red.jpg", 15, 15, 16, iconQuality,
         [](double x, double y) { return coolSmiley(x, y, redGround); }},
        {"38-smiley-shy-green.jpg", 15, 15, 16, iconQuality,
         [](double x, double y) { return shySmiley(x, y, greenGround); }},
        {"39-smiley-sunglasses-green.jpg", 15, 15, 16, iconQuality,
         [](double x, double y) { return coolSmiley(x, y, greenGround); }},
        {"40-letter-a-sand.jpg", 15, 15, 16, iconQuality, letterA},
        {"41-statistics-off-chart-red.jpg", 15, 15, 16, iconQuality, chart(chartRed)},
        {"42-statistics-on-chart-green.jpg", 15, 15, 16, iconQuality, chart(chartGreen)},
        {"43-magnifier-off-chart-red.jpg", 15, 15, 16, iconQuality, chart(chartRed)},
        {"44-magnifier-on-chart-green.jpg", 15, 15, 16, iconQuality, chart(chartGreen)},
        // The largest pictures: the program decodes nothing larger.
        {"45-plate-texture-lilac.jpg", vivarix::largestBuiltinSide, vivarix::largestBuiltinSide, 2, textureQuality,
         plateTexture, true},
        {"46-cloud-texture-blue.jpg", vivarix::largestBuiltinSide, vivarix::largestBuiltinSide, 2, textureQuality,
         cloudTexture},
    };
    for (const Asset& asset : assets) {
        const std::vector<std::uint8_t> bytes =
            compress(render(asset.width, asset.height, asset.samples, asset.scene), asset.quality);
        if (asset.keepOffGrey) {
            const int margin = smallestBlueOverGreen(bytes);
            if (margin < minimumBlueOverGreen) {
                std::fprintf(stderr, "%s: blue exceeds green by only %d somewhere\n", asset.file, margin);
                return 1;
            }
        }
        const std::string path = dir + "/" + asset.file;
        if (!writeFile(path, bytes)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%-36s %3d x %3d  %6zu bytes\n", asset.file, asset.width, asset.height, bytes.size());
    }
    return 0;
}
