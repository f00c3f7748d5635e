// vqe_host with the recording library: options into the user record, the callback's lines.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "wav.h"

namespace {

struct Result {
    int status;
    std::string out, err;
};

std::string slurp(const std::string &path) {
    std::ifstream f(path);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

std::string tmp(const char *name) {
    return ::testing::TempDir() + "/" + name;
}

Result host(const std::string &args) {
    std::string cmd = std::string(VQE_HOST_PATH) + " " + VQE_RECORD_LIB + " " + args + " >" +
                      tmp("rec_host_out.txt") + " 2>" + tmp("rec_host_err.txt");
    int rc = std::system(cmd.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, slurp(tmp("rec_host_out.txt")),
            slurp(tmp("rec_host_err.txt"))};
}

} // namespace

TEST(VqeHostRecord, TwoMicrophonesThroughTheChainWithTheCallbackPrinted) {
    const int frames = 48000;
    std::vector<int16_t> x(2 * frames);
    for (int i = 0; i < frames; i++) {
        int16_t v = (int16_t)((i / 4800) % 2 ? ((i % 40) < 20 ? 32767 : -32768) : ((i * 7919) % 2001) - 1000);
        x[2 * (size_t)i] = v;
        x[2 * (size_t)i + 1] = (int16_t)(v / 2);
    }
    ASSERT_EQ(0, wav_write(tmp("rec_in.wav").c_str(), 48000, 2, x.data(), frames));
    Result r =
        host("--in " + tmp("rec_in.wav") + " --out " + tmp("rec_out.wav") +
             " --gain-range 4,20,2 --init-gain 16 --eq-gains 0,1,2,3,4,5,6,7,8,9 --rnr-values 15,-50"
             " --drc-rates 30,90 --drc-knees-in -1,-400,-800,-1000,-1300 --agc-values -3,-50,2,0,2,0,0,0");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("vqe_host: gain callback(14) in the buffer at frame"), std::string::npos) << r.out;
    wav_audio out;
    char why[256];
    ASSERT_EQ(0, wav_read(tmp("rec_out.wav").c_str(), &out, why, sizeof(why))) << why;
    EXPECT_EQ(out.rate, 48000);
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.frames, (size_t)frames);
    wav_free(&out);
}

TEST(VqeHostRecord, RefusedValuesAndRecords) {
    std::vector<int16_t> x(16000, 0);
    ASSERT_EQ(0, wav_write(tmp("rec_mono.wav").c_str(), 16000, 1, x.data(), 16000));
    std::string io = "--in " + tmp("rec_mono.wav") + " --out " + tmp("rec_mono_out.wav");
    Result r = host(io + " --eq-gains 1,2,3");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("--eq-gains wants 10 comma-separated numbers"), std::string::npos) << r.err;
    r = host(io + " --outs 3");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("[Info]:init failed, ret:-17!"), std::string::npos) << r.err;
    r = host(io + " --drc-rates 127,90");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("init failed, ret:-205!"), std::string::npos) << r.err;
    r = host(io + " --hdr 0 --rnr 0");
    EXPECT_EQ(r.status, 0) << r.err;
}
