/*
 * Named threads. Every thread of the program is started through VYX_pthread_create, so that
 * it carries a readable name (visible in ps/top and debuggers) and logs its kernel thread id
 * and creator when it starts.
 */
#ifndef VYX_PTHREAD_H
#define VYX_PTHREAD_H

#include <pthread.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void *(*VYX_ThreadFn)(void *);

/*
 * Starts fn(arg) on a new thread like pthread_create. The thread's name is the part of name
 * after its first ')' if it has one (so "__func__)worker" style names work), cut to its last
 * 15 characters. creator is logged for diagnosis. Returns 0, −1 when the start record cannot
 * be allocated, or pthread_create's error number.
 */
int VYX_pthread_create(pthread_t *thread, const pthread_attr_t *attr, VYX_ThreadFn fn, void *arg,
                       const char *creator, const char *name);

/* The start routine of every named thread: names it, logs, runs fn(arg), returns its result. */
void *VYX_pthread_handler(void *record);

#ifdef __cplusplus
}
#endif

#endif /* VYX_PTHREAD_H */
