// Instances used from several threads at once give the streams they give alone.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "vqe_resample.h"

namespace {

std::vector<int16_t> convert(int in, int out, const std::vector<int16_t> &x) {
    RES_Resampler *r = vx_resample_create(in, out, 1);
    std::vector<int16_t> y, buf(2048 * 6);
    for (size_t at = 0; at < x.size(); at += 480) {
        int n = vx_resample_process(r, x.data() + at, 480, buf.data());
        y.insert(y.end(), buf.begin(), buf.begin() + std::max(n, 0));
    }
    vx_resample_destroy(r);
    return y;
}

} // namespace

TEST(ResThreads, ConcurrentInstancesStayIndependent) {
    std::vector<int16_t> x(480 * 50);
    for (size_t i = 0; i < x.size(); i++) {
        x[i] = int16_t((i * 40503u) & 0x7FFF) - 16384;
    }
    const int pairs[4][2] = {{8000, 16000}, {44100, 48000}, {48000, 8000}, {48000, 44100}};
    std::vector<std::vector<int16_t>> alone, together(8);
    for (auto &p : pairs) {
        alone.push_back(convert(p[0], p[1], x));
    }
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; t++) {
        threads.emplace_back([&, t] { together[size_t(t)] = convert(pairs[t % 4][0], pairs[t % 4][1], x); });
    }
    for (auto &th : threads) {
        th.join();
    }
    for (int t = 0; t < 8; t++) {
        EXPECT_EQ(together[size_t(t)], alone[size_t(t % 4)]) << t;
    }
}
