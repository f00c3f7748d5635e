// The filter tables: unity gain of every output phase, no possible overflow of the 32-bit
// sums, the stopband each design promises, the phase-step tables, and that the checked-in
// tables are what the generator produces.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" {
#include "res_internal.h"
#include "res_tables.h"
}

namespace {

const double kPi = 3.14159265358979323846;

// Magnitude in dB, relative to `unity`, of a filter of taps h at frequency f (cycles/sample).
double gain_db(const std::vector<double> &h, double f, double unity) {
    std::complex<double> rot = std::polar(1.0, -2.0 * kPi * f), w = 1.0, acc = 0.0;
    for (double v : h) {
        acc += v * w;
        w *= rot;
    }
    return 20.0 * std::log10(std::abs(acc) / unity + 1e-30);
}

// Worst (highest) gain over [f0, f1] of the filter's rate, sampled on n points plus both ends.
double worst_db(const std::vector<double> &h, double f0, double f1, int n, double unity) {
    double worst = -400.0;
    for (int i = 0; i <= n; i++) {
        worst = std::max(worst, gain_db(h, f0 + (f1 - f0) * i / n, unity));
    }
    return worst;
}

struct Design {
    double stop; // stopband edge, units of the lower rate
    double atten;
    double pass; // passband edge
};

// Full prototype of a half-filter table: row r, tap k sits at T L + k L + r and its mirror.
std::vector<double> prototype(const int16_t *rows, int l, int t) {
    std::vector<double> h(size_t(2 * t * l));
    for (int r = 0; r < l; r++) {
        for (int k = 0; k < t; k++) {
            h[size_t(t * l + k * l + r)] = rows[r * t + k];
            h[size_t(t * l - 1 - k * l - r)] = rows[r * t + k];
        }
    }
    return h;
}

void expect_design(const std::vector<double> &h, int rate_factor, double unity, const Design &d,
                   const std::string &name) {
    // Frequencies in units of the lower rate; the filter runs at rate_factor times it.
    double nyq = rate_factor / 2.0;
    double near_end = std::min(nyq, 2.0);
    double stop = std::max(worst_db(h, d.stop / rate_factor, near_end / rate_factor, 1500, unity),
                           worst_db(h, near_end / rate_factor, nyq / rate_factor, 1500, unity));
    EXPECT_LE(stop, -d.atten) << name << ": stopband from " << d.stop;
    for (int i = 0; i <= 20; i++) {
        double g = gain_db(h, d.pass * i / 20.0 / rate_factor, unity);
        EXPECT_NEAR(g, 0.0, 0.05) << name << " at " << d.pass * i / 20.0;
    }
    std::printf("%-30s stopband %.1f dB\n", name.c_str(), -stop);
}

// Largest absolute coefficient sum of a run of taps summed in 32 bits (see res_dot16).
int abs_sum(const int16_t *a, int n) {
    int worst = 0;
    for (int i0 = 0; i0 < n; i0 += RES_DOT_RUN) {
        int s = 0;
        for (int i = i0; i < n && i < i0 + RES_DOT_RUN; i++) {
            s += std::abs(a[i]);
        }
        worst = std::max(worst, s);
    }
    return worst;
}

} // namespace

TEST(ResFilters, IntegerRatioFiltersHaveUnityGainAndTheirStopband) {
    struct Up {
        const int16_t *rows;
        int k, taps;
        Design d;
        const char *name;
    } ups[] = {
        {RES_g_up2_coef, 2, 32, {0.58, 75, 0.42}, "1:2"},
        {RES_g_up4_coef, 4, 8, {0.68, 62, 0.15}, "1:4"},
        {RES_g_up6_coef, 6, 8, {0.68, 62, 0.16}, "1:6"},
    };
    for (const Up &u : ups) {
        std::vector<double> h(size_t(u.k * u.taps));
        for (int k = 0; k < u.k; k++) {
            const int16_t *row = u.rows + k * u.taps;
            int sum = 0;
            for (int j = 0; j < u.taps; j++) {
                sum += row[j];
                h[size_t(u.k * (u.taps - 1 - j) + k)] = row[j];
            }
            EXPECT_EQ(sum, 32768) << u.name << " row " << k;
            EXPECT_LT(abs_sum(row, u.taps), 65536) << u.name;
        }
        expect_design(h, u.k, u.k * 32768.0, u.d, u.name);
    }
    struct Down {
        const int16_t *h;
        int n, k;
        Design d;
        const char *name;
    } downs[] = {
        {RES_g_down2_coef, 32, 2, {0.65, 70, 0.35}, "2:1"},
        {RES_g_down4_coef, 32, 4, {0.68, 62, 0.12}, "4:1"},
        {RES_g_down6_coef, 48, 6, {0.68, 62, 0.16}, "6:1"},
    };
    for (const Down &d : downs) {
        int sum = 0;
        for (int i = 0; i < d.n; i++) {
            sum += d.h[i];
        }
        EXPECT_EQ(sum, 32768) << d.name;
        EXPECT_LT(abs_sum(d.h, d.n), 65536) << d.name;
        for (int i = 0; i < d.n / 2; i++) {
            if (d.n == 32 && d.k == 4) {
                EXPECT_EQ(d.h[i], d.h[29 - i]) << d.name << " symmetric";
            } else {
                EXPECT_EQ(d.h[i], d.h[d.n - 1 - i]) << d.name << " symmetric";
            }
        }
        std::vector<double> h(d.h, d.h + d.n);
        expect_design(h, d.k, 32768.0, d.d, d.name);
    }
    EXPECT_EQ(RES_g_down4_coef[30], 0);
    EXPECT_EQ(RES_g_down4_coef[31], 0);
}

