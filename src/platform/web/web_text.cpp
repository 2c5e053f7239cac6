// Text drawn by the browser's canvas into the program's images.
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/web/page_calls.h"
#include "platform/web/web_desktop.h"

namespace vivarix {

namespace {

// Points at the CSS resolution of 96 pixels an inch, to the nearest pixel, as the
// desktop sizes its fonts.
std::int32_t pixelSize(std::int32_t points) { return std::max(1, static_cast<std::int32_t>(std::lround(points * 96.0 / 72.0))); }

class WebTextRenderer final : public TextRenderer {
public:
    bool loadFont(std::int32_t number, std::string_view face, std::int32_t points) override {
        if (points < 1 || points > 1000) return false;
        vx_load_font(number, std::string(face).c_str(), pixelSize(points));
        return true;
    }

    std::int32_t drawText(Image& target, std::int32_t font, std::int32_t x, std::int32_t y, std::string_view text,
                          std::int32_t colour, bool transparent) override {
        if (text.empty()) return 0;
        return vx_draw_text(font, std::string(text).c_str(), target.pixels.data(), target.width, target.height, x, y,
                            colour, transparent ? 1 : 0);
    }
};

}  // namespace

std::unique_ptr<TextRenderer> createWebTextRenderer() { return std::make_unique<WebTextRenderer>(); }

}  // namespace vivarix
