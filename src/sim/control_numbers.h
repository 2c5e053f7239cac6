// Numbers of the controls of the panel, shared by the panel that creates them and
// the simulation procedures that read their state.
#pragma once

#include <cstdint>

namespace vivarix::control {

inline constexpr std::int32_t magenLabel = 2;
inline constexpr std::int32_t magenTrackbar = 3;   // stomachCapacity = position * 32
inline constexpr std::int32_t alterLabel = 4;
inline constexpr std::int32_t alterTrackbar = 5;   // maxAge = position * 64
inline constexpr std::int32_t reifLabel = 6;
inline constexpr std::int32_t reifTrackbar = 7;    // maturityAge = position * 16
inline constexpr std::int32_t newPlateButton = 8;
inline constexpr std::int32_t inspectorView = 9;
inline constexpr std::int32_t autoLabel = 12;
inline constexpr std::int32_t tabPanel = 13;
inline constexpr std::int32_t autoTrackbar = 14;   // autoFeedAmount = position * 8
inline constexpr std::int32_t temperatureLabel = 15;
inline constexpr std::int32_t temperatureTrackbar = 16;
inline constexpr std::int32_t sizeLabel = 17;      // also the "About" credit text
inline constexpr std::int32_t sizeTrackbar = 18;
inline constexpr std::int32_t nutrientLabel = 19;
inline constexpr std::int32_t spreadLabel = 20;
inline constexpr std::int32_t spreadTrackbar = 21;  // manual feeding spread = position * 4
inline constexpr std::int32_t grainsLabel = 22;
inline constexpr std::int32_t grainsTrackbar = 23;  // manual feeding count = position * 2
inline constexpr std::int32_t aboutView = 24;
inline constexpr std::int32_t kindButton = 28;
inline constexpr std::int32_t statsButton = 31;
inline constexpr std::int32_t magnifierButton = 32;
inline constexpr std::int32_t randomOption = 52;   // "Initial Nutrium:" Random (1 = selected)
inline constexpr std::int32_t emptyOption = 54;

}  // namespace vivarix::control
