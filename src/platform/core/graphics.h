// Numbered images, the back buffer and drawing on them.
//
// Pixels hold colour values (red in the low byte, see colour.h), one 32-bit word per
// pixel, rows from top to bottom.  The top byte is not part of the colour: the
// primitives write 0 there, a text renderer may write 0xFF.  `readPixel` returns
// exactly the colour value that was drawn, with only its three low bytes kept.
//
// Drawing goes to one target at a time: `startDrawing` opens a target (closing any
// open one) and resets the front colour to black, the mode to 0 and the text
// position to (0, 0); `stopDrawing` closes it.  Without an open target every
// primitive does nothing and `readPixel` returns -1.  The primitives clip to the
// target themselves: callers may pass shapes that leave it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vivarix {

struct Image {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;  // width * height colour values, row-major
};

inline bool imageExists(const Image& image) { return !image.pixels.empty(); }

// A handle names an image for controls and drawImage: the image's number + 1, so
// that 0 means "no image".
using ImageHandle = std::int32_t;

// Drawing mode bits.
inline constexpr std::int32_t drawTransparentText = 1;  // text without its white background
inline constexpr std::int32_t drawInverting = 2;        // shapes invert the target (unused)
inline constexpr std::int32_t drawOutline = 4;          // boxes and circles outlined only

// Text drawing, provided by the desktop layer; headless front ends may have none,
// in which case text draws nothing and the position does not move.
class TextRenderer {
public:
    virtual ~TextRenderer() = default;
    // Creates font `number`: the face at `points`, normal weight, upright.
    virtual bool loadFont(std::int32_t number, std::string_view face, std::int32_t points) = 0;
    // Draws `text` with its top-left corner at (x, y) on `target`, in `colour`; on an
    // opaque (white) background unless `transparent`; clipped to the target.
    // Returns the width in pixels by which the text position advances.
    virtual std::int32_t drawText(Image& target, std::int32_t font, std::int32_t x, std::int32_t y,
                                  std::string_view text, std::int32_t colour, bool transparent) = 0;
};

// A renderer for front ends without text (headless runs, benchmarks): fonts load,
// nothing is drawn and the text position does not move.
class NoTextRenderer final : public TextRenderer {
public:
    bool loadFont(std::int32_t, std::string_view, std::int32_t) override { return true; }
    std::int32_t drawText(Image&, std::int32_t, std::int32_t, std::int32_t, std::string_view, std::int32_t,
                          bool) override {
        return 0;
    }
};

// What startDrawing opens: a numbered image, or the back buffer of the surface.
struct DrawTarget {
    std::int32_t image = -1;  // image number, or -1 for the back buffer
};

inline constexpr std::int32_t maxImageNumber = 63;
inline constexpr std::int32_t systemFont = -1;

struct Graphics {
    std::array<Image, maxImageNumber + 1> images;
    Image backBuffer;                 // the rendering surface's back buffer
    TextRenderer* text = nullptr;     // not owned; nullptr: text draws nothing
    // The open target and its drawing state.
    Image* target = nullptr;
    std::int32_t frontColour = 0;
    std::int32_t mode = 0;
    std::int32_t font = systemFont;
    std::int32_t textX = 0;
    std::int32_t textY = 0;
};

// --- images -------------------------------------------------------------------

// The largest image this layer makes (created, decoded or resized): at most
// maxImageSide pixels on a side and maxImagePixels in all.  Larger requests fail
// like invalid ones instead of allocating gigabytes.
inline constexpr std::int32_t maxImageSide = 16384;
inline constexpr std::int64_t maxImagePixels = std::int64_t{64} << 20;

// A new black width-by-height image under `number`, replacing any image held there.
// Returns its handle (0, nothing changed, for a number outside 0..63 or a size below
// 1 or beyond the limits above).
ImageHandle createImage(Graphics& g, std::int32_t number, std::int32_t width, std::int32_t height);

