#include "vyx_file_utils.h"
#include "vyx_pthread.h"
#include "sys_paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::string makeTempDir() {
    std::string tmpl = std::string(SYS_PATH_TMP) + "fu.XXXXXX";
    EXPECT_EQ(VYX_mkDir(SYS_PATH_TMP), 0);
    char *dir = mkdtemp(tmpl.data());
    EXPECT_NE(dir, nullptr);
    return tmpl;
}

void writeFile(const std::string &path, const std::string &data) {
    std::ofstream(path, std::ios::binary) << data;
}

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class FileUtils : public ::testing::Test {
  protected:
    void SetUp() override { dir = makeTempDir(); }
    void TearDown() override { VYX_rmDir(dir.c_str()); }
    std::string dir;
};

TEST_F(FileUtils, MkDirCreatesMissingParentsWithPlainPermissions) {
    std::string deep = dir + "/a/b/c";
    mode_t old = umask(022);
    ASSERT_EQ(VYX_mkDir(deep.c_str()), 0);
    umask(old);
    struct stat st;
    ASSERT_EQ(stat(deep.c_str(), &st), 0);
    ASSERT_TRUE(S_ISDIR(st.st_mode));
    // rwxr-xr-x: no set-group-id, no sticky bit, not world-writable.
    EXPECT_EQ(st.st_mode & 07777, 0755u);
    EXPECT_EQ(VYX_mkDir(deep.c_str()), 0) << "an existing path is fine";
}

TEST_F(FileUtils, MkDirRenamesAFileInTheWayToBak) {
    writeFile(dir + "/x", "keep me");
    ASSERT_EQ(VYX_mkDir((dir + "/x/y/").c_str()), 0);
    EXPECT_TRUE(VYX_isDir((dir + "/x/y").c_str()));
    EXPECT_EQ(readFile(dir + "/x.BAK"), "keep me");
}

TEST_F(FileUtils, MkDirRefusesNullAndEmpty) {
    EXPECT_EQ(VYX_mkDir(nullptr), -1);
    EXPECT_EQ(VYX_mkDir(""), -1);
}

TEST_F(FileUtils, RmDirTrailingSlashOrStarKeepsTheDirectory) {
    for (const char *suffix : {"/", "/*"}) {
        std::string d = dir + "/t";
        ASSERT_EQ(VYX_mkDir((d + "/sub/deeper").c_str()), 0);
        writeFile(d + "/f1", "1");
        writeFile(d + "/sub/f2", "2");
        ASSERT_EQ(VYX_rmDir((d + suffix).c_str()), 0) << suffix;
        EXPECT_TRUE(VYX_isDir(d.c_str())) << suffix;
        int files = -1, dirs = -1;
        ASSERT_EQ(VYX_getDirFilesNum(d.c_str(), &files, &dirs), 0);
        EXPECT_EQ(files + dirs, 0) << suffix;
    }
    ASSERT_EQ(VYX_rmDir((dir + "/t").c_str()), 0);
    EXPECT_FALSE(VYX_isDir((dir + "/t").c_str()));
    EXPECT_EQ(VYX_rmDir("/"), -1) << "a path shorter than 2 characters is refused";
    EXPECT_EQ(VYX_rmDir(nullptr), -1);
    EXPECT_EQ(VYX_rmDir((dir + "/missing").c_str()), -1);
}

TEST_F(FileUtils, FreadChecksBoundsAndKeepsThePosition) {
    std::string data(100000, '\0');
    for (size_t i = 0; i < data.size(); i++) {
        data[i] = static_cast<char>(i * 7);
    }
    writeFile(dir + "/f", data);
    FILE *fp = fopen((dir + "/f").c_str(), "rb");
    ASSERT_NE(fp, nullptr);
    fseek(fp, 123, SEEK_SET);
    std::vector<char> buf(70000);
    ASSERT_EQ(VYX_fread(buf.data(), 30000, 70000, fp), 0) << "spans several 32 KiB blocks";
    EXPECT_EQ(std::string(buf.data(), 70000), data.substr(30000, 70000));
    EXPECT_EQ(ftell(fp), 123);
    testing::internal::CaptureStdout();
    EXPECT_EQ(VYX_fread(buf.data(), 30001, 70000, fp), -1);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("input error"), std::string::npos) << out;
    EXPECT_NE(out.find("offset=30001, size=70000, fileSize=100000"), std::string::npos) << out;
    EXPECT_EQ(VYX_fread(buf.data(), 0, 0, fp), 0);
    EXPECT_EQ(VYX_fsize(fp), 100000);
    EXPECT_EQ(ftell(fp), 123);
    fclose(fp);
    EXPECT_EQ(VYX_fsize(nullptr), -1);
    EXPECT_EQ(VYX_pathSize((dir + "/f").c_str()), 100000);
    EXPECT_EQ(VYX_pathSize((dir + "/none").c_str()), 0);
    EXPECT_EQ(VYX_Statfsize((dir + "/f").c_str()), 100000);
}

