#include "msg_queue.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

/* The slot pointers and the fill count are read by both sides (emptiness, fullness); the
 * atomic accesses keep those reads defined while the owning side moves them. */
#define LOAD(p)     __atomic_load_n((p), __ATOMIC_ACQUIRE)
#define STORE(p, v) __atomic_store_n((p), (v), __ATOMIC_RELEASE)

static uint8_t *next_slot(const msg_queue *queue, uint8_t *slot) {
    return slot == queue->pcLast ? queue->pcBase : slot + queue->u32ElemSize;
}

int msg_queue_init(msg_queue *queue, void *storage, uint32_t elementSize, uint32_t capacity) {
    if (queue == NULL || storage == NULL || elementSize == 0 || capacity == 0) {
        return -1;
    }
    int ret = sem_init(&queue->stFilled, 0, 0);
    if (ret != 0) {
        return ret;
    }
    queue->u32ElemSize = elementSize;
    queue->u32Capacity = capacity;
    queue->u32Used = 0;
    queue->pcBase = (uint8_t *)storage;
    queue->pcLast = queue->pcBase + (size_t)elementSize * (capacity - 1);
    queue->pcWrite = queue->pcBase;
    queue->pcRead = queue->pcBase;
    queue->bInit = true;
    return 0;
}

int msg_queue_send(msg_queue *queue, const void *element) {
    if (queue == NULL || !queue->bInit) {
        printf("%s[%d]quen not init\n", "msg_queue_send", 84);
        return -1;
    }
    if (element == NULL) {
        return -1;
    }
    /* Full while every slot is filled or still being copied out by the receiver. */
    if (LOAD(&queue->u32Used) >= queue->u32Capacity) {
        return -1;
    }
    uint8_t *slot = queue->pcWrite;
    memcpy(slot, element, queue->u32ElemSize);
    STORE(&queue->pcWrite, next_slot(queue, slot));
    __atomic_add_fetch(&queue->u32Used, 1, __ATOMIC_ACQ_REL);
    return sem_post(&queue->stFilled);
}

int msg_queue_recive(msg_queue *queue, void *dst) {
    if (queue == NULL || !queue->bInit) {
        printf("%s[%d]quen not init\n", "msg_queue_recive", 124);
        return -1;
    }
    if (dst == NULL) {
        return -1;
    }
    while (sem_wait(&queue->stFilled) != 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    uint8_t *slot = queue->pcRead;
    memcpy(dst, slot, queue->u32ElemSize);
    STORE(&queue->pcRead, next_slot(queue, slot));
    /* Only now may the sender reuse the slot. */
    __atomic_sub_fetch(&queue->u32Used, 1, __ATOMIC_ACQ_REL);
    return 0;
}

int msg_queue_try_recive(msg_queue *queue, void *dst) {
    if (queue == NULL || !queue->bInit) {
        printf("%s[%d]quen not init\n", "msg_queue_try_recive", 156);
        return -1;
    }
    if (dst == NULL) {
        return -1;
    }
    if (msg_queue_is_empty(queue) == 0) {
        return msg_queue_recive(queue, dst) == 0 ? 0 : -1;
    }
    return -1;
}

int msg_queue_is_empty(msg_queue *queue) {
    if (queue == NULL || !queue->bInit) {
        printf("%s[%d]quen not init\n", "msg_queue_is_empty", 21);
        return -1;
    }
    int value = 0;
    sem_getvalue(&queue->stFilled, &value);
    return (LOAD(&queue->pcRead) == LOAD(&queue->pcWrite) && value <= 0) ? 1 : 0;
}

int msg_queue_deinit(msg_queue *queue) {
    if (queue == NULL || !queue->bInit) {
        return -1;
    }
    queue->bInit = false;
    return sem_destroy(&queue->stFilled);
}
