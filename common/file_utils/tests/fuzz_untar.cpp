// Feeds arbitrary bytes to the archive checks and the unpacker. Nothing may crash, and nothing
// may appear in the sandbox other than the archive and the destination directory.
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

void noteEntry(const char *, uint32_t, void *) {}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // The helpers log every step on standard output; silence it for speed.
    if (freopen("/dev/null", "w", stdout) == nullptr) {
        abort();
    }
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
    FILE *fp = fopen(archive.c_str(), "wb");
    if (fp == nullptr) {
        abort();
    }
    fwrite(data, 1, size, fp);
    fclose(fp);
    VYX_tarList(archive.c_str(), noteEntry, nullptr, nullptr);
    VYX_untar(archive.c_str(), dest.c_str());

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
