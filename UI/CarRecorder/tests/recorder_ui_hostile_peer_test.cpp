// recorder_ui against a hostile peer: a program that writes straight into the user interface's
// receive queue whatever a broken or malicious recorder might send (oversized messages of every
// type, types no receive thread takes, bursts of ten thousand, malformed JSON, keys outside the
// tables). After each phase a key entered through recorder_sim must still reach the key callback,
// no message that the agent is meant to keep may be lost, and the program's resident memory must
// stay within 1 MB of where it started. Runs isolated: private queues, /dev/shm and root.
#include "proc_util.h"
#include "sys_paths.h"

#include <gtest/gtest.h>

#include <sys/ipc.h>
#include <sys/msg.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr key_t kUiRecvKey = 0x362789A4;
constexpr int kTextArea = 2048;

// The line the key driver prints on the LVGL thread when it hands a key to the page's callback:
// proof that the key was parsed, stored and taken by the key loop. The probe is NEXT: on the home
// page it toggles the microphone; OK would switch the camera and raise tips and warning pages,
// whose memory is not what this test watches.
const char kOkPressDelivered[] = "key 2 value 3 to the page callback";

std::string Header(const char *id, uint32_t transID = 1, int isAck = 0) {
    return std::string("{\"msgHdr\":{\"protVer\":0,\"msgID\":\"") + id +
           "\",\"transID\":" + std::to_string(transID) + ",\"isAck\":" + std::to_string(isAck) +
           ",\"needAck\":0}";
}

// What a log file holds from offset on.
std::string ReadFrom(const std::string &path, long offset) {
    std::string out;
    FILE *f = fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return out;
    }
    char buf[4096];
    size_t n;
    if (fseek(f, offset, SEEK_SET) == 0) {
        while ((n = fread(buf, 1, sizeof buf, f)) > 0) {
            out.append(buf, n);
        }
    }
    fclose(f);
    return out;
}

long FileSize(const std::string &path) {
    struct stat sb;
    return stat(path.c_str(), &sb) == 0 ? (long)sb.st_size : 0;
}

class HostilePeer : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/ui_hostile.XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        unlink(SYS_PATH_READY2START_UI);
        sink.Start({DISPLAY_SINK_BIN, "--png", dir + "/exit.png"}, dir + "/sink");
        ASSERT_TRUE(e2e::WaitFor([&] { return sink.Out().find("display_sink: ready") != std::string::npos; }))
            << sink.Err();
        ui.Start({RECORDER_UI_BIN}, dir + "/ui");
        const std::string keys = dir + "/keys.fifo";
        sim.Start({RECORDER_SIM_BIN, "--keys", keys, "--settings", dir + "/settings.json"}, dir + "/sim");
        ASSERT_TRUE(e2e::WaitFor([&] {
            return ui.Out().find("create ipcmsgSvr successful") != std::string::npos;
        })) << ui.Out()
            << sim.Err();
        struct stat sb;
        ASSERT_TRUE(e2e::WaitFor([&] { return stat(keys.c_str(), &sb) == 0; }));
        keyFd = open(keys.c_str(), O_WRONLY);
        ASSERT_GE(keyFd, 0);
        queue = msgget(kUiRecvKey, IPC_CREAT | 0666);
        ASSERT_GE(queue, 0);
    }
    void TearDown() override {
        if (keyFd >= 0) {
            close(keyFd);
        }
        printf("key latency after each phase (ms):");
        for (const auto &[phase, ms] : latencies) {
            printf(" %s %.1f", phase.c_str(), ms);
        }
        printf("\n");
        sim.Stop();
        ui.Stop();
        sink.Stop();
        if (!HasFailure()) {
            std::filesystem::remove_all(dir); // the logs of the bursts take megabytes
        }
    }

    // Sends one message of any size and type; waits (up to a bound) while the queue is full, as
    // a recorder that keeps trying would. False when the queue stayed full.
    bool Send(const std::string &bytes, long type) {
        std::vector<char> buf(sizeof(long) + bytes.size());
        memcpy(buf.data(), &type, sizeof(long));
        memcpy(buf.data() + sizeof(long), bytes.data(), bytes.size());
        auto deadline = Clock::now() + std::chrono::seconds(30);
        while (msgsnd(queue, buf.data(), bytes.size(), IPC_NOWAIT) != 0) {
            if (errno != EAGAIN || Clock::now() > deadline) {
                return false;
            }
            usleep(200);
        }
        return true;
    }
    // A document as the protocol carries it: NUL-terminated.
    bool SendDoc(const std::string &doc, long type = 1) { return Send(doc + std::string(1, '\0'), type); }

    unsigned long Queued() {
        msqid_ds ds{};
        return msgctl(queue, IPC_STAT, &ds) == 0 ? (unsigned long)ds.msg_qnum : ~0ul;
    }

    long RssKb() {
        std::string status = e2e::ReadFile("/proc/" + std::to_string(ui.pid) + "/status");
        size_t p = status.find("VmRSS:");
        return p == std::string::npos ? -1 : atol(status.c_str() + p + 6);
    }

    // A key from recorder_sim reaches the key callback; the latency is noted for the report.
    // The bound is only there so that a jammed agent fails the test instead of hanging it.
    void KeyStillReaches(const std::string &phase) {
        ASSERT_TRUE(e2e::WaitFor([&] { return Queued() == 0; })) << phase << ": the queue does not drain";
        long from = FileSize(ui.out);
        auto t0 = Clock::now();
        ASSERT_EQ(write(keyFd, "NEXT press\n", 11), 11);
        bool got = false;
        while (!got && Clock::now() - t0 < std::chrono::seconds(20)) {
            usleep(1000);
            got = ReadFrom(ui.out, from).find(kOkPressDelivered) != std::string::npos;
        }
        double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        ASSERT_TRUE(got) << phase << ": the key did not reach the key callback";
        latencies.emplace_back(phase, ms);
        ASSERT_EQ(write(keyFd, "NEXT release\n", 13), 13);
        ASSERT_TRUE(e2e::WaitFor([&] {
            return ReadFrom(ui.out, from).find("key 2 value 4 to the page callback") != std::string::npos;
        }));
        EXPECT_TRUE(ui.Alive()) << phase;
        long rss = RssKb();
        if (rss0 < 0) {
            rss0 = rss;
        }
#if !defined(RECORDER_SANITIZED) && !defined(E2E_EMULATOR)
        // The sanitizers keep freed memory in quarantine and the emulator's own memory counts in
        // its RSS: the figure only means something in a plain native build.
        EXPECT_LE(rss - rss0, 1024) << phase << ": resident memory grew from " << rss0 << " kB to " << rss
                                    << " kB";
#endif
        printf("%-14s key after %.1f ms, resident %ld kB (started at %ld kB)\n", phase.c_str(), ms, rss,
               rss0);
    }

    std::string dir;
    e2e::Proc sink, ui, sim;
    int keyFd = -1;
    int queue = -1;
    long rss0 = -1;
    std::vector<std::pair<std::string, double>> latencies;
};

