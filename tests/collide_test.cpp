// Collision layers: clearing, the masks of OverlapImage and the order of its hits, the pixel
// rules at image borders, alpha, mirroring and rotation, and sound handling of degenerate,
// huge and not-a-number placements.
#include <algorithm>
#include <cmath>
#include <limits>

#include "collide_fixture.hpp"
#include "platform/collide/detail/scan_walk.hpp"
#include "render_fixture.hpp"

namespace {
constexpr uint32_t kOpaque = 0xFFFFFFFF;

// Whether `image` placed at (x, y) hits anything in layer 0 (it is written nowhere).
bool Hits(const ImagePtr& image, int x, int y) {
    return OverlapImage(image, x, y, 0, 1, 0, nullptr, nullptr) > 0;
}

TEST_F(CollideTest, ClearEmptiesTheLayersOfItsMask) {
    auto image = Filled(4, 4, kOpaque);
    OverlapImage(image, 0, 0, 0, 0, -1, Id(1));  // into all 32 layers
    EXPECT_EQ(OverlapImage(image, 0, 0, 0, -1, 0).size(), 32u);
    ClearCollisionLayers(4);
    EXPECT_TRUE(OverlapImage(image, 0, 0, 0, 4, 0).empty());
    EXPECT_EQ(OverlapImage(image, 0, 0, 0, 3, 0).size(), 2u);
    EXPECT_EQ(OverlapImage(image, 0, 0, 0, int(0x80000000u), 0).size(), 1u);  // layer 31
    EXPECT_EQ(OverlapImage(image, 0, 0, 0, -1, 0).size(), 31u);
    ClearCollisionLayers(0);
    EXPECT_TRUE(OverlapImage(image, 0, 0, 0, -1, 0).empty());
}

TEST_F(CollideTest, TouchingBoxesWithoutASharedPixelDoNotCollide) {
    auto image = Filled(10, 10, kOpaque);
    OverlapImage(image, 0, 0, 0, 0, 1);
    EXPECT_TRUE(Hits(image, 9, 0));  // column 9 is shared
    EXPECT_FALSE(Hits(image, 10, 0));
    EXPECT_TRUE(Hits(image, 0, 9));  // row 9 is shared
    EXPECT_FALSE(Hits(image, 0, 10));
    EXPECT_TRUE(Hits(image, -9, -9));
    EXPECT_FALSE(Hits(image, -10, 5));
    EXPECT_FALSE(Hits(image, 3, -10));
}

TEST_F(CollideTest, SolidMeansAlphaOf128OrMore) {
    auto faint = Filled(10, 10, 0x7FFFFFFF), firm = Filled(10, 10, 0x80000000);
    OverlapImage(faint, 0, 0, 0, 0, 1);
    EXPECT_FALSE(Hits(faint, 2, 2));
    EXPECT_FALSE(Hits(firm, 2, 2));
    ClearCollisionLayers(0);
    OverlapImage(firm, 0, 0, 0, 0, 1);
    EXPECT_TRUE(Hits(firm, 2, 2));
}

TEST_F(CollideTest, PixmapsWithoutAlphaAreSolidAndOneByteAlphaIsAMask) {
    auto solid = TImage::Create(10, 10, 1, 0, 0, 0, 0);
    solid->SetPixmap(0, CreatePixmap(10, 10, PIXFMT_RGB24));  // black, no alpha
    auto alpha = TImage::Create(10, 10, 1, 0, 0, 0, 0);
    PixmapPtr a8 = CreatePixmap(10, 10, PIXFMT_A8, 1);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            a8->WritePixel(x, y, x == 9 ? 0x80000000 : 0x7F000000);  // only column 9 solid
    alpha->SetPixmap(0, a8);
    OverlapImage(solid, 0, 0, 0, 0, 1);
    EXPECT_TRUE(Hits(alpha, -9, 0));
    EXPECT_TRUE(Hits(alpha, -5, 0));
    EXPECT_FALSE(Hits(alpha, 1, 0));  // only its clear columns over the solid image
}

TEST_F(CollideTest, MasksSelectTestingAndWriting) {
    auto image = Filled(8, 8, kOpaque);
    EXPECT_TRUE(OverlapImage(image, 0, 0, 0, 0, 1, Id(1)).empty());   // only writes
    EXPECT_EQ(OverlapImage(image, 4, 4, 0, 1, 0, Id(2)).size(), 1u);  // only tests
    EXPECT_EQ(OverlapImage(image, 4, 4, 0, 1, 0, Id(3)).size(), 1u);  // still one quad
    EXPECT_TRUE(OverlapImage(image, 4, 4, 0, 2, 2).empty());          // layer 1 was empty
}

TEST_F(CollideTest, HitsComeLayerByLayerNewestFirst) {
    auto image = Filled(8, 8, kOpaque);
    auto first = Id(1), second = Id(2);
    OverlapImage(image, 0, 0, 0, 0, 3, first);
    OverlapImage(image, 2, 0, 0, 0, 2, second);
    std::vector<TCollisionId> hits;
    EXPECT_EQ(OverlapImage(image, 1, 1, 0, 3, 0, nullptr, &hits), 3);
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0], first);   // layer 0
    EXPECT_EQ(hits[1], second);  // layer 1, newest first
    EXPECT_EQ(hits[2], first);
    EXPECT_EQ(OverlapImage(image, 100, 100, 0, 3, 0, nullptr, &hits), 0);
    EXPECT_TRUE(hits.empty());
}

