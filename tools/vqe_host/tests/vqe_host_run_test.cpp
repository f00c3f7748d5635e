// vqe_host end to end: a run through the resampler library, and the errors it gives.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "vqe_resample.h"
#include "wav.h"

namespace {

struct Result {
    int status;
    std::string err;
};

Result host(const std::string &args) {
    std::string err_path = ::testing::TempDir() + "/vqe_host_err.txt";
    std::string cmd = std::string(VQE_HOST_PATH) + " " + args + " >/dev/null 2>" + err_path;
    int rc = std::system(cmd.c_str());
    std::ifstream f(err_path);
    std::stringstream ss;
    ss << f.rdbuf();
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ss.str()};
}

std::string tmp(const char *name) {
    return ::testing::TempDir() + "/" + name;
}

} // namespace

TEST(VqeHost, ResamplesAWavLikeTheFrameworkWould) {
    std::vector<int16_t> x(2 * 5000);
    for (size_t i = 0; i < x.size(); i++) {
        x[i] = int16_t((i * 2654435761u) >> 20);
    }
    ASSERT_EQ(wav_write(tmp("host_in.wav").c_str(), 48000, 2, x.data(), 5000), 0);
    Result r = host(std::string(VQE_RESAMPLE_LIB) + " --in " + tmp("host_in.wav") + " --out " +
                    tmp("host_out.wav") + " --mode 6");
    ASSERT_EQ(r.status, 0) << r.err;
    wav_audio out;
    char why[256];
    ASSERT_EQ(wav_read(tmp("host_out.wav").c_str(), &out, why, sizeof(why)), 0) << why;
    EXPECT_EQ(out.rate, 8000);
    EXPECT_EQ(out.channels, 2);
    // The same stream straight through the library, in the host's 960-frame buffers.
    RES_Resampler *res = vx_resample_create(48000, 8000, 2);
    std::vector<int16_t> want(2 * 900);
    int n = 0;
    for (int at = 0; at < 5000; at += 960) {
        int c = std::min(960, 5000 - at);
        int got = vx_resample_process(res, x.data() + 2 * at, c, want.data() + 2 * n);
        ASSERT_GE(got, 0);
        n += got;
    }
    vx_resample_destroy(res);
    ASSERT_EQ(out.frames, size_t(n));
    EXPECT_TRUE(std::equal(want.begin(), want.begin() + 2 * n, out.samples));
    wav_free(&out);
}

TEST(VqeHost, ClearErrors) {
    std::string lib = VQE_RESAMPLE_LIB;
    std::vector<int16_t> x(100, 1);
    ASSERT_EQ(wav_write(tmp("host_ok.wav").c_str(), 16000, 1, x.data(), 100), 0);
    // A WAV cut inside its data.
    {
        std::ifstream in(tmp("host_ok.wav"), std::ios::binary);
        std::string img((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::ofstream(tmp("host_cut.wav"), std::ios::binary) << img.substr(0, img.size() - 31);
        std::ofstream(tmp("host_junk.wav"), std::ios::binary)
            << std::string("RIFF\x04\x00\x00\x00WAVEjunk", 16);
    }
    Result r = host(lib + " --in " + tmp("host_cut.wav") + " --out " + tmp("x.wav") + " --rate 8000");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("truncated"), std::string::npos) << r.err;
    r = host(lib + " --in " + tmp("host_junk.wav") + " --out " + tmp("x.wav") + " --rate 8000");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("malformed"), std::string::npos) << r.err;
    r = host(lib + " --in " + tmp("host_ok.wav") + " --out " + tmp("x.wav") + " --rate 8000 --bogus");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown option --bogus"), std::string::npos) << r.err;
    r = host(lib + " --in " + tmp("host_ok.wav") + " --out " + tmp("x.wav") + " --rate 7000");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("invalid out_rate(7000)"), std::string::npos) << r.err;
    r = host(lib + " --in " + tmp("host_ok.wav") + " --out " + tmp("x.wav") + " --rate 8000 --channels 2");
    EXPECT_EQ(r.status, 1);
    r = host(std::string("/nonexistent/lib.so --in ") + tmp("host_ok.wav") + " --out " + tmp("x.wav"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot load"), std::string::npos) << r.err;
}
