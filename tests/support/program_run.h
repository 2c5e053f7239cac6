// Running a program's main procedure inside the test process, and a folder of the
// test's own for the files it writes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace vivarix::test {

struct Outcome {
    int status;
    std::string out;  // what the program wrote to standard output
    std::string err;  // and to standard error
};

using MainProcedure = int (*)(int argc, char** argv, std::ostream& out, std::ostream& err);

// Calls `main` with argv = {name, args...}.
Outcome runMain(MainProcedure main, const char* name, std::vector<std::string> args);

// The lines of a text, without their line ends.
std::vector<std::string> lines(const std::string& text);

// A file's whole content; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);

// A folder for one test under the temporary directory, made before and removed
// with everything in it after the test.
class ScratchDir : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::filesystem::path dir;
};

}  // namespace vivarix::test
