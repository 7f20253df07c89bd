// orbitrants-dump run as a program: its files, their sizes and a few values.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/base/numbers.hpp"
#include "support/icon_tile.hpp"
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

namespace {
// The number after "\"key\": " in `json` (0 when missing).
double JsonNumber(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\": ");
    return at == std::string::npos ? 0 : std::stod(json.substr(at + key.size() + 4));
}

TEST_F(DumpToolTest, WritesTheFirstEnemyAsStartUpMakesIt) {
    const auto text = ReadFile(*dir_ / "enemy.json");
    const std::string json(text.begin(), text.end());
    // The enemy reseeds from the clock and draws red, green and its trait.
    SeedRandom(kClock);
    const float red = RandomFloat(), green = RandomFloat(), trait = RandomFloat();
    const int S = 36 + FloatToInt(Floor(14 * double{trait}));
    EXPECT_EQ(JsonNumber(json, "size"), S);
    EXPECT_EQ(static_cast<float>(JsonNumber(json, "random")), trait);
    EXPECT_EQ(static_cast<float>(JsonNumber(json, "max_speed")),
              static_cast<float>(double{1.2f} - double{0.6f} * trait));
    EXPECT_EQ(static_cast<float>(JsonNumber(json, "rot_accuracy")),
              static_cast<float>(double{0.995f} - double{0.095f} * trait));
    EXPECT_EQ(JsonNumber(json, "r"), 170 * (double{0.8f} + double{0.2f} * red));
    EXPECT_EQ(JsonNumber(json, "g"), 210 * (double{0.8f} + double{0.2f} * green));
    EXPECT_EQ(JsonNumber(json, "b"), 255);
    const int margin = FloatToInt(double{0.3f} * S);
    EXPECT_NE(json.find("\"borders\": [" + std::to_string(FloatToInt(1280 - double{0.3f} * S)) +
                        ", " + std::to_string(FloatToInt(500 - double{0.3f} * S)) + ", " +
                        std::to_string(margin) + ", " + std::to_string(margin) + "]"),
              std::string::npos)
        << json;

    const std::string dims = std::to_string(S) + "x" + std::to_string(S);
    EXPECT_EQ(fs::file_size(*dir_ / ("enemy_bump." + dims + ".f32")), uintmax_t(S) * S * 4);
    int w = 0, h = 0;
    const auto ship = ReadPng(*dir_ / "enemy_ship.png", &w, &h);
    ASSERT_EQ(ship.size(), size_t(S) * S * 4);
    EXPECT_EQ(w, S);
    EXPECT_EQ(ship[3], 0);                              // a clear corner
    EXPECT_EQ(ship[(S / 2 + S / 2 * S) * 4 + 0], 255);  // a white dome
    EXPECT_GT(ship[(S / 2 + S / 2 * S) * 4 + 3], 250);
    const auto shadow = ReadPng(*dir_ / "enemy_shadow.png", &w, &h);
    ASSERT_EQ(shadow.size(), size_t(S) * S * 4);
    EXPECT_EQ(shadow[(S / 2 + S / 2 * S) * 4 + 0], 0);  // black, at most half opaque
    EXPECT_LE(shadow[(S / 2 + S / 2 * S) * 4 + 3], 128);

    const auto rng = ReadFile(*dir_ / "rng.txt");
    EXPECT_NE(std::string(rng.begin(), rng.end())
                  .find("\nafter_enemy " + std::to_string(RandomJump(kClock, 3)) + "\n"),
              std::string::npos);
}

TEST_F(DumpToolTest, EnemyFilesRepeatByteForByte) {
    const fs::path again = *dir_ / "enemy-again";
    const std::string tool = std::string(ORB_BINARY_DIR) + "/tools/orbitrants-dump ";
    ASSERT_EQ(
        std::system((tool + again.string() + " --clock " + std::to_string(kClock) + " > /dev/null")
                        .c_str()),
        0);
    int compared = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(*dir_)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("enemy", 0) != 0 && name != "rng.txt") continue;
        if (entry.is_directory()) continue;
        EXPECT_EQ(ReadFile(again / name), ReadFile(entry.path())) << name;
        ++compared;
    }
    EXPECT_EQ(compared, 5);  // ship, shadow, height field, scalars, generator states
}
}  // namespace

