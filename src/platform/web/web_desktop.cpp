#include "platform/web/web_desktop.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <emscripten/emscripten.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "platform/core/text.h"
#include "platform/web/page_calls.h"
#include "platform/web/pass_schedule.h"

namespace vivarix {

namespace {

// Where askSaveFileName's files wait for the next poll to hand them to the browser.
constexpr const char* downloadsFolder = "/downloads";
// Where the files the user opens are kept; the page's working folder, so that the
// program's messages name them as the user does.
constexpr const char* openedFolder = "/opened";

struct PageEvent {
    std::int32_t code = event::none;
    std::int32_t number = -1;  // the control or shortcut, else -1
    std::int32_t x = 0, y = 0;  // a mouse button's event: the pointer when it happened
    std::string file;           // event::fileDropped: the file's path
};

// A path in the working folder for a file the user named `name` that leaves every
// file kept there before untouched (a replay may still be reading it): the name
// itself, else "stem (2).vxs", "stem (3).vxs"...
std::string freePath(std::string name) {
    if (name.empty() || name == "." || name == "..") name = "session.vxs";
    const std::size_t dot = name.rfind('.');
    const std::size_t split = dot == std::string::npos || dot == 0 ? name.size() : dot;
    std::string path = name;
    std::error_code ec;
    for (int copy = 2; std::filesystem::exists(path, ec); ++copy)
        path = name.substr(0, split) + " (" + std::to_string(copy) + ")" + name.substr(split);
    return path;
}

bool isButtonEvent(std::int32_t code) { return code >= event::leftDown && code <= event::middleUp; }

// The page's strings are NUL-terminated.
std::string text(std::string_view view) { return std::string(view); }

class WebDesktop;
WebDesktop* current = nullptr;  // the page's desktop, which the page's events reach

class WebDesktop final : public Desktop {
public:
    explicit WebDesktop(const Graphics& images) : graphics(images) {
        current = this;
        mkdir(openedFolder, 0700);
        if (chdir(openedFolder) != 0) std::perror(openedFolder);
    }
    ~WebDesktop() override { current = nullptr; }
    WebDesktop(const WebDesktop&) = delete;
    WebDesktop& operator=(const WebDesktop&) = delete;

    // --- window and surface ----------------------------------------------------

    bool renderSurfaceAvailable() override { return vx_surface_available() != 0; }

    bool openWindow(std::int32_t number, std::int32_t, std::int32_t, std::int32_t width, std::int32_t height,
                    std::string_view title) override {
        if (windowNumber != -1 || width < 1 || height < 1) return false;
        windowNumber = number;
        clientWidth = width;
        clientHeight = height;
        vx_open_window(width, height, text(title).c_str());
        return true;
    }

    void setWindowTitle(std::int32_t number, std::string_view title) override {
        if (number != windowNumber || title == shownTitle) return;
        shownTitle = title;
        vx_set_title(shownTitle.c_str());
    }

    bool openRenderSurface(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t width,
                           std::int32_t height) override {
        if (number != windowNumber || surfaceOpen || width < 1 || height < 1) return false;
        surfaceOpen = true;
        vx_open_surface(x, y, width, height);
        return true;
    }

    // The animation frames pace the passes (pass_schedule.h): nothing waits here.
    void presentFrame(const Image& backBuffer, bool) override {
        passSchedule().presented();
        if (!surfaceOpen || !imageExists(backBuffer)) return;
        vx_present(opaque(backBuffer), backBuffer.width, backBuffer.height);
    }

    // --- controls -----------------------------------------------------------------

    bool beginControls(std::int32_t number) override {
        if (number != windowNumber) return false;
        vx_begin_controls();
        return true;
    }
    void endControls() override { vx_end_controls(); }

