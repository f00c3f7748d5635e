/* The plug-in shell: module record, init results, the user record's mapping, the caller's
 * buffers (aligned moves and their restoration) and chunking. */
#include <gtest/gtest.h>

#include <string>

#include "talk_test_util.h"

using namespace talktest;

namespace {

struct User {
    alignas(8) uint8_t u[VQE_TALKV2_USER_SIZE] = {};
    void set32(int off, int32_t v) { vqe_put32(u, off, v); }
    void set16(int off, int v) { vqe_put16(u, off, v); }
};

std::vector<uint8_t> params_of(void *h) {
    alignas(8) uint8_t cfg[AUDIO_VQE_SYSCFG_SIZE] = {};
    alignas(8) uint8_t p[AUDIO_VQE_PARAM_LEN] = {};
    EXPECT_EQ(0, audio_vqe_get_params(vqe_talkv2_core(h), cfg, p, AUDIO_VQE_PARAM_LEN));
    return std::vector<uint8_t>(p, p + AUDIO_VQE_PARAMS_SIZE);
}

} // namespace

TEST(TalkShell, ModuleRecord) {
    const audio_work_handle *a = vx_vqe_talkv2_get_handle();
    ASSERT_EQ(a, kq_vqe_talkv2_get_handle());
    EXPECT_STREQ("talkv2", a->name);
    for (size_t i = 6; i < sizeof(a->name); i++) {
        EXPECT_EQ(0, a->name[i]);
    }
    EXPECT_EQ((void *)vqe_talkv2_init, (void *)a->init);
    EXPECT_EQ((void *)vqe_talkv2_process, (void *)a->process);
    EXPECT_EQ((void *)vqe_talkv2_deinit, (void *)a->deinit);
    EXPECT_EQ(nullptr, a->reserved);
    EXPECT_EQ(0, vqe_talkv2_deinit(nullptr));
}

TEST(TalkShell, InitRefusals) {
    User user;
    vqe_config cfg = {0, 0, 1, user.u};
    void *h = (void *)0x1234;
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, vqe_talkv2_init(&h, 16000, nullptr));
    EXPECT_EQ(-1, vqe_talkv2_init(&h, 8000, &cfg));
    cfg.word2 = 3;
    EXPECT_EQ(-1, vqe_talkv2_init(&h, 16000, &cfg));
    cfg.word2 = 1;
    cfg.user_params = nullptr;
    EXPECT_EQ(-1, vqe_talkv2_init(&h, 16000, &cfg));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find("[Info]:cfg is null!\n"));
    EXPECT_NE(std::string::npos, err.find("[Info]:invalid vqe_sample_rate(8000)!\n"));
    EXPECT_NE(std::string::npos, err.find("[Info]:invalid type(3)!\n"));
    EXPECT_EQ((void *)0x1234, h);

    /* out-of-range fields: refused by the core, reported on standard output as well */
    cfg.user_params = user.u;
    struct {
        int off;
        int32_t value;
        const char *text;
    } bad[] = {
        {VQE_TALKV2_U_AEC_ON, 2, "get size failed, ret:-30.\n"},
        {VQE_TALKV2_U_MIC_NUM, 7, "get size failed, ret:-24.\n"},
        {VQE_TALKV2_U_DMNR_ON, 257, "get size failed, ret:-38.\n"}, /* no wrap-around to 1 */
        {VQE_TALKV2_U_AGC_ON, -1, "get size failed, ret:-33.\n"},
    };
    for (auto &b : bad) {
        User u2;
        u2.set32(VQE_TALKV2_U_MIC_NUM, 1);
        u2.set32(b.off, b.value);
        cfg.user_params = u2.u;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(-1, vqe_talkv2_init(&h, 16000, &cfg));
        std::string out = testing::internal::GetCapturedStdout();
        std::string e2 = testing::internal::GetCapturedStderr();
        EXPECT_NE(std::string::npos, out.find(b.text)) << out;
        EXPECT_NE(std::string::npos, e2.find(b.text)) << e2;
    }
    /* a block value the module refuses, at init */
    User u3;
    u3.set32(VQE_TALKV2_U_MIC_NUM, 1);
    u3.set32(VQE_TALKV2_U_EQ_ON, 1);
    u3.set32(VQE_TALKV2_U_EQ_VALID, 1);
    u3.u[VQE_TALKV2_U_EQ + 3] = 30;
    cfg.user_params = u3.u;
    testing::internal::CaptureStdout();
    EXPECT_EQ(-1, vqe_talkv2_init(&h, 16000, &cfg));
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStdout().find("init failed, ret:-410.\n"));
    EXPECT_EQ((void *)0x1234, h);
}