TEST(ResFilters, PolyphaseTablesHaveUnityPhasesStepsAndStopband) {
    for (int mid = 0; mid < 2; mid++) {
        for (size_t i = 0; res_poly_table_at(mid, i) != nullptr; i++) {
            const res_poly_table *t = res_poly_table_at(mid, i);
            std::string name =
                std::to_string(t->in_rate) + "->" + std::to_string(t->out_rate) + (mid ? " mid" : " good");
            int same_rate = t->in_rate == t->out_rate;
            int g = res_gcd(t->in_rate, t->out_rate);
            int l = t->out_rate / g, m = t->in_rate / g;
            ASSERT_EQ(t->steps_len, l) << name;
            ASSERT_EQ(t->taps, mid || same_rate ? 8 : 16) << name;
            ASSERT_EQ(t->rows, same_rate ? 64 : l) << name;
            if (same_rate) {
                EXPECT_EQ(t->steps[0], (0u << 20) | (63u << 8) | 2u);
            } else {
                for (int phi = 0; phi < l; phi++) {
                    uint32_t n = uint32_t((phi + m) % l);
                    uint32_t adv = uint32_t((phi + m) / l);
                    ASSERT_EQ(t->steps[phi], (n << 20) | ((uint32_t(l) - 1 - n) << 8) | (2 * adv))
                        << name << " phase " << phi;
                }
            }
            // Every output phase: backward row n and forward row rows-1-n together.
            for (int n = 0; n < t->rows; n++) {
                const int16_t *b = t->coef + n * t->taps;
                const int16_t *a = t->coef + (t->rows - 1 - n) * t->taps;
                int sum = 0;
                for (int k = 0; k < t->taps; k++) {
                    sum += a[k] + b[k];
                }
                ASSERT_EQ(sum, 32768) << name << " phase " << n;
                ASSERT_LT(abs_sum(a, t->taps), 65536) << name;
                ASSERT_LT(abs_sum(b, t->taps), 65536) << name;
            }
            // Tables shared by several pairs are checked once, under their first pair.
            bool first = true;
            for (size_t j = 0; j < i; j++) {
                first = first && res_poly_table_at(mid, j)->coef != t->coef;
            }
            if (first) {
                Design d = (mid || same_rate) ? Design{0.63, 62, 0.37} : Design{0.58, 75, 0.42};
                expect_design(prototype(t->coef, t->rows, t->taps), t->rows, t->rows * 32768.0, d, name);
            }
        }
    }
}

TEST(ResFilters, PolyphaseStepsOf8000To12000) {
    const res_poly_table *t = res_find_poly_table(8000, 12000);
    ASSERT_NE(t, nullptr);
    // next 2, forward 0, advance 0; next 0, forward 2, advance 1; next 1, forward 1, advance 1
    EXPECT_EQ(t->steps[0], (2u << 20) | (0u << 8) | 0u);
    EXPECT_EQ(t->steps[1], (0u << 20) | (2u << 8) | 2u);
    EXPECT_EQ(t->steps[2], (1u << 20) | (1u << 8) | 2u);
}

// The 1:2 interpolator and the 8000 -> 16000 table hold the same prototype.
TEST(ResFilters, OneToTwoMatchesItsPolyphaseTable) {
    std::vector<double> a(64), b(64);
    for (int k = 0; k < 2; k++) {
        for (int j = 0; j < 32; j++) {
            a[size_t(2 * (31 - j) + k)] = RES_g_up2_coef[k * 32 + j];
        }
    }
    std::vector<double> p = prototype(RES_g_res_8_16_good_filttab, 2, 16);
    EXPECT_EQ(a, p);
}

TEST(ResFilters, CheckedInTablesAreTheGeneratorsOutput) {
    const char *src = std::getenv("RECORDER_SOURCE_DIR");
    if (src == nullptr) {
        GTEST_SKIP() << "RECORDER_SOURCE_DIR not set";
    }
    std::string dir = std::string(src) + "/audio/resample";
    std::string out = ::testing::TempDir() + "/res_tables_regen.c";
    std::string cmd = "python3 " + dir + "/tools/gen_res_tables.py --output " + out + " && cmp -s " + out +
                      " " + dir + "/src/res_tables.c";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::remove(out.c_str());
}
