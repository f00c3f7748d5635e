#include "ui_lock.h"

#include <pthread.h>

static pthread_mutex_t s_stUiMutex;

int UiLock_Init(void) {
    return pthread_mutex_init(&s_stUiMutex, NULL);
}

int UiLock_Lock(void) {
    return pthread_mutex_lock(&s_stUiMutex);
}

int UiLock_Unlock(void) {
    return pthread_mutex_unlock(&s_stUiMutex);
}

int UiLock_Destroy(void) {
    return pthread_mutex_destroy(&s_stUiMutex);
}
