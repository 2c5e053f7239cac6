// The controls of the panel, defined once: each control's number, and for every
// trackbar its caption, range, initial position, what one step is worth and its
// place; with the window's and the pictures' sizes.
//
// The control panel is built from this table, vivarix-lab takes its options, their
// ranges, defaults and --help lines from it, and the journal reader checks the
// positions it reads against it, so that the three can never disagree.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/sim_state.h"

namespace vivarix {

struct Extent {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct Place {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
};

// The window's client area: the plate at its left, the control column beside it.
inline constexpr std::int32_t controlColumnWidth = 255;
inline constexpr Extent windowSize{plateSide + controlColumnWidth, plateSide};

// The pictures the program makes for its controls.
inline constexpr Extent inspectorPictureSize{245, 200};  // image 10, the magnifier's inspector
inline constexpr Extent aboutPictureSize{230, 115};      // image 25, the "About" tab
inline constexpr Extent cloudPictureSize{255, 200};      // image 46 is resized to this

namespace control {

inline constexpr std::int32_t magenLabel = 2;
inline constexpr std::int32_t magenTrackbar = 3;
inline constexpr std::int32_t alterLabel = 4;
inline constexpr std::int32_t alterTrackbar = 5;
inline constexpr std::int32_t reifLabel = 6;
inline constexpr std::int32_t reifTrackbar = 7;
inline constexpr std::int32_t newPlateButton = 8;
inline constexpr std::int32_t inspectorView = 9;
inline constexpr std::int32_t autoLabel = 12;
inline constexpr std::int32_t tabPanel = 13;
inline constexpr std::int32_t autoTrackbar = 14;
inline constexpr std::int32_t temperatureLabel = 15;
inline constexpr std::int32_t temperatureTrackbar = 16;
inline constexpr std::int32_t sizeLabel = 17;  // also the "About" credit text
inline constexpr std::int32_t sizeTrackbar = 18;
inline constexpr std::int32_t nutrientLabel = 19;
inline constexpr std::int32_t spreadLabel = 20;
inline constexpr std::int32_t spreadTrackbar = 21;
inline constexpr std::int32_t grainsLabel = 22;
inline constexpr std::int32_t grainsTrackbar = 23;
inline constexpr std::int32_t aboutView = 24;
inline constexpr std::int32_t kindButton = 28;
inline constexpr std::int32_t statsButton = 31;
inline constexpr std::int32_t magnifierButton = 32;
inline constexpr std::int32_t randomOption = 52;  // "Initial Nutrium:" Random (1 = selected)
inline constexpr std::int32_t emptyOption = 54;
inline constexpr std::int32_t seedLabel = 55;  // "About": the session's seed
// The one group of options: selecting one clears the other.
inline constexpr std::array<std::int32_t, 2> nutrientOptions = {randomOption, emptyOption};

}  // namespace control

// The tabs of the panel, in order.
enum class Tab : std::int32_t { globalParameters, actions, settings, about };

// A trackbar and the text above it.
struct TrackbarSpec {
    std::int32_t number = 0;
    std::int32_t label = 0;        // the number of the text above it
    std::string_view caption;      // the text as created: "max.Magen:"
    std::int32_t lowest = 0;
    std::int32_t highest = 0;
    std::int32_t initial = 0;
    std::int32_t perStep = 1;      // the value one position is worth
    bool valueInLabel = false;     // the text reads caption, a blank and position * perStep
    bool enabled = true;           // false: greyed out, the user cannot move it
    Tab tab = Tab::globalParameters;
    Place labelPlace;              // on the tab's page
    Place place;
    std::string_view labOption;    // vivarix-lab's option for it, "" for none
    std::string_view labHelp;      // what follows the quoted caption in vivarix-lab --help
};

namespace trackbar {

// Units of nutrient that automatic feeding drops at random places each tick.
inline constexpr TrackbarSpec autoFeed{control::autoTrackbar, control::autoLabel, "Auto:", 0, 40, 10, 8, true,
                                       true, Tab::globalParameters, {10, 20, 70, 20}, {5, 35, 225, 20}, "--auto",
                                       " slider, nutrient dropped each pass"};
// Side of the square that right-button feeding scatters its units over.
inline constexpr TrackbarSpec spread{control::spreadTrackbar, control::spreadLabel, "M. Size:", 2, 12, 12, 4, false,
                                     true, Tab::globalParameters, {10, 65, 70, 20}, {5, 80, 115, 20}, "--spread",
                                     ", spread of right-button food"};
// Right-button feeding makes 9 times position * perStep attempts each tick.
inline constexpr TrackbarSpec grains{control::grainsTrackbar, control::grainsLabel, "M. NpF:", 5, 25, 25, 2, false,
                                     true, Tab::globalParameters, {120, 65, 70, 20}, {115, 80, 115, 20}, "--grains",
                                     ", right-button food per pass"};
inline constexpr TrackbarSpec temperature{control::temperatureTrackbar, control::temperatureLabel, "Temperatur:", 0,
                                          20, 10, 1, false, false, Tab::globalParameters, {5, 120, 90, 20},
                                          {0, 135, 235, 20}, "", ""};
// The stomach capacity of the creatures placed next.
inline constexpr TrackbarSpec magen{control::magenTrackbar, control::magenLabel, "max.Magen:", 10, 50, 20, 32, true,
                                    true, Tab::actions, {5, 5, 130, 20}, {0, 20, 235, 20}, "--magen",
                                    ", stomach of creatures placed"};
// The lifespan (maxAge) of the creatures placed next.
inline constexpr TrackbarSpec alter{control::alterTrackbar, control::alterLabel, "max.Alter:", 10, 50, 20, 64, true,
                                    true, Tab::actions, {5, 45, 130, 20}, {0, 65, 235, 20}, "--alter",
                                    ", lifespan of creatures placed"};
// The age from which the creatures placed next give birth.
inline constexpr TrackbarSpec reif{control::reifTrackbar, control::reifLabel, "Geschlechtsreif:", 10, 50, 20, 16, true,
                                   true, Tab::actions, {5, 90, 130, 20}, {0, 110, 235, 20}, "--reif",
                                   ", age of first birth"};
inline constexpr TrackbarSpec size{control::sizeTrackbar, control::sizeLabel, "Vivarix Size:", 0, 20, 20, 1, false,
                                   false, Tab::settings, {5, 5, 130, 20}, {0, 20, 235, 20}, "", ""};

}  // namespace trackbar

// Every trackbar, in the order the panel creates them.
inline constexpr std::array<const TrackbarSpec*, 8> trackbars = {
    &trackbar::autoFeed, &trackbar::spread, &trackbar::grains, &trackbar::temperature,
    &trackbar::magen,    &trackbar::alter,  &trackbar::reif,   &trackbar::size};

// The nutrient a plate starts with unless the user chose otherwise: "Random".
inline constexpr bool initialRandomNutrient = true;

// Whether `position` is one the trackbar can take.
constexpr bool inRange(const TrackbarSpec& t, std::int32_t position) {
    return position >= t.lowest && position <= t.highest;
}

// The caption without its colon and with " position": "max.Magen position", how
// messages name a position read for the trackbar.
std::string positionName(const TrackbarSpec& t);

// The text of a trackbar's label at `position`: "max.Magen: 640" where the label
// shows the value, else the caption.
std::string labelText(const TrackbarSpec& t, std::int32_t position);

}  // namespace vivarix
