// The plug-in shell: module record, user-record mapping, init and process errors, the callback.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "record_test_util.h"
#include "vqe_record.h"

using namespace rectest;

namespace {

std::vector<int> g_calls;
void record_gain(int gain) {
    g_calls.push_back(gain);
}

vqe_record_user_params user_defaults() {
    vqe_record_user_params u;
    memset(&u, 0, sizeof(u));
    u.hdr_on = u.hlpf_on = u.rnr_on = u.agc_on = u.eq_on = u.drc_on = 1;
    u.mic_num = 1;
    u.out_num = 1;
    u.gain_min = 6;
    u.gain_max = 20;
    u.gain_step = 2;
    u.hdr_init_gain = 20;
    u.gain_cb = record_gain;
    return u;
}

struct Shell {
    const audio_work_handle *m = vx_vqe_record_get_handle();
    void *h = nullptr;
    int rc;
    Shell(int rate, vqe_record_user_params *u) {
        vqe_config cfg = {};
        cfg.user_params = u;
        rc = m->init(&h, rate, &cfg);
    }
    ~Shell() { m->deinit(h); }
    int process(std::vector<int16_t> &in, std::vector<int16_t> &out, std::vector<int16_t> *in2 = nullptr,
                std::vector<int16_t> *out2 = nullptr) {
        audio_frame fi = {}, fo = {};
        fi.data = in.data();
        fi.extern_data = in2 ? in2->data() : nullptr;
        fi.rin_data = reinterpret_cast<int16_t *>(0x1234);
        fi.len = (uint32_t)(in.size() * 2);
        out.assign(in.size(), 7);
        fo.data = out.data();
        if (out2 != nullptr) {
            out2->assign(in.size(), 7);
            fo.extern_data = out2->data();
        }
        int r = m->process(h, &fi, &fo);
        EXPECT_EQ(fo.len, fi.len);
        EXPECT_EQ(fo.rin_data, fi.rin_data);
        return r;
    }
};

std::string init_error(int rate, vqe_record_user_params *u) {
    testing::internal::CaptureStderr();
    void *h = reinterpret_cast<void *>(0x5);
    vqe_config cfg = {};
    cfg.user_params = u;
    int rc = vqe_record_init(&h, rate, &cfg);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(h, reinterpret_cast<void *>(0x5)) << "handle untouched on failure";
    return err;
}

} // namespace

TEST(RecordShell, ModuleRecordAndUserRecordLayout) {
    const audio_work_handle *a = vx_vqe_record_get_handle(), *b = kq_vqe_record_get_handle();
    EXPECT_EQ(a, b);
    EXPECT_STREQ(a->name, "record");
    for (size_t i = strlen("record"); i < sizeof(a->name); i++) {
        EXPECT_EQ(a->name[i], 0);
    }
    EXPECT_EQ(a->reserved, nullptr);
    EXPECT_EQ(a->init, &vqe_record_init);
    // 64-bit host: the pointer is 8 bytes at 0x38 and everything after it moves by 8.
    if (sizeof(void *) == 8) {
        EXPECT_EQ(offsetof(vqe_record_user_params, gain_step), 0x30u);
        EXPECT_EQ(offsetof(vqe_record_user_params, gain_cb), 0x38u);
        EXPECT_EQ(offsetof(vqe_record_user_params, hpf_reset), 0x40u);
        EXPECT_EQ(offsetof(vqe_record_user_params, rnr_value0), 0x50u);
        EXPECT_EQ(offsetof(vqe_record_user_params, agc_bytes), 0x5Cu);
        EXPECT_EQ(offsetof(vqe_record_user_params, eq_gains), 0x6Cu);
        EXPECT_EQ(offsetof(vqe_record_user_params, knee_out01), 0x8Eu);
    } else {
        EXPECT_EQ(offsetof(vqe_record_user_params, gain_cb), 0x34u);
        EXPECT_EQ(offsetof(vqe_record_user_params, agc_bytes), 0x54u);
        EXPECT_EQ(offsetof(vqe_record_user_params, knee_out01), 0x86u);
    }
    EXPECT_EQ(offsetof(vqe_record_user_params, hdr_init_gain), 0x2Cu);
    EXPECT_EQ(offsetof(vqe_record_user_params, gain_max), 0x28u);
}

