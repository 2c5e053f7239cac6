#include "platform/core/graphics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vivarix {

namespace {

// Shape coordinates are widened to 64 bits before any arithmetic: callers may pass
// any 32-bit position and size, and x + w or x - r must neither overflow nor wrap.
using Coord = std::int64_t;

constexpr std::uint32_t low24(std::int32_t colour) { return static_cast<std::uint32_t>(colour) & 0xFFFFFFu; }

bool validNumber(std::int32_t number) { return number >= 0 && number <= maxImageNumber; }

bool validSize(std::int32_t width, std::int32_t height) {
    return width >= 1 && height >= 1 && width <= maxImageSide && height <= maxImageSide &&
           Coord{width} * height <= maxImagePixels;
}

std::uint32_t& pixelAt(Image& image, Coord x, Coord y) {
    return image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                        static_cast<std::size_t>(x)];
}

// Sets one pixel of the open target, clipped; honours the inverting mode.
inline void put(Graphics& g, Coord x, Coord y, std::uint32_t value) {
    Image& t = *g.target;
    if (x < 0 || y < 0 || x >= t.width || y >= t.height) return;
    std::uint32_t& p = pixelAt(t, x, y);
    p = (g.mode & drawInverting) ? (~p & 0xFFFFFFu) : value;
}

// Fills columns x0..x1 (both included) of row y, clipped.
void span(Graphics& g, Coord x0, Coord x1, Coord y, std::uint32_t value) {
    const Image& t = *g.target;
    if (y < 0 || y >= t.height) return;
    x0 = std::max<Coord>(x0, 0);
    x1 = std::min<Coord>(x1, t.width - 1);
    for (Coord x = x0; x <= x1; ++x) put(g, x, y, value);
}

// For the disc of radius r >= 2 about the pixel corner (x, y): row y + j (j in
// -r .. r-1) covers x - k .. x + k - 1, where k is returned (0: the row is empty).
// Pixel (x + i, y + j) is inside when its centre lies within the circle:
// (2i + 1)^2 + (2j + 1)^2 <= 4r^2.  4r^2 < 2^64 for any 32-bit r, hence unsigned.
std::int64_t discHalfWidth(std::int32_t r, Coord j) {
    const std::uint64_t limit = 4 * static_cast<std::uint64_t>(r) * static_cast<std::uint64_t>(r);
    const std::uint64_t dy = static_cast<std::uint64_t>(j < 0 ? -(2 * j + 1) : 2 * j + 1);
    if (dy * dy >= limit) return 0;
    const std::uint64_t rest = limit - dy * dy;
    // The largest k with (2k - 1)^2 <= rest, i.e. k = (floor(sqrt(rest)) + 1) / 2.
    // Start from the floating estimate, then correct it exactly.
    std::uint64_t s = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(rest)));
    while (s * s > rest) --s;
    while ((s + 1) * (s + 1) <= rest) ++s;
    return std::min<std::int64_t>(static_cast<std::int64_t>((s + 1) / 2), r);
}

}  // namespace

ImageHandle createImage(Graphics& g, std::int32_t number, std::int32_t width, std::int32_t height) {
    if (!validNumber(number) || !validSize(width, height)) return 0;
    Image& image = g.images[static_cast<std::size_t>(number)];
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
    return number + 1;
}

ImageHandle imageHandle(const Graphics& g, std::int32_t number) {
    if (!validNumber(number) || !imageExists(g.images[static_cast<std::size_t>(number)])) return 0;
    return number + 1;
}

const Image* imageOf(const Graphics& g, ImageHandle handle) {
    if (handle < 1 || handle > maxImageNumber + 1) return nullptr;
    const Image& image = g.images[static_cast<std::size_t>(handle - 1)];
    return imageExists(image) ? &image : nullptr;
}

void openBackBuffer(Graphics& g, std::int32_t width, std::int32_t height) {
    if (!validSize(width, height)) {
        if (g.target == &g.backBuffer) stopDrawing(g);
        g.backBuffer = Image{};
        return;
    }
    g.backBuffer.width = width;
    g.backBuffer.height = height;
    g.backBuffer.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
}

