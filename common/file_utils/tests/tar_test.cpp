#include "vyx_file_utils.h"
#include "vyx_tar.h"
#include "sys_paths.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/statvfs.h>

#include <fstream>
#include <map>
#include <tuple>
#include <string>
#include <thread>
#include <vector>

namespace {

void writeFile(const std::string &path, const std::string &data) {
    std::ofstream(path, std::ios::binary) << data;
}

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

uint32_t le32(const std::string &s, size_t at) {
    return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 |
           static_cast<uint8_t>(s[at + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}

void putLe32(std::string &s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) {
        s[at + i] = static_cast<char>(v >> (8 * i));
    }
}

// Recomputes the head CRC of an archive image after a deliberate change, so that a test reaches
// the checks behind it.
void fixHeadCrc(std::string &a) {
    std::string head = a.substr(0, le32(a, 16));
    putLe32(head, 12, 0);
    uint32_t crc = VYX_crc32(0, head.data(), head.size());
    for (int i = 0; i < static_cast<uint8_t>(a[20]); i++) {
        uint32_t off = le32(a, 21 + 8 * i);
        if (off + 9 > a.size() || off + 9 + static_cast<uint8_t>(a[off + 8]) > a.size()) {
            break; // an entry pointing outside the image: the archive is refused before its CRC matters
        }
        size_t n = static_cast<uint8_t>(a[off + 8]);
        crc = VYX_crc32(crc, a.data() + off, 9 + n);
    }
    putLe32(a, 12, crc);
}

std::map<std::string, std::string> listDir(const std::string &dir) {
    std::map<std::string, std::string> out;
    VYX_FileList list = {};
    snprintf(list.szDir, sizeof(list.szDir), "%s", dir.c_str());
    list.s32Max = 255;
    if (VYX_getfiles(&list) == 0) {
        for (int i = 0; i < list.s32Num; i++) {
            out[list.ppcNames[i]] = readFile(dir + "/" + list.ppcNames[i]);
        }
        VYX_freefiles(&list);
    }
    return out;
}

class Tar : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VYX_mkDir(SYS_PATH_TMP), 0);
        std::string tmpl = std::string(SYS_PATH_TMP) + "tar.XXXXXX";
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
        src = dir + "/src";
        out = dir + "/out";
        archive = dir + "/a.vyx";
        ASSERT_EQ(VYX_mkDir(src.c_str()), 0);
    }
    void TearDown() override { VYX_rmDir(dir.c_str()); }

    std::vector<std::string> makeFiles(const std::map<std::string, std::string> &files) {
        std::vector<std::string> paths;
        for (const auto &[name, data] : files) {
            writeFile(src + "/" + name, data);
            paths.push_back(src + "/" + name);
        }
        return paths;
    }
    static std::vector<const char *> cstrs(const std::vector<std::string> &v) {
        std::vector<const char *> out;
        for (const auto &s : v) {
            out.push_back(s.c_str());
        }
        return out;
    }

    std::string dir, src, out, archive;
};

const std::map<std::string, std::string> kSample = {
    {"clip.mp4", std::string(70000, 'v') + "end"},
    {"empty", ""},
    {"notes.txt", "first line\nsecond line\n"},
};

TEST_F(Tar, EmptyArchiveIsTheBareHeadAndUnpacksToAnEmptyDirectory) {
    ASSERT_EQ(VYX_tar(archive.c_str(), nullptr, 0, 0), 0);
    std::string a = readFile(archive);
    ASSERT_EQ(a.size(), 21u);
    EXPECT_EQ(a.substr(0, 7), "vyxT1.0");
    EXPECT_EQ(a[7], 0);
    EXPECT_EQ(le32(a, 16), 21u);
    EXPECT_EQ(a[20], 0);
    ASSERT_EQ(VYX_untar(archive.c_str(), out.c_str()), 0);
    EXPECT_TRUE(VYX_isDir(out.c_str()));
    EXPECT_TRUE(listDir(out).empty());
}

