// Instances share nothing: two of them on two threads give what each gives alone.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "record_test_util.h"

using namespace rectest;

TEST(RecordThreads, InstancesOnTwoThreadsMatchTheirLoneRuns) {
    const int on[6] = {1, 1, 1, 1, 1, 1};
    std::vector<uint8_t> p16 = params(1, 2, on), p48 = params(2, 1, on);
    std::vector<int16_t> a = integer_scene(160 * 200, 1, 9000), b = integer_scene(160 * 200, 2, 4000);
    std::vector<int16_t> c = integer_scene(480 * 100, 3, 15000);
    auto run16 = [&](std::vector<int16_t> &o1, std::vector<int16_t> &o2) {
        Core core(p16.data());
        ASSERT_EQ(0, core.run(a, b, o1, o2));
    };
    auto run48 = [&](std::vector<int16_t> &o1, std::vector<int16_t> &o2) {
        Core core(p48.data());
        ASSERT_EQ(0, core.run(c, std::vector<int16_t>(), o1, o2));
    };
    std::vector<int16_t> lone16a, lone16b, lone48a, lone48b, t16a, t16b, t48a, t48b;
    run16(lone16a, lone16b);
    run48(lone48a, lone48b);
    std::thread t1([&] { run16(t16a, t16b); });
    std::thread t2([&] { run48(t48a, t48b); });
    t1.join();
    t2.join();
    EXPECT_EQ(t16a, lone16a);
    EXPECT_EQ(t16b, lone16b);
    EXPECT_EQ(t48a, lone48a);
    EXPECT_EQ(t48b, lone48b);
}
