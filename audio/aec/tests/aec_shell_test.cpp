/* The plug-in shell: module record, init and process results, the user record's mapping. */
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "vqe_aec.h"
#include "zorvo_aec.h"

TEST(AecShell, ModuleRecord) {
    const audio_work_handle *a = vx_vqe_aec_get_handle();
    ASSERT_EQ(a, kq_vqe_aec_get_handle());
    EXPECT_STREQ("aec", a->name);
    for (size_t i = 3; i < sizeof(a->name); i++) {
        EXPECT_EQ(0, a->name[i]);
    }
    EXPECT_EQ((void *)vqe_aec_init, (void *)a->init);
    EXPECT_EQ((void *)vqe_aec_process, (void *)a->process);
    EXPECT_EQ((void *)vqe_aec_deinit, (void *)a->deinit);
    EXPECT_EQ(nullptr, a->reserved);
    EXPECT_EQ(0, vqe_aec_deinit(nullptr));
}

TEST(AecShell, InitResults) {
    vqe_config cfg = {};
    void *h = (void *)0x1234;
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, vqe_aec_init(nullptr, 8000, &cfg));
    EXPECT_EQ(-1, vqe_aec_init(&h, 8000, nullptr));
    EXPECT_EQ(-1, vqe_aec_init(&h, 44100, &cfg));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find("[Info]:handle or config is null!\n"));
    EXPECT_NE(std::string::npos, err.find("[Info]:invalid rate(44100) for aec!\n"));
    EXPECT_EQ((void *)0x1234, h);
    /* a user record the core refuses */
    uint8_t user[VQE_AEC_USER_PARAMS_SIZE] = {1};
    zorvo_aec_param_set_i16(user, 12, 200); /* band_a_hi above 128 at 8000 Hz */
    cfg.user_params = user;
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, vqe_aec_init(&h, 8000, &cfg));
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("init aec failed, ret:-28."));
    EXPECT_EQ(0, vqe_aec_init(&h, 16000, &cfg)); /* 200 fits 256 */
    EXPECT_EQ(0, vqe_aec_deinit(h));
}

TEST(AecShell, UserRecordMapping) {
    uint8_t user[VQE_AEC_USER_PARAMS_SIZE] = {};
    user[0] = 1;
    user[4] = 0; /* comfort noise off */
    user[5] = 2; /* switch_b */
    const int16_t v16[] = {1000, 3, 30, 4, 20, 2, 10, 20, 30, 40, 50, 6, 7, 8, 9, 10, 11, 12, 1, 9};
    for (int i = 0; i < 20; i++) {
        zorvo_aec_param_set_i16(user, 8 + 2 * i, v16[i]);
    }
    vqe_config cfg = {0, 0, 0, user};
    void *h = nullptr;
    ASSERT_EQ(0, vqe_aec_init(&h, 16000, &cfg));
    uint8_t rec[ZORVO_AEC_PARAMS_SIZE];
    ASSERT_EQ(0, zorvo_aec_get_params(*(void **)h, rec)); /* the instance starts with the core */
    EXPECT_EQ(0, rec[ZORVO_AEC_OFF_COMFORT_NOISE]);
    EXPECT_EQ(0, rec[ZORVO_AEC_OFF_DELAY_OFFSET]);
    EXPECT_EQ(2, rec[ZORVO_AEC_OFF_SWITCH_B]);
    EXPECT_EQ(0, rec[ZORVO_AEC_OFF_SWITCH_C]);
    EXPECT_EQ(1, rec[ZORVO_AEC_OFF_WIDEBAND]);
    EXPECT_EQ(1000, zorvo_aec_param_i16(rec, ZORVO_AEC_OFF_NLP_THRESHOLD));
    EXPECT_EQ(3, zorvo_aec_param_i16(rec, ZORVO_AEC_OFF_BAND_A_LO));
    EXPECT_EQ(30, zorvo_aec_param_i16(rec, ZORVO_AEC_OFF_BAND_A_HI));
    EXPECT_EQ(4, zorvo_aec_param_i16(rec, ZORVO_AEC_OFF_BAND_B_LO));
    EXPECT_EQ(20, zorvo_aec_param_i16(rec, ZORVO_AEC_OFF_BAND_B_HI));
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(v16[5 + i], zorvo_aec_param_i16(rec, ZORVO_AEC_OFF_ERL_BAND + 2 * i));
    }
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(v16[11 + i], zorvo_aec_param_i16(rec, ZORVO_AEC_OFF_ERL + 2 * i));
    }
    EXPECT_EQ(1, zorvo_aec_param_i16(rec, ZORVO_AEC_OFF_BAND_C_LO));
    EXPECT_EQ(9, zorvo_aec_param_i16(rec, ZORVO_AEC_OFF_BAND_C_HI));
    EXPECT_EQ(0, vqe_aec_deinit(h));

    /* enable word 0: the defaults, with the band flag of the rate */
    user[0] = 0;
    ASSERT_EQ(0, vqe_aec_init(&h, 8000, &cfg));
    ASSERT_EQ(0, zorvo_aec_get_params(*(void **)h, rec));
    EXPECT_EQ(0, memcmp(rec, g_zorvo_aec_gast_kre_aec_cfg_tab, sizeof(rec)));
    EXPECT_EQ(0, vqe_aec_deinit(h));
}

TEST(AecShell, ProcessFramesAndErrors) {
    vqe_config cfg = {};
    void *h = nullptr;
    ASSERT_EQ(0, vqe_aec_init(&h, 8000, &cfg));
    std::vector<int16_t> mic(240, 100), ref(240, 0), out(240, 7);
    audio_frame in = {}, o = {};
    in.data = mic.data();
    in.rin_data = ref.data();
    in.len = 0;
    o.data = out.data();
    EXPECT_EQ(0, vqe_aec_process(h, &in, &o));
    EXPECT_EQ(7, out[0]);
    in.len = 240 * 2;
    EXPECT_EQ(0, vqe_aec_process(h, &in, &o));
    EXPECT_EQ(in.len, o.len);
    EXPECT_EQ(in.rin_data, o.rin_data);
    EXPECT_NE(7, out[239]);
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, vqe_aec_process(nullptr, &in, &o));
    EXPECT_EQ(-1, vqe_aec_process(h, nullptr, &o));
    in.rin_data = nullptr;
    EXPECT_EQ(-14, vqe_aec_process(h, &in, &o));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find("[Info]:param is null!\n"));
    EXPECT_NE(std::string::npos, err.find("[Info]:apply failed with -14.\n"));
    EXPECT_EQ(0, vqe_aec_deinit(h));
}