// The sequence numbers of the burst's key messages that reached the key handler.
std::set<long> SeqsHandled(const std::string &out, const std::string &tag) {
    std::set<long> seqs;
    const std::string needle = "\"" + tag + "\":";
    for (size_t p = out.find(needle); p != std::string::npos; p = out.find(needle, p + 1)) {
        seqs.insert(atol(out.c_str() + p + needle.size()));
    }
    return seqs;
}

} // namespace

TEST_F(HostilePeer, NoMessageKeepsTheNextGoodOneFromItsHandler) {
    KeyStillReaches("start");

    // Oversized messages of every type: taken off the queue, cut, reported with their size.
    const std::vector<long> types = {1, 2, 3, 5, 1000, LONG_MAX};
    for (long type : types) {
        for (size_t size : {(size_t)kTextArea + 1, (size_t)4096, (size_t)8192}) {
            std::string padded = Header("IPCMSG_SYSTEMSTATUS") + "}";
            padded += std::string(1, '\0') + std::string(size - padded.size() - 1, 'x');
            ASSERT_TRUE(Send(padded, type)) << type << " " << size;
            std::string longDoc =
                Header("IPCMSG_SYSTEMSTATUS") + ",\"pad\":\"" + std::string(size, 'p') + "\"}";
            ASSERT_TRUE(Send(longDoc.substr(0, size), type)) << type << " " << size;
        }
    }
    KeyStillReaches("oversized");
    EXPECT_NE(ui.Out().find("longer than the 2048-byte text area"), std::string::npos);

    // Types that no receive thread asks for: drained, not left to fill the queue.
    for (int i = 0; i < 200; i++) {
        ASSERT_TRUE(SendDoc(Header("IPCMSG_KEYEVENT") + ",\"keycode\":0,\"keyvalue\":3}", 3 + i % 7 * 1000))
            << "message " << i << ": the queue stayed full";
    }
    KeyStillReaches("unknown-types");
    EXPECT_NE(ui.Out().find("is taken by no receive thread"), std::string::npos);

    // Bursts of ten thousand: every key message of types 1 and 2 reaches the key handler, and
    // bursts of junk drain as well.
    auto t0 = Clock::now();
    for (long type : {1L, 2L}) {
        for (int i = 0; i < 10000; i++) {
            std::string seq = std::string("\"seq") + std::to_string(type) + "\":" + std::to_string(i);
            ASSERT_TRUE(
                SendDoc(Header("IPCMSG_KEYEVENT") + ",\"keycode\":6,\"keyvalue\":4," + seq + "}", type))
                << "type " << type << " message " << i;
        }
    }
    for (int i = 0; i < 10000; i++) {
        ASSERT_TRUE(SendDoc("{\"junk\":" + std::to_string(i) + "}", 4 + i % 3));
        ASSERT_TRUE(Send(std::string(3000, 'z'), 1 + i % 2));
    }
    ASSERT_TRUE(e2e::WaitFor([&] {
        std::string out = ui.Out();
        return SeqsHandled(out, "seq1").size() == 10000 && SeqsHandled(out, "seq2").size() == 10000;
    })) << "type 1: "
        << SeqsHandled(ui.Out(), "seq1").size() << ", type 2: " << SeqsHandled(ui.Out(), "seq2").size();
    printf("40000 burst messages taken in %.0f ms\n",
           std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    KeyStillReaches("bursts");

    // Malformed JSON of every kind, on both receive types.
    std::vector<std::string> bad = {
        "",
        "{",
        "}",
        "[]",
        "null",
        "\"text\"",
        "{\"msgHdr\":[]}",
        "{\"msgHdr\":{\"msgID\":7,\"isAck\":\"yes\"}}",
        "{\"msgHdr\":{\"msgID\":\"" + std::string(1500, 'I') + "\"}}",
        "{\"msgHdr\":{\"msgID\":\"Q\",\"transID\":-1,\"isAck\":2,\"needAck\":1e999}}",
        "{\"msgHdr\":{\"msgID\":\"Q\",\"transID\":1e300,\"isAck\":1}}",
        Header("IPCMSG_KEYEVENT") + ",\"keycode\":[0],\"keyvalue\":{}}",
        Header("IPCMSG_KEYEVENT") + "",
        Header("IPCMSG_KEYEVENT") + ",\"keycode\":0,\"keyvalue\":3,\"keycode\":6}",
        Header("\xff\xfe\x80") + "}",
        Header("\\ud800\\udfff") + "}",
        "{\"msgHdr\":{\"msgID\":\"\\u0000x\"}}",
        std::string(5000, '[') + std::string(5000, ']'),
        "{\"a\":" + std::string(2000, '9') + "}",
        "\x01\x02\x03{\"msgHdr\":{}}",
        Header("IPCMSG_SYSTEMSTATUS") + ",\"int_params\":[{\"key\":null,\"value\":[]}]}trailing",
    };
    std::string members = Header("IPCMSG_SYSTEMSTATUS");
    while (members.size() < 2000) {
        members += ",\"m" + std::to_string(members.size()) + "\":0";
    }
    bad.push_back(members + "}");
    for (const std::string &b : bad) {
        for (long type : {1L, 2L}) {
            ASSERT_TRUE(SendDoc(b.substr(0, kTextArea - 1), type));
        }
    }
    ASSERT_TRUE(Send(std::string(kTextArea, '{'), 1)) << "a full text area without NUL";
    KeyStillReaches("malformed");

    // Keys outside the tables: each refused with one line, none reaches the key callback.
    const std::vector<std::string> badKeys = {
        "\"keycode\":99,\"keyvalue\":3",  "\"keycode\":4294967295,\"keyvalue\":3",
        "\"keycode\":2.7,\"keyvalue\":3", "\"keycode\":1,\"keyvalue\":4",
        "\"keycode\":0,\"keyvalue\":9",   "\"keycode\":0,\"keyvalue\":4294967295",
        "\"keycode\":0,\"keyvalue\":3.5", "\"keycode\":-1,\"keyvalue\":3",
        "\"keycode\":6,\"keyvalue\":-4",
    };
    long from = FileSize(ui.out);
    for (const std::string &k : badKeys) {
        ASSERT_TRUE(SendDoc(Header("IPCMSG_KEYEVENT") + "," + k + "}"));
    }
    ASSERT_TRUE(e2e::WaitFor(
        [&] { return e2e::Count(ReadFrom(ui.out, from), "unknown key refused") >= badKeys.size(); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // three key periods
    const std::string refusals = ReadFrom(ui.out, from);
    EXPECT_EQ(e2e::Count(refusals, "unknown key refused"), badKeys.size());
    EXPECT_EQ(e2e::Count(refusals, "to the page callback"), 0u) << "a refused key was delivered";
    KeyStillReaches("bad-keys");
}