TEST(TalkShell, UserRecordMapping) {
    User user;
    user.set32(VQE_TALKV2_U_DMNR_ON, 1);
    user.set32(VQE_TALKV2_U_PMWF_ON, 1);
    user.set32(VQE_TALKV2_U_AGC_ON, 1);
    user.set32(VQE_TALKV2_U_EQ_ON, 1);
    user.set32(VQE_TALKV2_U_DRC_ON, 1);
    user.set32(VQE_TALKV2_U_LIMITER_ON, 1);
    user.set32(VQE_TALKV2_U_AEC_ON, 1);
    user.set32(VQE_TALKV2_U_HS_ON, 1);
    user.set32(VQE_TALKV2_U_MIC_NUM, 2);
    user.set32(VQE_TALKV2_U_NR_VALID, 1);
    const int nr[9] = {0x1020, 0x0304, 8, 150, 95, 30, 10, 10, 7};
    for (int i = 0; i < 9; i++) {
        user.set16(VQE_TALKV2_U_NR + 2 * i, nr[i]);
    }
    for (int i = 0; i < 4; i++) {
        user.set16(VQE_TALKV2_U_NR_B + 2 * i, 11 + i);
    }
    user.set32(VQE_TALKV2_U_PMWF_VALID, 1);
    const int wa[4] = {300, 400, 150, 200}, wb[4] = {12, 6000, 7000, 8000};
    for (int i = 0; i < 4; i++) {
        user.set16(VQE_TALKV2_U_PMWF_A + 2 * i, wa[i]);
        user.set16(VQE_TALKV2_U_PMWF_B + 2 * i, wb[i]);
    }
    user.u[VQE_TALKV2_U_PMWF_C] = 0;
    user.u[VQE_TALKV2_U_PMWF_C + 1] = 5;
    user.u[VQE_TALKV2_U_PMWF_C + 2] = 1;
    user.set16(VQE_TALKV2_U_PMWF_D, 70);
    user.set16(VQE_TALKV2_U_PMWF_E, 20);
    user.set16(VQE_TALKV2_U_PMWF_E + 2, 300);
    user.set32(VQE_TALKV2_U_AGC_VALID, 1);
    const int agc[6] = {-20, 80, -50, 5, 4, -200};
    for (int i = 0; i < 6; i++) {
        user.set16(VQE_TALKV2_U_AGC_A + 2 * i, agc[i]);
    }
    user.set32(VQE_TALKV2_U_AGC_B, 77);
    user.set32(VQE_TALKV2_U_AGC_C, 0);
    user.set32(VQE_TALKV2_U_EQ_VALID, 1);
    for (int i = 0; i < 30; i++) {
        user.u[VQE_TALKV2_U_EQ + i] = (uint8_t)(int8_t)(i - 10);
    }
    user.set32(VQE_TALKV2_U_FMP_VALID, 1);
    user.u[VQE_TALKV2_U_FMP] = 5;
    user.set32(VQE_TALKV2_U_AEC_VALID, 1);
    user.set16(VQE_TALKV2_U_AEC_A, 40);
    const int eb[5] = {0, 200, 1000, 2000, 3000}, ec[5] = {1, 2, 3, 4, 5}, ed[3] = {9, 8, 10};
    for (int i = 0; i < 5; i++) {
        user.set16(VQE_TALKV2_U_AEC_B + 2 * i, eb[i]);
        user.set16(VQE_TALKV2_U_AEC_C + 2 * i, ec[i]);
    }
    for (int i = 0; i < 3; i++) {
        user.set16(VQE_TALKV2_U_AEC_D + 2 * i, ed[i]);
    }
    user.set32(VQE_TALKV2_U_HS_VALID, 1);
    for (int i = 0; i < 5; i++) {
        user.set32(VQE_TALKV2_U_HS + 4 * i, 50 + i);
    }
    vqe_config cfg = {0, 0, 2, user.u};
    void *h = nullptr;
    ASSERT_EQ(0, vqe_talkv2_init(&h, 16000, &cfg));
    std::vector<uint8_t> p = params_of(h);
    const uint8_t *n = &p[AUDIO_VQE_B_NR], *w = &p[AUDIO_VQE_B_PMWF], *a = &p[AUDIO_VQE_B_AGC];
    const uint8_t *e = &p[AUDIO_VQE_B_AEC];
    EXPECT_EQ(1, p[AUDIO_VQE_P_DMNR_ON]);
    EXPECT_EQ(1, p[AUDIO_VQE_P_FMP_ON]); /* forced by the echo canceller */
    EXPECT_EQ(0, p[AUDIO_VQE_P_DEREVERB_ON]);
    EXPECT_EQ(1, p[AUDIO_VQE_P_HS_ON]);
    EXPECT_EQ(2, p[AUDIO_VQE_P_MIC_NUM]);
    for (int i = 0; i < 9; i++) {
        EXPECT_EQ(nr[i], vqe_u16(n, 2 * i)) << i;
    }
    EXPECT_EQ(11, vqe_u16(n, 22));
    EXPECT_EQ(12, vqe_u16(n, 28));
    EXPECT_EQ(13, vqe_u16(n, 30));
    EXPECT_EQ(14, vqe_u16(n, 32));
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(wa[i], vqe_u16(w, 2 * i));
    }
    EXPECT_EQ(12, vqe_u16(w, 14));
    EXPECT_EQ(6000, vqe_u16(w, 16));
    EXPECT_EQ(8000, vqe_u16(w, 20));
    EXPECT_EQ(0, w[26]);
    EXPECT_EQ(5, w[27]);
    EXPECT_EQ(1, w[28]);
    EXPECT_EQ(70, vqe_u16(w, 34));
    EXPECT_EQ(20, vqe_u16(w, 30));
    EXPECT_EQ(300, vqe_u16(w, 32));
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(agc[i], vqe_i16(a, 2 * i));
    }
    EXPECT_EQ(77, vqe_i32(a, 20));
    EXPECT_EQ(0, vqe_i16(a, 32));
    for (int i = 0; i < 30; i++) {
        EXPECT_EQ(i - 10, (int8_t)p[AUDIO_VQE_B_EQ + i]);
    }
    EXPECT_EQ(0, p[AUDIO_VQE_B_EQ + 30]); /* the overall gain is not the user's */
    EXPECT_EQ(5, p[AUDIO_VQE_B_FMP + 1]);
    EXPECT_EQ(40, vqe_u16(e, 0));
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(eb[i], vqe_u16(e, 32 + 2 * i));
        EXPECT_EQ(ec[i], vqe_u16(e, 44 + 2 * i));
    }
    EXPECT_EQ(9, vqe_u16(e, 56));
    EXPECT_EQ(8, vqe_u16(e, 54));
    EXPECT_EQ(10, vqe_u16(e, 70));
    const int hs_off[5] = {0, 12, 16, 20, 24};
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(50 + i, vqe_i32(&p[AUDIO_VQE_B_HS], hs_off[i]));
    }
    EXPECT_EQ(40, vqe_i32(&p[AUDIO_VQE_B_HS], 4)); /* kept */
    EXPECT_EQ(0, vqe_talkv2_deinit(h));
}

