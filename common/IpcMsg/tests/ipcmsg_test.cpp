// The agent on the user interface's side of the two queues, against a peer made of plain queue calls.
#include <gtest/gtest.h>

#include <sys/ipc.h>
#include <sys/msg.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "vyx_ipcmsg.h"

namespace {

struct QueueMsg {
    long mtype;
    char mtext[VYX_IPCMSG_TEXT_SIZE];
};

// The recorder's end: receives what the agent sends, sends into the agent's receive queue.
struct Peer {
    int qFromUi = msgget(VYX_IPCMSG_KEY_UI_SEND, IPC_CREAT | 0666);
    int qToUi = msgget(VYX_IPCMSG_KEY_UI_RECV, IPC_CREAT | 0666);

    // Next message from the agent, waiting up to 5 s; empty string when none came.
    std::string Receive(size_t *size = nullptr) {
        QueueMsg m{};
        for (int i = 0; i < 500; i++) {
            ssize_t n = msgrcv(qFromUi, &m, sizeof(m.mtext), 0, IPC_NOWAIT);
            if (n >= 0) {
                if (size)
                    *size = (size_t)n;
                return std::string(m.mtext, strnlen(m.mtext, sizeof(m.mtext)));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return "";
    }
    void Drain() {
        QueueMsg m;
        while (msgrcv(qFromUi, &m, sizeof(m.mtext), 0, IPC_NOWAIT) >= 0) {
        }
    }
    // Any size and type, as a hostile or broken peer may send (waits while the queue is full).
    void SendRaw(const std::string &bytes, long type) {
        std::vector<char> buf(sizeof(long) + bytes.size());
        memcpy(buf.data(), &type, sizeof(long));
        memcpy(buf.data() + sizeof(long), bytes.data(), bytes.size());
        ASSERT_EQ(msgsnd(qToUi, buf.data(), bytes.size(), 0), 0) << strerror(errno);
    }
    unsigned long Queued() {
        msqid_ds ds{};
        return msgctl(qToUi, IPC_STAT, &ds) == 0 ? (unsigned long)ds.msg_qnum : ~0ul;
    }
    void Send(const std::string &text, long type = 1) {
        QueueMsg m{};
        m.mtype = type;
        size_t n = std::min(text.size() + 1, sizeof(m.mtext));
        memcpy(m.mtext, text.data(), std::min(text.size(), sizeof(m.mtext)));
        ASSERT_EQ(msgsnd(qToUi, &m, n, 0), 0);
    }
};

std::string Doc(const char *id, uint32_t transID, int isAck, const std::string &body = "") {
    std::string s = "{\"msgHdr\":{\"protVer\":0,\"msgID\":\"" + std::string(id) +
                    "\",\"transID\":" + std::to_string(transID) + ",\"isAck\":" + std::to_string(isAck) +
                    ",\"needAck\":" + std::to_string(isAck ? 0 : 1) + "}";
    if (!body.empty())
        s += "," + body;
    return s + "}";
}

std::mutex g_mu;
std::vector<std::string> g_calls; // "row:text" for every handler call
std::atomic<int> g_countC{0};

int RowA1(const char *msg, const MsgHeader *) {
    std::lock_guard<std::mutex> l(g_mu);
    g_calls.push_back(std::string("A1:") + msg);
    return 0;
}
int RowA2(const char *msg, const MsgHeader *) {
    std::lock_guard<std::mutex> l(g_mu);
    g_calls.push_back(std::string("A2:") + msg);
    return 0;
}
int RowC(const char *, const MsgHeader *hdr) {
    if (strcmp(hdr->msgID, "C") == 0)
        g_countC++;
    return 0;
}

const VYX_IPCMSG_HandlerRow kTable[] = {{"A", RowA1}, {"A", RowA2}, {"C", RowC}, {"AB", RowA2}};

void StartAgent() {
    static std::once_flag once;
    std::call_once(once, [] {
        ASSERT_EQ(VYX_IPCMSG_AgentInit(VYX_IPCMSG_KEY_UI_RECV, VYX_IPCMSG_KEY_UI_SEND, kTable, 4), 0);
    });
}

// Waits up to 5 s for cond.
template <typename F> bool WaitFor(F cond) {
    for (int i = 0; i < 500; i++) {
        if (cond())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return cond();
}

std::vector<std::string> Calls() {
    std::lock_guard<std::mutex> l(g_mu);
    return g_calls;
}

class IpcMsgAgent : public ::testing::Test {
  protected:
    void SetUp() override {
        StartAgent();
        peer.Drain();
        std::lock_guard<std::mutex> l(g_mu);
        g_calls.clear();
    }
    Peer peer;
};

} // namespace

TEST(IpcMsgHeader, RoundTripAndBadInput) {
    MsgHeader in{};
    in.protVer = 7;
    memset(in.msgID, 'x', 31);
    in.transID = 4000000000u;
    in.isAck = 1;
    in.needAck = 0;
    cJSON *obj = nullptr;
    ASSERT_EQ(VYX_IPCMSG_EncodeMsgHeader(&in, &obj), 0);
    // Members in the order protVer, msgID, transID, isAck, needAck.
    const char *order[] = {"protVer", "msgID", "transID", "isAck", "needAck"};
    int i = 0;
    for (cJSON *c = obj->child; c; c = c->next, i++)
        EXPECT_STREQ(c->string, order[i]);
    EXPECT_EQ(i, 5);
    cJSON_Delete(obj);

    char *text = VYX_IPCMSG_BuildMsg(&in, cJSON_Parse("{\"a\":1,\"b\":\"t\"}"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(strncmp(text, "{\"msgHdr\":{\"protVer\":7,", 23), 0) << text;
    EXPECT_NE(strstr(text, "},\"a\":1,\"b\":\"t\"}"), nullptr) << text;
    MsgHeader out;
    ASSERT_EQ(VYX_IPCMSG_DecodeMsgHeader(text, &out), 0);
    EXPECT_EQ(memcmp(&in, &out, sizeof(in)), 0);
    cJSON_free(text);

    // An id longer than 31 characters is cut, never overflows.
    ASSERT_EQ(VYX_IPCMSG_DecodeMsgHeader(Doc(std::string(80, 'y').c_str(), 1, 0).c_str(), &out), 0);
    EXPECT_EQ(strlen(out.msgID), 31u);

    for (const char *bad :
         {"", "{", "[1]", "{\"msgHdr\":3}", "{\"body\":{}}", "{\"msgHdr\":{\"transID\":-5}"}) {
        EXPECT_EQ(VYX_IPCMSG_DecodeMsgHeader(bad, &out), -1) << bad;
    }
    // Wrong member types read as 0 and an empty id.
    ASSERT_EQ(VYX_IPCMSG_DecodeMsgHeader("{\"msgHdr\":{\"msgID\":5,\"transID\":\"1\",\"isAck\":-1}}", &out),
              0);
    EXPECT_STREQ(out.msgID, "");
    EXPECT_EQ(out.transID, 0u);
    EXPECT_EQ(out.isAck, 0u);
    EXPECT_EQ(VYX_IPCMSG_DecodeMsgHeader(nullptr, &out), -1);
}

TEST_F(IpcMsgAgent, DispatchTakesFirstExactRowAndDropsUnknownIds) {
    peer.Send(Doc("B", 1, 0)); // no row
    peer.Send(Doc("a", 1, 0)); // ids compare exactly
    peer.Send(Doc("A", 1, 0, "\"n\":1"));
    ASSERT_TRUE(WaitFor([] { return Calls().size() >= 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], "A1:" + Doc("A", 1, 0, "\"n\":1"));
    // Messages of type 2 reach the first receive thread only, and are handled the same way.
    peer.Send(Doc("AB", 2, 0), 2);
    ASSERT_TRUE(WaitFor([] { return Calls().size() == 2; }));
    EXPECT_EQ(Calls()[1].substr(0, 3), "A2:");
}

TEST_F(IpcMsgAgent, SameIdAndSecondAnswersGoNewestFirstToTheirOwnBuffers) {
    const std::string req = Doc("Q", 77, 0);
    char older[128] = "untouched", newer[128] = "untouched";
    int rOlder = -1, rNewer = -1;
    std::thread a(
        [&] { rOlder = VYX_IPCMSG_SendSync(req.c_str(), req.size() + 1, 5000, older, sizeof(older)); });
    ASSERT_EQ(peer.Receive(), req);
    std::thread b(
        [&] { rNewer = VYX_IPCMSG_SendSync(req.c_str(), req.size() + 1, 5000, newer, sizeof(newer)); });
    ASSERT_EQ(peer.Receive(), req);
    const std::string ans1 = Doc("Q", 77, 1, "\"result\":1");
    const std::string ans2 = Doc("Q", 77, 1, "\"result\":2");
    peer.Send(ans1);
    b.join();
    EXPECT_EQ(rNewer, 0);
    EXPECT_EQ(std::string(newer), ans1);
    // The second answer reaches the older waiter instead of overwriting the answered one.
    peer.Send(ans2);
    a.join();
    EXPECT_EQ(rOlder, 0);
    EXPECT_EQ(std::string(older), ans2);
    EXPECT_EQ(VYX_IPCMSG_PendingCount(), 0);
}

TEST_F(IpcMsgAgent, AnswerIsCutToTheBufferWithNul) {
    const std::string req = Doc("Q", 78, 0);
    char buf[16];
    memset(buf, 'z', sizeof(buf));
    std::thread t(
        [&] { EXPECT_EQ(VYX_IPCMSG_SendSync(req.c_str(), req.size() + 1, 5000, buf, sizeof(buf)), 0); });
    ASSERT_EQ(peer.Receive(), req);
    const std::string ans = Doc("Q", 78, 1);
    peer.Send(ans);
    t.join();
    EXPECT_EQ(std::string(buf), ans.substr(0, 15));
}

TEST_F(IpcMsgAgent, TimeOutReturns0x6AAfterTheTimeAndALateAnswerIsDropped) {
    const std::string req = Doc("Q", 79, 0);
    char buf[64] = "before";
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(VYX_IPCMSG_SendSync(req.c_str(), req.size() + 1, 200, buf, sizeof(buf)), 0x6A);
    auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_GE(ms, 200);
    EXPECT_EQ(VYX_IPCMSG_PendingCount(), 0);
    ASSERT_EQ(peer.Receive(), req);
    peer.Send(Doc("Q", 79, 1, "\"late\":1"));
    peer.Send(Doc("A", 3, 0)); // handled after the answer by the same queue
    ASSERT_TRUE(WaitFor([] { return !Calls().empty(); }));
    EXPECT_STREQ(buf, "before");
    EXPECT_EQ(VYX_IPCMSG_PendingCount(), 0);
}

TEST_F(IpcMsgAgent, BadRequestsFailBeforeAnythingIsSent) {
    char buf[8];
    const std::string req = Doc("Q", 80, 0);
    EXPECT_EQ(VYX_IPCMSG_SendSync("not json", 9, 100, buf, sizeof(buf)), -1);
    EXPECT_EQ(VYX_IPCMSG_SendSync(req.c_str(), req.size() + 1, 100, nullptr, 0), 0x64);
    EXPECT_EQ(VYX_IPCMSG_SendNoRsp(req.c_str(), 0), -2);
    EXPECT_EQ(VYX_IPCMSG_SendOnly(nullptr, req.c_str(), 4, 1), -1);
    VYX_IPCMSG_Slot unused{};
    EXPECT_EQ(VYX_IPCMSG_SendOnly(&unused, req.c_str(), 4, 1), -2);
    EXPECT_EQ(VYX_IPCMSG_DestroySvr(&unused), -2);
    EXPECT_EQ(VYX_IPCMSG_DestroySvr(nullptr), -1);
    EXPECT_EQ(VYX_IPCMSG_PendingCount(), 0);
}

TEST_F(IpcMsgAgent, AsyncAnswerCallsItsCallbackOnce) {
    static std::atomic<int> calls{0};
    static std::string got;
    calls = 0;
    const std::string req = Doc("Q", 81, 0);
    ASSERT_EQ(VYX_IPCMSG_SendAsync(req.c_str(), req.size() + 1,
                                   [](const char *msg, const MsgHeader *hdr) {
                                       got = msg;
                                       EXPECT_EQ(hdr->isAck, 1u);
                                       calls++;
                                   }),
              0);
    EXPECT_EQ(VYX_IPCMSG_PendingCount(), 1);
    ASSERT_EQ(peer.Receive(), req);
    peer.Send(Doc("Q", 81, 1, "\"v\":9"));
    peer.Send(Doc("Q", 81, 1, "\"v\":10"));
    ASSERT_TRUE(WaitFor([] { return calls.load() == 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(calls.load(), 1);
    // Two receive threads take the two answers, so either may arrive first; only one is delivered.
    EXPECT_TRUE(got == Doc("Q", 81, 1, "\"v\":9") || got == Doc("Q", 81, 1, "\"v\":10")) << got;
    EXPECT_EQ(VYX_IPCMSG_PendingCount(), 0);
}

TEST_F(IpcMsgAgent, LongDocumentIsCutTo2047AndThenFailsToParseAtTheReceiver) {
    std::string big = Doc("A", 5, 0, "\"pad\":\"" + std::string(3000, 'p') + "\"");
    ASSERT_EQ(VYX_IPCMSG_SendNoRsp(big.c_str(), big.size() + 1), 0);
    size_t size = 0;
    std::string got = peer.Receive(&size);
    EXPECT_EQ(size, 2048u);
    EXPECT_EQ(got, big.substr(0, 2047));
    MsgHeader hdr;
    EXPECT_EQ(VYX_IPCMSG_DecodeMsgHeader(got.c_str(), &hdr), -1);
    // The same cut text arriving at the agent reaches no handler, and the agent goes on.
    peer.Send(got);
    peer.Send(Doc("A", 6, 0));
    ASSERT_TRUE(WaitFor([] { return !Calls().empty(); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0], "A1:" + Doc("A", 6, 0));
}

TEST_F(IpcMsgAgent, FullPeerQueueFailsAtOnce) {
    std::string big = Doc("F", 1, 0, "\"pad\":\"" + std::string(1900, 'p') + "\"");
    int sent = 0;
    while (VYX_IPCMSG_SendNoRsp(big.c_str(), big.size() + 1) == 0) {
        ASSERT_LT(++sent, 100000);
    }
    EXPECT_GT(sent, 0);
    char buf[64];
    const std::string req = Doc("Q", 82, 0);
    while (VYX_IPCMSG_SendNoRsp(req.c_str(), req.size() + 1) == 0) {
        ASSERT_LT(++sent, 100000);
    }
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(VYX_IPCMSG_SendSync(req.c_str(), req.size() + 1, 60000, buf, sizeof(buf)), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(30));
    EXPECT_EQ(VYX_IPCMSG_SendAsync(req.c_str(), req.size() + 1, [](const char *, const MsgHeader *) {}), -1);
    EXPECT_EQ(VYX_IPCMSG_PendingCount(), 0);
    peer.Drain();
    EXPECT_EQ(VYX_IPCMSG_SendNoRsp(req.c_str(), req.size() + 1), 0);
}

TEST_F(IpcMsgAgent, ManySendersAndThreeReceiveThreads) {
    constexpr int kSenders = 8, kEach = 25, kInbound = 300;
    std::atomic<bool> stop{false};
    // The peer answers every request with its own id and transaction id and a body naming it.
    std::thread echo([&] {
        QueueMsg m;
        while (!stop) {
            ssize_t n = msgrcv(peer.qFromUi, &m, sizeof(m.mtext), 0, IPC_NOWAIT);
            if (n < 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            MsgHeader h;
            if (VYX_IPCMSG_DecodeMsgHeader(m.mtext, &h) != 0)
                continue;
            peer.Send(Doc(h.msgID, h.transID, 1, "\"echo\":\"" + std::string(h.msgID) + "\""));
        }
    });
    g_countC = 0;
    std::thread inbound([&] {
        for (int i = 0; i < kInbound; i++)
            peer.Send(Doc("C", (uint32_t)i, 0));
    });
    std::atomic<int> ok{0};
    std::vector<std::thread> senders;
    for (int s = 0; s < kSenders; s++) {
        senders.emplace_back([&, s] {
            for (int i = 0; i < kEach; i++) {
                std::string id = "S" + std::to_string(s) + "_" + std::to_string(i);
                std::string req = Doc(id.c_str(), 1000, 0);
                char buf[256];
                if (VYX_IPCMSG_SendSync(req.c_str(), req.size() + 1, 15000, buf, sizeof(buf)) == 0 &&
                    std::string(buf) == Doc(id.c_str(), 1000, 1, "\"echo\":\"" + id + "\""))
                    ok++;
            }
        });
    }
    for (auto &t : senders)
        t.join();
    inbound.join();
    EXPECT_TRUE(WaitFor([] { return g_countC.load() == kInbound; }));
    stop = true;
    echo.join();
    EXPECT_EQ(ok.load(), kSenders * kEach);
    EXPECT_EQ(g_countC.load(), kInbound);
    EXPECT_EQ(VYX_IPCMSG_PendingCount(), 0);
}

// A peer that breaks the protocol: nothing it sends may keep the next good message from its handler.
TEST_F(IpcMsgAgent, OversizedMessagesAreTakenAndCut) {
    // A document that ends within the text area, followed by padding past it, is handled as cut.
    std::string padded = Doc("A", 20, 0) + std::string(1, '\0') + std::string(5000, 'x');
    peer.SendRaw(padded, 1);
    peer.SendRaw(padded, 2);
    // A document longer than the area cannot be parsed once cut; it reaches no handler.
    peer.SendRaw(Doc("A", 21, 0, "\"pad\":\"" + std::string(6000, 'p') + "\""), 1);
    peer.SendRaw(std::string(8000, '{'), 2);
    peer.Send(Doc("A", 22, 0));
    ASSERT_TRUE(WaitFor([] { return Calls().size() >= 3; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    auto calls = Calls();
    std::sort(calls.begin(), calls.end());
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], "A1:" + Doc("A", 20, 0));
    EXPECT_EQ(calls[1], "A1:" + Doc("A", 20, 0));
    EXPECT_EQ(calls[2], "A1:" + Doc("A", 22, 0));
    EXPECT_EQ(peer.Queued(), 0ul);
}

TEST_F(IpcMsgAgent, MessagesOfTypesNoThreadTakesAreDrained) {
    // More than the queue holds: without draining, the later sends would wait for good.
    const std::string doc = Doc("A", 30, 0, "\"pad\":\"" + std::string(1500, 'p') + "\"");
    for (int i = 0; i < 40; i++)
        peer.SendRaw(doc + std::string(1, '\0'), 3 + (i % 4) * 1000);
    peer.Send(Doc("A", 31, 0), 1);
    peer.Send(Doc("A", 32, 0), 2);
    ASSERT_TRUE(WaitFor([] { return Calls().size() >= 2; }));
    EXPECT_TRUE(WaitFor([&] { return peer.Queued() == 0; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    auto calls = Calls();
    std::sort(calls.begin(), calls.end());
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], "A1:" + Doc("A", 31, 0));
    EXPECT_EQ(calls[1], "A1:" + Doc("A", 32, 0));
}

TEST_F(IpcMsgAgent, BurstIsTakenWhollyWhileThePeerWaitsForRoom) {
    g_countC = 0;
    constexpr int kBurst = 3000;
    for (int i = 0; i < kBurst; i++)
        peer.Send(Doc("C", (uint32_t)i, 0), 1 + i % 2);
    EXPECT_TRUE(WaitFor([] { return g_countC.load() == kBurst; })) << g_countC.load();
    EXPECT_EQ(peer.Queued(), 0ul);
}

TEST_F(IpcMsgAgent, RemovedReceiveQueueIsOpenedAgain) {
    ASSERT_EQ(msgctl(peer.qToUi, IPC_RMID, nullptr), 0);
    // The receive threads notice on their next receive and take the queue made under the key.
    for (int i = 0; i < 100 && Calls().empty(); i++) {
        Peer fresh;
        fresh.Send(Doc("A", 40, 0));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_FALSE(Calls().empty());
    EXPECT_EQ(Calls()[0], "A1:" + Doc("A", 40, 0));
}

TEST_F(IpcMsgAgent, FailedSendsArePrintedOncePerSecondNotPerSend) {
    std::string big = Doc("F", 1, 0, "\"pad\":\"" + std::string(1900, 'p') + "\"");
    ::testing::internal::CaptureStdout();
    int failed = 0;
    for (int i = 0; i < 300; i++)
        failed += VYX_IPCMSG_SendNoRsp(big.c_str(), big.size() + 1) != 0;
    peer.Drain();
    EXPECT_EQ(VYX_IPCMSG_SendNoRsp(big.c_str(), big.size() + 1), 0);
    std::string out = ::testing::internal::GetCapturedStdout();
    peer.Drain();
    EXPECT_GT(failed, 250);
    size_t lines = 0;
    for (size_t p = out.find("send msg(1) failed"); p != std::string::npos;
         p = out.find("send msg(1) failed", p + 1))
        lines++;
    EXPECT_GE(lines, 1u);
    EXPECT_LE(lines, 3u) << out;
    EXPECT_NE(out.find("send queue accepts messages again"), std::string::npos) << out;
}
