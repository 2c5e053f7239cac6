#include "app/control_panel.h"

#include <algorithm>
#include <string>

#include "app/commands.h"
#include "app/go_to_tick.h"
#include "app/open_session.h"
#include "app/plate_preparation.h"
#include "app/population_watch.h"
#include "app/speed.h"
#include "app/startup.h"
#include "app/replay.h"
#include "app/user_input.h"
#include "render/magnifier.h"
#include "render/plate_view.h"
#include "session/control_table.h"

namespace vivarix {

namespace {

// Writes the trackbar's label from its position.
void label(AppState& state, const TrackbarSpec& t) {
    if (state.controls) state.controls->setControlText(t.label, labelText(t, controlState(state, t.number)));
}

std::string seedText(std::uint64_t seed) { return "Seed: " + std::to_string(seed); }

void createLabel(Desktop& d, const TrackbarSpec& t) {
    d.createText(t.label, t.labelPlace.x, t.labelPlace.y, t.labelPlace.width, t.labelPlace.height, t.caption);
}

void createTrackbar(Desktop& d, const TrackbarSpec& t) {
    d.createTrackbar(t.number, t.place.x, t.place.y, t.place.width, t.place.height, t.lowest, t.highest,
                     trackbarTicks);
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
    d.setControlTooltip(control::autoTrackbar, "Nutrient dropped at random places in every tick (" +
                                                   std::to_string(trackbar::autoFeed.perStep) + " units a step)");
    d.setControlTooltip(control::spreadTrackbar, "How widely the right mouse button scatters nutrient");
    d.setControlTooltip(control::grainsTrackbar, "How much nutrient the right mouse button drops in every tick");
    d.setControlTooltip(control::temperatureTrackbar, "Temperature: not in use");
    d.setControlTooltip(control::magenTrackbar, "Stomach capacity of the creatures placed next");
    d.setControlTooltip(control::alterTrackbar, "Lifespan of the creatures placed next");
    d.setControlTooltip(control::reifTrackbar, "Age from which the creatures placed next give birth");
    d.setControlTooltip(control::sizeTrackbar, "Plate size: fixed at " + std::to_string(plateSide) + " by " +
                                                   std::to_string(plateSide));
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
    using namespace trackbar;
    const Graphics& g = state.graphics;
    const std::int32_t column = state.plateWidth + 5;
    d.createImageView(control::inspectorView, column, 0, inspectorPictureSize.width, inspectorPictureSize.height,
                      imageHandle(g, inspectorImage));
    d.createImageButton(control::kindButton, column, 210, 20, 20, imageHandle(g, kind0Image));
    d.createImageButton(control::statsButton, column + 50, 210, 20, 20, imageHandle(g, statsOffImage));
    d.createImageButton(control::magnifierButton, column + 75, 210, 20, 20, imageHandle(g, magnifierOffImage));
    d.createButton(populationButton, column + 165, 210, 80, 20, "Population");
    d.createPanel(control::tabPanel, column, 250, 245, 205);

    d.addPanelTab(control::tabPanel, "Global Parameters");
    d.createFrame(-1, 5, 0, 230, 110, "Feeding");
    createLabel(d, autoFeed);
    createTrackbar(d, autoFeed);
    createLabel(d, spread);
    createLabel(d, grains);
    createTrackbar(d, spread);
    createTrackbar(d, grains);
    createLabel(d, temperature);
    createTrackbar(d, temperature);

    d.addPanelTab(control::tabPanel, "Actions");
    for (const TrackbarSpec* t : {&magen, &alter, &reif}) {
        createLabel(d, *t);
        createTrackbar(d, *t);
    }

    d.addPanelTab(control::tabPanel, "Settings");
    createLabel(d, size);
    createTrackbar(d, size);
    d.createText(control::nutrientLabel, 5, 50, 130, 20, "Initial Nutrium:");
    d.createOption(control::randomOption, 5, 65, 60, 20, "Random");
    d.createOption(control::emptyOption, 5, 80, 60, 20, "Empty");
    d.createButton(control::newPlateButton, 145, 100, 90, 20, "New Vivarix");

    d.addPanelTab(control::tabPanel, "About");
    d.createText(control::sizeLabel, 5, 5, 130, 20, programTitle);
    d.createImageView(control::aboutView, 5, 5, aboutPictureSize.width, aboutPictureSize.height,
                      imageHandle(g, aboutImage));
    d.createText(control::seedLabel, 5, 125, 230, 20, seedText(state.session.seed));

    for (const TrackbarSpec* t : trackbars) {
        d.setControlState(t->number, t->initial);
        if (!t->enabled) d.disableControl(t->number, 1);
    }
    d.setControlState(initialRandomNutrient ? control::randomOption : control::emptyOption, 1);
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
    d.addKeyShortcut(0, "Ctrl+O", shortcut::openSession);
    d.addKeyShortcut(0, "Ctrl+G", shortcut::goToTick);
    d.addKeyShortcut(0, "End", shortcut::goToEnd);
}

void writeValueLabels(AppState& state) {
    for (const TrackbarSpec* t : {&trackbar::magen, &trackbar::alter, &trackbar::reif, &trackbar::autoFeed})
        label(state, *t);
}

void writeSeedLabel(AppState& state) {
    if (state.controls) state.controls->setControlText(control::seedLabel, seedText(state.session.seed));
}

void handleControlEvent(AppState& state, Desktop& desktop, std::int32_t c) {
    const bool takesOver = c == control::newPlateButton ||
                           std::any_of(trackbars.begin(), trackbars.end(), [c](const TrackbarSpec* t) {
                               return t->number == c && (t->tab == Tab::globalParameters || t->tab == Tab::actions);
                           });
    if (takesOver) endReplay(state);
    switch (c) {
    case control::autoTrackbar:
        takeAutoPosition(state);  // first: a label that runs out of memory loses no input
        label(state, trackbar::autoFeed);
        break;
    case control::magenTrackbar:
        label(state, trackbar::magen);
        break;
    case control::alterTrackbar:
        label(state, trackbar::alter);
        break;
    case control::reifTrackbar:
        label(state, trackbar::reif);
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
        if (atRecordingEnd(state)) {  // the recording is over: the session goes on live
            endReplay(state);
            state.paused = 0;
            break;
        }
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
        if (state.paused != 1) break;
        if (atRecordingEnd(state)) endReplay(state);
        state.stepRequested = 1;
        break;
    case shortcut::openSession:
        askAndOpenSession(state, desktop);
        break;
    case shortcut::goToTick:
        askAndGoToTick(state, desktop);
        break;
    case shortcut::goToEnd:
        if (state.replay) goToTick(state, desktop, state.replay->lastTick);
        break;
    default:
        break;
    }
}

void handleMiddleClick(AppState& state, std::int32_t x, std::int32_t y) {
    if (followCreatureAt(state, x, y) && state.magnifierOn != 1) toggleMagnifier(state);
    // A paused run draws no frame of its own: the frame is drawn again here, so that
    // the next present shows the ring, the magnifier's frame and the inspector of
    // the choice.  Drawing runs no tick and changes nothing the simulation reads.
    if (state.paused == 1) renderFrame(state);
}

}  // namespace vivarix