namespace {
std::string DumpTool() {
    return std::string(ORB_BINARY_DIR) + "/tools/orbitrants-dump";
}

// Runs a shell command; its exit status (-1 when it did not exit), standard error in `err`.
int RunShell(const std::string& command, const fs::path& err_file, std::string* err) {
    const int status = std::system((command + " > /dev/null 2> " + err_file.string()).c_str());
    const auto bytes = ReadFile(err_file);
    err->assign(bytes.begin(), bytes.end());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A fresh folder of its own for a test.
fs::path TestFolder(const std::string& name) {
    const fs::path dir =
        fs::temp_directory_path() / ("orbitrants-dump-" + name + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// True when this process may mount a file system in a mount namespace of its own (root in a
// machine or container that allows it); permissions alone do not stop root.
bool CanMount(const fs::path& at) {
    return std::system(
               ("unshare -m sh -c 'mount -t tmpfs tmpfs " + at.string() + "' > /dev/null 2>&1")
                   .c_str()) == 0;
}

// The file names in `dir` that are temporaries left behind.
std::vector<std::string> Leftovers(const fs::path& dir) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir))
        if (entry.path().filename().string().find(".tmp-") != std::string::npos)
            names.push_back(entry.path().filename().string());
    return names;
}

TEST(DumpToolFailures, WithoutOpenGLItSaysSoAndWritesNothing) {
    const fs::path dir = TestFolder("no-gl");
    std::string err;
    EXPECT_EQ(RunShell("SDL_VIDEODRIVER=dummy " + DumpTool() + " " + (dir / "out").string(),
                       dir / "err.txt", &err),
              1);
    EXPECT_NE(err.find("orbitrants-dump: cannot open graphics"), std::string::npos) << err;
    EXPECT_TRUE(fs::is_empty(dir / "out"));
    fs::remove_all(dir);
}

TEST(DumpToolFailures, AnUnwritablePathIsNamed) {
    const fs::path dir = TestFolder("unwritable");
    std::ofstream(dir / "plain") << "a file, not a folder";
    std::string err;
    // A folder under a regular file cannot be made, root or not.
    EXPECT_EQ(RunShell(DumpTool() + " " + (dir / "plain" / "out").string(), dir / "err.txt", &err),
              1);
    EXPECT_NE(err.find("cannot create " + (dir / "plain" / "out").string()), std::string::npos)
        << err;
    // A full disk: the icon to /dev/full fails on its writes and the device stays a device.
    EXPECT_EQ(RunShell(DumpTool() + " --icon /dev/full", dir / "err.txt", &err), 1);
    EXPECT_NE(err.find("cannot write /dev/full: No space left on device"), std::string::npos)
        << err;
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    EXPECT_EQ(RunShell(DumpTool() + " --icon " + (dir / "plain" / "icon.png").string(),
                       dir / "err.txt", &err),
              1);
    EXPECT_NE(err.find("cannot write " + (dir / "plain" / "icon.png").string() + ": Not a dir"),
              std::string::npos)
        << err;
    fs::remove_all(dir);
}

TEST(DumpToolFailures, AReadOnlyFolderIsNamed) {
    const fs::path dir = TestFolder("read-only");
    fs::create_directories(dir / "ro");
    if (!CanMount(dir / "ro")) GTEST_SKIP() << "no mount namespace here for a read-only folder";
    std::string err;
    EXPECT_EQ(RunShell("unshare -m sh -c 'mount -t tmpfs -o ro tmpfs " + (dir / "ro").string() +
                           " && exec " + DumpTool() + " " + (dir / "ro").string() + "'",
                       dir / "err.txt", &err),
              1);
    EXPECT_NE(err.find("cannot write " + (dir / "ro" / "vignette.png").string() +
                       ": Read-only file system"),
              std::string::npos)
        << err;
    fs::remove_all(dir);
}

// The disk fills half-way through the dump: the tool names the file it was writing, and every
// file left under its final name is whole (the same bytes as a full run's), with no
// temporaries left behind.
TEST_F(DumpToolTest, AFullDiskLeavesOnlyWholeFiles) {
    const fs::path dir = TestFolder("full-disk");
    fs::create_directories(dir / "small");
    fs::create_directories(dir / "kept");
    if (!CanMount(dir / "small")) GTEST_SKIP() << "no mount namespace here for a small disk";
    const std::string small = (dir / "small").string();
    std::string err;
    EXPECT_EQ(
        RunShell("unshare -m sh -c 'mount -t tmpfs -o size=1m tmpfs " + small + "; " + DumpTool() +
                     " " + small + " --clock " + std::to_string(kClock) + "; status=$?; cp -a " +
                     small + "/. " + (dir / "kept").string() + "; exit $status'",
                 dir / "err.txt", &err),
        1);
    EXPECT_NE(err.find("No space left on device"), std::string::npos) << err;
    EXPECT_TRUE(Leftovers(dir / "kept").empty());
    int whole = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir / "kept")) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(ReadFile(entry.path()), ReadFile(*dir_ / name)) << name;
        ++whole;
    }
    EXPECT_GT(whole, 0);
    EXPECT_FALSE(fs::exists(dir / "kept" / "rng.txt"));  // the last file never came
    fs::remove_all(dir);
}

