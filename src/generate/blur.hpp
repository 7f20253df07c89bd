// Separable box blur of a float field with running sums. Depends on nothing but the
// column-slicing helper for its threaded form.
#pragma once

// Blurs the width x height `field` in place with a box of 2 * radius + 1; `scratch` (same
// size) receives the horizontal pass. The start of a row or column mirrors about its first
// sample, the end repeats its last. Allocates nothing; returns 0.
int blur(int radius, float* field, float* scratch, int width, int height);
// The same blur with each pass split over `threads` (rows, then columns); identical result.
int blur_threads(int radius, float* field, float* scratch, int width, int height, int threads);