TEST_F(Tar, LayoutIsByteForByte) {
    auto paths = makeFiles({{"ab", "xyz"}});
    auto c = cstrs(paths);
    ASSERT_EQ(VYX_tar(archive.c_str(), c.data(), 1, 0x00), 0);
    std::string a = readFile(archive);
    ASSERT_EQ(a.size(), 21u + 8 + 9 + 3 + 3);
    EXPECT_EQ(le32(a, 16), 29u) << "head length";
    EXPECT_EQ(le32(a, 21), 29u) << "first record follows the table";
    EXPECT_EQ(le32(a, 25), 9u + 3 + 3) << "record length";
    EXPECT_EQ(le32(a, 29), 3u) << "data size";
    EXPECT_EQ(le32(a, 33), VYX_crc32(0, "xyz", 3)) << "data CRC";
    EXPECT_EQ(a[37], 3) << "name length with NUL";
    EXPECT_EQ(a.substr(38, 3), std::string("ab\0", 3));
    EXPECT_EQ(a.substr(41), "xyz");
    std::string copy = a;
    fixHeadCrc(copy);
    EXPECT_EQ(copy, a) << "head CRC over head, table and record heads";
    FILE *fp = fopen(archive.c_str(), "rb");
    uint32_t stored = 0, computed = 1;
    ASSERT_EQ(VYX_tar_getBigHeadCrc32(fp, &stored, &computed), 0);
    fclose(fp);
    EXPECT_EQ(stored, computed);
    EXPECT_EQ(VYX_crc32(0, "123456789", 9), 0xCBF43926u) << "standard CRC-32 check value";
}

TEST_F(Tar, RawAndCompressedRoundTrips) {
    auto paths = makeFiles(kSample);
    auto c = cstrs(paths);
    ASSERT_EQ(VYX_tar(archive.c_str(), c.data(), static_cast<int>(c.size()), 0), 0);
    ASSERT_EQ(VYX_untar(archive.c_str(), out.c_str()), 0);
    EXPECT_EQ(listDir(out), kSample);

    std::string zipped = dir + "/z.vyx";
    ASSERT_EQ(VYX_zipTar(zipped.c_str(), c.data(), static_cast<int>(c.size())), 0);
    std::string z = readFile(zipped);
    EXPECT_EQ(z[7], VYX_TAR_FLAG_ZIP);
    EXPECT_LT(z.size(), readFile(archive).size());
    ASSERT_EQ(VYX_untar(zipped.c_str(), out.c_str()), 0) << "replaces the earlier contents";
    EXPECT_EQ(listDir(out), kSample);

    ASSERT_EQ(VYX_tarDir(archive.c_str(), src.c_str()), 0);
    ASSERT_EQ(VYX_untar(archive.c_str(), out.c_str()), 0);
    EXPECT_EQ(listDir(out), kSample);
    ASSERT_EQ(VYX_zipTarDir(zipped.c_str(), src.c_str()), 0);
    ASSERT_EQ(VYX_untar(zipped.c_str(), out.c_str()), 0);
    EXPECT_EQ(listDir(out), kSample);
}

TEST_F(Tar, TwentyMegabyteFile) {
    std::string big(20 * 1000 * 1000, '\0');
    uint32_t x = 12345;
    for (auto &ch : big) {
        x = x * 1103515245u + 12345u;
        ch = static_cast<char>(x >> 24);
    }
    auto paths = makeFiles({{"big.bin", big}});
    auto c = cstrs(paths);
    ASSERT_EQ(VYX_tar(archive.c_str(), c.data(), 1, 0), 0);
    ASSERT_EQ(VYX_untar(archive.c_str(), out.c_str()), 0);
    EXPECT_TRUE(readFile(out + "/big.bin") == big);
}

TEST_F(Tar, NameByteChangeFailsOnTheHeadCrcBeforeAnythingIsWritten) {
    auto paths = makeFiles(kSample);
    auto c = cstrs(paths);
    ASSERT_EQ(VYX_tar(archive.c_str(), c.data(), static_cast<int>(c.size()), 0), 0);
    ASSERT_EQ(VYX_mkDir(out.c_str()), 0);
    writeFile(out + "/precious", "still here");
    std::string a = readFile(archive);
    a[le32(a, 21) + 9] ^= 0x01;
    writeFile(archive, a);
    testing::internal::CaptureStdout();
    EXPECT_EQ(VYX_untar(archive.c_str(), out.c_str()), -1);
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("check crc32 error"), std::string::npos) << log;
    EXPECT_EQ(readFile(out + "/precious"), "still here");
}

