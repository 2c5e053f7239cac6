// Numbers of the controls of the panel, shared by the panel that creates them and
// the simulation procedures that read their state, and what one step of each
// trackbar the simulation reads is worth.
#pragma once

#include <array>
#include <cstdint>

namespace vivarix::control {

inline constexpr std::int32_t magenLabel = 2;
inline constexpr std::int32_t magenTrackbar = 3;   // stomachCapacity = position * stomachPerStep
inline constexpr std::int32_t alterLabel = 4;
inline constexpr std::int32_t alterTrackbar = 5;   // maxAge = position * lifespanPerStep
inline constexpr std::int32_t reifLabel = 6;
inline constexpr std::int32_t reifTrackbar = 7;    // maturityAge = position * maturityPerStep
inline constexpr std::int32_t newPlateButton = 8;
inline constexpr std::int32_t inspectorView = 9;
inline constexpr std::int32_t autoLabel = 12;
inline constexpr std::int32_t tabPanel = 13;
inline constexpr std::int32_t autoTrackbar = 14;   // autoFeedAmount = position * autoFeedPerStep
inline constexpr std::int32_t temperatureLabel = 15;
inline constexpr std::int32_t temperatureTrackbar = 16;
inline constexpr std::int32_t sizeLabel = 17;      // also the "About" credit text
inline constexpr std::int32_t sizeTrackbar = 18;
inline constexpr std::int32_t nutrientLabel = 19;
inline constexpr std::int32_t spreadLabel = 20;
inline constexpr std::int32_t spreadTrackbar = 21;  // manual feeding spread = position * spreadPerStep
inline constexpr std::int32_t grainsLabel = 22;
inline constexpr std::int32_t grainsTrackbar = 23;  // manual feeding count = position * grainsPerStep
inline constexpr std::int32_t aboutView = 24;
inline constexpr std::int32_t kindButton = 28;
inline constexpr std::int32_t statsButton = 31;
inline constexpr std::int32_t magnifierButton = 32;
inline constexpr std::int32_t randomOption = 52;   // "Initial Nutrium:" Random (1 = selected)
inline constexpr std::int32_t emptyOption = 54;
inline constexpr std::int32_t seedLabel = 55;       // "About": the session's seed
// The one group of options: selecting one clears the other.
inline constexpr std::array<std::int32_t, 2> nutrientOptions = {randomOption, emptyOption};

// Trackbar position -> the value it sets.
inline constexpr std::int32_t autoFeedPerStep = 8;    // units dropped per tick
inline constexpr std::int32_t stomachPerStep = 32;    // stomachCapacity of a placed creature
inline constexpr std::int32_t lifespanPerStep = 64;   // maxAge
inline constexpr std::int32_t maturityPerStep = 16;   // maturityAge
inline constexpr std::int32_t spreadPerStep = 4;      // width of the manual feeding square
inline constexpr std::int32_t grainsPerStep = 2;      // manual feeding: 9 times this many attempts

}  // namespace vivarix::control
