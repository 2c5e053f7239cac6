// scripts/plot-population: what it says about bad files, and that what it draws
// shows, read back from its PNG.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/program_run.h"

namespace {

class PlotPopulation : public vivarix::test::ScratchDir {
protected:
    // Runs the script with `arguments` (shell words) and standard input from `input`;
    // returns its exit status and keeps its standard error in `err`.
    int plot(const std::string& arguments, const std::string& input = "") {
        std::ofstream(dir / "in.csv") << input;
        const int status = std::system(("cd '" + dir.string() + "' && sh " VIVARIX_SCRIPTS_DIR "/plot-population " +
                                        arguments + " <in.csv 2>err.txt")
                                           .c_str());
        err = vivarix::test::readFile(dir / "err.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Pixels of the PNG within 40 of `rgb` in every channel, in its top half only
    // when `topHalf`.
    int pixelsNear(const std::string& name, std::uint32_t rgb, bool topHalf = false) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, (dir / name).c_str())) return -1;
        image.format = PNG_FORMAT_RGB;
        std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return -1;
        int near = 0;
        const std::size_t end = topHalf ? pixels.size() / 2 : pixels.size();
        for (std::size_t i = 0; i + 2 < end; i += 3) {
            bool close = true;
            for (int c = 0; c < 3; ++c)
                close = close && std::abs(int(pixels[i + c]) - int((rgb >> (16 - 8 * c)) & 0xff)) <= 40;
            near += close ? 1 : 0;
        }
        return near;
    }

    std::string err;
};

constexpr std::uint32_t blue = 0x1e3cdc, red = 0xdc2828;

TEST_F(PlotPopulation, BadFilesAreOneLineAndStatusTwo) {
    EXPECT_EQ(plot("missing.csv out.png"), 2);
    EXPECT_EQ(err, "plot-population: cannot read missing.csv\n");
    EXPECT_EQ(plot("in.csv no/such/out.png", "tick,kind0,kind1\n5,1,1\n"), 2);
    EXPECT_EQ(err, "plot-population: cannot write no/such/out.png\n");
    EXPECT_EQ(plot("- out.png", "tick,kind0,kind1,nutrient,creatures_hash\n"), 2);
    EXPECT_EQ(err, "plot-population: no data lines in standard input\n");
}

TEST_F(PlotPopulation, ASingleLineFromStandardInputShows) {
    ASSERT_EQ(plot("- one.png", "tick,kind0,kind1,nutrient,creatures_hash\n50,10,10,384276,b467c6705aa9b9a4\n"), 0)
        << err;
    // The counts are the highest values, at the top; the key is at the bottom.
    // Equal counts: the larger blue point rings the red one.
    EXPECT_GT(pixelsNear("one.png", blue, true), 40);
    EXPECT_GT(pixelsNear("one.png", red, true), 20);
}

TEST_F(PlotPopulation, CurvesOfACsvFile) {
    std::string csv = "tick,kind0,kind1,nutrient,creatures_hash\n";
    for (int tick = 10; tick <= 400; tick += 10)
        csv += std::to_string(tick) + ",20," + std::to_string(tick / 4) + ",0,0\n";
    ASSERT_EQ(plot("in.csv curves.png 320 200", csv), 0) << err;
    EXPECT_GT(pixelsNear("curves.png", blue), 200);
    EXPECT_GT(pixelsNear("curves.png", red), 200);
}

}  // namespace
