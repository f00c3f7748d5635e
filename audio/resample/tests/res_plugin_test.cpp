// The library as the audio framework sees it: loaded with dlopen, driven through the module
// record.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>
#include <string>
#include <vector>

#include "audio_plugin.h"

extern "C" {
#include "res_internal.h"
}

namespace {

class Plugin : public ::testing::Test {
  protected:
    void SetUp() override {
        lib_ = dlopen(VQE_RESAMPLE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(lib_, nullptr) << dlerror();
        vx_ = get("vx_vqe_resample_get_handle");
        kq_ = get("kq_vqe_resample_get_handle");
        ASSERT_NE(vx_, nullptr);
        ASSERT_NE(kq_, nullptr);
        rec_ = vx_();
    }
    void TearDown() override {
        if (lib_ != nullptr) {
            dlclose(lib_);
        }
    }
    audio_get_handle_fn get(const char *name) {
        void *sym = dlsym(lib_, name);
        audio_get_handle_fn fn = nullptr;
        std::memcpy(&fn, &sym, sizeof(fn));
        return fn;
    }
    // init with word 0 and channels; returns init's result and the messages it printed.
    int init(int in_rate, int word0, int chn, void **h, std::string *err) {
        vqe_config cfg = {word0, 0, chn, nullptr};
        testing::internal::CaptureStderr();
        int rc = rec_->init(h, in_rate, &cfg);
        *err = testing::internal::GetCapturedStderr();
        return rc;
    }
    void *lib_ = nullptr;
    audio_get_handle_fn vx_ = nullptr, kq_ = nullptr;
    const audio_work_handle *rec_ = nullptr;
};

} // namespace

TEST_F(Plugin, ModuleRecord) {
    EXPECT_EQ(vx_(), kq_());
    EXPECT_EQ(vx_(), rec_);
    EXPECT_STREQ(rec_->name, "res");
    for (size_t i = 3; i < sizeof(rec_->name); i++) {
        EXPECT_EQ(rec_->name[i], 0) << i;
    }
    EXPECT_EQ(rec_->reserved, nullptr);
    EXPECT_NE(rec_->init, nullptr);
    EXPECT_NE(rec_->process, nullptr);
    EXPECT_EQ(rec_->deinit(nullptr), 0);
    // Only the interface is exported.
    EXPECT_NE(dlsym(lib_, "kq_resample_process"), nullptr);
    EXPECT_NE(dlsym(lib_, "RES_volume_process_frame"), nullptr);
    EXPECT_EQ(dlsym(lib_, "res_find_poly_table"), nullptr);
    EXPECT_EQ(dlsym(lib_, "audio_block_alloc"), nullptr);
}

TEST_F(Plugin, InitMessagesAndRefusals) {
    void *h = reinterpret_cast<void *>(0x1);
    std::string err;
    EXPECT_EQ(init(44100, 6, 1, &h, &err), -1);
    EXPECT_EQ(h, nullptr);
    EXPECT_NE(err.find("[Func]:vx_resampler_init [Line]:"), std::string::npos) << err;
    EXPECT_NE(err.find("[Info]:invalid in_rate(44100) when out_rate(8000).\n"), std::string::npos) << err;
    EXPECT_NE(err.find("[Info]:get out_rate failed.\n"), std::string::npos) << err;
    EXPECT_EQ(init(16000, 44000, 1, &h, &err), -1);
    EXPECT_NE(err.find("invalid out_rate(44000).\n"), std::string::npos) << err;
    EXPECT_EQ(init(16000, 7, 1, &h, &err), -1);
    EXPECT_NE(err.find("invalid out_rate(7).\n"), std::string::npos) << err;
    EXPECT_EQ(init(16000, 8000, 3, &h, &err), -1);
    EXPECT_NE(err.find("invalid chn_num(3).\n"), std::string::npos) << err;
    EXPECT_EQ(init(96000, 8000, 1, &h, &err), -1);
    EXPECT_NE(err.find("invalid in_rate(96000).\n"), std::string::npos) << err;
    EXPECT_EQ(init(8000, 2, 1, &h, &err), -1); // half of 8000 is not offered
    EXPECT_NE(err.find("invalid in_rate(8000).\n"), std::string::npos) << err;
    EXPECT_EQ(init(16000, 5, 1, &h, &err), -1);
    EXPECT_NE(err.find("invalid in_rate(16000) when out_rate(48000).\n"), std::string::npos) << err;
    EXPECT_EQ(rec_->init(&h, 16000, nullptr), -1);
    EXPECT_EQ(rec_->init(nullptr, 16000, nullptr), -1);
}

TEST_F(Plugin, ModesAndChunks) {
    struct {
        int in, word0, out, chunk;
    } cases[] = {
        {48000, 2, 24000, 2048}, {48000, 6, 8000, 2046},      {48000, 16000, 16000, 2046},
        {8000, 5, 48000, 2048},  {11025, 1, 22050, 2048},     {12000, 3, 48000, 2048},
        {44100, 4, 11025, 2048}, {44100, 48000, 48000, 2048},
    };
    for (auto c : cases) {
        void *h = nullptr;
        std::string err;
        ASSERT_EQ(init(c.in, c.word0, 1, &h, &err), 0) << c.in << " " << c.word0 << err;
        auto *inst = static_cast<res_instance *>(h);
        EXPECT_EQ(inst->res->out_rate, c.out);
        EXPECT_EQ(inst->chunk, c.chunk) << c.in << " " << c.word0;
        EXPECT_EQ(rec_->deinit(h), 0);
    }
    void *h = nullptr;
    std::string err;
    ASSERT_EQ(init(48000, 2, 1, &h, &err), 0);
    EXPECT_EQ(static_cast<res_instance *>(h)->res->ratio_index, 2);
    rec_->deinit(h);
}

TEST_F(Plugin, BuffersLargerThanAChunkAreCutUpSeamlessly) {
    for (int chn = 1; chn <= 2; chn++) {
        void *h = nullptr;
        std::string err;
        ASSERT_EQ(init(48000, 6, chn, &h, &err), 0);
        std::vector<int16_t> x(size_t(6000 * chn));
        for (size_t i = 0; i < x.size(); i++) {
            x[i] = int16_t((i * 7919) % 20000 - 10000);
        }
        std::vector<int16_t> y(size_t(1100 * chn), 0);
        audio_frame in{}, out{};
        in.data = x.data();
        in.len = 6000 * 2; // bytes of each channel
        out.data = y.data();
        EXPECT_EQ(rec_->process(h, &in, &out), 1000);
        EXPECT_EQ(out.len, 0u);
        // The same stream through the public API in one piece per 2046 frames gives the same.
        RES_Resampler *r = vx_resample_create(48000, 8000, chn);
        std::vector<int16_t> z(size_t(1100 * chn));
        int n = 0;
        for (int at = 0; at < 6000; at += 2046) {
            int cnt = std::min(2046, 6000 - at);
            n += vx_resample_process(r, x.data() + at * chn, cnt, z.data() + n * chn);
        }
        EXPECT_EQ(n, 1000);
        EXPECT_TRUE(std::equal(y.begin(), y.begin() + 1000 * chn, z.begin()));
        vx_resample_destroy(r);
        EXPECT_EQ(rec_->process(h, nullptr, &out), RES_ERR_NULL_PARAM);
        EXPECT_EQ(rec_->process(nullptr, &in, &out), RES_ERR_NULL_PARAM);
        in.len = 0;
        EXPECT_EQ(rec_->process(h, &in, &out), 0);
        rec_->deinit(h);
    }
}