TEST(TalkShell, PresetsByType) {
    for (int type = 1; type <= 2; type++) {
        User user;
        user.set32(VQE_TALKV2_U_DMNR_ON, 1);
        user.set32(VQE_TALKV2_U_PMWF_ON, 1);
        user.set32(VQE_TALKV2_U_AGC_ON, 1);
        user.set32(VQE_TALKV2_U_MIC_NUM, 1);
        vqe_config cfg = {0, 0, type, user.u};
        void *h = nullptr;
        ASSERT_EQ(0, vqe_talkv2_init(&h, 16000, &cfg));
        std::vector<uint8_t> p = params_of(h);
        const uint8_t *n = &p[AUDIO_VQE_B_NR], *w = &p[AUDIO_VQE_B_PMWF], *a = &p[AUDIO_VQE_B_AGC];
        if (type == 1) {
            EXPECT_EQ(134, n[0]);
            EXPECT_EQ(8, n[3]);
            EXPECT_EQ(95, vqe_u16(n, 8));
            EXPECT_EQ(50, vqe_u16(n, 28));
            EXPECT_EQ(120, vqe_u16(w, 4));
            EXPECT_EQ(9094, vqe_u16(w, 20));
            EXPECT_EQ(0, vqe_u16(w, 26));
            EXPECT_EQ(60, vqe_i32(a, 20));
            EXPECT_EQ(96, vqe_i16(a, 2));
        } else {
            EXPECT_EQ(97, n[0]);
            EXPECT_EQ(2, n[3]);
            EXPECT_EQ(200, vqe_u16(n, 6));
            EXPECT_EQ(50, vqe_u16(n, 10));
            EXPECT_EQ(200, vqe_u16(w, 6));
            EXPECT_EQ(7000, vqe_u16(w, 18));
            EXPECT_EQ(1, w[27]);
            EXPECT_EQ(64, vqe_i16(a, 2));
            EXPECT_EQ(200, vqe_i32(a, 20));
        }
        EXPECT_EQ(0, memcmp(&p[AUDIO_VQE_B_DRC], &g_vc_params_normal[AUDIO_VQE_B_DRC], 56));
        EXPECT_EQ(0, vqe_talkv2_deinit(h));
    }
}