// Decodes JPEG file bytes into an image of the picture's own size under `number`.
// Returns its handle, or 0 when the bytes are not a JPEG file that decodes cleanly
// (empty, truncated, corrupt, or a decode that libjpeg only warns about), the file
// is arithmetic-coded (libjpeg cannot tell a truncated one from a whole one), or the
// picture is larger than the largest built-in picture (largestBuiltinSide of
// assets/builtin_images.h on a side; refused on its header, before anything is
// allocated for it); the image held under `number` is then left as it was.
// Grey-scale pictures come out as grey colour values.
ImageHandle decodeImage(Graphics& g, std::int32_t number, const std::uint8_t* bytes, std::size_t size);

// Replaces image `number` by a smoothed copy scaled to width by height (area
// averaging where it shrinks, linear interpolation where it grows; exact integer
// arithmetic).  Returns the handle, or 0 (nothing changed) when there is no such
// image or the size is below 1 or beyond the limits above.
ImageHandle resizeImage(Graphics& g, std::int32_t number, std::int32_t width, std::int32_t height);

// The handle of image `number`, 0 when there is none.
ImageHandle imageHandle(const Graphics& g, std::int32_t number);

// The image a handle names, nullptr when there is none.
const Image* imageOf(const Graphics& g, ImageHandle handle);

// Gives the back buffer its size and clears it to black (a size below 1 or beyond
// the limits above leaves it empty: no target can then open on it).
void openBackBuffer(Graphics& g, std::int32_t width, std::int32_t height);

// --- drawing targets ----------------------------------------------------------

inline DrawTarget imageOutput(std::int32_t number) { return DrawTarget{number}; }
inline DrawTarget screenOutput() { return DrawTarget{-1}; }

void startDrawing(Graphics& g, DrawTarget target);
void stopDrawing(Graphics& g);

// --- primitives (all on the open target) --------------------------------------

// w = h = 1 sets the single pixel (x, y).  Otherwise covers x .. x+w-1 by
// y .. y+h-1, filled and bordered in colour, or only the one-pixel border in
// outline mode.  Nothing for w < 1 or h < 1.  Sets the front colour to `colour`.
void drawBox(Graphics& g, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t colour);

// r = 1 covers the 2-by-2 square with its top-left corner at (x, y).  r > 1 covers
// the disc inscribed in the box x-r .. x+r-1 by y-r .. y+r-1 (the pixels whose
// centres lie within radius r of (x, y)), or only its rim in outline mode.
// r < 1 draws nothing.  Sets the front colour to `colour`.
void drawCircle(Graphics& g, std::int32_t x, std::int32_t y, std::int32_t r, std::int32_t colour);

// A one-pixel line from (x, y) to (x + w, y + h), the end point itself not drawn.
void drawLine(Graphics& g, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t colour);

void plotPixel(Graphics& g, std::int32_t x, std::int32_t y, std::int32_t colour);

// The colour value at (x, y); -1 outside the target or with no target open.
std::int32_t readPixel(const Graphics& g, std::int32_t x, std::int32_t y);

// Copies the whole image, opaque and unscaled, with its top-left corner at (x, y).
void drawImage(Graphics& g, ImageHandle image, std::int32_t x, std::int32_t y);

void setDrawingMode(Graphics& g, std::int32_t mode);
void setFrontColour(Graphics& g, std::int32_t r, std::int32_t gr, std::int32_t b);

// --- text ---------------------------------------------------------------------

bool loadFont(Graphics& g, std::int32_t number, std::string_view face, std::int32_t points);
// The font's handle; fonts are named by their number.
inline std::int32_t fontHandle(std::int32_t number) { return number; }
void setDrawingFont(Graphics& g, std::int32_t font);
void setTextPosition(Graphics& g, std::int32_t x, std::int32_t y);
// Draws at the text position in the front colour and advances the position to the
// end of the text; an empty text draws nothing.
void drawText(Graphics& g, std::string_view text);

}  // namespace vivarix