TEST_F(Tar, DataByteChangeFailsThatFileAndRemovesTheDestination) {
    auto paths = makeFiles(kSample);
    auto c = cstrs(paths);
    ASSERT_EQ(VYX_tar(archive.c_str(), c.data(), static_cast<int>(c.size()), 0), 0);
    std::string a = readFile(archive);
    uint32_t last = le32(a, 21 + 8 * 2);
    a[last + 9 + static_cast<uint8_t>(a[last + 8])] ^= 0x40; // first data byte of notes.txt
    writeFile(archive, a);
    testing::internal::CaptureStdout();
    EXPECT_EQ(VYX_untar(archive.c_str(), out.c_str()), -1);
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("fullName=notes.txt"), std::string::npos) << log;
    EXPECT_FALSE(VYX_isDir(out.c_str()));
}

// Archives a hostile peer could craft: each is refused before the destination is touched.
TEST_F(Tar, CraftedArchivesAreRefusedAndWriteNothing) {
    auto paths = makeFiles({{"aa", "data"}, {"bb", "more"}});
    auto c = cstrs(paths);
    ASSERT_EQ(VYX_tar(archive.c_str(), c.data(), 2, 0), 0);
    const std::string good = readFile(archive);
    const uint32_t rec0 = le32(good, 21);

    auto withName = [&](const std::string &name) {
        // Rebuild record 0 with another name of the same length, or a longer one.
        std::string a = good;
        std::string data = "data";
        std::string rec(9, '\0');
        putLe32(rec, 0, 4);
        putLe32(rec, 4, VYX_crc32(0, data.data(), 4));
        rec[8] = static_cast<char>(name.size() + 1);
        rec += name + std::string(1, '\0') + data;
        uint32_t oldLen = le32(good, 25);
        a = a.substr(0, rec0) + rec + a.substr(rec0 + oldLen);
        putLe32(a, 25, static_cast<uint32_t>(rec.size()));
        putLe32(a, 29, rec0 + static_cast<uint32_t>(rec.size()));
        fixHeadCrc(a);
        return a;
    };
    std::vector<std::pair<std::string, std::string>> cases = {
        {"dot-dot", withName("..")},
        {"dot", withName(".")},
        {"slash", withName("../../escape")},
        {"absolute", withName("/etc/x")},
        {"long", withName(std::string(128, 'n'))},
        {"duplicate", withName("bb")},
    };
    {
        std::string a = good;
        a[rec0 + 8] = 1;             // name length 1: empty name
        putLe32(a, 25, le32(a, 25)); // lengths no longer add up either
        fixHeadCrc(a);
        cases.emplace_back("empty-name", a);
    }
    {
        std::string a = good;
        a[rec0 + 9 + 2] = 'x'; // NUL missing where the length says
        fixHeadCrc(a);
        cases.emplace_back("no-nul", a);
    }
    {
        std::string a = good;
        putLe32(a, 29, 0x7FFFFFF0); // record 1 far outside the file
        fixHeadCrc(a);
        cases.emplace_back("offset-outside", a);
    }
    {
        std::string a = good;
        putLe32(a, 25, le32(a, 25) + 1000);
        fixHeadCrc(a);
        cases.emplace_back("length-outside", a);
    }
    {
        std::string a = good;
        putLe32(a, rec0, 0xFFFFFFF0); // data size beyond the record
        fixHeadCrc(a);
        cases.emplace_back("size-beyond-record", a);
    }
    {
        std::string a = good;
        a[20] = static_cast<char>(200); // more entries than the file holds
        putLe32(a, 16, 21 + 8 * 200);
        cases.emplace_back("count-too-large", a);
    }
    {
        std::string a = good;
        a[20] = 1; // count disagrees with the head length
        fixHeadCrc(a);
        cases.emplace_back("count-vs-head-length", a);
    }
    {
        std::string a = good;
        putLe32(a, 29, rec0); // both entries point at the same record
        putLe32(a, 33, le32(a, 25));
        fixHeadCrc(a);
        cases.emplace_back("overlapping", a);
    }
    cases.emplace_back("truncated-head", good.substr(0, 15));
    cases.emplace_back("truncated-table", good.substr(0, 25));
    cases.emplace_back("bad-tag", "vyxZ" + good.substr(4));
    cases.emplace_back("bad-version", good.substr(0, 4) + "2.0" + good.substr(7));

    ASSERT_EQ(VYX_mkDir(out.c_str()), 0);
    writeFile(out + "/precious", "still here");
    for (const auto &[what, bytes] : cases) {
        writeFile(archive, bytes);
        testing::internal::CaptureStdout();
        EXPECT_EQ(VYX_untar(archive.c_str(), out.c_str()), -1) << what;
        auto list = [](const char *, uint32_t, void *) {};
        EXPECT_EQ(VYX_tarList(archive.c_str(), list, nullptr, nullptr), -1) << what;
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(readFile(out + "/precious"), "still here") << what;
        EXPECT_FALSE(VYX_isFile((dir + "/escape").c_str())) << what;
    }
}