namespace {

/* A buffer of `n` samples starting `shift` bytes past an 8-byte boundary, followed by 7 spare
 * bytes with a known pattern. */
struct Buf {
    std::vector<uint64_t> raw;
    size_t n, shift;
    explicit Buf(size_t samples, size_t sh) : raw(samples / 4 + 4), n(samples), shift(sh) {
        unsigned char *b = bytes();
        for (size_t i = 0; i < n * 2 + 7; i++) {
            b[i] = (unsigned char)(0xA0 + i % 7);
        }
    }
    unsigned char *bytes() { return (unsigned char *)raw.data() + shift; }
    int16_t *data() { return (int16_t *)bytes(); }
    void fill(const std::vector<int16_t> &v) { memcpy(bytes(), v.data(), n * 2); }
    std::vector<unsigned char> image() { return std::vector<unsigned char>(bytes(), bytes() + n * 2 + 7); }
};

struct Talk {
    void *h = nullptr;
    User user;
    Talk(int mics, int aec) {
        user.set32(VQE_TALKV2_U_MIC_NUM, mics);
        user.set32(VQE_TALKV2_U_AEC_ON, aec);
        user.set32(VQE_TALKV2_U_DMNR_ON, 1);
        user.set32(VQE_TALKV2_U_LIMITER_ON, 1);
        vqe_config cfg = {0, 0, 1, user.u};
        EXPECT_EQ(0, vqe_talkv2_init(&h, 16000, &cfg));
    }
    ~Talk() { vqe_talkv2_deinit(h); }
};

} // namespace

