// orbitrants-dump run as a program: its files, their sizes and a few values.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/base/numbers.hpp"
#include "tool_files.hpp"

namespace fs = std::filesystem;

namespace {
constexpr int kClock = 2024;

class DumpToolTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new fs::path(fs::temp_directory_path() /
                            ("orbitrants-dump-test-" + std::to_string(getpid())));
        fs::remove_all(*dir_);
        const std::string command = std::string(ORB_BINARY_DIR) + "/tools/orbitrants-dump " +
                                    dir_->string() + " --clock " + std::to_string(kClock) +
                                    " > /dev/null";
        status_ = std::system(command.c_str());
    }
    static void TearDownTestSuite() {
        fs::remove_all(*dir_);
        delete dir_;
    }
    void SetUp() override { ASSERT_EQ(status_, 0); }

    static inline fs::path* dir_ = nullptr;
    static inline int status_ = -1;
};

TEST_F(DumpToolTest, WritesEveryFileWithItsSize) {
    const std::pair<const char*, uintmax_t> raw[] = {
        {"walk_map.1280x500.f32", 1280u * 500 * 4},
        {"player_bump.64x64.f32", 64u * 64 * 4},
        {"player_normx.64x64.f32", 64u * 64 * 4},
        {"player_normy.64x64.f32", 64u * 64 * 4},
        {"player_normz.64x64.f32", 64u * 64 * 4},
        {"player_soft.64x64.f32", 64u * 64 * 4},
        {"player_silhouette.64x64.f32", 64u * 64 * 4},
        {"hole_height.80x80.f32", 80u * 80 * 4},
        {"hole_mask.64x80x80.u8", 64u * 80 * 80},
        {"hole_normx.64x80x80.f32", 64u * 80 * 80 * 4},
        {"hole_normy.64x80x80.f32", 64u * 80 * 80 * 4},
        {"hole_normz.64x80x80.f32", 64u * 80 * 80 * 4},
        {"grid_gaps.256.i32", 256u * 4},
    };
    for (const auto& [name, size] : raw)
        EXPECT_EQ(fs::file_size(*dir_ / name), size) << name;
    const std::pair<std::string, int> images[] = {
        {"vignette", 1280},        {"backdrop", 1280},    {"maze", 1280},
        {"player_ship", 64},       {"player_shadow", 64}, {"glow_blue", 128},
        {"glow_red", 128},         {"ring", 128},         {"hole_glow", 70},
        {"hole_img", 80},          {"glow_white", 128},   {"ring_segments.0", 128},
        {"ring_segments.10", 128}, {"backdrop_pix", 1280}};
    for (const auto& [name, side] : images) {
        int w = 0, h = 0;
        EXPECT_FALSE(ReadPng(*dir_ / (name + ".png"), &w, &h).empty()) << name;
        EXPECT_EQ(w, side) << name;
    }
    EXPECT_FALSE(fs::exists(*dir_ / "ring_segments.11.png"));
    EXPECT_FALSE(fs::exists(*dir_ / "ring_segments.png"));
}

TEST_F(DumpToolTest, ValuesMatchTheGenerators) {
    int w = 0, h = 0;
    const auto vignette = ReadPng(*dir_ / "vignette.png", &w, &h);
    ASSERT_EQ(vignette.size(), 1280u * 500 * 4);
    const auto at = [&](int x, int y) { return &vignette[(x + y * 1280) * 4]; };
    EXPECT_EQ(std::memcmp(at(0, 0), "\xFF\xFF\xFF\xFF", 4), 0);      // opaque white frame
    EXPECT_EQ(std::memcmp(at(640, 250), "\xFF\xFF\xFF\x00", 4), 0);  // clear centre
    const auto glow = ReadPng(*dir_ / "glow_blue.png", &w, &h);
    ASSERT_EQ(glow.size(), 128u * 128 * 4);
    EXPECT_EQ(glow[(64 + 64 * 128) * 4 + 3], 245);  // straight alpha, not premultiplied
    EXPECT_EQ(glow[(64 + 64 * 128) * 4 + 0], 255);

    const auto rng = ReadFile(*dir_ / "rng.txt");
    const std::string expected = "after_generation " + std::to_string(RandomJump(kClock, 80001));
    EXPECT_EQ(std::string(rng.begin(), rng.end()).substr(0, expected.size()), expected);

    const auto gaps = ReadFile(*dir_ / "grid_gaps.256.i32");
    ASSERT_EQ(gaps.size(), 1024u);
    for (size_t i = 0; i < 256; ++i) {
        int32_t g = 0;
        std::memcpy(&g, &gaps[i * 4], 4);
        ASSERT_TRUE(g >= 20 && g <= 512) << i;
    }
    const auto mask = ReadFile(*dir_ / "hole_mask.64x80x80.u8");
    ASSERT_EQ(mask.size(), 64u * 6400);
    EXPECT_EQ(static_cast<uint8_t>(mask[40 + 40 * 80]), 255);  // stage 0 centre
    const auto normz = ReadFile(*dir_ / "player_normz.64x64.f32");
    float corner = 0;
    std::memcpy(&corner, normz.data(), 4);
    EXPECT_EQ(corner, 1.0f);
}

TEST_F(DumpToolTest, RunsRepeatAndBadArgumentsFail) {
    const fs::path again = *dir_ / "again";
    const std::string tool = std::string(ORB_BINARY_DIR) + "/tools/orbitrants-dump ";
    ASSERT_EQ(
        std::system((tool + again.string() + " --clock " + std::to_string(kClock) + " > /dev/null")
                        .c_str()),
        0);
    EXPECT_EQ(ReadFile(again / "maze.png"), ReadFile(*dir_ / "maze.png"));
    EXPECT_EQ(ReadFile(again / "walk_map.1280x500.f32"), ReadFile(*dir_ / "walk_map.1280x500.f32"));
    EXPECT_NE(std::system((tool + "> /dev/null 2>&1").c_str()), 0);
    EXPECT_NE(std::system((tool + again.string() + " --clock soon > /dev/null 2>&1").c_str()), 0);
}
}  // namespace
