// Programs run without a shell get exactly the arguments, input and environment given,
// whatever characters the arguments hold: the ones shells and Windows command lines treat
// specially, and Chinese as in the names of the inspectors' files.

#include "tests/support/RunProgram.h"
#include "../io/TestFiles.h"
#include <gtest/gtest.h>
#include <random>

namespace morvik {
namespace {

TEST(RunProgram, RandomArgumentsInputAndEnvironmentArriveUnchanged) {
    const std::vector<std::string> pieces = {
        "a", "Z", " ", "\t", "\"", "\\", "\\\\", "'",        "$HOME",   "*",  "%PATH%", "^",
        "&", "|", "<", ">",  ";",  "\n", "墙",   "砂浆.stl", "C:\\x\\", "-o", "="};
    std::mt19937 random(20170503);
    const test::TempDir dir;
    constexpr int kRuns = 60;
    constexpr int kMostArguments = 6;
    constexpr int kMostPieces = 5;
    for (int run = 0; run < kRuns; ++run) {
        std::vector<std::string> args(random() % (kMostArguments + 1));
        for (std::string& arg : args)
            for (std::size_t n = random() % (kMostPieces + 1); n > 0; --n)
                arg += pieces[random() % pieces.size()];
        std::string expected;
        for (const std::string& arg : args)
            expected += arg + '\0';
        test::ProgramOptions options;
        const std::string value = pieces[random() % pieces.size()] + "值";
        options.environment = {{"MORVIK_ECHO", value}};
        options.input = dir / "in";
        const std::string input = "line 1\r\nline 2\n" + std::to_string(run);
        test::writeBytes(options.input, test::Bytes(input.begin(), input.end()));

        const test::ProgramResult result = test::runProgram(MORVIK_ECHO_PATH, args, options);
        ASSERT_EQ(result.out, expected + value + '\0') << "run " << run;
        EXPECT_EQ(result.err, input);
        EXPECT_EQ(result.status, static_cast<int>(args.size()));
    }
    // Without input or variables: the null device, and the tests' own environment.
    const test::ProgramResult plain = test::runProgram(MORVIK_ECHO_PATH, {""});
    EXPECT_EQ(plain.out, std::string("\0(unset)\0", 9));
    EXPECT_EQ(plain.err, "");
    EXPECT_EQ(plain.status, 1);
    EXPECT_EQ(test::runProgram((dir / "none").string(), {}).status, -1);
}

} // namespace
} // namespace morvik
