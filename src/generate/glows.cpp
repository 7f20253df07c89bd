// Radial glows and rings: five images from one radial value with per-image alpha and colour
// formulas, and the ten-segment ring drawn frame by frame. Draws no random numbers.
// Depends on numbers.hpp and images.

#include <vector>

#include "generate/generate_util.hpp"
#include "generate/generators.hpp"

using namespace gen;

namespace {
constexpr int kFixedGlowSize = 128;  // glow_blue and glow_red
constexpr int kRingFrames = 11;

// ARGB of a radial image from its radial value f (1 at the centre, 0 at radius c and beyond).
using RadialColour = uint32_t (*)(double f);

// 1 at the centre, falling linearly to 0 at distance c and beyond.
double RadialValue(float x, float y, double c) {
    const double D = (x - c) * (x - c) + (y - c) * (y - c);
    const double d = D == 0 ? 0.0 : Sqrt(D) / c;
    double f = 1 - d;
    if (!(f >= 0)) f = 0;
    return f;
}

// Writes every pixel of `pix` (n x n, centre c) as colour(f), columns sliced over threads.
void WriteRadial(TPixmap& pix, double c, RadialColour colour, int threads) {
    const int n = pix.width;
    ForSlices(n, threads, [&](int x0, int x1) {
        for (float x = x0; x < x1; x += 1) {
            for (float y = 0; y < n; y += 1)
                PutPixel(pix, ToInt(x), ToInt(y), colour(RadialValue(x, y, c)));
        }
    });
}

// Creates an n x n image with flags 11 and writes it radially; returns its pixmap.
PixmapPtr RadialImage(ImagePtr& image, int n, double c, RadialColour colour, int threads) {
    image = CreateImage(n, n, 1, 11);
    PixmapPtr pix = LockImage(image, 0, 1, 1);
    WriteRadial(*pix, c, colour, threads);
    UnlockImage(image, 0);
    return pix;
}

uint32_t Pack(int a, int r, int g, int b) {
    return static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(r) << 16 |
           static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b);
}

double P(double f, float exponent) {
    return Pow(f, exponent);
}

uint32_t BlueColour(double f) {
    const int a = ToInt(50 * P(f, 0.5f) - 60 * P(f, 0.8f) + 255 * P(f, 8));
    return Pack(a, ToInt(255 * P(f, 8)), ToInt(255 * P(f, 5)), 255);
}

uint32_t RedColour(double f) {
    const int a = ToInt(50 * P(f, 0.5f) - 60 * P(f, 0.8f) + 100 * P(f, 2) + 155 * P(f, 5));
    return Pack(a, 255, ToInt(255 * P(f, 3)), ToInt(255 * P(f, 8)));
}

uint32_t RingColour(double f) {
    const int a = f < Single(0.04f) ? ToInt(255 * Sin(f / Single(0.04f) * 180)) : 0;
    return Pack(a, 255, 255, 255);
}

uint32_t HoleGlowColour(double f) {
    return Pack(ToInt(255 * P(f, 0.4f)), 255, 255, 255);
}

uint32_t WhiteColour(double f) {
    const int grey = ToInt(255 * P(f, 0.4f));
    return Pack(ToInt(255 * P(f, 0.2f)), grey, grey, grey);
}

// A ring_segments pixel apart from the frame: its angle before the frame's turn and the
// alpha it shows when its segment is lit.
struct SegmentPixel {
    double theta;
    int alpha;
};

// Angle and band alpha of pixel (x, y) around centre c; the same in every frame.
SegmentPixel SegmentGeometry(float x, float y, double c) {
    double ax = x - c, ay = y - c;
    double D = ax * ax + ay * ay;
    if (D != 0) {
        D = Sqrt(D);
        ax = ax / (-D), ay = ay / D;
        D = D / (c * Single(0.9f));
    }
    double theta = ASin(ay);
    if (!(ax >= 0)) theta = 180 - theta;
    double v = 1 - D;
    if (!(v >= 0)) v = 0;
    v = v >= Single(0.32f) ? 0 : Pow(Sin(v / Single(0.32f) * 180), Single(0.2f));
    return {theta, ToInt(v * 255)};
}

// Alpha of a pixel in frame k: hidden in the 2-degree gap after each boundary and wherever
// the turned angle is negative (FMod keeps the sign).
int SegmentAlpha(const SegmentPixel& p, float k) {
    const double theta = p.theta - 270 + 36.0 * k;
    return FModPositive(theta, 36) <= 2 ? 0 : p.alpha;
}
}  // namespace

void generate_glow_blue(Content& content, int threads) {
    RadialImage(content.glow_blue, kFixedGlowSize, kFixedGlowSize * Single(0.5f), BlueColour,
                threads);
}

void generate_glow_red(Content& content, int threads) {
    RadialImage(content.glow_red, kFixedGlowSize, kFixedGlowSize * Single(0.5f), RedColour,
                threads);
}

void generate_ring(Content& content, int threads) {
    content.ring = CreateImage(content.ring_size, content.ring_size, 1, 11);
    content.work_pix = LockImage(content.ring, 0, 1, 1);
    WriteRadial(*content.work_pix, content.ring_half, RingColour, threads);
    UnlockImage(content.ring, 0);
}

void generate_ring_segments(Content& content, int threads) {
    const int n = content.ring_size;
    const double c = content.ring_half;
    content.ring_segments = CreateImage(n, n, kRingFrames, 11);
    std::vector<SegmentPixel> geometry(static_cast<size_t>(n) * n);
    ForSlices(n, threads, [&](int x0, int x1) {
        for (float x = x0; x < x1; x += 1) {
            for (float y = 0; y < n; y += 1)
                geometry[ToInt(x + static_cast<double>(y) * n)] = SegmentGeometry(x, y, c);
        }
    });
    for (float k = 0; k < kRingFrames; k += 1) {
        content.work_pix = LockImage(content.ring_segments, ToInt(k), 1, 1);
        TPixmap& pix = *content.work_pix;
        for (float x = 0; x < n; x += 1) {
            for (float y = 0; y < n; y += 1) {
                const SegmentPixel& p = geometry[ToInt(x + static_cast<double>(y) * n)];
                PutPixel(pix, ToInt(x), ToInt(y), Argb(SegmentAlpha(p, k), 0xFFDDCC));
            }
        }
        UnlockImage(content.ring_segments, ToInt(k));
    }
}

void generate_hole_glow(Content& content, int threads) {
    const int n = content.hole_glow_size = ToInt(content.hole_size * Single(0.88f));
    content.hole_glow = CreateImage(n, n, 1, 11);
    content.work_pix = LockImage(content.hole_glow, 0, 1, 1);
    WriteRadial(*content.work_pix, n * Single(0.5f), HoleGlowColour, threads);
    UnlockImage(content.hole_glow, 0);
}

void generate_glow_white(Content& content, int threads) {
    const int n = content.glow_white_size;
    content.glow_white_pix =
        RadialImage(content.glow_white, n, n * Single(0.5f), WhiteColour, threads);
}
