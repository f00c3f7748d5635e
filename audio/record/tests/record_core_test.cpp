// The core: init and parameter checks, markers, the stored record, versions, rate modes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "record_test_util.h"

using namespace rectest;

namespace {

const int kAllOn[6] = {1, 1, 1, 1, 1, 1};
const int kAllOff[6] = {0, 0, 0, 0, 0, 0};

int init_with(std::vector<uint8_t> p, int32_t size = ZORVO_RECORD_MEM_SIZE) {
    std::vector<uint64_t> mem(ZORVO_RECORD_MEM_SIZE / 8 + 1);
    void *h = nullptr;
    return zorvo_record_init(&h, mem.data(), size, p.data());
}

} // namespace

TEST(RecordCore, InitResultCodes) {
    std::vector<uint8_t> p = params(1, 1, kAllOn);
    std::vector<uint64_t> mem(ZORVO_RECORD_MEM_SIZE / 8);
    void *h = nullptr;
    int32_t size = 0;
    EXPECT_EQ(0, zorvo_record_get_size(&size));
    EXPECT_EQ(size, 164368);
    EXPECT_EQ(-1, zorvo_record_init(nullptr, mem.data(), size, p.data()));
    EXPECT_EQ(-6, zorvo_record_init(&h, nullptr, size, p.data()));
    EXPECT_EQ(-4, zorvo_record_init(&h, mem.data(), size, nullptr));
    EXPECT_EQ(-7, init_with(p, size - 1));
    EXPECT_EQ(0, init_with(p));
    auto with = [&](int off, int v) {
        std::vector<uint8_t> q = p;
        q[(size_t)off] = (uint8_t)v;
        return init_with(q);
    };
    EXPECT_EQ(-9, with(ZR_OFF_RATE_MODE, 4));
    EXPECT_EQ(-11, with(ZR_OFF_OUT_NUM, 0));
    EXPECT_EQ(-11, with(ZR_OFF_OUT_NUM, 4));
    EXPECT_EQ(-16, with(ZR_OFF_DELAY_FRAMES, 4));
    EXPECT_EQ(-17, with(ZR_OFF_OUT_NUM, 3));
    EXPECT_EQ(-17, with(ZR_OFF_MIC_NUM, 0));
    EXPECT_EQ(-17, with(ZR_OFF_MIC_NUM, 3));
    EXPECT_EQ(-15, with(ZR_OFF_EQ_ON, 2));
    std::vector<uint8_t> q = p;
    q[ZR_OFF_AUX_MODE] = 4;
    q[ZR_OFF_OUT_NUM] = 3;
    EXPECT_EQ(0, init_with(q)) << "three outputs with aux_mode above 3";
    q = p;
    q[ZR_OFF_RATE_MODE] = 0;
    q[ZR_OFF_MIC_NUM] = 3;
    EXPECT_EQ(-9, init_with(q));
    q = p;
    q[ZR_OFF_HDR + 8] = 0; // gain_step 0
    EXPECT_EQ(-106, init_with(q));
    q = p;
    q[ZR_OFF_HLPF] = 2;
    EXPECT_EQ(-615, init_with(q));
    const int32_t *version = nullptr;
    EXPECT_EQ(-3, zorvo_record_get_version(nullptr));
    ASSERT_EQ(0, zorvo_record_get_version(&version));
    EXPECT_EQ(version[0], 200000000);
}