TEST_F(CollideTest, AnImageNeverHitsWhatItWritesInTheSameCall) {
    auto image = Filled(8, 8, kOpaque);
    EXPECT_TRUE(OverlapImage(image, 0, 0, 0, 1, 1, Id(1)).empty());
    auto id = Id(2);
    auto hits = OverlapImage(image, 0, 0, 0, 1, 1, id);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(*std::static_pointer_cast<const int>(hits[0]), 1);
    EXPECT_EQ(OverlapImage(image, 0, 0, 0, 1, 0).size(), 2u);
}

TEST_F(CollideTest, TheMaskIsTheImagesPixmapAtTestTime) {
    auto image = Filled(8, 8, kOpaque);
    OverlapImage(image, 0, 0, 0, 0, 1);
    EXPECT_TRUE(Hits(image, 4, 4));
    image->Lock(0, 1, 1)->ClearPixels(0);
    EXPECT_FALSE(Hits(Filled(8, 8, kOpaque), 4, 4));
}

TEST_F(CollideTest, MissingImagesAndFramesTouchNothing) {
    auto image = Filled(8, 8, kOpaque);
    OverlapImage(image, 0, 0, 0, 0, 1);
    EXPECT_TRUE(OverlapImage(nullptr, 0, 0, 0, 1, 1).empty());
    EXPECT_TRUE(OverlapImage(image, 0, 0, 1, 1, 1).empty());
    EXPECT_TRUE(OverlapImage(image, 0, 0, -1, 1, 1).empty());
    EXPECT_EQ(OverlapImage(image, 0, 0, 0, 1, 0).size(), 1u);  // nothing was written
}

TEST_F(CollideTest, TheHandleIsThePointPlacedAtThePosition) {
    auto image = Filled(10, 10, kOpaque);
    image->handle_x = 5, image->handle_y = 5;
    OverlapImage(image, 0, 0, 0, 0, 1);  // covers -5 .. 4
    auto dot = Filled(1, 1, kOpaque);
    EXPECT_TRUE(Hits(dot, -5, -5));
    EXPECT_TRUE(Hits(dot, 4, 4));
    EXPECT_FALSE(Hits(dot, 5, 0));
    EXPECT_FALSE(Hits(dot, 0, -6));
}

TEST_F(CollideTest, MirroredImagesCollideWhereTheirMirroredPixelsAre) {
    // Columns 0..4 opaque; drawn with x scale -1 at x = 20 they land on pixels 15..19.
    auto half = MakeImage(10, 10, [](int x, int) { return x < 5 ? kOpaque : 0u; });
    SetScale(-1, 1);
    OverlapImage(half, 20, 0, 0, 0, 1);
    SetScale(1, 1);
    auto column = Filled(1, 10, kOpaque);
    for (int x = 8; x <= 21; ++x)
        EXPECT_EQ(Hits(column, x, 0), x >= 15 && x <= 19) << "x " << x;
    ClearCollisionLayers(0);
    SetScale(-1, -1);  // turned half round: rows 0 .. 9 land on -1 .. -10
    OverlapImage(half, 20, 0, 0, 0, 1);
    SetScale(1, 1);
    auto dot = Filled(1, 1, kOpaque);
    EXPECT_TRUE(Hits(dot, 17, -3));
    EXPECT_TRUE(Hits(dot, 15, -10));
    EXPECT_FALSE(Hits(dot, 12, -3));
    EXPECT_FALSE(Hits(dot, 17, 0));
}

