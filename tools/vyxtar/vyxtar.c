/* vyxtar: packs, checks, lists and unpacks "vyxT" archives. */
#include "vyx_tar.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#define VYXTAR_FAIL_LINES 5 /* log lines shown with a failure when not verbose */

static void usage(FILE *out) {
    fprintf(out,
            "usage: vyxtar [-v] -c ARCHIVE [FILE...]  pack files, stored (no files: an empty archive)\n"
            "       vyxtar [-v] -z ARCHIVE [FILE...]  pack files, each compressed with zlib\n"
            "       vyxtar [-v] -x ARCHIVE DIR        check and unpack into DIR (DIR is replaced)\n"
            "       vyxtar [-v] -t ARCHIVE            check the head CRC and list \"name size\" a line\n"
            "       vyxtar --help\n"
            "  -v  also print every step of the archive helpers (on standard error)\n"
            "Files are stored under their base names; at most 255 files, names up to 127 bytes.\n"
            "A failed -c or -z leaves no archive behind (an archive of that name stays as it was).\n"
            "Unpacking writes at most %llu bytes and keeps %u bytes free on the destination.\n"
            "Exit status 0 on success, 1 on failure, 2 on a usage error.\n",
            (unsigned long long)VYX_TAR_UNPACK_MAX, VYX_TAR_DISK_RESERVE);
}

__attribute__((format(printf, 1, 2))) static int usage_error(const char *fmt, ...) {
    va_list args;
    va_start(args, fmt);
    fprintf(stderr, "vyxtar: ");
    vfprintf(stderr, fmt, args);
    fprintf(stderr, "\n");
    va_end(args);
    usage(stderr);
    return 2;
}

static void print_entry(const char *name, uint32_t size, void *user) {
    fprintf((FILE *)user, "%s %u\n", name, size);
}

/* The last lines of the helpers' log, shown when a quiet run fails. */
static void show_tail(FILE *log) {
    if (log == NULL || fseek(log, 0, SEEK_END) != 0) {
        return;
    }
    long size = ftell(log);
    long from = size > 4096 ? size - 4096 : 0;
    char buf[4097];
    if (size <= 0 || fseek(log, from, SEEK_SET) != 0) {
        return;
    }
    size_t n = fread(buf, 1, (size_t)(size - from), log);
    buf[n] = '\0';
    int lines = 0;
    char *start = buf + n;
    while (start > buf) {
        if (start[-1] == '\n' && start != buf + n && ++lines == VYXTAR_FAIL_LINES) {
            break;
        }
        start--;
    }
    fputs(start, stderr);
}

int main(int argc, char **argv) {
    char mode = 0;
    int verbose = 0;
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && mode == 0; i++) {
        const char *a = argv[i];
        if (strcmp(a, "--help") == 0 || strcmp(a, "-h") == 0) {
            usage(stdout);
            return 0;
        }
        if (strcmp(a, "--verbose") == 0) {
            verbose = 1;
            continue;
        }
        if (a[1] == '\0' || a[1] == '-') {
            return usage_error("unknown option '%s'", a);
        }
        /* Letters may be grouped: -cv, -vx. */
        for (const char *p = a + 1; *p != '\0'; p++) {
            if (*p == 'v') {
                verbose = 1;
            } else if (strchr("czxt", *p) != NULL && mode == 0) {
                mode = *p;
            } else if (strchr("czxt", *p) != NULL) {
                return usage_error("only one of -c, -z, -x and -t, not '%s'", a);
            } else {
                char opt[3] = {'-', *p, '\0'};
                return usage_error("unknown option '%s'", opt);
            }
        }
    }
    if (mode == 0) {
        return usage_error("%s", i < argc ? "no mode given: -c, -z, -x or -t" : "nothing to do");
    }
    if (i >= argc) {
        return usage_error("%s", "no archive given");
    }
    const char *archive = argv[i++];
    const char *const *rest = (const char *const *)argv + i;
    int restCount = argc - i;

    /* The helpers log their progress on standard output; the tool's own output is the listing.
     * With -v the log goes to standard error as it comes; otherwise it is kept aside and only
     * its last lines are shown if the operation fails. */
    fflush(stdout);
    int listing = dup(STDOUT_FILENO);
    FILE *log = verbose ? NULL : tmpfile();
    if (listing < 0 || (!verbose && log == NULL) ||
        dup2(verbose ? STDERR_FILENO : fileno(log), STDOUT_FILENO) < 0) {
        perror("vyxtar: dup");
        return 1;
    }
    int ret;
    const char *what;
    switch (mode) {
    case 'c':
    case 'z':
        if (restCount > VYX_TAR_MAX_FILES) {
            fprintf(stderr, "vyxtar: at most %d files fit in one archive\n", VYX_TAR_MAX_FILES);
            return 1;
        }
        what = "packing";
        ret = mode == 'c' ? VYX_tar(archive, rest, restCount, 0) : VYX_zipTar(archive, rest, restCount);
        break;
    case 'x':
        if (restCount != 1) {
            return usage_error("%s", restCount == 0 ? "-x needs a destination directory"
                                                    : "-x takes one directory");
        }
        what = "unpacking";
        ret = VYX_untar(archive, rest[0]);
        break;
    default: { /* 't' */
        if (restCount != 0) {
            return usage_error("-t takes only the archive, not '%s'", rest[0]);
        }
        what = "checking";
        FILE *out = fdopen(listing, "w");
        if (out == NULL) {
            perror("vyxtar: fdopen");
            return 1;
        }
        /* The listing is written once the whole archive is checked, under a line that says
         * what its sizes are: compressed archives do not store the original sizes. */
        char *body = NULL;
        size_t bodyLen = 0;
        FILE *mem = open_memstream(&body, &bodyLen);
        uint8_t flags = 0;
        ret = mem == NULL ? -1 : VYX_tarList(archive, print_entry, mem, &flags);
        if (mem != NULL) {
            fclose(mem);
        }
        if (ret == 0) {
            fprintf(out, "%s",
                    (flags & VYX_TAR_FLAG_ZIP) != 0
                        ? "# name and compressed size in bytes (the archive does not store the "
                          "original sizes)\n"
                        : "# name and size in bytes (stored uncompressed)\n");
            fputs(body, out);
        }
        free(body);
        fclose(out);
        break;
    }
    }
    fflush(stdout);
    if (ret != 0) {
        show_tail(log);
        fprintf(stderr, "vyxtar: %s %s failed%s\n", what, archive,
                verbose ? " (see the lines above)"
                        : " (the lines above are the last of the log; -v shows it all)");
        return 1;
    }
    return 0;
}
