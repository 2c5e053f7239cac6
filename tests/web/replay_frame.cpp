// vivarix-replay-frame JOURNAL OUT.ppm: replays a session journal as the program
// ran it at one tick a pass (a frame drawn after every tick) and writes the last
// frame, text left out, as a binary PPM.  Exit 0; 2 when the journal cannot be
// read; 3 when the replay parts from it.  The browser test compares the page's
// plate with it.
#include <fstream>
#include <iostream>
#include <memory>

#include "render/plate_view.h"
#include "session/journal_replay.h"
#include "session/plate.h"
#include "sim/tick.h"

int main(int argc, char** argv) {
    using namespace vivarix;
    if (argc != 3) {
        std::cerr << "usage: vivarix-replay-frame JOURNAL OUT.ppm\n";
        return 2;
    }
    std::ifstream scanned(argv[1], std::ios::binary);
    const JournalScan scan = scanJournal(scanned);
    std::ifstream file(argv[1], std::ios::binary);
    if (!scanned.is_open() || !file || !scan.error.empty()) {
        std::cerr << argv[1] << ": " << (scan.error.empty() ? "cannot be read" : scan.error) << "\n";
        return 2;
    }
    JournalReplay replay(file);
    auto state = std::make_unique<RenderState>();
    resetSimulation(*state, nullptr, replay.head().seed);
    createPlatePicture(*state);
    decodeBuiltinPictures(*state);
    layOutPlate(*state, PlateBuild::first, replay.head().randomNutrient);
    openBackBuffer(state->graphics, state->plateWidth, state->plateHeight);
    const JournalReplay::Take take = [&](const Input& input) { return applyInput(*state, input); };
    for (std::uint64_t tick = 0; tick <= scan.lastTick; ++tick) {
        if (!replay.enterTick(tick, state->creatureList, take)) {
            std::cerr << "replay mismatch at " << replay.mismatch() << "\n";
            return 3;
        }
        if (tick == scan.lastTick) break;
        runTick(*state);
        renderFrame(*state);
    }
    const Image& frame = state->graphics.backBuffer;
    std::ofstream out(argv[2], std::ios::binary);
    out << "P6\n" << frame.width << " " << frame.height << "\n255\n";
    for (const std::uint32_t pixel : frame.pixels) {
        const char rgb[3] = {static_cast<char>(pixel & 0xFF), static_cast<char>((pixel >> 8) & 0xFF),
                             static_cast<char>((pixel >> 16) & 0xFF)};
        out.write(rgb, 3);
    }
    return out.flush() ? 0 : 2;
}
