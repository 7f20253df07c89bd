// orbitrants-replay run as a program: the trace's header, columns and number format, shots as
// PNG, repeatable runs, script and argument errors, and a shot that Escape did not let happen.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tool_files.hpp"

namespace fs = std::filesystem;

namespace {
class ReplayToolTest : public ::testing::Test {
  protected:
    fs::path dir;

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("orbitrants-replay-test-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path Write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name) << text;
        return dir / name;
    }
    // Runs the tool with `args`; its exit status, with standard error in `err`.
    int Run(const std::string& args, std::string* err = nullptr) {
        const fs::path err_file = dir / "stderr.txt";
        const std::string command = std::string(ORB_BINARY_DIR) + "/tools/orbitrants-replay " +
                                    args + " > /dev/null 2> " + err_file.string();
        const int status = std::system(command.c_str());
        if (err) {
            const auto bytes = ReadFile(err_file);
            err->assign(bytes.begin(), bytes.end());
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::vector<std::string> Lines(const fs::path& path) {
        std::ifstream in(path);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
};

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream in(line);
    for (std::string cell; std::getline(in, cell, ',');)
        cells.push_back(cell);
    return cells;
}

TEST_F(ReplayToolTest, WritesATraceRowPerPassAndTheShotsAskedFor) {
    const fs::path script = Write("in.txt",
                                  "# turn, thrust, let go\n"
                                  "0 move 700 250\n"
                                  "1 down 1   # thrust\n"
                                  "\n"
                                  "6 up 1\n");
    const fs::path trace = dir / "trace.csv";
    const std::string args = "--frames 12 --clock 7 --input " + script.string() + " --trace " +
                             trace.string() + " --shot 3:" + (dir / "a.png").string() +
                             " --shot 11:" + (dir / "b.png").string();
    ASSERT_EQ(Run(args), 0);
    const auto lines = Lines(trace);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0],
              "pass,ship_x,ship_y,ship_vx,ship_vy,ship_thrust,heading,carrying,deliveries,"
              "wave_size,wave_time,relocate_clock,the_hole_x,the_hole_y,enemies,trails,paused");
    const auto first = Split(lines[1]);
    ASSERT_EQ(first.size(), 17u);
    EXPECT_EQ(first[0], "0");
    EXPECT_EQ(first[1], "640");
    EXPECT_EQ(first[6], "10");           // heading
    EXPECT_EQ(first[10], "99.9950027");  // %.9g of the float 100 - 0.005
    EXPECT_EQ(first[11], "301");
    EXPECT_EQ(Split(lines[12])[0], "11");
    EXPECT_EQ(Split(lines[12])[16], "0");
    const auto thrusting = Split(lines[3]);
    EXPECT_NE(thrusting[5], "0");  // ship_thrust
    for (const char* shot : {"a.png", "b.png"}) {
        int w = 0, h = 0;
        EXPECT_EQ(ReadPng(dir / shot, &w, &h).size(), 1280u * 500 * 4) << shot;
        EXPECT_EQ(w, 1280);
        EXPECT_EQ(h, 500);
    }
    // The same run again gives the same trace.
    const fs::path again = dir / "again.csv";
    ASSERT_EQ(
        Run("--frames 12 --clock 7 --input " + script.string() + " --trace " + again.string()), 0);
    EXPECT_EQ(ReadFile(again), ReadFile(trace));
}

TEST_F(ReplayToolTest, EscapeEndsTheRunAndAShotItPreventedIsAnError) {
    const fs::path script = Write("in.txt", "2 key 27\n");
    const fs::path trace = dir / "trace.csv";
    std::string err;
    EXPECT_EQ(Run("--frames 50 --input " + script.string() + " --trace " + trace.string() +
                      " --shot 40:" + (dir / "late.png").string(),
                  &err),
              1);
    EXPECT_NE(err.find("no shot of pass 40"), std::string::npos) << err;
    EXPECT_EQ(Lines(trace).size(), 4u);  // header and passes 0 to 2
    EXPECT_FALSE(fs::exists(dir / "late.png"));
}

TEST_F(ReplayToolTest, RejectsBadScriptsAndArgumentsBeforeStarting) {
    std::string err;
    const fs::path bad = Write("bad.txt", "0 move 1 2\n3 jump 4\n");
    EXPECT_EQ(Run("--frames 5 --input " + bad.string(), &err), 1);
    EXPECT_NE(err.find("line 2: unknown kind 'jump'"), std::string::npos) << err;
    const std::pair<const char*, const char*> scripts[] = {
        {"0 key 256\n", "key code"},     {"0 down 4\n", "button"},
        {"-1 up 1\n", "pass number"},    {"0 move 5\n", "move needs"},
        {"0 leave now\n", "unexpected"}, {"x key 27\n", "pass number"},
    };
    for (const auto& [text, message] : scripts) {
        const fs::path file = Write("s.txt", text);
        EXPECT_EQ(Run("--frames 5 --input " + file.string(), &err), 1) << text;
        EXPECT_NE(err.find(message), std::string::npos) << text << ": " << err;
    }
    for (const char* args : {"", "--frames", "--frames 0", "--frames 5x", "--frames 5 --clock",
                             "--frames 5 --shot 5:x.png", "--frames 5 --shot x.png",
                             "--frames 5 --input /nonexistent/in.txt", "--frames 5 --bogus 1"}) {
        EXPECT_EQ(Run(args, &err), 1) << args;
        EXPECT_FALSE(err.empty()) << args;
    }
}
}  // namespace
