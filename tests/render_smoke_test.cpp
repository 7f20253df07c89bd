#include "render_fixture.hpp"

TEST_F(RenderTest, Smoke) {
    SetColor(255, 0, 0);
    DrawRect(2, 3, 4, 5);
    EXPECT_EQ(Pixel(2, 3), 0xFFFF0000u);
    EXPECT_EQ(Pixel(5, 7), 0xFFFF0000u);
    EXPECT_EQ(Pixel(6, 7), 0xFF000000u);
    EXPECT_EQ(Pixel(5, 8), 0xFF000000u);
    SetColor(255, 255, 255);
    DrawText("A", 10, 10);
    auto s = Screen();
    for (int y = 10; y < 26; ++y) {
        for (int x = 10; x < 18; ++x)
            printf("%c", (s->ReadPixel(x, y) & 0xFFFFFF) ? '#' : '.');
        printf("\n");
    }
}
