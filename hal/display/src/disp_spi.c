/*
 * "SPI_DEV": the draw buffer is the shared-memory object "shm.test"; every flushed area is handed
 * to the display process with one record on the FIFO and the two named semaphores.
 */
#include "disp_dev.h"

#include <errno.h>
#include <fcntl.h>
#include <semaphore.h>
#include <stdio.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

static sem_t *s_pstSemReady = SEM_FAILED; /* "/sem0" */
static sem_t *s_pstSemTaken = SEM_FAILED; /* "/sem1" */
static int s_s32FifoFd = -1;
static int s_s32ShmFd = -1;
static void *s_pShmBuf;
static size_t s_ulShmSize;
static uint32_t s_u32Width;
static uint32_t s_u32Height;
static int s_s32Rotation;

static int spi_init(int rotation) {
    fprintf(stderr, "ui: spi_disp_init\n\n");

    s_pstSemReady = sem_open(DISP_SEM_READY, O_CREAT | O_RDWR, 0644, 0);
    s_pstSemTaken = sem_open(DISP_SEM_TAKEN, O_CREAT | O_RDWR, 0644, 0);
    if (s_pstSemReady == SEM_FAILED || s_pstSemTaken == SEM_FAILED) {
        int err = errno;
        perror("sem_open error");
        fprintf(stderr, "ui: Error number: %d\n\n", err);
        if (s_pstSemReady != SEM_FAILED) {
            sem_close(s_pstSemReady);
            s_pstSemReady = SEM_FAILED;
        }
        if (s_pstSemTaken != SEM_FAILED) {
            sem_close(s_pstSemTaken);
            s_pstSemTaken = SEM_FAILED;
        }
        return -1;
    }

    s_u32Width = DISP_SPI_PANEL_W;
    s_u32Height = DISP_SPI_PANEL_H;
    fprintf(stderr, "ui: spi_disp: %dx%d (%dmm X% dmm)\n", (int)s_u32Width, (int)s_u32Height, 0, 0);

    /* The FIFO outlives the program: on a second start it exists already. */
    if (mkfifo(DISP_FIFO_PATH, 0660) != 0) {
        perror("mkfifo failed\n");
    }
    /* Read-write so that opening does not wait for the display process. */
    s_s32FifoFd = open(DISP_FIFO_PATH, O_RDWR | O_CLOEXEC);
    if (s_s32FifoFd < 0) {
        perror("open failed\n");
    }
    s_s32Rotation = rotation;
    return 0;
}

static void spi_get_size(uint32_t *pu32W, uint32_t *pu32H) {
    *pu32W = s_u32Width;
    *pu32H = s_u32Height;
}

static void spi_alloc_buf(void **ppBuf, uint32_t u32Pixels) {
    uint64_t bytes = (uint64_t)u32Pixels * DISP_PIXEL_BYTES;
    size_t size = disp_shm_size(u32Pixels);
    printf("ui: size is %ld %ld\n\n", (long)bytes, (long)size);

    int fd = shm_open(DISP_SHM_NAME, O_CREAT | O_TRUNC | O_RDWR, 0777);
    if (fd < 0) {
        perror("shm_open failed:");
        return;
    }
    if (ftruncate(fd, (off_t)size) != 0) {
        perror("ftruncate failed:");
        close(fd);
        return;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        perror("fstat failed:");
    } else {
        printf("the UIshm object size is %ld\n", (long)st.st_size);
    }
    void *p = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED) {
        perror("mmap failed:");
        close(fd);
        return;
    }
    printf("ui: mmap %s %p success\n\n", DISP_SHM_NAME, p);
    printf("ui: mmap  %p success\n\n", p);
    s_s32ShmFd = fd;
    s_pShmBuf = p;
    s_ulShmSize = size;
    *ppBuf = p;
}

int disp_spi_send_area(const disp_area *pstArea) {
    disp_flush_record stRec;
    disp_flush_record_encode(pstArea, &stRec);

    if (s_pstSemReady == SEM_FAILED || s_pstSemTaken == SEM_FAILED) {
        return -1;
    }
    ssize_t n = (s_s32FifoFd < 0) ? -1 : write(s_s32FifoFd, stRec.au8Bytes, sizeof stRec.au8Bytes);
    if (n != (ssize_t)sizeof stRec.au8Bytes) {
        perror("write failed\n");
        return -1; /* the display process got no record: waiting for it would never end */
    }
    if (sem_post(s_pstSemReady) != 0) {
        perror("sem_post error, try later");
        return -1;
    }
    while (sem_wait(s_pstSemTaken) != 0) {
        if (errno != EINTR) {
            perror("sem_wait fail, try later\n");
            return -1;
        }
    }
    return 0;
}

static void spi_flush(lv_disp_drv_t *pstDrv, const lv_area_t *pstArea, lv_color_t *pstColor) {
    (void)pstColor; /* LVGL rendered the area into the shared buffer itself */
    disp_area stArea = {pstArea->x1, pstArea->y1, pstArea->x2, pstArea->y2};
    (void)disp_spi_send_area(&stArea);
    lv_disp_flush_ready(pstDrv);
}

static int spi_deinit(void) {
    fprintf(stderr, "ui: spi_disp: ui destroyed successfully.\n");
    if (s_pstSemReady != SEM_FAILED) {
        sem_close(s_pstSemReady);
        s_pstSemReady = SEM_FAILED;
    }
    if (s_pstSemTaken != SEM_FAILED) {
        sem_close(s_pstSemTaken);
        s_pstSemTaken = SEM_FAILED;
    }
    if (s_s32FifoFd >= 0 && close(s_s32FifoFd) != 0) {
        perror("close failed\n");
    }
    s_s32FifoFd = -1;
    shm_unlink(DISP_SHM_NAME);
    if (s_pShmBuf != NULL) {
        munmap(s_pShmBuf, s_ulShmSize);
        s_pShmBuf = NULL;
    }
    if (s_s32ShmFd >= 0) {
        close(s_s32ShmFd);
        s_s32ShmFd = -1;
    }
    return 0;
}

const disp_dev_ops g_stDispDevSpi = {
    .init = spi_init,
    .deinit = spi_deinit,
    .get_size = spi_get_size,
    .flush = spi_flush,
    .alloc_buf = spi_alloc_buf,
};