TEST(RecordShell, UserRecordMapsByteByByte) {
    vqe_record_user_params u = user_defaults();
    u.hlpf_on = 1;
    u.hpf_reset = 1;
    u.mic_num = 2;
    u.out_num = 2;
    u.gain_min = -3;
    u.gain_max = 30;
    u.gain_step = 3;
    u.hdr_init_gain = -7;
    u.rnr_valid = 1;
    u.rnr_value0 = 18;
    u.rnr_value4 = -60;
    u.agc_valid = 1;
    const int8_t agc[7] = {-6, -55, 3, 1, 4, -2, 9};
    memcpy(u.agc_bytes, agc, 7);
    u.agc_value16 = -1234;
    const int8_t g[10] = {1, 2, 3, 4, 5, 9, -3, 8, -8, 10};
    memcpy(u.eq_gains, g, 10);
    u.drc_valid = 1;
    u.gain_fall = 0x1200 + 30;
    u.gain_rise = 0x4500 + 90;
    u.knee_in1 = -16;
    const int16_t ki[4] = {-400, -800, -1000, -1300}, ko[4] = {-200, -600, -800, -1250};
    memcpy(u.knee_in, ki, sizeof(ki));
    memcpy(u.knee_out, ko, sizeof(ko));
    u.knee_out01 = -20;
    uint8_t rec[ZORVO_RECORD_PARAMS_SIZE], want[ZORVO_RECORD_PARAMS_SIZE];
    ASSERT_EQ(0, vqe_record_build_params(rec, 1, &u));
    memcpy(want, g_record_params, sizeof(want));
    want[0] = 1;
    want[1] = 2;
    want[2] = 2;
    want[3] = (uint8_t)-7;
    want[4] = 1;
    for (int i = 8; i <= 13; i++) {
        want[i] = 1;
    }
    want[14] = 0;
    auto w32 = [&](int off, int32_t v) { memcpy(want + off, &v, 4); };
    auto w16 = [&](int off, int16_t v) { memcpy(want + off, &v, 2); };
    w32(40, -3);
    w32(44, 30);
    w32(48, 3);
    w16(244, 0);
    w32(160, 18);
    w32(164, -60);
    const int at[7] = {0, 1, 2, 4, 5, 8, 9};
    for (int i = 0; i < 7; i++) {
        want[112 + at[i]] = (uint8_t)agc[i];
    }
    w16(128, -1234);
    const int8_t bands[50] = {-50, 1, 1, 1, 2, 3,  4,  5,  9,  6,  3,  0,   -3,  -2,  -1,  0,  1,
                              2,   8, 8, 8, 6, 4,  2,  0,  -2, -4, -8, -8,  -8,  -8,  -6,  -4, -2,
                              0,   2, 4, 6, 8, 10, 10, 10, 5,  0,  -5, -10, -15, -20, -25, -30};
    memcpy(want + 184, bands, 50);
    want[234] = 0;
    want[75] = 30;
    want[76] = 90;
    w16(80, 0);
    w16(82, -16);
    for (int k = 0; k < 4; k++) {
        w16(84 + 2 * k, ki[k]);
        w16(96 + 2 * k, ko[k]);
    }
    w16(92, -20);
    w16(94, -20);
    for (int i = 0; i < ZORVO_RECORD_PARAMS_SIZE; i++) {
        EXPECT_EQ(rec[i], want[i]) << "byte " << i;
    }
    // Control gains all 0: bands 1..41 at 0, then -4 a band down to -32.
    memset(u.eq_gains, 0, sizeof(u.eq_gains));
    ASSERT_EQ(0, vqe_record_build_params(rec, 2, &u));
    EXPECT_EQ((int8_t)rec[184], -50);
    for (int j = 1; j <= 41; j++) {
        EXPECT_EQ((int8_t)rec[184 + j], 0) << j;
    }
    for (int j = 42; j < 50; j++) {
        EXPECT_EQ((int8_t)rec[184 + j], -4 * (j - 41)) << j;
    }
    EXPECT_EQ(rec[234], 0);
    // Without hdr_on the look-ahead values stay at the defaults; switches off stay off.
    u = user_defaults();
    u.hdr_on = 0;
    u.gain_step = 99;
    u.eq_on = 0;
    u.eq_gains[0] = 15;
    ASSERT_EQ(0, vqe_record_build_params(rec, 2, &u));
    EXPECT_EQ(0, memcmp(rec + 40, g_record_params + 40, 32));
    EXPECT_EQ(rec[3], g_record_params[3]);
    EXPECT_EQ(0, memcmp(rec + 184, g_record_params + 184, 51));
    EXPECT_EQ(rec[8], 0);
    EXPECT_EQ(rec[11], 0);
}