TEST(Md5, Rfc1321TestSuite) {
    const std::pair<const char *, const char *> vectors[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto &[text, hex] : vectors) {
        unsigned char digest[16];
        char out[33];
        VYX_md5(text, strlen(text), digest);
        VYX_md5ToHex(digest, out);
        EXPECT_STREQ(out, hex) << '"' << text << '"';
    }
}

TEST_F(FileUtils, FileMd5MatchesTheMemoryDigest) {
    std::string data(200000, 'q');
    for (size_t i = 0; i < data.size(); i += 3) {
        data[i] = static_cast<char>(i);
    }
    writeFile(dir + "/m", data);
    unsigned char a[16], b[16];
    ASSERT_EQ(VYX_getFileMd5((dir + "/m").c_str(), a), 0);
    VYX_md5(data.data(), data.size(), b);
    EXPECT_EQ(memcmp(a, b, 16), 0);
    EXPECT_EQ(VYX_getFileMd5((dir + "/missing").c_str(), a), -1);
}

TEST(Numbers, HexToInt) {
    EXPECT_EQ(VYX_hexToInt("0"), 0);
    EXPECT_EQ(VYX_hexToInt("ff"), 255);
    EXPECT_EQ(VYX_hexToInt("FF"), 255);
    EXPECT_EQ(VYX_hexToInt("362789A4"), 0x362789A4LL);
    EXPECT_EQ(VYX_hexToInt("FFFFFFFF"), 0xFFFFFFFFLL);
    EXPECT_EQ(VYX_hexToInt("0x10"), -1);
    EXPECT_EQ(VYX_hexToInt("12g"), -1);
    EXPECT_EQ(VYX_hexToInt(" 1"), -1);
    EXPECT_EQ(VYX_hexToInt(""), -1);
    EXPECT_EQ(VYX_hexToInt(nullptr), -1);
    EXPECT_EQ(VYX_hexToInt("1234567890abcdef"), -1) << "more digits than fit";
    EXPECT_GT(VYX_getMonotonicSec(), 0.0);
}

TEST_F(FileUtils, CounterFiles) {
    std::string f = dir + "/count";
    EXPECT_EQ(VYX_fdumpInt(f.c_str()), -1);
    ASSERT_EQ(VYX_ftouch(f.c_str()), 0);
    EXPECT_EQ(readFile(f), "1") << "decimal text without NUL";
    ASSERT_EQ(VYX_ftouch(f.c_str()), 0);
    ASSERT_EQ(VYX_ftouch(f.c_str()), 0);
    EXPECT_EQ(VYX_fdumpInt(f.c_str()), 3);
    writeFile(f, std::string(20, '9'));
    EXPECT_EQ(VYX_fdumpInt(f.c_str()), -1) << "20 bytes is not a counter";
    writeFile(f, "");
    EXPECT_EQ(VYX_fdumpInt(f.c_str()), -1);
    ASSERT_EQ(VYX_fecho(f.c_str(), "hi"), 0);
    EXPECT_EQ(readFile(f), std::string("hi\0", 3));
    char buf[8];
    EXPECT_EQ(VYX_fCat(f.c_str(), buf, 2), 2);
    EXPECT_EQ(VYX_fCat((dir + "/none").c_str(), buf, 2), -1);
}

TEST(Names, BaseName) {
    char out[9];
    ASSERT_EQ(VYX_baseName("/a/b/clip.mp4", out, sizeof(out)), 0);
    EXPECT_STREQ(out, "clip.mp4");
    ASSERT_EQ(VYX_baseName("notes", out, sizeof(out)), 0) << "a plain name is its own base name";
    EXPECT_STREQ(out, "notes");
    EXPECT_EQ(VYX_baseName("/a/b/", out, sizeof(out)), -1);
    EXPECT_EQ(VYX_baseName("", out, sizeof(out)), -1);
    EXPECT_EQ(VYX_baseName("/x/ninechars", out, sizeof(out)), -1) << "cut names are refused";
    EXPECT_EQ(VYX_baseName(nullptr, out, sizeof(out)), -1);
}