TEST(TalkShell, CallerBuffersRestoredWithSpareBytes) {
    size_t n = 256 * 6;
    std::vector<int16_t> mic = babble(n, 4, 9000), far = babble(n, 8, 9000), mic2 = babble(n, 12, 9000);
    /* reference output: every buffer aligned */
    std::vector<int16_t> want;
    {
        Talk t(2, 1);
        Buf a(n, 0), b(n, 0), r(n, 0), o(n, 0), o2(n, 0);
        a.fill(mic);
        b.fill(mic2);
        r.fill(far);
        audio_frame in = {}, out = {};
        in.data = a.data();
        in.extern_data = b.data();
        in.rin_data = r.data();
        in.len = (uint32_t)n * 2;
        out.data = o.data();
        out.extern_data = o2.data();
        ASSERT_EQ(0, vqe_talkv2_process(t.h, &in, &out));
        want.assign(o.data(), o.data() + n);
        EXPECT_EQ(0, memcmp(o.data(), o2.data(), n * 2));
        EXPECT_EQ(in.len, out.len);
        EXPECT_EQ(in.rin_data, out.rin_data);
    }
    for (size_t shift = 1; shift < 8; shift += 1) {
        Talk t(2, 1);
        Buf a(n, shift), b(n, (shift + 3) % 8), r(n, (shift + 5) % 8), o(n, (shift + 1) % 8), o2(n, 2);
        a.fill(mic);
        b.fill(mic2);
        r.fill(far);
        auto ia = a.image(), ib = b.image(), ir = r.image(), io = o.image();
        audio_frame in = {}, out = {};
        in.data = a.data();
        in.extern_data = b.data();
        in.rin_data = r.data();
        in.len = (uint32_t)n * 2;
        out.data = o.data();
        out.extern_data = o2.data();
        ASSERT_EQ(0, vqe_talkv2_process(t.h, &in, &out));
        EXPECT_EQ(ia, a.image()) << shift;
        EXPECT_EQ(ib, b.image()) << shift;
        EXPECT_EQ(ir, r.image()) << shift;
        EXPECT_EQ(0, memcmp(o.data(), want.data(), n * 2)) << shift;
        EXPECT_EQ(0, memcmp(o.bytes() + n * 2, io.data() + n * 2, 7)) << shift; /* output's spare bytes */
        EXPECT_EQ(0, memcmp(o2.data(), want.data(), n * 2));
    }
    /* in place: the output replaces the input in the same misaligned buffer */
    {
        Talk t(2, 1);
        Buf a(n, 3), b(n, 0), r(n, 0), o2(n, 0);
        a.fill(mic);
        b.fill(mic2);
        r.fill(far);
        auto spare = a.image();
        audio_frame in = {}, out = {};
        in.data = a.data();
        in.extern_data = b.data();
        in.rin_data = r.data();
        in.len = (uint32_t)n * 2;
        out.data = a.data();
        out.extern_data = o2.data();
        ASSERT_EQ(0, vqe_talkv2_process(t.h, &in, &out));
        EXPECT_EQ(0, memcmp(a.data(), want.data(), n * 2));
        EXPECT_EQ(0, memcmp(a.bytes() + n * 2, spare.data() + n * 2, 7));
    }
}

TEST(TalkShell, ProcessRefusalsTouchNothing) {
    Talk t(2, 1);
    size_t n = 512;
    Buf a(n, 5), r(n, 1), o(n, 0);
    a.fill(babble(n, 2, 5000));
    auto ia = a.image(), io = o.image();
    audio_frame in = {}, out = {};
    in.data = a.data();
    in.rin_data = r.data();
    in.len = (uint32_t)n * 2;
    out.data = o.data();
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, vqe_talkv2_process(nullptr, &in, &out));
    EXPECT_EQ(-1, vqe_talkv2_process(t.h, nullptr, &out));
    EXPECT_EQ(-1, vqe_talkv2_process(t.h, &in, &out)); /* two microphones, no extern_data */
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find("[Info]:param is null!\n"));
    EXPECT_EQ(ia, a.image());
    EXPECT_EQ(io, o.image());
    Talk one(1, 0);
    in.len = 0;
    EXPECT_EQ(0, vqe_talkv2_process(one.h, &in, &out));
    EXPECT_EQ(io, o.image());
}

