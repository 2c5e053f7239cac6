// Text drawn with Qt's fonts straight into the program's images.
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "platform/qt/qt_desktop.h"

namespace vivarix {

namespace {

// Text is never smoothed: every text pixel has exactly the front colour, so that
// reading a pixel back gives the colour that was drawn.  Full hinting keeps the
// glyphs on whole pixels (lighter hinting spaces small text unevenly).
QFont crisp(QFont font) {
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

class QtTextRenderer final : public TextRenderer {
public:
    bool loadFont(std::int32_t number, std::string_view face, std::int32_t points) override {
        if (points < 1 || points > 1000) return false;
        QFont font(QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size())));
        font.setPixelSize(pixelSize(points));
        font.setWeight(QFont::Normal);
        font.setStyle(QFont::StyleNormal);
        font.setUnderline(false);
        fonts.insert_or_assign(number, crisp(font));
        return true;
    }

    std::int32_t drawText(Image& target, std::int32_t font, std::int32_t x, std::int32_t y, std::string_view text,
                          std::int32_t colour, bool transparent) override {
        const QFont& qfont = fontOf(font);
        const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        const QFontMetrics metrics(qfont);
        const int advance = metrics.horizontalAdvance(qtext);
        const int height = metrics.height();

        // Nothing of the text can be inside the image: skip drawing (this also keeps
        // the coordinates below far from overflowing).
        const std::int64_t left = x, top = y;
        if (!imageExists(target) || advance <= 0 || left >= target.width || top >= target.height ||
            left + advance <= 0 || top + height <= 0)
            return advance;

        // The pixels are colour values 0x00BBGGRR.  Seen as Format_RGB32 (0xAARRGGBB)
        // the low byte is "blue", so the colour goes in with red and blue swapped; Qt
        // stores 0xFF in the top byte, which is not part of the colour.
        QImage view(reinterpret_cast<uchar*>(target.pixels.data()), target.width, target.height,
                    static_cast<qsizetype>(target.width) * 4, QImage::Format_RGB32);
        QPainter painter(&view);
        if (!transparent) painter.fillRect(QRect(x, y, advance, height), QColor(255, 255, 255));
        painter.setFont(qfont);
        painter.setPen(QColor((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
        painter.drawText(QPoint(x, y + metrics.ascent()), qtext);
        return advance;
    }

private:
    // points * vertical dots per inch / 72, to the nearest pixel.
    static int pixelSize(std::int32_t points) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
        return std::max(1, static_cast<int>(std::lround(points * dpi / 72.0)));
    }

    const QFont& fontOf(std::int32_t number) {
        const auto found = fonts.find(number);
        if (found != fonts.end()) return found->second;
        if (!systemFont) systemFont = crisp(QGuiApplication::font());
        return *systemFont;
    }

    std::map<std::int32_t, QFont> fonts;
    std::optional<QFont> systemFont;
};

}  // namespace

std::unique_ptr<TextRenderer> createQtTextRenderer() { return std::make_unique<QtTextRenderer>(); }

}  // namespace vivarix
