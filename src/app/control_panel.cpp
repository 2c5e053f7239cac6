#include "app/control_panel.h"

#include <string>

#include "app/commands.h"
#include "app/journal.h"
#include "app/plate_preparation.h"
#include "app/population_watch.h"
#include "app/speed.h"
#include "platform/core/text.h"
#include "render/magnifier.h"
#include "render/plate_view.h"
#include "sim/control_numbers.h"
#include "sim/feeding.h"

namespace vivarix {

namespace {

void label(AppState& state, std::int32_t control, const char* prefix, std::int32_t trackbar, std::int32_t factor) {
    if (state.controls) state.controls->setControlText(control, prefix + formatDecimal(controlState(state, trackbar) * factor));
}

void showImage(AppState& state, std::int32_t control, std::int32_t image) {
    if (state.controls) state.controls->setControlState(control, imageHandle(state.graphics, image));
}

void toggleStats(AppState& state) {
    state.colourStatsOn = state.colourStatsOn == 1 ? 0 : 1;
    showImage(state, control::statsButton, state.colourStatsOn == 1 ? statsOnImage : statsOffImage);
}

void toggleMagnifier(AppState& state) {
    state.magnifierOn = state.magnifierOn == 1 ? 0 : 1;
    showImage(state, control::magnifierButton, state.magnifierOn == 1 ? magnifierOnImage : magnifierOffImage);
}

void setPlacementKind(AppState& state, std::int32_t kind) {
    state.placementKind = kind;
    showImage(state, control::kindButton, kind == placeKind0 ? kind0Image : kind1Image);
}


// What each control does, and its key where it has one.
void addTooltips(Desktop& d) {
    d.setControlTooltip(control::inspectorView,
                        "Magnifier: the area in the green frame at five times its size, and the figures of the "
                        "first creature, or of the one a middle click chose to follow (L switches it, R moves it "
                        "to the pointer)");
    d.setControlTooltip(control::kindButton, "Placement kind: blue (C) or red (S)");
    d.setControlTooltip(control::statsButton, "Colour statistics of the strains on or off (G)");
    d.setControlTooltip(control::magnifierButton, "Magnifier and creature inspector on or off (L); R moves it to the pointer");
    d.setControlTooltip(control::autoTrackbar, "Nutrient dropped at random places in every tick (8 units a step)");
    d.setControlTooltip(control::spreadTrackbar, "How widely the right mouse button scatters nutrient");
    d.setControlTooltip(control::grainsTrackbar, "How much nutrient the right mouse button drops in every tick");
    d.setControlTooltip(control::temperatureTrackbar, "Temperature: not in use");
    d.setControlTooltip(control::magenTrackbar, "Stomach capacity of the creatures placed next");
    d.setControlTooltip(control::alterTrackbar, "Lifespan of the creatures placed next");
    d.setControlTooltip(control::reifTrackbar, "Age from which the creatures placed next give birth");
    d.setControlTooltip(control::sizeTrackbar, "Plate size: fixed at 460 by 460");
    d.setControlTooltip(control::randomOption, "The next new plate starts with nutrient at random");
    d.setControlTooltip(control::emptyOption, "The next new plate starts without nutrient");
    d.setControlTooltip(control::newPlateButton, "Starts a new plate: the creatures go, the nutrient is laid anew");
    d.setControlTooltip(control::seedLabel,
                        "The seed of this session: vivarix --seed with it and the same input gives the same run");
    d.setControlTooltip(populationButton,
                        "Population window on or off (H): creatures, nutrient and strains over the ticks. "
                        "F fast-forwards (x4, x16, x64, max); N runs one tick while paused");
}

}  // namespace

void buildControlPanel(AppState& state, Desktop& d) {
    const Graphics& g = state.graphics;
    d.createImageView(control::inspectorView, 465, 0, 245, 200, imageHandle(g, inspectorImage));
    d.createImageButton(control::kindButton, 465, 210, 20, 20, imageHandle(g, kind0Image));
    d.createImageButton(control::statsButton, 515, 210, 20, 20, imageHandle(g, statsOffImage));
    d.createImageButton(control::magnifierButton, 540, 210, 20, 20, imageHandle(g, magnifierOffImage));
    d.createButton(populationButton, 630, 210, 80, 20, "Population");
    d.createPanel(control::tabPanel, 465, 250, 245, 205);

    d.addPanelTab(control::tabPanel, "Global Parameters");
    d.createFrame(-1, 5, 0, 230, 110, "Feeding");
    d.createText(control::autoLabel, 10, 20, 70, 20, "Auto:");
    d.createTrackbar(control::autoTrackbar, 5, 35, 225, 20, 0, 40, trackbarTicks);
    d.createText(control::spreadLabel, 10, 65, 70, 20, "M. Size:");
    d.createText(control::grainsLabel, 120, 65, 70, 20, "M. NpF:");
    d.createTrackbar(control::spreadTrackbar, 5, 80, 115, 20, 2, 12, trackbarTicks);
    d.createTrackbar(control::grainsTrackbar, 115, 80, 115, 20, 5, 25, trackbarTicks);
    d.createText(control::temperatureLabel, 5, 120, 90, 20, "Temperatur:");
    d.createTrackbar(control::temperatureTrackbar, 0, 135, 235, 20, 0, 20, trackbarTicks);

    d.addPanelTab(control::tabPanel, "Actions");
    d.createText(control::magenLabel, 5, 5, 130, 20, "max.Magen:");
    d.createTrackbar(control::magenTrackbar, 0, 20, 235, 20, 10, 50, trackbarTicks);
    d.createText(control::alterLabel, 5, 45, 130, 20, "max.Alter:");
    d.createTrackbar(control::alterTrackbar, 0, 65, 235, 20, 10, 50, trackbarTicks);
    d.createText(control::reifLabel, 5, 90, 130, 20, "Geschlechtsreif:");
    d.createTrackbar(control::reifTrackbar, 0, 110, 235, 20, 10, 50, trackbarTicks);

    d.addPanelTab(control::tabPanel, "Settings");
    d.createText(control::sizeLabel, 5, 5, 130, 20, "Vivarix Size:");
    d.createTrackbar(control::sizeTrackbar, 0, 20, 235, 20, 0, 20, trackbarTicks);
    d.createText(control::nutrientLabel, 5, 50, 130, 20, "Initial Nutrium:");
    d.createOption(control::randomOption, 5, 65, 60, 20, "Random");
    d.createOption(control::emptyOption, 5, 80, 60, 20, "Empty");
    d.createButton(control::newPlateButton, 145, 100, 90, 20, "New Vivarix");

    d.addPanelTab(control::tabPanel, "About");
    d.createText(control::sizeLabel, 5, 5, 130, 20, "Vivarix 0.4alpha");
    d.createImageView(control::aboutView, 5, 5, 230, 115, imageHandle(g, aboutImage));
    d.createText(control::seedLabel, 5, 125, 230, 20, "Seed: " + std::to_string(state.seed));

    d.setControlState(control::autoTrackbar, 10);
    d.setControlState(control::spreadTrackbar, 12);
    d.setControlState(control::grainsTrackbar, 25);
    d.setControlState(control::temperatureTrackbar, 10);
    d.setControlState(control::magenTrackbar, 20);
    d.setControlState(control::alterTrackbar, 20);
    d.setControlState(control::reifTrackbar, 20);
    d.setControlState(control::sizeTrackbar, 20);
    d.setControlState(control::randomOption, 1);
    d.disableControl(control::temperatureTrackbar, 1);
    d.disableControl(control::sizeTrackbar, 1);
    addTooltips(d);
    d.endControls();
}

void registerShortcuts(Desktop& d) {
    d.addShortcut(0, 'C', shortcut::kind0);
    d.addShortcut(0, 'S', shortcut::kind1);
    d.addShortcut(0, 'G', shortcut::stats);
    d.addShortcut(0, 'L', shortcut::magnifier);
    d.addShortcut(0, 'P', shortcut::pause);
    for (std::int32_t digit = 0; digit <= 9; ++digit)
        d.addShortcut(0, static_cast<char>('0' + digit), shortcut::delay0 + digit);
    d.addShortcut(0, 'R', shortcut::moveMagnifier);
    d.addKeyShortcut(0, "F1", shortcut::help);
    d.addKeyShortcut(0, "Ctrl+S", shortcut::saveSession);
    d.addShortcut(0, 'H', shortcut::population);
    d.addShortcut(0, 'F', shortcut::speed);
    d.addShortcut(0, 'N', shortcut::step);
}

void writeValueLabels(AppState& state) {
    label(state, control::magenLabel, "max.Magen: ", control::magenTrackbar, control::stomachPerStep);
    label(state, control::alterLabel, "max.Alter: ", control::alterTrackbar, control::lifespanPerStep);
    label(state, control::reifLabel, "Geschlechtsreif: ", control::reifTrackbar, control::maturityPerStep);
    label(state, control::autoLabel, "Auto: ", control::autoTrackbar, control::autoFeedPerStep);
}

void handleControlEvent(AppState& state, Desktop& desktop, std::int32_t c) {
    switch (c) {
    case control::autoTrackbar:
        label(state, control::autoLabel, "Auto: ", control::autoTrackbar, control::autoFeedPerStep);
        readAutoFeedAmount(state);
        break;
    case control::magenTrackbar:
        label(state, control::magenLabel, "max.Magen: ", control::magenTrackbar, control::stomachPerStep);
        break;
    case control::alterTrackbar:
        label(state, control::alterLabel, "max.Alter: ", control::alterTrackbar, control::lifespanPerStep);
        break;
    case control::reifTrackbar:
        label(state, control::reifLabel, "Geschlechtsreif: ", control::reifTrackbar, control::maturityPerStep);
        break;
    case control::kindButton:
        setPlacementKind(state, state.placementKind == placeKind0 ? placeKind1 : placeKind0);
        break;
    case control::statsButton:
        toggleStats(state);
        break;
    case control::magnifierButton:
        toggleMagnifier(state);
        break;
    case control::newPlateButton:
        newPlate(state);
        journalNewPlate(state);
        break;
    case populationButton:
        togglePopulationWindow(state, desktop);
        break;
    default:
        break;
    }
}

void handleShortcutEvent(AppState& state, Desktop& desktop, std::int32_t s) {
    if (s >= shortcut::delay0 && s <= shortcut::delay0 + 9) {
        // Keys 0..9 give 0, 1, 2, 4 .. 256 milliseconds.
        const std::int32_t digit = s - shortcut::delay0;
        state.frameDelayMs = digit == 0 ? 0 : 1 << (digit - 1);
        return;
    }
    switch (s) {
    case shortcut::kind0:
        setPlacementKind(state, placeKind0);
        break;
    case shortcut::kind1:
        setPlacementKind(state, placeKind1);
        break;
    case shortcut::stats:
        toggleStats(state);
        break;
    case shortcut::magnifier:
        toggleMagnifier(state);
        break;
    case shortcut::pause:
        state.paused = state.paused == 1 ? 0 : 1;
        break;
    case shortcut::moveMagnifier:
        centreMagnifier(state, state.mouseX, state.mouseY);
        break;
    case shortcut::population:
        togglePopulationWindow(state, desktop);
        break;
    case shortcut::speed:
        cycleSpeed(state);
        break;
    case shortcut::step:
        if (state.paused == 1) state.stepRequested = 1;
        break;
    default:
        break;
    }
}

void handleMiddleClick(AppState& state) {
    if (followCreatureAtPointer(state) && state.magnifierOn != 1) toggleMagnifier(state);
    // A paused run draws no frame of its own: the frame is drawn again here, so that
    // the next present shows the ring, the magnifier's frame and the inspector of
    // the choice.  Drawing runs no tick and changes nothing the simulation reads.
    if (state.paused == 1) renderFrame(state);
}

}  // namespace vivarix