TEST_F(Tar, PackingRefusesNamesItCannotKeep) {
    auto paths = makeFiles({{"same", "1"}});
    ASSERT_EQ(VYX_mkDir((src + "/other").c_str()), 0);
    writeFile(src + "/other/same", "2");
    std::vector<const char *> dup = {paths[0].c_str(), (src + "/other/same").c_str()};
    std::string second = src + "/other/same";
    dup[1] = second.c_str();
    EXPECT_EQ(VYX_tar(archive.c_str(), dup.data(), 2, 0), -1) << "two files with one base name";
    EXPECT_FALSE(VYX_isFile(archive.c_str())) << "refused before the archive is created";

    std::string longName = src + "/" + std::string(128, 'l');
    writeFile(longName, "x");
    const char *one[] = {longName.c_str()};
    EXPECT_EQ(VYX_tar(archive.c_str(), one, 1, 0), -1);
    EXPECT_EQ(VYX_zipTar(archive.c_str(), one, 1), -1);

    std::string missing = src + "/missing";
    const char *gone[] = {missing.c_str()};
    EXPECT_EQ(VYX_tar(archive.c_str(), gone, 1, 0), -1);
    EXPECT_EQ(VYX_tar(archive.c_str(), gone, 256, 0), -1) << "at most 255 files";
    EXPECT_EQ(VYX_tar(nullptr, gone, 1, 0), -1);
}

TEST_F(Tar, PlainFileNamesPackRelativeToTheWorkingDirectory) {
    makeFiles({{"notes.txt", "relative"}});
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
    ASSERT_EQ(chdir(src.c_str()), 0);
    const char *files[] = {"notes.txt"};
    int ret = VYX_tar(archive.c_str(), files, 1, 0);
    ASSERT_EQ(chdir(cwd), 0);
    ASSERT_EQ(ret, 0);
    ASSERT_EQ(VYX_untar(archive.c_str(), out.c_str()), 0);
    EXPECT_EQ(readFile(out + "/notes.txt"), "relative");
}

TEST_F(Tar, CompressingRunsAtOnceDoNotMeet) {
    std::vector<std::string> archives;
    std::vector<std::thread> runs;
    std::atomic<int> failures{0};
    for (int t = 0; t < 3; t++) {
        std::string d = src + "/set" + std::to_string(t);
        ASSERT_EQ(VYX_mkDir(d.c_str()), 0);
        writeFile(d + "/file", std::string(40000, static_cast<char>('a' + t)));
        archives.push_back(dir + "/z" + std::to_string(t) + ".vyx");
    }
    for (int t = 0; t < 3; t++) {
        runs.emplace_back([&, t] {
            std::string d = src + "/set" + std::to_string(t);
            if (VYX_zipTarDir(archives[t].c_str(), d.c_str()) != 0) {
                failures++;
            }
        });
    }
    for (auto &r : runs) {
        r.join();
    }
    ASSERT_EQ(failures, 0);
    for (int t = 0; t < 3; t++) {
        std::string o = out + std::to_string(t);
        ASSERT_EQ(VYX_untar(archives[t].c_str(), o.c_str()), 0);
        EXPECT_EQ(readFile(o + "/file"), std::string(40000, static_cast<char>('a' + t)));
    }
}

// Unpacking bounds: the archive limit and the room on the destination's file system.
class TarBounds : public Tar {
  protected:
    void SetUp() override {
        Tar::SetUp();
        VYX_throttleEnable(false);
    }
    void TearDown() override {
        VYX_throttleEnable(true);
        Tar::TearDown();
    }
    // Unpacks and returns the result and the log.
    std::pair<int, std::string> untar(const std::string &dest, uint64_t max = VYX_TAR_UNPACK_MAX) {
        testing::internal::CaptureStdout();
        int ret = VYX_untarMax(archive.c_str(), dest.c_str(), max);
        return {ret, testing::internal::GetCapturedStdout()};
    }
};