TEST(RecordCore, StoredRecordAndSetParams) {
    std::vector<uint8_t> p = params(2, 2, kAllOn);
    p[ZR_OFF_AUX_MODE] = 2; // forces the high/low-pass stage off
    Core c(p.data());
    ASSERT_EQ(c.init_result, 0);
    uint8_t got[ZORVO_RECORD_PARAMS_SIZE];
    ASSERT_EQ(0, zorvo_record_get_params(c.h, got));
    EXPECT_EQ(got[ZR_OFF_HLPF_ON], 0);
    std::vector<uint8_t> q = p;
    q[ZR_OFF_MC_ON] = 2;
    EXPECT_EQ(-15, zorvo_record_set_params(c.h, q.data()));
    uint8_t after[ZORVO_RECORD_PARAMS_SIZE];
    ASSERT_EQ(0, zorvo_record_get_params(c.h, after));
    EXPECT_EQ(0, memcmp(got, after, sizeof(got))) << "refused record leaves the stored one";
    // a module refusing its block: the code carries its base and nothing changes
    q = p;
    q[ZR_OFF_DRC + 4] = 127;
    q[ZR_OFF_HDR + 16] = 0x10; // a valid change that must not stick either
    EXPECT_EQ(-205, zorvo_record_set_params(c.h, q.data()));
    ASSERT_EQ(0, zorvo_record_get_params(c.h, after));
    EXPECT_EQ(0, memcmp(got, after, sizeof(got)));
    // bytes 0..5 keep their init values
    q = p;
    q[ZR_OFF_RATE_MODE] = 1;
    q[ZR_OFF_MIC_NUM] = 1;
    q[ZR_OFF_AGC_ON] = 0;
    q[ZR_OFF_AUX_MODE] = 0;
    ASSERT_EQ(0, zorvo_record_set_params(c.h, q.data()));
    ASSERT_EQ(0, zorvo_record_get_params(c.h, after));
    EXPECT_EQ(after[ZR_OFF_RATE_MODE], 2);
    EXPECT_EQ(after[ZR_OFF_MIC_NUM], 2);
    EXPECT_EQ(after[ZR_OFF_AUX_MODE], 2);
    EXPECT_EQ(after[ZR_OFF_AGC_ON], 0);
    EXPECT_EQ(-1, zorvo_record_set_params(nullptr, q.data()));
    EXPECT_EQ(-4, zorvo_record_set_params(c.h, nullptr));
    EXPECT_EQ(-4, zorvo_record_get_params(c.h, nullptr));
    std::vector<uint64_t> blank(ZORVO_RECORD_MEM_SIZE / 8, 0);
    EXPECT_EQ(-5, zorvo_record_set_params(blank.data(), q.data()));
    EXPECT_EQ(-5, zorvo_record_get_params(blank.data(), after));
}

TEST(RecordCore, MarkersAndMissingBuffers) {
    std::vector<uint8_t> p = params(1, 2, kAllOn);
    Core c(p.data());
    ASSERT_EQ(c.init_result, 0);
    std::vector<int16_t> m(160, 3), o1(160), o2(160);
    zorvo_record_in in = {};
    zorvo_record_out out = {};
    in.mic1 = m.data();
    in.mic2 = m.data();
    out.out[0] = o1.data();
    EXPECT_EQ(-12, zorvo_record_apply(c.h, &in, &out)) << "two outputs asked for";
    out.out[1] = o2.data();
    in.mic2 = nullptr;
    EXPECT_EQ(-13, zorvo_record_apply(c.h, &in, &out));
    in.mic2 = m.data();
    EXPECT_EQ(0, zorvo_record_apply(c.h, &in, &out));
    EXPECT_EQ(out.out_num, 2);
    EXPECT_EQ(-1, zorvo_record_apply(c.h, nullptr, &out));
    auto *bytes = reinterpret_cast<uint8_t *>(c.mem.data());
    uint8_t saved = bytes[ZORVO_RECORD_MEM_SIZE - 8];
    bytes[ZORVO_RECORD_MEM_SIZE - 8] ^= 1;
    EXPECT_EQ(-8, zorvo_record_apply(c.h, &in, &out)) << "end marker";
    bytes[ZORVO_RECORD_MEM_SIZE - 8] = saved;
    bytes[0] ^= 1;
    EXPECT_EQ(-8, zorvo_record_apply(c.h, &in, &out)) << "start marker";
    bytes[0] ^= 1;
    bytes[4] ^= 1;
    EXPECT_EQ(-5, zorvo_record_apply(c.h, &in, &out)) << "initialisation marker";
    bytes[4] ^= 1;
    EXPECT_EQ(0, zorvo_record_apply(c.h, &in, &out));
}

TEST(RecordCore, RateModesConvertAtTheEdges) {
    for (int mode : {0, 3}) {
        for (int mics : {1, 2}) {
            std::vector<uint8_t> p = params(mode, mics, kAllOff);
            p[ZR_OFF_DELAY_FRAMES] = 0;
            Core c(p.data());
            ASSERT_EQ(c.init_result, 0) << mode;
            double fs = mode == 0 ? 8000 : 44100;
            std::vector<int16_t> x = sine((size_t)c.io * 200, fs, 700, 9000),
                                 y = sine((size_t)c.io * 200, fs, 300, 500);
            std::vector<int16_t> o1, o2;
            ASSERT_EQ(0, c.run(x, mics == 2 ? y : std::vector<int16_t>(), o1, o2));
            double e = 0;
            for (size_t i = o1.size() / 2; i < o1.size(); i++) {
                e += (double)o1[i] * o1[i];
            }
            EXPECT_NEAR(10 * log10(e / (double)(o1.size() / 2)), 20 * log10(9000 / M_SQRT2), 0.5)
                << "mode " << mode << " mics " << mics;
            if (mode == 3 || mics == 1) {
                EXPECT_EQ(o1, o2) << "output 2 copies output 1";
            } else {
                EXPECT_NE(o1, o2);
            }
        }
    }
}