    void createPanel(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override {
        vx_create_panel(number, x, y, w, h);
    }
    void addPanelTab(std::int32_t panel, std::string_view caption) override {
        vx_add_tab(panel, text(caption).c_str());
    }
    void createFrame(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                     std::string_view caption) override {
        vx_create_frame(number, x, y, w, h, text(caption).c_str());
    }
    void createText(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                    std::string_view caption) override {
        vx_create_text(number, x, y, w, h, text(caption).c_str());
    }
    void createTrackbar(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                        std::int32_t minimum, std::int32_t maximum, std::int32_t flags) override {
        vx_create_trackbar(number, x, y, w, h, minimum, maximum, flags & trackbarTicks);
    }
    void createOption(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                      std::string_view caption) override {
        vx_create_option(number, x, y, w, h, text(caption).c_str());
    }
    void createButton(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                      std::string_view caption) override {
        vx_create_button(number, x, y, w, h, text(caption).c_str());
    }
    void createImageButton(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                           ImageHandle image) override {
        vx_create_image_button(number, x, y, w, h);
        showImage(number, image);
    }
    void createImageView(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t,
                         ImageHandle image) override {
        vx_create_image_view(number, x, y);
        showImage(number, image);
    }
    void disableControl(std::int32_t number, std::int32_t flag) override { vx_disable(number, flag != 0 ? 1 : 0); }
    void setControlTooltip(std::int32_t number, std::string_view tip) override {
        vx_set_tooltip(number, text(tip).c_str());
    }

    std::int32_t getControlState(std::int32_t number) const override { return vx_get_state(number); }

    // Image buttons and views take an image handle; trackbars and options their
    // value (the page tells the kinds apart).
    void setControlState(std::int32_t number, std::int32_t value) override {
        if (imageControls(number))
            showImage(number, value);
        else
            vx_set_state(number, value);
    }

    void setControlText(std::int32_t number, std::string_view caption) override {
        vx_set_text(number, text(caption).c_str());
    }

    // --- message boxes, help, files and tips ------------------------------------------

    void messageBox(std::string_view title, std::string_view message) override {
        vx_message_box(text(title).c_str(), text(message).c_str());
    }

    void showHelp() override { vx_show_help(); }

    std::string askSaveFileName(std::string_view, std::string_view suggestedName) override {
        mkdir(downloadsFolder, 0700);
        pendingDownload = std::string(downloadsFolder) + "/" + text(suggestedName);
        return pendingDownload;
    }

    // The picked file comes later, as a dropped one (web_desktop.h).
    std::string askOpenFileName(std::string_view) override {
        vx_ask_open_file();
        return {};
    }

    std::string droppedFile() const override { return last.code == event::fileDropped ? last.file : std::string(); }

    // Ticks go to the page as doubles: exact up to 2^53, far beyond any recording.
    std::optional<std::uint64_t> askTick(std::string_view title, std::string_view label, std::uint64_t value,
                                         std::uint64_t highest) override {
        const double tick = vx_ask_tick(text(title).c_str(), text(label).c_str(), static_cast<double>(value),
                                        static_cast<double>(highest));
        if (!(tick >= 0)) return std::nullopt;
        return std::min(static_cast<std::uint64_t>(tick), highest);
    }

    void beginProgress(std::string_view title) override { vx_begin_progress(text(title).c_str()); }
    bool showProgress(std::string_view caption, std::int32_t permille) override {
        return vx_show_progress(text(caption).c_str(), std::clamp(permille, 0, 1000)) != 0;
    }
    void endProgress() override { vx_end_progress(); }

    void setSurfaceTips(std::vector<SurfaceTip> tips) override {
        vx_clear_surface_tips();
        for (const SurfaceTip& tip : tips) vx_add_surface_tip(tip.x, tip.y, tip.width, tip.height, tip.text.c_str());
    }

    // --- shortcuts, events and the pointer ----------------------------------------

    void addShortcut(std::int32_t number, char key, std::int32_t shortcut) override {
        if (number != windowNumber) return;
        if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
        if ((key < 'A' || key > 'Z') && (key < '0' || key > '9')) return;
        vx_add_shortcut(key, shortcut);
    }

    void addKeyShortcut(std::int32_t number, std::string_view keys, std::int32_t shortcut) override {
        if (number == windowNumber) vx_add_key_shortcut(text(keys).c_str(), shortcut);
    }

    std::int32_t pollEvent() override {
        deliverDownload();
        last = events.empty() ? PageEvent{} : events.front();
        if (!events.empty()) events.pop_front();
        return last.code;
    }

    std::int32_t eventControl() const override { return last.code == event::control ? last.number : -1; }
    std::int32_t eventShortcut() const override { return last.code == event::shortcut ? last.number : -1; }

    CursorPosition cursorPosition(std::int32_t number) const override {
        if (number != windowNumber) return CursorPosition{};
        return CursorPosition{pointerX, pointerY, clientWidth, clientHeight};
    }

    CursorPosition eventPosition() const override {
        if (!isButtonEvent(last.code)) return cursorPosition(windowNumber);
        return CursorPosition{last.x, last.y, clientWidth, clientHeight};
    }

    // --- the population window ----------------------------------------------------

    void showPopulationWindow(bool open) override { vx_show_population(open ? 1 : 0); }
    bool populationWindowOpen() const override { return vx_population_open() != 0; }
    std::int32_t populationPlotWidth() const override { return populationWindowOpen() ? vx_population_plot_width() : 0; }

    void showPopulation(const PopulationChart& chart) override {
        if (!populationWindowOpen()) return;
        const std::vector<ChartPoint>* const series[] = {&chart.nutrient, &chart.creatures[0], &chart.creatures[1],
                                                         &chart.strains[0], &chart.strains[1]};
        const std::size_t points = chart.nutrient.size();
        std::vector<double> ticks, values;
        ticks.reserve(points * 2);
        values.reserve(points * 2 * std::size(series));
        for (const ChartPoint& p : chart.nutrient) ticks.insert(ticks.end(), 2, static_cast<double>(p.tick));
        for (const std::vector<ChartPoint>* s : series) strokes(*s, points, values);
        vx_show_chart(chart.title.c_str(), ticks.data(), static_cast<std::int32_t>(ticks.size()), values.data());
    }

    // --- from the page ------------------------------------------------------------

    // Pointer moves not yet polled count once: the page may report more of them
    // than there are passes, and a backlog would hold back the clicks behind it.
    void queue(PageEvent e) {
        if (e.code == event::pointerMove && !events.empty() && events.back().code == event::pointerMove) return;
        if (isButtonEvent(e.code)) {  // the page sends the pointer before a button's event
            e.x = pointerX;
            e.y = pointerY;
        }
        events.push_back(e);
    }
    void pointerAt(std::int32_t x, std::int32_t y) {
        pointerX = x;
        pointerY = y;
    }
    // A file the user picked or dropped, waiting in the page: kept in the working
    // folder and handed to the program as a dropped file.
    void fileReceived() {
        char name[1024];
        if (vx_received_name(name, sizeof name) >= static_cast<std::int32_t>(sizeof name)) name[0] = '\0';
        const std::string path = freePath(name);
        if (vx_store_received(path.c_str()) == 0) {
            messageBox("Vivarix", printableText(name) + " cannot be opened: the page could not keep a copy of it.");
            return;
        }
        queue(PageEvent{event::fileDropped, -1, 0, 0, path});
    }

private:
    // Each point as a vertical stroke from one extreme to the other, entered from the
    // end nearer the previous stroke so that the line does not cross itself; a
    // series shorter than the ticks is left blank (NaN) at its end.
    static void strokes(const std::vector<ChartPoint>& points, std::size_t count, std::vector<double>& out) {
        double last = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (i >= points.size()) {
                out.insert(out.end(), 2, std::nan(""));
                continue;
            }
            auto low = static_cast<double>(points[i].min), high = static_cast<double>(points[i].max);
            if (std::abs(last - high) < std::abs(last - low)) std::swap(low, high);
            out.push_back(low);
            out.push_back(high);
            last = high;
        }
    }

