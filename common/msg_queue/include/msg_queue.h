/*
 * A queue of equal-sized elements in storage given by its user: a ring of `capacity` slots and
 * a counting semaphore of the filled slots. Meant for one producer and one consumer thread;
 * several producers or several consumers need a lock of their own around send or receive.
 */
#ifndef MSG_QUEUE_H
#define MSG_QUEUE_H

#include <semaphore.h>
#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct msg_queue {
    sem_t stFilled;       /* counts the slots a receiver may take */
    uint32_t u32ElemSize; /* bytes per element */
    uint32_t u32Capacity; /* number of slots */
    bool bInit;
    uint32_t u32Used; /* slots filled and not yet copied out; guards a slot until it is read */
    uint8_t *pcWrite; /* next slot to fill (producer side) */
    uint8_t *pcRead;  /* next slot to take (consumer side) */
    uint8_t *pcBase;  /* first slot */
    uint8_t *pcLast;  /* last slot: base + element size x (capacity - 1) */
} msg_queue;

/* storage must hold elementSize x capacity bytes. 0, or -1 for a null queue or storage or a zero
 * size, or the semaphore's error. */
int msg_queue_init(msg_queue *queue, void *storage, uint32_t elementSize, uint32_t capacity);

/* Copies one element in. 0, or -1 when the queue is full (nothing is overwritten), not initialised
 * or element is null, or the semaphore's error. */
int msg_queue_send(msg_queue *queue, const void *element);

/* Copies the oldest element to dst, waiting while the queue is empty. 0 or -1. */
int msg_queue_recive(msg_queue *queue, void *dst);

/* Takes the oldest element if there is one: 0 if taken, -1 if empty, not initialised or null. */
int msg_queue_try_recive(msg_queue *queue, void *dst);

/* 1 empty, 0 not empty, -1 for a null or uninitialised queue. */
int msg_queue_is_empty(msg_queue *queue);

/* Destroys the semaphore; the queue is then uninitialised. 0 or -1. */
int msg_queue_deinit(msg_queue *queue);

#ifdef __cplusplus
}
#endif

#endif /* MSG_QUEUE_H */
