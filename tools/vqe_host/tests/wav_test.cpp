#include "wav.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void put16(std::vector<uint8_t> &v, uint16_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
void put32(std::vector<uint8_t> &v, uint32_t x) {
    put16(v, uint16_t(x));
    put16(v, uint16_t(x >> 16));
}
void tag(std::vector<uint8_t> &v, const char *t) {
    v.insert(v.end(), t, t + 4);
}

struct Fmt {
    uint16_t format = 1, channels = 1, bits = 16;
    uint32_t rate = 16000;
    int align = -1;
};

std::vector<uint8_t> fmt_chunk(const Fmt &f) {
    std::vector<uint8_t> v;
    tag(v, "fmt ");
    put32(v, 16);
    put16(v, f.format);
    put16(v, f.channels);
    put32(v, f.rate);
    put32(v, f.rate * f.channels * 2);
    put16(v, uint16_t(f.align >= 0 ? f.align : f.channels * 2));
    put16(v, f.bits);
    return v;
}

std::vector<uint8_t> riff(const std::vector<std::vector<uint8_t>> &chunks) {
    std::vector<uint8_t> body;
    tag(body, "WAVE");
    for (auto &c : chunks) {
        body.insert(body.end(), c.begin(), c.end());
    }
    std::vector<uint8_t> v;
    tag(v, "RIFF");
    put32(v, uint32_t(body.size()));
    v.insert(v.end(), body.begin(), body.end());
    return v;
}

std::vector<uint8_t> data_chunk(const std::vector<int16_t> &s, int claim = -1) {
    std::vector<uint8_t> v;
    tag(v, "data");
    put32(v, claim >= 0 ? uint32_t(claim) : uint32_t(s.size() * 2));
    for (int16_t x : s) {
        put16(v, uint16_t(x));
    }
    return v;
}

std::string parse_error(const std::vector<uint8_t> &img) {
    wav_audio a;
    char err[256] = "";
    if (wav_parse(img.data(), img.size(), &a, err, sizeof(err)) == 0) {
        wav_free(&a);
        return "";
    }
    return err;
}

} // namespace

TEST(Wav, ReadsPcmAfterUnknownOddChunk) {
    std::vector<uint8_t> junk;
    tag(junk, "LIST");
    put32(junk, 3);
    junk.insert(junk.end(), {1, 2, 3, 0}); /* padded to even */
    Fmt f;
    f.channels = 2;
    auto img = riff({fmt_chunk(f), junk, data_chunk({1, -2, 300, -32768})});
    wav_audio a;
    char err[256];
    ASSERT_EQ(wav_parse(img.data(), img.size(), &a, err, sizeof(err)), 0) << err;
    EXPECT_EQ(a.channels, 2);
    EXPECT_EQ(a.rate, 16000);
    ASSERT_EQ(a.frames, 2u);
    EXPECT_EQ(a.samples[1], -2);
    EXPECT_EQ(a.samples[3], -32768);
    wav_free(&a);
}

TEST(Wav, RefusesWhatItCannotTake) {
    std::vector<int16_t> s = {1, 2, 3, 4};
    EXPECT_NE(parse_error({}), "");
    EXPECT_NE(parse_error({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}), "");
    EXPECT_NE(parse_error(riff({data_chunk(s)})).find("format"), std::string::npos);
    EXPECT_NE(parse_error(riff({fmt_chunk({})})).find("no data"), std::string::npos);
    Fmt f8;
    f8.bits = 8;
    EXPECT_NE(parse_error(riff({fmt_chunk(f8), data_chunk(s)})).find("8 bits"), std::string::npos);
    Fmt ffloat;
    ffloat.format = 3;
    EXPECT_NE(parse_error(riff({fmt_chunk(ffloat), data_chunk(s)})).find("tag 3"), std::string::npos);
    Fmt fch;
    fch.channels = 0;
    EXPECT_NE(parse_error(riff({fmt_chunk(fch), data_chunk(s)})), "");
    Fmt falign;
    falign.align = 3;
    EXPECT_NE(parse_error(riff({fmt_chunk(falign), data_chunk(s)})), "");
    Fmt frate;
    frate.rate = 0;
    EXPECT_NE(parse_error(riff({fmt_chunk(frate), data_chunk(s)})), "");
    /* data claims more than the file holds */
    EXPECT_NE(parse_error(riff({fmt_chunk({}), data_chunk(s, 4000)})).find("truncated"), std::string::npos);
    /* stereo data that stops inside a frame */
    Fmt fst;
    fst.channels = 2;
    EXPECT_NE(parse_error(riff({fmt_chunk(fst), data_chunk({1, 2, 3})})).find("truncated"),
              std::string::npos);
    /* every prefix of a good file is refused or parsed, never read past */
    auto good = riff({fmt_chunk({}), data_chunk(s)});
    for (size_t n = 0; n < good.size(); n++) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + long(n));
        EXPECT_NE(parse_error(cut), "") << n;
    }
}

TEST(Wav, WriteThenReadRoundTrips) {
    std::string path = ::testing::TempDir() + "/wav_round_trip.wav";
    std::vector<int16_t> s = {0, 1, -1, 32767, -32768, 1234};
    ASSERT_EQ(wav_write(path.c_str(), 44100, 2, s.data(), 3), 0);
    wav_audio a;
    char err[256];
    ASSERT_EQ(wav_read(path.c_str(), &a, err, sizeof(err)), 0) << err;
    EXPECT_EQ(a.rate, 44100);
    EXPECT_EQ(a.channels, 2);
    ASSERT_EQ(a.frames, 3u);
    EXPECT_EQ(std::vector<int16_t>(a.samples, a.samples + 6), s);
    wav_free(&a);
    std::remove(path.c_str());
    EXPECT_NE(wav_read(path.c_str(), &a, err, sizeof(err)), 0);
    EXPECT_NE(std::string(err).find("cannot open"), std::string::npos);
}