    // Whether the control shows images: those created by createImageButton and
    // createImageView (their numbers are remembered here).
    bool imageControls(std::int32_t number) const {
        for (const std::int32_t n : imageNumbers)
            if (n == number) return true;
        return false;
    }

    void showImage(std::int32_t number, ImageHandle handle) {
        if (!imageControls(number)) imageNumbers.push_back(number);
        const Image* image = imageOf(graphics, handle);
        if (image == nullptr || !imageExists(*image)) {
            vx_show_image(number, nullptr, 0, 0);
            return;
        }
        vx_show_image(number, opaque(*image), image->width, image->height);
    }

    // The image's pixels as RGBA bytes: a colour value 0x00BBGGRR is, in memory, red,
    // green, blue and a byte that becomes the opaque alpha.
    const std::uint8_t* opaque(const Image& image) {
        staging.resize(image.pixels.size());
        for (std::size_t i = 0; i < staging.size(); ++i) staging[i] = image.pixels[i] | 0xFF000000u;
        return reinterpret_cast<const std::uint8_t*>(staging.data());
    }

    // Hands a file a save has written to the browser, and forgets it.
    void deliverDownload() {
        if (pendingDownload.empty()) return;
        const std::string path = std::exchange(pendingDownload, std::string());
        std::ifstream file(path, std::ios::binary);
        if (!file) return;
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        file.close();
        std::remove(path.c_str());
        const std::string name = path.substr(path.rfind('/') + 1);
        vx_download(name.c_str(), reinterpret_cast<const std::uint8_t*>(bytes.data()),
                    static_cast<std::int32_t>(bytes.size()));
    }

    const Graphics& graphics;
    std::int32_t windowNumber = -1;
    std::int32_t clientWidth = 0, clientHeight = 0;
    bool surfaceOpen = false;
    std::string shownTitle;
    std::vector<std::int32_t> imageNumbers;
    std::vector<std::uint32_t> staging;  // the last image handed to the page
    std::string pendingDownload;         // a saved file not yet handed to the browser
    std::deque<PageEvent> events;
    PageEvent last;
    std::int32_t pointerX = -1, pointerY = -1;
};

}  // namespace

std::unique_ptr<Desktop> startWebDesktop(const Graphics& graphics) { return std::make_unique<WebDesktop>(graphics); }

}  // namespace vivarix

// The page's input, called by desktop_library.js.
extern "C" {

EMSCRIPTEN_KEEPALIVE void vivarix_web_event(std::int32_t code, std::int32_t number) {
    if (vivarix::current) vivarix::current->queue(vivarix::PageEvent{code, number, 0, 0, {}});
}

EMSCRIPTEN_KEEPALIVE void vivarix_web_pointer(std::int32_t x, std::int32_t y) {
    if (vivarix::current) vivarix::current->pointerAt(x, y);
}

EMSCRIPTEN_KEEPALIVE void vivarix_web_file() {
    if (vivarix::current) vivarix::current->fileReceived();
}

}  // extern "C"
