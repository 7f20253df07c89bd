// Development-time generator of the constants in src/platform/base/elementary_*: pieces of
// pi/2 and ln 2, the digits of 2/pi, Taylor coefficients and the tables of sine and cosine and
// of the power function, printed as hexadecimal doubles. Not part of the build:
//   cc -O1 tools/elementary_constants.c -o /tmp/elementary_constants -lmpfr -lgmp
#include <mpfr.h>
#include <stdio.h>
#include <stdint.h>
#define P 2000
static mpfr_t t, u;
// Prints v split as hi + lo doubles, advancing v -= hi + lo.
static void dd(const char* name, mpfr_t v) {
    double hi = mpfr_get_d(v, MPFR_RNDN);
    mpfr_sub_d(t, v, hi, MPFR_RNDN);
    double lo = mpfr_get_d(t, MPFR_RNDN);
    printf("%s{%a, %a}", name, hi, lo);
}
// Prints the leading `bits` bits of v (rounded toward zero) and subtracts them.
static double chunk(mpfr_t v, int bits) {
    mpfr_t c; mpfr_init2(c, bits);
    mpfr_set(c, v, MPFR_RNDZ);
    double d = mpfr_get_d(c, MPFR_RNDN);
    mpfr_sub_d(v, v, d, MPFR_RNDN);
    mpfr_clear(c);
    return d;
}
int main(void) {
    mpfr_inits2(P, t, u, (mpfr_ptr)0);
    mpfr_t v; mpfr_init2(v, P);
    // pi/2 in four pieces: three of 33 bits, one of 53.
    mpfr_const_pi(v, MPFR_RNDN); mpfr_div_2ui(v, v, 1, MPFR_RNDN);
    printf("// pi/2\n");
    for (int i = 0; i < 3; ++i) printf("%a\n", chunk(v, 33));
    printf("%a\n", chunk(v, 53));
    mpfr_const_pi(v, MPFR_RNDN); mpfr_div_2ui(v, v, 1, MPFR_RNDN);
    dd("pio2 dd ", v); printf("\n");
    mpfr_const_pi(v, MPFR_RNDN); mpfr_ui_div(v, 2, v, MPFR_RNDN);
    printf("2/pi %a\n", mpfr_get_d(v, MPFR_RNDN));
    // 2/pi as 32-bit words after the binary point.
    printf("// 2/pi words\n");
    for (int i = 0; i < 48; ++i) {
        mpfr_mul_2ui(v, v, 32, MPFR_RNDN);
        mpfr_floor(t, v);
        unsigned long w = mpfr_get_ui(t, MPFR_RNDN);
        mpfr_sub(v, v, t, MPFR_RNDN);
        printf("0x%08lx,%s", w, i % 6 == 5 ? "\n" : " ");
    }
    // Reciprocal factorials 1/n!
    printf("// 1/n!\n");
    mpfr_set_ui(v, 1, MPFR_RNDN);
    for (int n = 1; n <= 24; ++n) {
        mpfr_div_ui(v, v, n, MPFR_RNDN);
        mpfr_set(u, v, MPFR_RNDN);
        printf("%d ", n); dd("", u); printf("\n");
    }
    // asin series: c_n = (2n)! / (4^n (n!)^2 (2n+1))
    printf("// asin c_n\n");
    mpfr_t c; mpfr_init2(c, P); mpfr_set_ui(c, 1, MPFR_RNDN);  // (2n)!/(4^n n!^2)
    for (int n = 1; n <= 34; ++n) {
        mpfr_mul_ui(c, c, 2 * n - 1, MPFR_RNDN);
        mpfr_div_ui(c, c, 2 * n, MPFR_RNDN);
        mpfr_div_ui(u, c, 2 * n + 1, MPFR_RNDN);
        printf("%d ", n); dd("", u); printf("\n");
    }
    // ln2 pieces: two of 42 bits, one of 53; ln2/64 pieces of 36, 36, 53.
    mpfr_const_log2(v, MPFR_RNDN);
    printf("// ln2\n"); printf("%a\n", chunk(v, 42)); printf("%a\n", chunk(v, 42)); printf("%a\n", chunk(v, 53));
    mpfr_const_log2(v, MPFR_RNDN); mpfr_div_2ui(v, v, 6, MPFR_RNDN);
    printf("// ln2/64\n"); printf("%a\n", chunk(v, 36)); printf("%a\n", chunk(v, 36)); printf("%a\n", chunk(v, 53));
    mpfr_const_log2(v, MPFR_RNDN); mpfr_ui_div(v, 64, v, MPFR_RNDN);
    printf("64/ln2 %a\n", mpfr_get_d(v, MPFR_RNDN));
    // 2^(j/64) as double-doubles.
    printf("// exp2 table\n");
    for (int j = 0; j < 64; ++j) {
        mpfr_set_ui(v, j, MPFR_RNDN); mpfr_div_ui(v, v, 64, MPFR_RNDN);
        mpfr_ui_pow(v, 2, v, MPFR_RNDN);
        dd("", v); printf(",%s", j % 2 ? "\n" : " ");
    }
    // log table: inv_i = 1/(1 + (i + 0.5)/128) rounded to 24 bits; -log(inv_i) as dd.
    printf("// log table\n");
    mpfr_t q; mpfr_init2(q, 24);
    for (int i = 0; i < 128; ++i) {
        mpfr_set_ui(v, 2 * i + 1, MPFR_RNDN); mpfr_div_ui(v, v, 256, MPFR_RNDN);
        mpfr_add_ui(v, v, 1, MPFR_RNDN);
        mpfr_ui_div(q, 1, v, MPFR_RNDN);
        if (i == 0) mpfr_set_ui(q, 1, MPFR_RNDN);
        double inv = mpfr_get_d(q, MPFR_RNDN);
        mpfr_set_d(v, inv, MPFR_RNDN);
        mpfr_log(v, v, MPFR_RNDN); mpfr_neg(v, v, MPFR_RNDN);
        printf("{%a, ", inv); dd("", v); printf("},\n");
    }
    // sin and cos of j/64 for j = 0..51 as double-doubles.
    printf("// sin cos table\n");
    for (int j = 0; j < 52; ++j) {
        mpfr_set_ui(v, j, MPFR_RNDN); mpfr_div_ui(v, v, 64, MPFR_RNDN);
        mpfr_sin(u, v, MPFR_RNDN);
        printf("{"); dd("", u);
        mpfr_cos(u, v, MPFR_RNDN);
        printf(", "); dd("", u); printf("},\n");
    }
    return 0;
}