TEST_F(FileUtils, FilterDelOldestFileKeepsTheLastNames) {
    for (const char *n :
         {"20240101_a.mp4", "20240102_b.mp4", "20240103_c.mp4", "20240104_d.jpg", "20240105_e.mp4"}) {
        writeFile(dir + "/" + n, n);
    }
    ASSERT_EQ(VYX_mkDir((dir + "/20240106_dir.mp4").c_str()), 0);
    ASSERT_EQ(VYX_filterDelOldestFile(dir.c_str(), ".mp4", 2), 0);
    EXPECT_TRUE(VYX_isFile((dir + "/20240105_e.mp4").c_str()));
    EXPECT_TRUE(VYX_isFile((dir + "/20240103_c.mp4").c_str()));
    EXPECT_FALSE(VYX_isFile((dir + "/20240102_b.mp4").c_str()));
    EXPECT_FALSE(VYX_isFile((dir + "/20240101_a.mp4").c_str()));
    EXPECT_TRUE(VYX_isFile((dir + "/20240104_d.jpg").c_str())) << "other names stay";
    EXPECT_TRUE(VYX_isDir((dir + "/20240106_dir.mp4").c_str())) << "directories stay";
    ASSERT_EQ(VYX_filterDelOldestFile(dir.c_str(), nullptr, 1), 0);
    EXPECT_TRUE(VYX_isFile((dir + "/20240105_e.mp4").c_str()));
    EXPECT_FALSE(VYX_isFile((dir + "/20240104_d.jpg").c_str()));
    EXPECT_TRUE(VYX_isFileByKeyword(dir.c_str(), "_e."));
    EXPECT_FALSE(VYX_isFileByKeyword(dir.c_str(), "_d."));
}

TEST_F(FileUtils, ZipRoundTripAndCopies) {
    std::string data;
    for (int i = 0; i < 50000; i++) {
        data += std::to_string(i % 97);
    }
    writeFile(dir + "/plain", data);
    ASSERT_EQ(VYX_zip((dir + "/plain").c_str(), (dir + "/z").c_str(), -1), 0);
    EXPECT_LT(VYX_pathSize((dir + "/z").c_str()), static_cast<long>(data.size()) / 2);
    ASSERT_EQ(VYX_unzip((dir + "/z").c_str(), (dir + "/back").c_str()), 0);
    EXPECT_EQ(readFile(dir + "/back"), data);
    writeFile(dir + "/notzlib", "definitely not a zlib stream");
    EXPECT_EQ(VYX_unzip((dir + "/notzlib").c_str(), (dir + "/x").c_str()), -1);

    ASSERT_EQ(VYX_mkDir((dir + "/tree/sub").c_str()), 0);
    writeFile(dir + "/tree/sub/f", "deep");
    ASSERT_EQ(VYX_cpDir((dir + "/tree").c_str(), (dir + "/copy").c_str()), 0);
    EXPECT_EQ(readFile(dir + "/copy/sub/f"), "deep");

    VYX_FileList list = {};
    snprintf(list.szDir, sizeof(list.szDir), "%s", dir.c_str());
    list.s32Max = 2;
    EXPECT_EQ(VYX_getfiles(&list), -1) << "more regular files than the list may hold";
    list.s32Max = 16;
    ASSERT_EQ(VYX_getfiles(&list), 0);
    ASSERT_EQ(list.s32Num, 5);
    EXPECT_STREQ(list.ppcNames[0], "back") << "sorted by name";
    VYX_freefiles(&list);
}

TEST(TarLock, OwnerMayTakeItAgainOthersWait) {
    ASSERT_EQ(VYX_tarLock(1), 0);
    ASSERT_EQ(VYX_tarLock(1), 0);
    std::atomic<bool> got{false};
    std::thread other([&] {
        VYX_tarLock(1);
        got = true;
        VYX_tarLock(0);
    });
    EXPECT_EQ(VYX_tarLock(0), 0);
    usleep(50000);
    EXPECT_FALSE(got) << "still held at depth 1";
    EXPECT_EQ(VYX_tarLock(0), 0);
    other.join();
    EXPECT_TRUE(got);
    EXPECT_EQ(VYX_tarLock(0), -1) << "releasing a lock not held";
}

void *threadBody(void *arg) {
    char name[16] = {0};
    pthread_getname_np(pthread_self(), name, sizeof(name));
    *static_cast<std::string *>(arg) = name;
    return arg;
}

TEST(NamedThreads, NameIsTheLastFifteenCharactersAfterTheParenthesis) {
    std::string seen;
    pthread_t t;
    ASSERT_EQ(VYX_pthread_create(&t, nullptr, threadBody, &seen, "test", "(x)VYX_IPCMSG_RcvMsgThread"), 0);
    void *result = nullptr;
    pthread_join(t, &result);
    EXPECT_EQ(result, &seen);
    EXPECT_EQ(seen, "SG_RcvMsgThread");
}

} // namespace
