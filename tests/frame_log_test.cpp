// The present-time log: times recorded in order, saved as a header and one integer a line.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "game/frame_log.hpp"

TEST(FrameLog, SavesEveryMarkInOrderUnderItsHeader) {
    TFrameLog log;
    for (int i = 0; i < 3; ++i)
        log.Mark();
    ASSERT_EQ(log.Times().size(), 3u);
    EXPECT_LE(log.Times()[0], log.Times()[1]);
    EXPECT_LE(log.Times()[1], log.Times()[2]);
    const std::string path = ::testing::TempDir() + "frame_log_test.csv";
    ASSERT_TRUE(log.Save(path));
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "present_us");
    for (long long t : log.Times()) {
        ASSERT_TRUE(std::getline(in, line));
        EXPECT_EQ(line, std::to_string(t));
    }
    EXPECT_FALSE(std::getline(in, line));
    std::remove(path.c_str());
}

TEST(FrameLog, ReportsAFileItCannotWrite) {
    TFrameLog log;
    log.Mark();
    EXPECT_FALSE(log.Save(::testing::TempDir() + "no-such-folder/frames.csv"));
}