void startDrawing(Graphics& g, DrawTarget target) {
    stopDrawing(g);
    Image* image = nullptr;
    if (target.image < 0)
        image = &g.backBuffer;
    else if (validNumber(target.image))
        image = &g.images[static_cast<std::size_t>(target.image)];
    if (!image || !imageExists(*image)) return;
    g.target = image;
}

void stopDrawing(Graphics& g) {
    g.target = nullptr;
    g.frontColour = 0;
    g.mode = 0;
    g.font = systemFont;
    g.textX = 0;
    g.textY = 0;
}

void drawBox(Graphics& g, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t colour) {
    if (!g.target) return;
    g.frontColour = colour;
    const std::uint32_t value = low24(colour);
    if (w < 1 || h < 1) return;
    // w = h = 1 is the single pixel (x, y), which the general case below also gives.
    const Coord x0 = x;
    const Coord y0 = y;
    const Coord x1 = x0 + w - 1;
    const Coord y1 = y0 + h - 1;
    if (g.mode & drawOutline) {
        span(g, x0, x1, y0, value);
        if (y1 != y0) span(g, x0, x1, y1, value);
        const Coord top = std::max<Coord>(y0 + 1, 0);
        const Coord bottom = std::min<Coord>(y1 - 1, g.target->height - 1);
        for (Coord row = top; row <= bottom; ++row) {
            put(g, x0, row, value);
            if (x1 != x0) put(g, x1, row, value);
        }
        return;
    }
    const Coord top = std::max<Coord>(y0, 0);
    const Coord bottom = std::min<Coord>(y1, g.target->height - 1);
    for (Coord row = top; row <= bottom; ++row) span(g, x0, x1, row, value);
}

void drawCircle(Graphics& g, std::int32_t x, std::int32_t y, std::int32_t r, std::int32_t colour) {
    if (!g.target) return;
    g.frontColour = colour;
    const std::uint32_t value = low24(colour);
    if (r < 1) return;
    const Coord cx = x;
    const Coord cy = y;
    if (r == 1) {
        // A 2-by-2 square is all rim: outline mode draws the same.
        put(g, cx, cy, value);
        put(g, cx + 1, cy, value);
        put(g, cx, cy + 1, value);
        put(g, cx + 1, cy + 1, value);
        return;
    }
    const Image& t = *g.target;
    // Only the rows (j) and columns (i) that land on the target are visited.
    const Coord firstRow = std::max<Coord>(-r, -cy);
    const Coord lastRow = std::min<Coord>(r - 1, t.height - 1 - cy);
    const Coord firstColumn = -cx;
    const Coord lastColumn = t.width - 1 - cx;
    if (!(g.mode & drawOutline)) {
        for (Coord j = firstRow; j <= lastRow; ++j) {
            const Coord k = discHalfWidth(r, j);
            if (k > 0) span(g, cx - k, cx + k - 1, cy + j, value);
        }
        return;
    }
    // Outline: the inside pixels with a 4-neighbour outside the disc.
    for (Coord j = firstRow; j <= lastRow; ++j) {
        const Coord k = discHalfWidth(r, j);
        if (k == 0) continue;
        const Coord above = j > -r ? discHalfWidth(r, j - 1) : 0;
        const Coord below = j < r - 1 ? discHalfWidth(r, j + 1) : 0;
        const Coord inner = std::min(above, below);  // |columns| with both vertical neighbours inside
        const Coord from = std::max(-k, firstColumn);
        const Coord to = std::min(k - 1, lastColumn);
        for (Coord i = from; i <= to; ++i) {
            const bool edge = i == -k || i == k - 1 || i < -inner || i >= inner;
            if (edge) put(g, cx + i, cy + j, value);
        }
    }
}