TEST(RecordShell, InitRefusesWithTheMessages) {
    EXPECT_NE(init_error(16000, nullptr).find("[Info]:handle or config is null!\n"), std::string::npos);
    EXPECT_EQ(-1, vqe_record_init(nullptr, 16000, nullptr));
    vqe_record_user_params u = user_defaults();
    EXPECT_NE(init_error(44100, &u).find("[Info]:unsupported sample_rate(44100)!\n"), std::string::npos);
    u.out_num = 3; // two output buffers only
    EXPECT_NE(init_error(16000, &u).find("[Info]:init failed, ret:-17!\n"), std::string::npos);
    u = user_defaults();
    u.gain_step = 4;
    EXPECT_NE(init_error(48000, &u).find("[Info]:init failed, ret:-106!\n"), std::string::npos);
    u = user_defaults();
    u.drc_valid = 1;
    u.gain_fall = 30;
    u.gain_rise = 127;
    EXPECT_NE(init_error(16000, &u).find("init failed, ret:-205!"), std::string::npos);
    u.gain_rise = 90;
    u.knee_in1 = 5; // above full scale
    EXPECT_NE(init_error(16000, &u).find("init failed, ret:-206!"), std::string::npos);
    u = user_defaults();
    u.eq_gains[3] = 25;
    EXPECT_NE(init_error(16000, &u).find("init failed, ret:-501!"), std::string::npos);
    u = user_defaults();
    u.mic_num = 3;
    EXPECT_NE(init_error(16000, &u).find("init failed, ret:-17!"), std::string::npos);
}

TEST(RecordShell, ProcessErrorsAndEmptyBuffers) {
    EXPECT_EQ(0, vqe_record_deinit(nullptr));
    vqe_record_user_params u = user_defaults();
    Shell s(16000, &u);
    ASSERT_EQ(s.rc, 0);
    audio_frame f = {};
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, vqe_record_process(nullptr, &f, &f));
    EXPECT_EQ(-1, vqe_record_process(s.h, nullptr, &f));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("[Info]:param is null.\n"), std::string::npos);
    std::vector<int16_t> none, out;
    EXPECT_EQ(0, s.process(none, out));
    // A missing output buffer ends the call with the core's code.
    std::vector<int16_t> in(320, 100);
    audio_frame fi = {}, fo = {};
    fi.data = in.data();
    fi.len = 640;
    testing::internal::CaptureStderr();
    EXPECT_EQ(-12, vqe_record_process(s.h, &fi, &fo));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("[Info]:apply failed, ret:-12.\n"),
              std::string::npos);
}

TEST(RecordShell, FirstFrameSilentThenTheInputDelayedByOneFrame) {
    vqe_record_user_params u = user_defaults();
    u.hdr_on = u.hlpf_on = u.rnr_on = u.agc_on = u.eq_on = u.drc_on = 0;
    u.mic_num = 2;
    u.out_num = 2;
    Shell s(48000, &u);
    ASSERT_EQ(s.rc, 0);
    std::vector<int16_t> a = integer_scene(960, 3, 8000), b = integer_scene(960, 4, 8000), o1, o2;
    ASSERT_EQ(0, s.process(a, o1, &b, &o2));
    for (int i = 0; i < 480; i++) {
        ASSERT_EQ(o1[(size_t)i], 0);
        ASSERT_EQ(o2[(size_t)i], 0);
        ASSERT_EQ(o1[480 + (size_t)i], a[(size_t)i]);
        ASSERT_EQ(o2[480 + (size_t)i], b[(size_t)i]);
    }
}

TEST(RecordShell, GainCallbackGetsTheRunningValue) {
    vqe_record_user_params u = user_defaults();
    Shell s(16000, &u);
    ASSERT_EQ(s.rc, 0);
    g_calls.clear();
    std::vector<int16_t> in(160 * 5, 0), out;
    for (int f = 0; f < 5; f++) {
        for (int k = 0; k < 4; k++) {
            in[(size_t)(f * 160 + 10 * k)] = 32767; // four full-scale samples: a step down
        }
    }
    ASSERT_EQ(0, s.process(in, out));
    // 20 -> 18 -> ... -> 6, then no further: gain_min is reached
    ASSERT_GE(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0], 18);
    EXPECT_EQ(g_calls, (std::vector<int>{18, 16, 14, 12, 10}));
    // Without a callback the steps are only counted.
    u.gain_cb = nullptr;
    Shell quiet(16000, &u);
    g_calls.clear();
    ASSERT_EQ(0, quiet.process(in, out));
    EXPECT_TRUE(g_calls.empty());
}
