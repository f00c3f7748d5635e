/* vyxtar: packs, checks, lists and unpacks "vyxT" archives. */
#include "vyx_tar.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static void usage(FILE *out) {
    fprintf(out, "usage: vyxtar -c ARCHIVE FILE...   pack files, stored\n"
                 "       vyxtar -z ARCHIVE FILE...   pack files, each compressed with zlib\n"
                 "       vyxtar -x ARCHIVE DIR       check and unpack into DIR (DIR is replaced)\n"
                 "       vyxtar -t ARCHIVE           check the head CRC and list \"name size\" a line\n"
                 "       vyxtar --help\n"
                 "Files are stored under their base names; at most 255 files, names up to 127 bytes.\n"
                 "Exit status 0 on success, 1 on failure, 2 on a usage error.\n");
}

static void print_entry(const char *name, uint32_t size, void *user) {
    fprintf((FILE *)user, "%s %u\n", name, size);
}

int main(int argc, char **argv) {
    if (argc >= 2 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        usage(stdout);
        return 0;
    }
    if (argc < 3 || argv[1][0] != '-' || strlen(argv[1]) != 2) {
        usage(stderr);
        return 2;
    }
    const char *archive = argv[2];
    char mode = argv[1][1];
    int ret;
    const char *what;

    /* The helpers log their progress on standard output; the tool's own output is the listing,
     * so the log goes to standard error. */
    fflush(stdout);
    int listing = dup(STDOUT_FILENO);
    if (listing < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        perror("vyxtar: dup");
        return 1;
    }
    switch (mode) {
    case 'c':
    case 'z':
        if (argc < 4) {
            usage(stderr);
            return 2;
        }
        if (argc - 3 > VYX_TAR_MAX_FILES) {
            fprintf(stderr, "vyxtar: at most %d files fit in one archive\n", VYX_TAR_MAX_FILES);
            return 1;
        }
        what = "packing";
        ret = mode == 'c' ? VYX_tar(archive, (const char *const *)argv + 3, argc - 3, 0)
                          : VYX_zipTar(archive, (const char *const *)argv + 3, argc - 3);
        break;
    case 'x':
        if (argc != 4) {
            usage(stderr);
            return 2;
        }
        what = "unpacking";
        ret = VYX_untar(archive, argv[3]);
        break;
    case 't': {
        if (argc != 3) {
            usage(stderr);
            return 2;
        }
        what = "checking";
        FILE *out = fdopen(listing, "w");
        if (out == NULL) {
            perror("vyxtar: fdopen");
            return 1;
        }
        ret = VYX_tarList(archive, print_entry, out, NULL);
        fclose(out);
        break;
    }
    default:
        usage(stderr);
        return 2;
    }
    fflush(stdout);
    if (ret != 0) {
        fprintf(stderr, "vyxtar: %s %s failed (see the lines above)\n", what, archive);
        return 1;
    }
    return 0;
}
