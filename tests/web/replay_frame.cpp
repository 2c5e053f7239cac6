// vivarix-replay-frame JOURNAL OUT.ppm: replays a session journal as the program
// ran it at one tick a pass (a frame drawn after every tick) and writes the last
// frame, text left out, as a binary PPM.  Exit 0; 2 when the journal cannot be
// read; 3 when a checkpoint disagrees.  The browser test compares the page's plate
// with it.
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "app/journal.h"
#include "render/plate_view.h"
#include "replay.h"
#include "sim/tick.h"

int main(int argc, char** argv) {
    using namespace vivarix;
    if (argc != 3) {
        std::cerr << "usage: vivarix-replay-frame JOURNAL OUT.ppm\n";
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    ParsedJournal journal = parseJournal(text.str());
    if (!file || !journal.error.empty()) {
        std::cerr << argv[1] << ": " << (file ? journal.error : "cannot be read") << "\n";
        return 2;
    }
    lab::Replay replay(std::move(journal));
    auto lab = std::make_unique<lab::Lab>();
    replay.prepare(*lab);
    AppState& state = lab->state;
    openBackBuffer(state.graphics, state.plateWidth, state.plateHeight);
    for (std::uint64_t tick = 0; tick <= replay.lastTick(); ++tick) {
        if (!replay.enterTick(*lab, tick)) {
            std::cerr << "replay mismatch at " << replay.mismatch << "\n";
            return 3;
        }
        if (tick == replay.lastTick()) break;
        runTick(state);
        renderFrame(state);
    }
    const Image& frame = state.graphics.backBuffer;
    std::ofstream out(argv[2], std::ios::binary);
    out << "P6\n" << frame.width << " " << frame.height << "\n255\n";
    for (const std::uint32_t pixel : frame.pixels) {
        const char rgb[3] = {static_cast<char>(pixel & 0xFF), static_cast<char>((pixel >> 8) & 0xFF),
                             static_cast<char>((pixel >> 16) & 0xFF)};
        out.write(rgb, 3);
    }
    return out.flush() ? 0 : 2;
}
