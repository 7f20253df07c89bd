// The box blur: its edge rules, running sums and the threaded form.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "generate/blur.hpp"

namespace {
std::vector<float> Field(int w, int h, float value = 0) {
    return std::vector<float>(static_cast<size_t>(w) * h, value);
}

TEST(BlurTest, RadiusZeroAndConstantFieldsAreUnchanged) {
    const int w = 9, h = 7;
    auto f = Field(w, h), s = Field(w, h);
    for (size_t i = 0; i < f.size(); ++i)
        f[i] = static_cast<float>(i % 5) * 0.25f;
    const auto before = f;
    blur(0, f.data(), s.data(), w, h);
    EXPECT_EQ(f, before);
    auto c = Field(w, h, 0.3f);
    blur(3, c.data(), s.data(), w, h);
    for (float v : c)
        ASSERT_FLOAT_EQ(v, 0.3f);
}

TEST(BlurTest, ImpulseBecomesASquareAndKeepsItsSum) {
    const int w = 20, h = 20, radius = 2;
    auto f = Field(w, h), s = Field(w, h);
    f[10 + 10 * w] = 1.0f;
    blur(radius, f.data(), s.data(), w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool inside = x >= 8 && x <= 12 && y >= 8 && y <= 12;
            EXPECT_NEAR(f[x + y * w], inside ? 1.0 / 25 : 0.0, 1e-7) << x << "," << y;
        }
    }
    EXPECT_NEAR(std::accumulate(f.begin(), f.end(), 0.0), 1.0, 1e-6);
}

TEST(BlurTest, StartMirrorsAndEndRepeats) {
    const int w = 6, h = 3;
    // A one at x = 1: the window at 0 reads -1 (mirrored to 1), 0 and 1.
    auto f = Field(w, h), s = Field(w, h);
    f[1] = 1.0f;
    blur(1, f.data(), s.data(), w, h);
    EXPECT_FLOAT_EQ(s[0], 2.0f / 3);
    EXPECT_FLOAT_EQ(s[1], 1.0f / 3);
    EXPECT_FLOAT_EQ(s[2], 1.0f / 3);
    EXPECT_FLOAT_EQ(s[3], 0.0f);
    // A one in the last column: position n reads n - 1.
    auto g = Field(w, h), t = Field(w, h);
    g[w - 1] = 1.0f;
    blur(1, g.data(), t.data(), w, h);
    EXPECT_FLOAT_EQ(t[w - 1], 2.0f / 3);
    EXPECT_FLOAT_EQ(t[w - 2], 1.0f / 3);
    EXPECT_FLOAT_EQ(t[w - 3], 0.0f);
}

TEST(BlurTest, ThreadedBlurGivesTheSameFloats) {
    // Wider than one column block, so the vertical pass sweeps several blocks.
    const int w = 150, h = 41;
    auto a = Field(w, h), sa = Field(w, h);
    for (size_t i = 0; i < a.size(); ++i)
        a[i] = static_cast<float>((i * 2654435761u) % 1000) / 999.0f;
    auto b = a, sb = sa;
    for (int pass = 0; pass < 3; ++pass) {
        blur(4, a.data(), sa.data(), w, h);
        blur_threads(4, b.data(), sb.data(), w, h, 2);
    }
    EXPECT_EQ(a, b);
    EXPECT_EQ(sa, sb);
}

TEST(BlurTest, RowsMatchAPlainRunningSumPerRow) {
    const int w = 300, h = 11, radius = 4;  // several chunks of a row and a short last one
    auto f = Field(w, h), s = Field(w, h);
    for (size_t i = 0; i < f.size(); ++i)
        f[i] = static_cast<float>((i * 104729) % 89) / 3.0f;
    const auto src = f;
    blur(radius, f.data(), s.data(), w, h);
    const auto map = [&](int i) { return i < 0 ? -i : (i > w - 1 ? w - 1 : i); };
    for (int y = 0; y < h; ++y) {
        double sum = 0;
        for (int j = -radius; j <= radius; ++j)
            sum += src[map(j) + y * w];
        ASSERT_EQ(s[y * w], static_cast<float>(sum / 9));
        for (int x = 1; x < w; ++x) {
            sum += src[map(x + radius) + y * w];
            sum -= src[map(x - radius - 1) + y * w];
            ASSERT_EQ(s[x + y * w], static_cast<float>(sum / 9)) << x << "," << y;
        }
    }
}

TEST(BlurTest, ColumnsMatchAPlainRunningSumPerColumn) {
    const int w = 70, h = 13, radius = 3;
    auto f = Field(w, h), s = Field(w, h);
    for (size_t i = 0; i < f.size(); ++i)
        f[i] = static_cast<float>((i * 7919) % 97) / 7.0f;
    blur(radius, f.data(), s.data(), w, h);
    // One column at a time, as the text builds it, from the horizontal pass in `s`.
    const auto map = [&](int i) { return i < 0 ? -i : (i > h - 1 ? h - 1 : i); };
    for (int x = 0; x < w; ++x) {
        double sum = 0;
        for (int j = -radius; j <= radius; ++j)
            sum += s[x + map(j) * w];
        ASSERT_EQ(f[x], static_cast<float>(sum / 7));
        for (int y = 1; y < h; ++y) {
            sum += s[x + map(y + radius) * w];
            sum -= s[x + map(y - radius - 1) * w];
            ASSERT_EQ(f[x + y * w], static_cast<float>(sum / 7)) << x << "," << y;
        }
    }
}
}  // namespace
