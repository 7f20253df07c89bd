// The README's screenshot can still be made: docs/screenshot.sh gives a 1280 x 500 picture
// that matches the committed docs/screenshot.png up to a software renderer's rounding (not
// byte for byte: another processor may round a blend differently).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tool_files.hpp"

namespace fs = std::filesystem;

namespace {
TEST(ReadmeScreenshot, IsMadeAgainAsCommitted) {
    const fs::path dir =
        fs::temp_directory_path() / ("orbitrants-shot-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path shot = dir / "screenshot.png";
    const std::string command = "bash " + std::string(ORB_SOURCE_DIR) + "/docs/screenshot.sh " +
                                ORB_BINARY_DIR + " " + shot.string();
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    int w = 0, h = 0, cw = 0, ch = 0;
    const auto made = ReadPng(shot, &w, &h);
    const auto committed = ReadPng(fs::path(ORB_SOURCE_DIR) / "docs" / "screenshot.png", &cw, &ch);
    fs::remove_all(dir);
    ASSERT_EQ(w, 1280);
    ASSERT_EQ(h, 500);
    ASSERT_EQ(cw, w);
    ASSERT_EQ(ch, h);
    ASSERT_EQ(made.size(), committed.size());
    // A pixel counts as different where a channel is off by more than a blend's rounding.
    size_t different = 0;
    for (size_t i = 0; i < made.size(); i += 4) {
        int worst = 0;
        for (size_t c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(int(made[i + c]) - int(committed[i + c])));
        different += worst > 24;
    }
    EXPECT_LT(different, size_t(w) * h / 1000) << different << " pixels differ";
}
}  // namespace
