// vqe_host end to end with the talk library: the same samples as the library driven directly,
// and the option errors.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "vqe_talkv2.h"
#include "wav.h"

namespace {

struct Result {
    int status;
    std::string err;
};

Result host(const std::string &args) {
    std::string err_path = ::testing::TempDir() + "/vqe_host_talk_err.txt";
    std::string cmd = std::string(VQE_HOST_PATH) + " " + std::string(VQE_TALKV2_LIB) + " " + args +
                      " >/dev/null 2>" + err_path;
    int rc = std::system(cmd.c_str());
    std::ifstream f(err_path);
    std::stringstream ss;
    ss << f.rdbuf();
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ss.str()};
}

std::string tmp(const char *name) {
    return ::testing::TempDir() + "/" + name;
}

/* Writes `x` (interleaved) as the input, runs the host with `options` and reads its output, which
 * must have as many frames as the input. */
void run_host(const std::string &name, const std::vector<int16_t> &x, int channels,
              const std::string &options, wav_audio *out) {
    size_t n = x.size() / (size_t)channels;
    ASSERT_EQ(0, wav_write(tmp((name + "_in.wav").c_str()).c_str(), 16000, channels, x.data(), n));
    Result r = host("--in " + tmp((name + "_in.wav").c_str()) + " --out " + tmp((name + "_out.wav").c_str()) +
                    " " + options);
    ASSERT_EQ(0, r.status) << r.err;
    char why[256];
    ASSERT_EQ(0, wav_read(tmp((name + "_out.wav").c_str()).c_str(), out, why, sizeof(why))) << why;
    ASSERT_EQ(n, out->frames);
}

} // namespace

TEST(VqeHostTalk, RunsTheLibraryLikeTheFramework) {
    size_t n = 256 * 4 * 5 + 100; /* a short last buffer */
    std::vector<int16_t> x(2 * n);
    for (size_t i = 0; i < n; i++) {
        x[2 * i] = (int16_t)(6000 * std::sin(0.05 * (double)i) + ((i * 2654435761u) >> 22));
        x[2 * i + 1] = (int16_t)(8000 * std::sin(0.031 * (double)i));
    }
    wav_audio out = {};
    run_host("talk", x, 2, "--aec 1 --nr 1 --limiter 1 --type 2", &out);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(1, out.channels);
    /* the library directly, in the host's buffers of four frames */
    alignas(8) uint8_t user[VQE_TALKV2_USER_SIZE] = {};
    user[32] = user[0] = user[20] = 1;
    user[44] = 1;
    vqe_config cfg = {0, 0, 2, user};
    void *h = nullptr;
    ASSERT_EQ(0, vqe_talkv2_init(&h, 16000, &cfg));
    std::vector<int16_t> mic(1024 + 8), ref(1024 + 8), o(1024 + 8), want;
    for (size_t at = 0; at < n; at += 1024) {
        std::fill(mic.begin(), mic.end(), 0);
        std::fill(ref.begin(), ref.end(), 0);
        for (size_t i = 0; i < 1024 && at + i < n; i++) {
            mic[i] = x[2 * (at + i)];
            ref[i] = x[2 * (at + i) + 1];
        }
        audio_frame in = {}, of = {};
        in.data = mic.data();
        in.rin_data = ref.data();
        in.len = 2048;
        of.data = o.data();
        ASSERT_EQ(0, vqe_talkv2_process(h, &in, &of));
        want.insert(want.end(), o.begin(), o.begin() + (long)std::min<size_t>(1024, n - at));
    }
    vqe_talkv2_deinit(h);
    EXPECT_EQ(0, memcmp(want.data(), out.samples, n * 2));
    wav_free(&out);
}

TEST(VqeHostTalk, OptionErrors) {
    std::vector<int16_t> x(256 * 4, 0);
    ASSERT_EQ(0, wav_write(tmp("talk_mono.wav").c_str(), 16000, 1, x.data(), x.size()));
    ASSERT_EQ(0, wav_write(tmp("talk_8k.wav").c_str(), 8000, 1, x.data(), x.size()));
    Result r = host("--in " + tmp("talk_mono.wav") + " --out " + tmp("o.wav") + " --aec 1");
    EXPECT_NE(0, r.status);
    EXPECT_NE(std::string::npos, r.err.find("--aec 1 needs --ref")) << r.err;
    r = host("--in " + tmp("talk_8k.wav") + " --out " + tmp("o.wav"));
    EXPECT_NE(0, r.status);
    EXPECT_NE(std::string::npos, r.err.find("works at 16000 Hz")) << r.err;
    r = host("--in " + tmp("talk_mono.wav") + " --out " + tmp("o.wav") + " --eq-gains 1,2,3");
    EXPECT_NE(0, r.status);
    EXPECT_NE(std::string::npos, r.err.find("--eq-gains wants 30")) << r.err;
    /* a value the library refuses: init fails cleanly */
    r = host("--in " + tmp("talk_mono.wav") + " --out " + tmp("o.wav") + " --fmp 1 --fmp-value 11");
    EXPECT_NE(0, r.status);
}

/* The wind-noise network, dereverberation and howling suppression through the host's options,
 * two microphones (third channel), against the library driven directly. */
TEST(VqeHostTalk, WindDereverbAndHowlingOptions) {
    size_t n = 256 * 4 * 6;
    std::vector<int16_t> x(3 * n);
    for (size_t i = 0; i < n; i++) {
        x[3 * i] = (int16_t)(6000 * std::sin(0.05 * (double)i) + ((i * 2654435761u) >> 21));
        x[3 * i + 2] = (int16_t)(6000 * std::sin(0.05 * (double)i) + ((i * 40503u) & 4095));
    }
    wav_audio out = {};
    run_host("talk3", x, 3, "--mics 2 --wnr 1 --dereverb 1 --hs 1 --hs-values 100,1,20,200,40", &out);
    ASSERT_FALSE(HasFatalFailure());
    alignas(8) uint8_t user[VQE_TALKV2_USER_SIZE] = {};
    const int32_t fields[][2] = {{VQE_TALKV2_U_WNR_ON, 1},
                                 {VQE_TALKV2_U_DEREVERB_ON, 1},
                                 {VQE_TALKV2_U_HS_ON, 1},
                                 {VQE_TALKV2_U_MIC_NUM, 2},
                                 {248, 1},
                                 {252, 100},
                                 {256, 1},
                                 {260, 20},
                                 {264, 200},
                                 {268, 40}};
    for (auto &f : fields) {
        memcpy(user + f[0], &f[1], 4);
    }
    vqe_config cfg = {0, 0, 1, user};
    void *h = nullptr;
    ASSERT_EQ(0, vqe_talkv2_init(&h, 16000, &cfg));
    std::vector<int16_t> mic(1024 + 8), mic2(1024 + 8), o(1024 + 8), o2(1024 + 8), want;
    for (size_t at = 0; at < n; at += 1024) {
        for (size_t i = 0; i < 1024; i++) {
            mic[i] = x[3 * (at + i)];
            mic2[i] = x[3 * (at + i) + 2];
        }
        audio_frame in = {}, of = {};
        in.data = mic.data();
        in.extern_data = mic2.data();
        in.len = 2048;
        of.data = o.data();
        of.extern_data = o2.data();
        ASSERT_EQ(0, vqe_talkv2_process(h, &in, &of));
        want.insert(want.end(), o.begin(), o.begin() + 1024);
    }
    vqe_talkv2_deinit(h);
    EXPECT_EQ(0, memcmp(want.data(), out.samples, n * 2));
    wav_free(&out);
}
