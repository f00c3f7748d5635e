#define _GNU_SOURCE
#include "vyx_pthread.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#define VYX_THREAD_TEXT_MAX 64
#define VYX_THREAD_COMM_MAX 15 /* the kernel keeps 15 characters of a thread name */

typedef struct {
    VYX_ThreadFn fn;
    void *arg;
    char creator[VYX_THREAD_TEXT_MAX];
    char name[VYX_THREAD_TEXT_MAX];
} VYX_ThreadStart;

static void copy_text(char *dst, size_t size, const char *src) {
    if (src == NULL) {
        src = "";
    }
    snprintf(dst, size, "%s", src);
}

int VYX_pthread_create(pthread_t *thread, const pthread_attr_t *attr, VYX_ThreadFn fn, void *arg,
                       const char *creator, const char *name) {
    const char *shown = name;
    if (shown != NULL) {
        const char *paren = strchr(shown, ')');
        if (paren != NULL) {
            shown = paren + 1;
        }
    }

    VYX_ThreadStart *start = calloc(1, sizeof(*start));
    if (start == NULL) {
        printf("[%s][%d]: malloc error, create thread failed, %s:%s.\n", __func__, __LINE__,
               creator ? creator : "", name ? name : "");
        return -1;
    }
    start->fn = fn;
    start->arg = arg;
    copy_text(start->creator, sizeof(start->creator), creator);
    copy_text(start->name, sizeof(start->name), shown);

    int ret = pthread_create(thread, attr, VYX_pthread_handler, start);
    if (ret != 0) {
        free(start);
    }
    return ret;
}

void *VYX_pthread_handler(void *record) {
    VYX_ThreadStart *start = record;
    size_t len = strlen(start->name);
    const char *comm = len > VYX_THREAD_COMM_MAX ? start->name + (len - VYX_THREAD_COMM_MAX) : start->name;
    prctl(PR_SET_NAME, comm, 0, 0, 0);
    printf("[%s][%d]: threadID=%d, threadName=%s, creator=%s\n", __func__, __LINE__, (int)syscall(SYS_gettid),
           comm, start->creator);

    VYX_ThreadFn fn = start->fn;
    void *arg = start->arg;
    free(start);
    return fn(arg);
}
