#include "msg_queue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

// The settings-save requests are 28-byte records on a queue of ten.
struct Elem {
    uint32_t seq;
    uint8_t fill[24];
};
static_assert(sizeof(Elem) == 28, "element of the settings queue");

Elem Make(uint32_t seq) {
    Elem e;
    e.seq = seq;
    memset(e.fill, static_cast<int>(seq & 0xFF), sizeof e.fill);
    return e;
}

void ExpectElem(const Elem &e, uint32_t seq) {
    EXPECT_EQ(e.seq, seq);
    for (uint8_t b : e.fill) {
        ASSERT_EQ(b, seq & 0xFF) << "element " << seq << " corrupted";
    }
}

template <typename Fn> std::string CaptureStdout(Fn fn) {
    fflush(stdout);
    FILE *tmp = tmpfile();
    int saved = dup(STDOUT_FILENO);
    dup2(fileno(tmp), STDOUT_FILENO);
    fn();
    fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::string out;
    rewind(tmp);
    char buf[256];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, tmp)) > 0) {
        out.append(buf, n);
    }
    fclose(tmp);
    return out;
}

class MsgQueue : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(msg_queue_init(&q, storage, sizeof(Elem), 10), 0); }
    void TearDown() override { EXPECT_EQ(msg_queue_deinit(&q), 0); }
    msg_queue q{};
    Elem storage[10]{};
};

TEST_F(MsgQueue, EmptyQueueGivesNothing) {
    Elem e{};
    EXPECT_EQ(msg_queue_is_empty(&q), 1);
    EXPECT_EQ(msg_queue_try_recive(&q, &e), -1);
    Elem in = Make(1);
    ASSERT_EQ(msg_queue_send(&q, &in), 0);
    EXPECT_EQ(msg_queue_is_empty(&q), 0);
    ASSERT_EQ(msg_queue_try_recive(&q, &e), 0);
    ExpectElem(e, 1);
    EXPECT_EQ(msg_queue_is_empty(&q), 1);
    EXPECT_EQ(msg_queue_try_recive(&q, nullptr), -1);
}

TEST_F(MsgQueue, FullQueueRefusesAndKeepsItsTenElements) {
    for (uint32_t i = 0; i < 10; ++i) {
        Elem in = Make(i);
        ASSERT_EQ(msg_queue_send(&q, &in), 0) << i;
    }
    Elem extra = Make(99);
    EXPECT_EQ(msg_queue_send(&q, &extra), -1);
    EXPECT_EQ(msg_queue_send(&q, &extra), -1);
    EXPECT_EQ(msg_queue_is_empty(&q), 0);
    for (uint32_t i = 0; i < 10; ++i) {
        Elem out{};
        ASSERT_EQ(msg_queue_try_recive(&q, &out), 0);
        ExpectElem(out, i);
    }
    EXPECT_EQ(msg_queue_is_empty(&q), 1);
}

TEST_F(MsgQueue, OrderHoldsAcrossTheWrap) {
    // Keep the fill level moving between 1 and 7 so the pointers pass the last slot many times.
    uint32_t sent = 0, taken = 0;
    for (int round = 0; round < 40; ++round) {
        for (int k = 0; k < 7 && sent - taken < 10; ++k) {
            Elem in = Make(sent);
            ASSERT_EQ(msg_queue_send(&q, &in), 0);
            ++sent;
        }
        for (int k = 0; k < 6; ++k) {
            Elem out{};
            ASSERT_EQ(msg_queue_recive(&q, &out), 0);
            ExpectElem(out, taken++);
        }
    }
    while (msg_queue_is_empty(&q) == 0) {
        Elem out{};
        ASSERT_EQ(msg_queue_recive(&q, &out), 0);
        ExpectElem(out, taken++);
    }
    EXPECT_EQ(sent, taken);
}

TEST_F(MsgQueue, ProducerAndConsumerThreads) {
    constexpr uint32_t kCount = 20000;
    std::thread consumer([&] {
        for (uint32_t i = 0; i < kCount; ++i) {
            Elem out{};
            ASSERT_EQ(msg_queue_recive(&q, &out), 0);
            ExpectElem(out, i);
        }
    });
    uint32_t refused = 0;
    for (uint32_t i = 0; i < kCount;) {
        Elem in = Make(i);
        if (msg_queue_send(&q, &in) == 0) {
            ++i;
        } else {
            ++refused;
            std::this_thread::yield();
        }
    }
    consumer.join();
    EXPECT_EQ(msg_queue_is_empty(&q), 1);
    RecordProperty("refused_sends", static_cast<int>(refused));
}

TEST(MsgQueueInit, RefusesNullArgumentsAndEmptyGeometry) {
    msg_queue q{};
    uint8_t storage[16];
    EXPECT_EQ(msg_queue_init(nullptr, storage, 4, 4), -1);
    EXPECT_EQ(msg_queue_init(&q, nullptr, 4, 4), -1);
    EXPECT_EQ(msg_queue_init(&q, storage, 0, 4), -1);
    EXPECT_EQ(msg_queue_init(&q, storage, 4, 0), -1);
    EXPECT_EQ(msg_queue_deinit(nullptr), -1);
    EXPECT_EQ(msg_queue_is_empty(nullptr), -1);
}

TEST(MsgQueueInit, UninitialisedQueueNamesTheFunction) {
    msg_queue q{};
    uint8_t e[4] = {0};
    std::string out = CaptureStdout([&] {
        EXPECT_EQ(msg_queue_send(&q, e), -1);
        EXPECT_EQ(msg_queue_recive(&q, e), -1);
        EXPECT_EQ(msg_queue_try_recive(&q, e), -1);
        EXPECT_EQ(msg_queue_is_empty(&q), -1);
    });
    EXPECT_EQ(out, "msg_queue_send[84]quen not init\n"
                   "msg_queue_recive[124]quen not init\n"
                   "msg_queue_try_recive[156]quen not init\n"
                   "msg_queue_is_empty[21]quen not init\n");

    // A queue taken down is uninitialised again.
    uint8_t storage[8];
    ASSERT_EQ(msg_queue_init(&q, storage, 4, 2), 0);
    ASSERT_EQ(msg_queue_deinit(&q), 0);
    EXPECT_EQ(CaptureStdout([&] { EXPECT_EQ(msg_queue_send(&q, e), -1); }),
              "msg_queue_send[84]quen not init\n");
}

} // namespace