TEST_F(CollideTest, ARightAngleTurnsRowsIntoColumns) {
    // Row 0 opaque, row 1 clear; turned 90 degrees clockwise about (0, 0), local (1, 0) goes
    // to screen (0, 1) and row r covers the column -1 - r.
    auto rows = MakeImage(6, 2, [](int, int y) { return y == 0 ? kOpaque : 0u; });
    SetRotation(90);
    OverlapImage(rows, 0, 0, 0, 0, 1);
    SetRotation(0);
    auto dot = Filled(1, 1, kOpaque);
    EXPECT_TRUE(Hits(dot, -1, 2));
    EXPECT_TRUE(Hits(dot, -1, 5));
    EXPECT_FALSE(Hits(dot, -2, 2));
    EXPECT_FALSE(Hits(dot, 0, 2));
    EXPECT_FALSE(Hits(dot, -1, 6));
}

// A solid 1 x 1 quad over pixel (x, y).
TQuad Dot(float x, float y) {
    TQuad q;
    q.SetCoords(x, y, x + 1, y, x + 1, y + 1, x, y + 1);
    return q;
}

TEST_F(CollideTest, SpansStartWhereTheEdgeCrossesTheMiddleOfTheScanline) {
    // Edges slope 1.5 pixels per scanline; on scanline y they sit at 1.5 * (y + 0.5) from
    // their start, truncated: the left end is 2 on scanline 1 and 5 on scanline 3.
    TQuad slanted;
    slanted.SetCoords(0, 0, 10, 0, 25, 10, 15, 10);
    EXPECT_FALSE(QuadsOverlap(slanted, Dot(1, 1)));
    EXPECT_TRUE(QuadsOverlap(slanted, Dot(2, 1)));
    EXPECT_TRUE(QuadsOverlap(slanted, Dot(11, 1)));
    EXPECT_FALSE(QuadsOverlap(slanted, Dot(12, 1)));
    EXPECT_FALSE(QuadsOverlap(slanted, Dot(4, 3)));
    EXPECT_TRUE(QuadsOverlap(Dot(5, 3), slanted));
    // Truncation goes toward zero: an edge at x = -2.5 starts its spans at -2.
    TQuad left;
    left.SetCoords(-2.5f, 0, 5, 0, 5, 4, -2.5f, 4);
    EXPECT_FALSE(QuadsOverlap(left, Dot(-3, 1)));
    EXPECT_TRUE(QuadsOverlap(left, Dot(-2, 1)));
}

TEST_F(CollideTest, TheCollisionMatrixFollowsRotationAndScaleWithoutGraphics) {
    SetRotation(30);
    SetScale(2, -0.5f);
    float ix, iy, jx, jy;
    GetCollisionTransform(&ix, &iy, &jx, &jy);
    const float s = float(Sin(30)), c = float(Cos(30));
    EXPECT_EQ(ix, float(double(c) * 2.0f));
    EXPECT_EQ(iy, float(-double(s) * -0.5f));
    EXPECT_EQ(jx, float(double(s) * 2.0f));
    EXPECT_EQ(jy, float(double(c) * -0.5f));
    GetTransform(&ix, &iy, &jx, &jy);  // no graphics: the drawing record is untouched
    EXPECT_EQ(ix, 1.0f);
    EXPECT_EQ(jx, 0.0f);
}

TEST_F(RenderTest, TheCollisionMatrixIsTheDrawingMatrix) {
    SetRotation(-71.5f);
    SetScale(-1.25f, 3);
    float d[4], c[4];
    GetTransform(&d[0], &d[1], &d[2], &d[3]);
    GetCollisionTransform(&c[0], &c[1], &c[2], &c[3]);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(d[k], c[k]) << k;
    EXPECT_NE(d[0], 1.0f);
}

TEST_F(CollideTest, DegenerateQuadsHaveNoPixels) {
    auto image = Filled(10, 10, kOpaque);
    OverlapImage(image, 0, 0, 0, 0, 1);
    SetScale(0, 0);  // every corner at one point
    EXPECT_FALSE(Hits(image, 5, 5));
    SetScale(0, 1);  // a vertical line
    EXPECT_FALSE(Hits(image, 5, 0));
    SetScale(1, 0);
    EXPECT_FALSE(Hits(image, 0, 5));
    SetScale(1, 1);
    EXPECT_FALSE(Hits(Filled(0, 0, kOpaque), 5, 5));
    TQuad a, b;
    a.SetCoords(3, 3, 3, 3, 3, 3, 3, 3);
    b.SetCoords(0, 0, 10, 0, 10, 10, 0, 10);
    EXPECT_FALSE(QuadsOverlap(a, b));
    EXPECT_FALSE(QuadsOverlap(b, a));
    EXPECT_FALSE(QuadsOverlap(a, a));
}

