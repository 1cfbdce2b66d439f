// Reading make's whole input into memory: every byte as the file holds it, whatever its
// size, and a clear difference between a file that cannot be opened and one that cannot
// be read.

#include "cli/InputBytes.h"
#include "../io/TestFiles.h"
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace morvik {
namespace {

using test::TempDir;

TEST(InputBytes, AFileIsReadByteForByteAtEverySize) {
    TempDir dir;
    std::mt19937 random(7);
    // Around the 2 MB steps in which the memory is taken, and empty.
    const std::size_t step = std::size_t{2} << 20;
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{1}, step - 1, step, step + 1, 3 * step + 12345}) {
        SCOPED_TRACE(size);
        std::string bytes(size, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random()); // NULs included
        const auto file = dir / "input.json";
        test::writeBytes(file, test::Bytes(bytes.begin(), bytes.end()));
        bool opened = false;
        auto read = cli::InputBytes::readFile(file.string(), opened);
        EXPECT_TRUE(opened);
        ASSERT_TRUE(read.has_value());
        EXPECT_TRUE(read->view() == bytes);
        // Moving keeps the bytes and leaves nothing behind to be freed twice.
        cli::InputBytes moved = std::move(*read);
        EXPECT_TRUE(moved.view() == bytes);
    }
}

TEST(InputBytes, NoFileIsNotOpenedAndAFolderIsNotRead) {
    TempDir dir;
    bool opened = true;
    EXPECT_FALSE(cli::InputBytes::readFile((dir / "missing.json").string(), opened));
    EXPECT_FALSE(opened);
    EXPECT_FALSE(cli::InputBytes::readFile(dir.path().string(), opened));
    EXPECT_TRUE(opened);
}

TEST(InputBytes, AStreamIsReadToItsEnd) {
    const std::string text(3 * (std::size_t{1} << 20) + 17, 'x');
    std::istringstream in(text);
    const auto read = cli::InputBytes::readStream(in);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->view().size(), text.size());
    EXPECT_TRUE(read->view() == text);
}

} // namespace
} // namespace morvik