TEST_F(TarBounds, UnpackedSizeOverTheLimitIsRefusedWithNothingWrittenPastIt) {
    auto paths = makeFiles({{"a.bin", std::string(300000, '\0')}, {"b.bin", std::string(300000, '\0')}});
    auto files = cstrs(paths);
    ASSERT_EQ(VYX_zipTar(archive.c_str(), files.data(), 2), 0);
    ASSERT_LT(readFile(archive).size(), 10000u) << "zeros compress well";
    auto [ret, log] = untar(out, 500000);
    EXPECT_EQ(ret, -1);
    EXPECT_NE(log.find("unpacked size over the limit"), std::string::npos) << log;
    EXPECT_NE(log.find("needs more than 500000 bytes"), std::string::npos) << log;
    EXPECT_FALSE(VYX_isDir(out.c_str()));
    EXPECT_EQ(untar(out, 600000).first, 0) << "exactly the limit fits";
    EXPECT_EQ(listDir(out).size(), 2u);

    // Stored data are measured from the records and refused before any file is created.
    ASSERT_EQ(VYX_tar(archive.c_str(), files.data(), 2, 0), 0);
    std::tie(ret, log) = untar(out, 599999);
    EXPECT_EQ(ret, -1);
    EXPECT_NE(log.find("needs 600000 bytes, limit 599999 bytes"), std::string::npos) << log;
    EXPECT_EQ(log.find("----- untar"), std::string::npos) << "nothing unpacked";
    EXPECT_FALSE(VYX_isDir(out.c_str()));
}

TEST_F(TarBounds, ArchiveThatWouldFillTheDiskIsRefused) {
    // A small file system of its own (the tests run as root in a private mount namespace).
    std::string small = dir + "/small";
    ASSERT_EQ(VYX_mkDir(small.c_str()), 0);
    if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=2m") != 0) {
        GTEST_SKIP() << "cannot mount a small tmpfs: " << strerror(errno);
    }
    std::string dest = small + "/out";
    auto paths = makeFiles({{"big.bin", std::string(1500000, '\0')}, {"small.txt", "fits"}});
    auto files = cstrs(paths);
    for (bool zip : {false, true}) {
        ASSERT_EQ(zip ? VYX_zipTar(archive.c_str(), files.data(), 2)
                      : VYX_tar(archive.c_str(), files.data(), 2, 0),
                  0);
        auto [ret, log] = untar(dest);
        EXPECT_EQ(ret, -1) << zip;
        EXPECT_NE(log.find("unpacking would fill the disk"), std::string::npos) << log;
        EXPECT_FALSE(VYX_isDir(dest.c_str())) << zip;
        struct statvfs st;
        ASSERT_EQ(statvfs(small.c_str(), &st), 0);
        EXPECT_GE((uint64_t)st.f_bavail * st.f_frsize, 2000000u) << "nothing left behind";
    }
    const char *one[] = {files[1]};
    ASSERT_EQ(VYX_zipTar(archive.c_str(), one, 1), 0);
    EXPECT_EQ(untar(dest).first, 0);
    EXPECT_EQ(readFile(dest + "/small.txt"), "fits");
    umount(small.c_str());
}

TEST_F(TarBounds, FailedPackingLeavesNoPartialArchiveAndKeepsTheOldOne) {
    auto paths = makeFiles(kSample);
    auto files = cstrs(paths);
    ASSERT_EQ(VYX_tar(archive.c_str(), files.data(), 3, 0), 0);
    const std::string before = readFile(archive);
    std::string missing = src + "/missing";
    std::vector<const char *> withGap = {files[0], files[1], missing.c_str()};
    testing::internal::CaptureStdout();
    EXPECT_EQ(VYX_tar(archive.c_str(), withGap.data(), 3, 0), -1);
    EXPECT_EQ(VYX_zipTar(archive.c_str(), withGap.data(), 3), -1);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(readFile(archive), before);
    int files_ = 0, dirs = 0;
    ASSERT_EQ(VYX_getDirFilesNum(dir.c_str(), &files_, &dirs), 0);
    EXPECT_EQ(files_, 1) << "only a.vyx: no scratch file left";
    std::string other = dir + "/new.vyx";
    EXPECT_EQ(VYX_tar(other.c_str(), withGap.data(), 3, 0), -1);
    EXPECT_FALSE(VYX_isFile(other.c_str()));
}

} // namespace
