// A desktop without a display for tests of the program's start-up and main loop.
//
// Controls are HeadlessControls (values set by the panel are read back, nothing is
// drawn); the test queues the events that pollEvent hands out, one per call, and
// moves the pointer.  Presents never wait and are only counted; titles and message
// boxes are recorded.  Start-up takes NoTextRenderer (graphics.h) for its text.
// The population window is a flag with a plot 600 pixels wide and a zoom the test
// sets; its charts are counted and the last one kept.  The open and go-to-tick
// dialogs answer what the test set; progress is counted, and cancelled at a call
// the test chooses.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/desktop.h"

namespace vivarix::test {

class ScriptedDesktop : public Desktop {
public:
    bool surfaceAvailable = true;   // renderSurfaceAvailable()
    bool controlsAvailable = true;  // beginControls()
    bool windowOpened = false;
    std::string title;              // the window's current title
    std::int64_t presents = 0;
    std::vector<std::pair<std::string, std::string>> messages;  // (title, text) shown
    bool populationOpen = false;
    std::int64_t charts = 0;  // showPopulation calls while open
    PopulationChart chart;    // the last one shown

    // Queues an event; number is the control or shortcut of those events.  A mouse
    // button event happens where the pointer is now (eventPosition).
    void queue(std::int32_t code, std::int32_t number = -1) { events.push_back({code, number, pointer, {}}); }
    // Queues a file dropped on the window.
    void queueDrop(std::string file) { events.push_back({event::fileDropped, -1, pointer, std::move(file)}); }
    // Whether every queued event has been handed out.
    bool idle() const { return events.empty(); }
    void movePointer(std::int32_t x, std::int32_t y) { pointer = {x, y}; }
    HeadlessControls& controls() { return panel; }

    bool renderSurfaceAvailable() override { return surfaceAvailable; }
    bool openWindow(std::int32_t, std::int32_t, std::int32_t, std::int32_t width, std::int32_t height,
                    std::string_view windowTitle) override;
    void setWindowTitle(std::int32_t, std::string_view windowTitle) override { title = windowTitle; }
    bool openRenderSurface(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {
        return surfaceAvailable;
    }
    void presentFrame(const Image&, bool) override { ++presents; }

    bool beginControls(std::int32_t) override { return controlsAvailable; }
    // The options created form one group (the program's panel has one).
    void endControls() override { panel.groupOptions(options); }
    void createPanel(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void addPanelTab(std::int32_t, std::string_view) override {}
    void createFrame(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                     std::string_view) override {}
    void createText(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                    std::string_view) override {}
    void createTrackbar(std::int32_t number, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                        std::int32_t minimum, std::int32_t maximum, std::int32_t) override {
        trackbarRanges[number] = {minimum, maximum};
    }
    void createOption(std::int32_t number, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                      std::string_view) override {
        options.push_back(number);
    }
    void createButton(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                      std::string_view) override {}
    void createImageButton(std::int32_t number, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                           ImageHandle image) override {
        panel.setControlState(number, image);
    }
    void createImageView(std::int32_t number, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                         ImageHandle image) override {
        panel.setControlState(number, image);
    }
    void disableControl(std::int32_t, std::int32_t) override {}
    void setControlTooltip(std::int32_t, std::string_view) override {}
    void addShortcut(std::int32_t, char, std::int32_t) override {}
    void addKeyShortcut(std::int32_t, std::string_view, std::int32_t) override {}
    void showHelp() override { ++helpShown; }
    // Answers every save dialog with `saveAnswer`.
    std::string askSaveFileName(std::string_view, std::string_view suggestedName) override {
        suggestedSaveName = suggestedName;
        return saveAnswer;
    }
    void setSurfaceTips(std::vector<SurfaceTip> given) override { tips = std::move(given); }
    std::string askOpenFileName(std::string_view) override { return openAnswer; }
    std::string droppedFile() const override { return lastFile; }
    std::optional<std::uint64_t> askTick(std::string_view, std::string_view, std::uint64_t,
                                         std::uint64_t highest) override {
        tickHighest = highest;
        return tickAnswer;
    }
    void beginProgress(std::string_view) override { progressCalls = 0; }
    bool showProgress(std::string_view, std::int32_t) override { return ++progressCalls != cancelAtProgress; }
    std::string openAnswer;                  // every open dialog's answer
    std::optional<std::uint64_t> tickAnswer;  // every go-to-tick dialog's answer
    std::uint64_t tickHighest = 0;           // the highest tick the last one offered
    std::int32_t progressCalls = 0;          // showProgress calls since beginProgress
    std::int32_t cancelAtProgress = -1;      // the call that reports a Cancel
    int helpShown = 0;
    std::map<std::int32_t, std::pair<std::int32_t, std::int32_t>> trackbarRanges;  // number -> (minimum, maximum)
    std::string saveAnswer;
    std::string suggestedSaveName;
    std::vector<SurfaceTip> tips;

    std::int32_t pollEvent() override;
    std::int32_t eventControl() const override { return lastNumber; }
    std::int32_t eventShortcut() const override { return lastNumber; }
    CursorPosition cursorPosition(std::int32_t) const override;
    CursorPosition eventPosition() const override;

    void showPopulationWindow(bool open) override { populationOpen = open; }
    bool populationWindowOpen() const override { return populationOpen; }
    std::int32_t populationPlotWidth() const override { return populationOpen ? 600 : 0; }
    std::optional<ChartZoom> zoom;  // what populationZoom() answers
    std::optional<ChartZoom> populationZoom() const override { return zoom; }
    void showPopulation(const PopulationChart& shown) override {
        if (!populationOpen) return;
        ++charts;
        chart = shown;
    }

    std::int32_t getControlState(std::int32_t number) const override { return panel.getControlState(number); }
    void setControlState(std::int32_t number, std::int32_t value) override { panel.setControlState(number, value); }
    void setControlText(std::int32_t number, std::string_view text) override { panel.setControlText(number, text); }
    void messageBox(std::string_view boxTitle, std::string_view text) override {
        messages.emplace_back(std::string(boxTitle), std::string(text));
    }

private:
    struct Queued {
        std::int32_t code;
        std::int32_t number;
        std::pair<std::int32_t, std::int32_t> at;  // the pointer when it was queued
        std::string file;
    };
    HeadlessControls panel;
    std::deque<Queued> events;
    std::int32_t lastNumber = -1;
    std::int32_t lastCode = event::none;
    std::pair<std::int32_t, std::int32_t> lastAt{0, 0};
    std::string lastFile;
    std::pair<std::int32_t, std::int32_t> pointer{0, 0};
    std::int32_t clientWidth = 0;
    std::int32_t clientHeight = 0;
    std::vector<std::int32_t> options;
};

}  // namespace vivarix::test