TEST(TalkShell, ChunkingInvariance) {
    size_t n = 256 * 24;
    std::vector<int16_t> mic = babble(n, 21, 10000), far = babble(n, 22, 10000);
    std::vector<std::vector<int16_t>> outs;
    for (size_t chunk : {n, (size_t)256, (size_t)256 * 3, (size_t)256 * 8}) {
        Talk t(1, 1);
        std::vector<int16_t> out(n);
        for (size_t at = 0; at < n; at += chunk) {
            size_t len = std::min(chunk, n - at);
            Buf a(len, at % 7), r(len, (at + 2) % 8), o(len, 4);
            a.fill(std::vector<int16_t>(mic.begin() + (long)at, mic.begin() + (long)(at + len)));
            r.fill(std::vector<int16_t>(far.begin() + (long)at, far.begin() + (long)(at + len)));
            audio_frame in = {}, of = {};
            in.data = a.data();
            in.rin_data = r.data();
            in.len = (uint32_t)len * 2;
            of.data = o.data();
            ASSERT_EQ(0, vqe_talkv2_process(t.h, &in, &of));
            memcpy(&out[at], o.data(), len * 2);
        }
        outs.push_back(out);
    }
    for (size_t i = 1; i < outs.size(); i++) {
        EXPECT_EQ(outs[0], outs[i]) << i;
    }
}

TEST(TalkShell, BuffersRestoredWhenTheCoreFails) {
    Talk t(2, 1);
    size_t n = 256 * 3;
    Buf a(n, 3), b(n, 6), r(n, 1), o(n, 5), o2(n, 0);
    a.fill(babble(n, 2, 5000));
    b.fill(babble(n, 3, 5000));
    r.fill(babble(n, 4, 5000));
    auto ia = a.image(), ib = b.image(), ir = r.image(), io = o.image();
    vqe_core *core = (vqe_core *)vqe_talkv2_core(t.h);
    core->guard2 = 0; /* damaged: the core refuses the first frame */
    audio_frame in = {}, out = {};
    in.data = a.data();
    in.extern_data = b.data();
    in.rin_data = r.data();
    in.len = (uint32_t)n * 2;
    out.data = o.data();
    out.extern_data = o2.data();
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, vqe_talkv2_process(t.h, &in, &out));
    EXPECT_NE(std::string::npos,
              testing::internal::GetCapturedStderr().find("[Info]:apply failed, ret:-2.\n"));
    EXPECT_EQ(ia, a.image());
    EXPECT_EQ(ib, b.image());
    EXPECT_EQ(ir, r.image());
    EXPECT_EQ(0, memcmp(o.bytes() + n * 2, io.data() + n * 2, 7));
    core->guard2 = VQE_GUARD;
}

TEST(TalkShell, OneBufferForBothMicrophonesAndTheOutput) {
    size_t n = 256 * 4;
    std::vector<int16_t> mic = babble(n, 31, 9000), far = babble(n, 32, 9000);
    std::vector<int16_t> want;
    {
        Talk t(2, 1);
        Buf a(n, 0), b(n, 0), r(n, 0), o(n, 0), o2(n, 0);
        a.fill(mic);
        b.fill(mic);
        r.fill(far);
        audio_frame in = {}, out = {};
        in.data = a.data();
        in.extern_data = b.data();
        in.rin_data = r.data();
        in.len = (uint32_t)n * 2;
        out.data = o.data();
        out.extern_data = o2.data();
        ASSERT_EQ(0, vqe_talkv2_process(t.h, &in, &out));
        want.assign(o.data(), o.data() + n);
    }
    Talk t(2, 1);
    Buf a(n, 5), r(n, 3), o2(n, 0);
    a.fill(mic);
    r.fill(far);
    auto spare = a.image();
    audio_frame in = {}, out = {};
    in.data = a.data();
    in.extern_data = a.data();
    in.rin_data = r.data();
    in.len = (uint32_t)n * 2;
    out.data = a.data();
    out.extern_data = o2.data();
    ASSERT_EQ(0, vqe_talkv2_process(t.h, &in, &out));
    EXPECT_EQ(0, memcmp(a.data(), want.data(), n * 2));
    EXPECT_EQ(0, memcmp(a.bytes() + n * 2, spare.data() + n * 2, 7));
    EXPECT_EQ(0, memcmp(o2.data(), want.data(), n * 2));
}
