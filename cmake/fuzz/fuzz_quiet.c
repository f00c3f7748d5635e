/*
 * Linked into every fuzz target: the code under test logs every step on standard output, which
 * would cost time and fill the disk over a long run. Standard output goes to /dev/null before
 * the fuzzer starts unless RECORDER_FUZZ_LOG is set; the fuzzer and the sanitizers report on
 * standard error, which stays.
 */
#include <stdio.h>
#include <stdlib.h>

__attribute__((constructor)) static void fuzz_quiet(void) {
    const char *keep = getenv("RECORDER_FUZZ_LOG");
    if (keep != NULL && keep[0] != '\0' && keep[0] != '0') {
        return;
    }
    if (freopen("/dev/null", "w", stdout) == NULL) {
        perror("fuzz_quiet: /dev/null");
    }
}
