#include <gtest/gtest.h>

#include <array>

#include "platform/core/controls.h"

namespace vivarix {
namespace {

TEST(HeadlessControls, SelectingAnOptionClearsTheOthersOfItsGroupOnly) {
    HeadlessControls controls;
    constexpr std::array<std::int32_t, 3> group = {52, 53, 54};
    controls.groupOptions(group);
    controls.setControlState(60, 1);  // an option of no group
    controls.setControlState(52, 1);
    controls.setControlState(54, 1);
    EXPECT_EQ(controls.getControlState(52), 0);
    EXPECT_EQ(controls.getControlState(53), 0);
    EXPECT_EQ(controls.getControlState(54), 1);
    EXPECT_EQ(controls.getControlState(60), 1);
    controls.setControlState(54, 0);  // clearing one selects none of the others
    EXPECT_EQ(controls.getControlState(52), 0);
    EXPECT_EQ(controls.getControlState(54), 0);
}

}  // namespace
}  // namespace vivarix
