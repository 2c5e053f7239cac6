// A small world for the renderer's tests.
//
// RenderFixture holds a RenderState whose plate grid has every cell 1..459 by
// 1..459 as bare plate (level 0) and every other cell of 0..460 off the plate (-1),
// a plate picture (image 33) painted plain plateColour, an inspector picture (image 10)
// light plateColour as plate preparation leaves it, a black 460-by-460 back buffer and a
// text renderer that remembers what it was asked to write instead of drawing it.
// Texts therefore leave no pixels behind: pixel checks see only shapes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/colour.h"
#include "platform/core/graphics.h"
#include "render/magnifier.h"
#include "render/plate_view.h"
#include "render/render_state.h"
#include "sim/gene_colour.h"
#include "sim/plate_setup.h"

namespace vivarix::test {

// Remembers every text drawn; advances by 6 pixels a character.
class RecordingText final : public TextRenderer {
public:
    struct Drawn {
        std::int32_t x, y;
        std::string text;
        std::int32_t colour;
        bool transparent;
        std::int32_t font;
        const Image* target;  // the picture the text went to
    };
    bool loadFont(std::int32_t, std::string_view, std::int32_t) override { return true; }
    std::int32_t drawText(Image& target, std::int32_t font, std::int32_t x, std::int32_t y, std::string_view text,
                          std::int32_t colour, bool transparent) override {
        drawn.push_back({x, y, std::string(text), colour, transparent, font, &target});
        return static_cast<std::int32_t>(text.size()) * 6;
    }
    // The texts that went to one picture, in drawing order.
    std::vector<Drawn> on(const Image& target) const {
        std::vector<Drawn> result;
        for (const Drawn& d : drawn)
            if (d.target == &target) result.push_back(d);
        return result;
    }
    // Whether a text with exactly these contents was drawn at (x, y).
    bool wrote(std::int32_t x, std::int32_t y, std::string_view text) const {
        for (const Drawn& d : drawn)
            if (d.x == x && d.y == y && d.text == text) return true;
        return false;
    }
    std::vector<Drawn> drawn;
};

class RenderFixture : public ::testing::Test {
protected:
    void SetUp() override {
        allocatePlate(state);
        for (std::int32_t x = 0; x <= 460; ++x)
            for (std::int32_t y = 0; y <= 460; ++y)
                cellAt(state.plateGrid, x, y) = (x >= 1 && x <= 459 && y >= 1 && y <= 459) ? 0 : -1;
        fillImage(plateImage, 460, 460, plateColour);
        fillImage(inspectorImage, 245, 200, emptiedCellColour);
        openBackBuffer(state.graphics, 460, 460);
        state.graphics.text = &text;
    }

    void fillImage(std::int32_t number, std::int32_t width, std::int32_t height, std::int32_t colour) {
        createImage(state.graphics, number, width, height);
        startDrawing(state.graphics, imageOutput(number));
        drawBox(state.graphics, 0, 0, width, height, colour);
        stopDrawing(state.graphics);
    }

    void queue(std::int16_t x, std::int16_t y, std::int16_t level) {
        NutriumParticle* p = addElement(state.nutriumList);
        p->x = x;
        p->y = y;
        p->level = level;
    }

    std::int32_t pixelOf(DrawTarget target, std::int32_t x, std::int32_t y) {
        startDrawing(state.graphics, target);
        const std::int32_t value = readPixel(state.graphics, x, y);
        stopDrawing(state.graphics);
        return value;
    }
    std::int32_t picture(std::int32_t x, std::int32_t y) { return pixelOf(imageOutput(plateImage), x, y); }
    std::int32_t screen(std::int32_t x, std::int32_t y) { return pixelOf(screenOutput(), x, y); }
    std::int32_t inspector(std::int32_t x, std::int32_t y) {
        return pixelOf(imageOutput(inspectorImage), x, y);
    }

    const Image& backBuffer() const { return state.graphics.backBuffer; }
    const Image& inspectorPicture() const { return state.graphics.images[inspectorImage]; }

    // Appends a creature at the end of the list.
    Creature& addCreature(std::int32_t x, std::int32_t y, std::int32_t stomach, std::int32_t colour) {
        if (Creature* last = state.creatureList.back()) changeCurrentElement(state.creatureList, last);
        Creature* c = addElement(state.creatureList);
        c->x = x;
        c->y = y;
        c->stomach = stomach;
        c->colour = colour;
        c->stressTolerance = 10;
        return *c;
    }

    // Appends a creature of `kind` whose six genes are all `gene`, in the colour its
    // genes give, as a small creature (one pixel on the plate view).
    Creature& addStrain(std::int16_t kind, std::int16_t gene, std::int32_t x, std::int32_t y) {
        Creature& c = addCreature(x, y, 100, 0);
        c.kind = kind;
        c.geneV = c.geneR = c.geneSr = c.geneRw = c.geneSl = c.geneL = gene;
        c.colour = geneColour(c);
        return c;
    }

    RecordingText text;
    RenderState state;
};

}  // namespace vivarix::test
