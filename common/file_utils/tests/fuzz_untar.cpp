// Feeds arbitrary bytes to the archive checks and the unpacker. Nothing may crash, and nothing
// may appear in the sandbox other than the archive and the destination directory.
//
// Built twice: fuzz_untar takes the bytes as they are, so it mostly meets the CRC checks;
// fuzz_untar_mended (FUZZ_MEND_CRC) first writes correct data CRCs and the correct head CRC into
// every structure the bytes describe, so that the fuzzer reaches the name checks, the unpacking
// and the inflating behind them.
#include "vyx_file_utils.h"
#include "vyx_tar.h"
#include "sys_paths.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>

namespace {
std::string g_sandbox;

// Unpacking a fuzzed archive may write at most this much, so runs stay fast and small.
constexpr uint64_t kUnpackMax = 1 << 20;

void noteEntry(const char *, uint32_t, void *) {}

#ifdef FUZZ_MEND_CRC
uint32_t le32(const std::string &a, size_t at) {
    return static_cast<uint8_t>(a[at]) | static_cast<uint8_t>(a[at + 1]) << 8 |
           static_cast<uint8_t>(a[at + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(a[at + 3])) << 24;
}

void putLe32(std::string &a, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) {
        a[at + i] = static_cast<char>(v >> (8 * i));
    }
}

// Mends the CRCs of every record that lies within the image, then the head CRC over the head,
// the entry table and those record heads. Structures that do not fit are left as they are.
void mendCrcs(std::string &a) {
    if (a.size() < VYX_TAR_HEAD_LEN) {
        return;
    }
    size_t count = static_cast<uint8_t>(a[20]);
    size_t headLen = VYX_TAR_HEAD_LEN + VYX_TAR_ENTRY_LEN * count;
    if (le32(a, 16) != headLen || a.size() < headLen) {
        return;
    }
    putLe32(a, 12, 0);
    uint32_t crc = VYX_crc32(0, a.data(), headLen);
    for (size_t i = 0; i < count; i++) {
        uint64_t off = le32(a, 21 + 8 * i);
        if (off + VYX_TAR_RECORD_HEAD > a.size()) {
            return;
        }
        uint64_t nameLen = static_cast<uint8_t>(a[off + 8]);
        uint64_t data = off + VYX_TAR_RECORD_HEAD + nameLen;
        uint64_t size = le32(a, off);
        if (data + size <= a.size()) {
            putLe32(a, off + 4, VYX_crc32(0, a.data() + data, size));
        }
        if (data > a.size()) {
            return;
        }
        crc = VYX_crc32(crc, a.data() + off, VYX_TAR_RECORD_HEAD + nameLen);
    }
    putLe32(a, 12, crc);
}
#endif
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    VYX_throttleEnable(false); // the sleeps that spare the storage only slow the fuzzer down
    VYX_mkDir(SYS_PATH_TMP);
    std::string tmpl = std::string(SYS_PATH_TMP) + "fuzz.XXXXXX";
    if (mkdtemp(tmpl.data()) == nullptr) {
        abort();
    }
    g_sandbox = tmpl;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string archive = g_sandbox + "/in.vyx";
    std::string dest = g_sandbox + "/out";
    std::string bytes(reinterpret_cast<const char *>(data), size);
#ifdef FUZZ_MEND_CRC
    mendCrcs(bytes);
#endif
    FILE *fp = fopen(archive.c_str(), "wb");
    if (fp == nullptr) {
        abort();
    }
    fwrite(bytes.data(), 1, bytes.size(), fp);
    fclose(fp);
    VYX_tarList(archive.c_str(), noteEntry, nullptr, nullptr);
    VYX_untarMax(archive.c_str(), dest.c_str(), kUnpackMax);

    DIR *d = opendir(g_sandbox.c_str());
    for (struct dirent *e; (e = readdir(d)) != nullptr;) {
        if (strcmp(e->d_name, ".") && strcmp(e->d_name, "..") && strcmp(e->d_name, "in.vyx") &&
            strcmp(e->d_name, "out")) {
            abort(); // something was written outside the destination
        }
    }
    closedir(d);
    VYX_rmDir(dest.c_str());
    return 0;
}