void drawLine(Graphics& g, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t colour) {
    if (!g.target) return;
    g.frontColour = colour;
    const std::uint32_t value = low24(colour);
    const Image& t = *g.target;
    // Bresenham from (x, y) towards (x + w, y + h), the end point excluded.
    const Coord dx = w < 0 ? -Coord{w} : Coord{w};
    const Coord dy = h < 0 ? -Coord{h} : Coord{h};
    const Coord sx = w < 0 ? -1 : 1;
    const Coord sy = h < 0 ? -1 : 1;
    const Coord steps = std::max(dx, dy);
    Coord px = x;
    Coord py = y;
    Coord err = (dx > dy ? dx : -dy) / 2;
    for (Coord i = 0; i < steps; ++i) {
        // Both coordinates move monotonically: once the line is past an edge of the
        // target and heading away from it, no later pixel can land on the target.
        if ((px < 0 && sx < 0) || (px >= t.width && sx > 0) || (py < 0 && sy < 0) || (py >= t.height && sy > 0))
            return;
        put(g, px, py, value);
        const Coord e = err;
        if (e > -dx) {
            err -= dy;
            px += sx;
        }
        if (e < dy) {
            err += dx;
            py += sy;
        }
    }
}

void plotPixel(Graphics& g, std::int32_t x, std::int32_t y, std::int32_t colour) {
    if (g.target) put(g, x, y, low24(colour));
}

std::int32_t readPixel(const Graphics& g, std::int32_t x, std::int32_t y) {
    const Image* t = g.target;
    if (!t || x < 0 || y < 0 || x >= t->width || y >= t->height) return -1;
    return static_cast<std::int32_t>(
        t->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(t->width) + static_cast<std::size_t>(x)] &
        0xFFFFFFu);
}

void drawImage(Graphics& g, ImageHandle handle, std::int32_t x, std::int32_t y) {
    const Image* source = imageOf(g, handle);
    Image* t = g.target;
    if (!t || !source) return;
    const Coord x0 = std::max<Coord>(x, 0);
    const Coord x1 = std::min<Coord>(Coord{x} + source->width, t->width);
    const Coord y0 = std::max<Coord>(y, 0);
    const Coord y1 = std::min<Coord>(Coord{y} + source->height, t->height);
    if (x0 >= x1 || y0 >= y1) return;
    // An image drawn onto itself at an offset overlaps its own source rows: copy
    // from a snapshot so the result is the picture as it was before the call.
    Image snapshot;
    if (source == t) {
        snapshot = *source;
        source = &snapshot;
    }
    for (Coord row = y0; row < y1; ++row) {
        const std::uint32_t* from = &source->pixels[static_cast<std::size_t>(row - y) *
                                                        static_cast<std::size_t>(source->width) +
                                                    static_cast<std::size_t>(x0 - x)];
        std::copy(from, from + (x1 - x0), &pixelAt(*t, x0, row));
    }
}

void setDrawingMode(Graphics& g, std::int32_t mode) { g.mode = mode; }

void setFrontColour(Graphics& g, std::int32_t r, std::int32_t gr, std::int32_t b) {
    g.frontColour = static_cast<std::int32_t>((static_cast<std::uint32_t>(r) & 0xFFu) |
                                              ((static_cast<std::uint32_t>(gr) & 0xFFu) << 8) |
                                              ((static_cast<std::uint32_t>(b) & 0xFFu) << 16));
}

bool loadFont(Graphics& g, std::int32_t number, std::string_view face, std::int32_t points) {
    return g.text && g.text->loadFont(number, face, points);
}

void setDrawingFont(Graphics& g, std::int32_t font) { g.font = font; }

void setTextPosition(Graphics& g, std::int32_t x, std::int32_t y) {
    g.textX = x;
    g.textY = y;
}

void drawText(Graphics& g, std::string_view text) {
    if (!g.target || !g.text || text.empty()) return;
    const std::int32_t advance = g.text->drawText(*g.target, g.font, g.textX, g.textY, text, g.frontColour,
                                                  (g.mode & drawTransparentText) != 0);
    // Saturate rather than wrap: a position far off the target just stays off it.
    const Coord next = Coord{g.textX} + advance;
    g.textX = static_cast<std::int32_t>(std::clamp<Coord>(next, std::numeric_limits<std::int32_t>::min(),
                                                          std::numeric_limits<std::int32_t>::max()));
}

}  // namespace vivarix
