// The Qt desktop tests run in one Qt application, started before the first test.
#include <gtest/gtest.h>

#include "qt_test_support.h"

namespace {

class QtEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        // Starting Qt takes a desktop; the tests make their own.
        vivarix::Graphics none;
        vivarix::qttest::newDesktop(none);
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);
    return RUN_ALL_TESTS();
}
