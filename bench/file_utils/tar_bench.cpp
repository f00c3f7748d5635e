// Pack and unpack throughput of the vyxT archive for a 20 MB file, stored and compressed.
// The throttling sleeps the format prescribes (5 ms per 32 KiB, 50 ms per file, 20 ms per
// 512 000 bytes written) are included in the times and reported as their share.
//
//   build/bench/file_utils/tar_bench [DIR]     (DIR: scratch directory, default ./tar_bench.tmp)
#include "vyx_file_utils.h"
#include "vyx_tar.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct Run {
    double seconds;
    double sleptSeconds;
};

template <typename F> Run measure(F &&f) {
    uint64_t slept0 = VYX_throttleSleptUs();
    double t0 = now();
    if (f() != 0) {
        std::fprintf(stderr, "tar_bench: operation failed\n");
        std::exit(1);
    }
    return {now() - t0, (VYX_throttleSleptUs() - slept0) / 1e6};
}

} // namespace

int main(int argc, char **argv) {
    std::string dir = argc > 1 ? argv[1] : "tar_bench.tmp";
    if (VYX_mkDir(dir.c_str()) != 0) {
        return 1;
    }
    // The helpers log every step on standard output; the figures go to standard error.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) {
        return 1;
    }
    const size_t size = 20 * 1000 * 1000;
    const double mb = size / 1e6;
    std::string big = dir + "/big.bin";
    // Half random, half repetitive, so that compression has something to do either way.
    std::vector<unsigned char> data(size);
    uint32_t x = 1;
    for (size_t i = 0; i < size; i++) {
        x = x * 1664525u + 1013904223u;
        data[i] = i < size / 2 ? static_cast<unsigned char>(x >> 24) : static_cast<unsigned char>(i / 64);
    }
    FILE *fp = std::fopen(big.c_str(), "wb");
    std::fwrite(data.data(), 1, size, fp);
    std::fclose(fp);

    const char *files[] = {big.c_str()};
    std::string raw = dir + "/raw.vyx", zip = dir + "/zip.vyx", out = dir + "/out";
    Run packRaw = measure([&] { return VYX_tar(raw.c_str(), files, 1, 0); });
    Run unpackRaw = measure([&] { return VYX_untar(raw.c_str(), out.c_str()); });
    Run packZip = measure([&] { return VYX_zipTar(zip.c_str(), files, 1); });
    Run unpackZip = measure([&] { return VYX_untar(zip.c_str(), out.c_str()); });
    long zipSize = VYX_pathSize(zip.c_str());

    std::fprintf(stderr, "vyxT archive, one 20 MB file (MB = 10^6 bytes of the original file)\n");
    auto line = [&](const char *what, const Run &r) {
        std::fprintf(stderr,
                     "%-18s %7.1f MB/s  %6.2f s  sleeps %5.2f s (%4.1f%%)  without sleeps %7.1f MB/s\n", what,
                     mb / r.seconds, r.seconds, r.sleptSeconds, 100.0 * r.sleptSeconds / r.seconds,
                     mb / (r.seconds - r.sleptSeconds));
    };
    line("pack raw", packRaw);
    line("unpack raw", unpackRaw);
    line("pack compressed", packZip);
    line("unpack compressed", unpackZip);
    std::fprintf(stderr, "compressed archive: %.1f MB\n", zipSize / 1e6);
    VYX_rmDir(dir.c_str());
    return 0;
}
