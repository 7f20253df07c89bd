// The tools' whole-number parser and the replay script parser on text that only looks like a
// number: an embedded NUL byte (found by fuzzing) no longer ends the number early.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/replay_script.hpp"
#include "support/tool_args.hpp"

namespace {
TEST(ToolArgs, WholeNumbersOnlyAndTheWholeText) {
    int v = 0;
    EXPECT_TRUE(ParseWholeNumber("-2147483648", &v));
    EXPECT_EQ(v, INT_MIN);
    EXPECT_TRUE(ParseWholeNumber("+0007", &v));
    EXPECT_EQ(v, 7);
    v = 5;
    for (const std::string& bad :
         {std::string("2147483648"), std::string(" 1"), std::string("1 "), std::string(""),
          std::string("0x10"), std::string("9\0x", 3), std::string("9\0", 2)})
        EXPECT_FALSE(ParseWholeNumber(bad, &v)) << bad;
    EXPECT_EQ(v, 5);
}

TEST(ToolArgs, AScriptLineWithANulByteIsRejected) {
    TReplayScript script;
    std::string error;
    EXPECT_FALSE(ParseReplayScript(std::string("1 key 8\0 9", 10), &script, &error));
    EXPECT_EQ(error.rfind("line 1:", 0), 0u) << error;
    EXPECT_TRUE(ParseReplayScript("1 key 8\n", &script, &error));
}
}  // namespace