// The luminance of an RGBA pixel, 0..255.
double Luma(const uint8_t* p) {
    return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
}

TEST(DumpToolIcon, WritesTheLitShipOnALegiblePlateAtEachSize) {
    const fs::path dir = TestFolder("icon");
    std::string err;
    for (const int size : {16, 64, 256}) {
        SCOPED_TRACE(size);
        const fs::path path = dir / ("icon" + std::to_string(size) + ".png");
        const std::string sized = size == 64 ? "" : " --size " + std::to_string(size);
        ASSERT_EQ(RunShell(DumpTool() + " --icon " + path.string() + sized, dir / "err.txt", &err),
                  0)
            << err;
        int w = 0, h = 0;
        const auto icon = ReadPng(path, &w, &h);
        ASSERT_EQ(w, size);
        ASSERT_EQ(h, size);
        auto at = [&](int x, int y) { return &icon[(x + y * size) * 4]; };
        EXPECT_EQ(at(0, 0)[3], 0);                // the plate's rounded corner is clear
        EXPECT_EQ(at(size - 1, size - 1)[3], 0);  // and so is the opposite one
        // On a dark panel the plate shows by its light rim, on a light one by its dark fill:
        // down the middle column from the top, the first opaque pixel is light, and just
        // inside the rim the fill is dark.
        int y = 0;
        while (y < size / 2 && at(size / 2, y)[3] < 255)
            ++y;
        ASSERT_LT(y, size / 4);
        EXPECT_GT(Luma(at(size / 2, y)), 140);
        const int inside = y + std::max(2, size / 16);
        EXPECT_LT(Luma(at(size / 2, inside)), 70);
        // The ship is what the icon adds to the plate alone (the plate of a clear sprite). Lit
        // from the upper left, it adds more light on its left half than on its right (the
        // plate is the same on both sides).
        const PixmapPtr clear = CreatePixmap(64, 64, PIXFMT_RGBA32);
        const PixmapPtr plate = IconTile(*clear, size);
        ASSERT_TRUE(plate);
        int ship = 0;
        double left = 0, right = 0;
        for (int py = 0; py < size; ++py) {
            for (int px = 0; px < size; ++px) {
                const uint8_t* q = plate->PixelPtr(px, py);
                const double added = Luma(at(px, py)) - Luma(q);
                ship += std::abs(added) > 8;
                (px < size / 2 ? left : right) += added;
            }
        }
        EXPECT_GT(ship, size * size / 16);
        EXPECT_GT(left, right);
    }
    EXPECT_TRUE(Leftovers(dir).empty());
    EXPECT_EQ(RunShell(DumpTool() + " --icon", dir / "err.txt", &err), 1);
    EXPECT_EQ(RunShell(DumpTool() + " " + dir.string() + " --icon " + (dir / "i.png").string(),
                       dir / "err.txt", &err),
              1);
    fs::remove_all(dir);
}
}  // namespace
