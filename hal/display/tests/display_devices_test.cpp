// Runs isolated: private /dev/shm and a fresh RECORDER_ROOT/dev for every run.
#include "disp_dev.h"
#include "disp_port.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

TEST(FbDevice, FailsCleanlyWithoutTheVendorFramebuffer) {
    unlink(SYS_PATH_FB0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(g_stDispDevFb.init(0), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("vofbfd open failed!"), std::string::npos);

    // A plain file opens but knows none of the layer ioctls.
    int fd = open(SYS_PATH_FB0, O_CREAT | O_RDWR, 0644);
    ASSERT_GE(fd, 0);
    close(fd);
    testing::internal::CaptureStderr();
    EXPECT_EQ(g_stDispDevFb.init(0), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("FBIOPUT_SHOW_VOFB failed!"), std::string::npos);
    uint32_t w = 1, h = 1;
    g_stDispDevFb.get_size(&w, &h);
    EXPECT_EQ(w, 0u);
    EXPECT_EQ(h, 0u);

    // The port then registers no display.
    testing::internal::CaptureStdout();
    EXPECT_EQ(disp_port_init(0, "FB_DEV"), -1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("draw_buf is null"), std::string::npos);
    unlink(SYS_PATH_FB0);
}

TEST(SpiDevice, SemaphoreFailureThenHandshakeWithAPeer) {
    // A directory where the semaphore "/sem0" lives makes its opening fail.
    ASSERT_EQ(mkdir("/dev/shm/sem.sem0", 0755), 0);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    EXPECT_EQ(disp_port_init(0, "SPI_DEV"), -1);
    std::string err = testing::internal::GetCapturedStderr();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(err.find("sem_open error"), std::string::npos) << err;
    EXPECT_NE(err.find("ui: Error number: "), std::string::npos) << err;
    EXPECT_NE(out.find("lcd_w =0, lcd_h = 0"), std::string::npos) << out;
    EXPECT_NE(out.find("draw_buf is null"), std::string::npos) << out;
    ASSERT_EQ(rmdir("/dev/shm/sem.sem0"), 0);

    // A FIFO left by an earlier run is reported and used.
    ASSERT_EQ(mkfifo(DISP_FIFO_PATH, 0660), 0);
    testing::internal::CaptureStderr();
    ASSERT_EQ(g_stDispDevSpi.init(0), 0);
    err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("mkfifo failed"), std::string::npos) << err;
    EXPECT_EQ(err.find("open failed"), std::string::npos) << err;

    void *buf = nullptr;
    testing::internal::CaptureStdout();
    g_stDispDevSpi.alloc_buf(&buf, DISP_SPI_PANEL_W * DISP_SPI_PANEL_H);
    out = testing::internal::GetCapturedStdout();
    ASSERT_NE(buf, nullptr);
    EXPECT_NE(out.find("ui: size is 217600 221184"), std::string::npos) << out;

    // The peer: reads the record, waits for "/sem0", looks at the pixels, posts "/sem1".
    int fifo = open(DISP_FIFO_PATH, O_RDWR);
    ASSERT_GE(fifo, 0);
    sem_t *ready = sem_open(DISP_SEM_READY, 0);
    sem_t *taken = sem_open(DISP_SEM_TAKEN, 0);
    ASSERT_NE(ready, SEM_FAILED);
    ASSERT_NE(taken, SEM_FAILED);
    int shm = shm_open(DISP_SHM_NAME, O_RDONLY, 0);
    ASSERT_GE(shm, 0);
    struct stat st;
    ASSERT_EQ(fstat(shm, &st), 0);
    EXPECT_EQ(st.st_size, 221184);
    auto *view = static_cast<const uint32_t *>(mmap(nullptr, st.st_size, PROT_READ, MAP_SHARED, shm, 0));
    ASSERT_NE(view, MAP_FAILED);

    disp_flush_record rec{};
    uint32_t seen = 0;
    std::thread peer([&] {
        ASSERT_EQ(read(fifo, rec.au8Bytes, sizeof rec.au8Bytes), 20);
        ASSERT_EQ(sem_wait(ready), 0);
        seen = view[0];
        sem_post(taken);
    });
    static_cast<uint32_t *>(buf)[0] = 0xFF112233u;
    disp_area a = {5, 6, 36, 37};
    EXPECT_EQ(disp_spi_send_area(&a), 0);
    peer.join();
    disp_area got{};
    ASSERT_EQ(disp_flush_record_decode(&rec, &got), 0);
    EXPECT_EQ(got.x1, 5);
    EXPECT_EQ(got.y2, 37);
    EXPECT_EQ(seen, 0xFF112233u);

    testing::internal::CaptureStderr();
    EXPECT_EQ(g_stDispDevSpi.deinit(), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("ui: spi_disp: ui destroyed successfully."),
              std::string::npos);
    EXPECT_EQ(shm_open(DISP_SHM_NAME, O_RDONLY, 0), -1); // unlinked
    munmap(const_cast<uint32_t *>(view), st.st_size);
    close(shm);
    close(fifo);
    sem_close(ready);
    sem_close(taken);
}

} // namespace