TEST_F(CollideTest, NotANumberAndHugeCoordinatesStayInBounds) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    auto opaque = Filled(10, 10, kOpaque);
    auto clear = Filled(10, 10, 0);
    OverlapImage(opaque, 0, 0, 0, 0, 1);
    SetScale(nan, 1);
    EXPECT_FALSE(Hits(opaque, 0, 0));
    SetScale(inf, inf);
    Hits(opaque, 0, 0);  // any answer, but in bounds and finite in time
    SetRotation(45);
    Hits(opaque, 0, 0);
    SetRotation(0);
    SetScale(1e30f, 1e30f);  // spans and edges far beyond int
    EXPECT_TRUE(Hits(opaque, -5, -5));
    EXPECT_FALSE(Hits(clear, -5, -5));
    OverlapImage(opaque, -100, -100, 0, 0, 2);  // a huge quad in layer 1
    SetScale(1, 1);
    EXPECT_TRUE(OverlapImage(opaque, 50, 50, 0, 2, 0, nullptr, nullptr) == 1);
    EXPECT_EQ(OverlapImage(clear, 50, 50, 0, 2, 0, nullptr, nullptr), 0);
    EXPECT_EQ(OverlapImage(opaque, 2000000000, 2000000000, 0, 1, 0, nullptr, nullptr), 0);

    TQuad a, b;
    b.SetCoords(0, 0, 10, 0, 10, 10, 0, 10);
    a.SetCoords(nan, nan, nan, nan, nan, nan, nan, nan);
    EXPECT_FALSE(QuadsOverlap(a, b));
    a.SetCoords(2, 2, nan, 2, 8, 8, 2, nan);
    QuadsOverlap(a, b);
    QuadsOverlap(b, a);
    a.SetCoords(-inf, 0, inf, 0, inf, inf, -inf, inf);
    EXPECT_TRUE(QuadsOverlap(a, b));  // infinities stop at the far field, which covers b
    a.SetCoords(-3e9f, 0, 3e9f, 0, 3e9f, 3e9f, -3e9f, 3e9f);
    b.SetCoords(-4e9f, 1, 4e9f, 1, 4e9f, 2, -4e9f, 2);
    EXPECT_TRUE(QuadsOverlap(a, b));  // solid quads: the first shared pixel decides
    b.SetCoords(-4e9f, 0, 4e9f, 0, 4e9f, 4e9f, -4e9f, 4e9f);
    b.mask = clear->Lock(0, 1, 0);
    a.SetCoords(0, 0, 3, 0, 3, 3, 0, 3);
    EXPECT_FALSE(QuadsOverlap(a, b));  // a transparent giant has no solid texel anywhere
}
}  // namespace

// The texel of each overlap pixel is found in double precision: u starts at u_left plus half a
// pixel's step and grows by the step. This span is chosen so that at its 28th pixel the exact
// sum lies just inside column 4 of an 8-texel row, while a float sum has crossed into column 5.
TEST(CollideSpans, TheTexelColumnIsFoundInDoublePrecision) {
    using namespace collide_detail;
    const PixmapPtr mask = CreatePixmap(8, 1, PIXFMT_BGRA32);
    mask->pixels[5 * 4 + 3] = 0xFF;  // only column 5 is solid
    TRPoly textured, solid;
    textured.texture = mask.get();
    const float left[4] = {0, 0, 0x1.03126ep-1f, 0.5f}, right[4] = {35, 0, 0x1.509ddcp-1f, 0.5f};
    std::copy(left, left + 4, textured.ldat);
    std::copy(right, right + 4, textured.rdat);
    solid.ldat[0] = 0, solid.rdat[0] = 28;  // the overlap is pixels 0 to 27
    double u = double(left[2]), du = (double(right[2]) - left[2]) / 35;
    u += 0.5 * du;
    for (int k = 0; k < 27; ++k)
        u += du;
    ASSERT_EQ(FloatToInt(u * 8), 4);  // the oracle: pixel 27 samples column 4
    TRPoly* active[2] = {&solid, &textured};
    EXPECT_FALSE(SpansOverlap(active, 2));
    solid.rdat[0] = 29;  // pixel 28 reaches column 5 either way
    EXPECT_TRUE(SpansOverlap(active, 2));
}
