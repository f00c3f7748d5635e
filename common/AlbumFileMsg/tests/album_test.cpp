// Album data access against a recorder played by this test on the raw queues: list queries and
// files, filters, sorting, event grouping, statistics, paths, thumbnails, notices and deletes.
#include <gtest/gtest.h>

#include <sys/ipc.h>
#include <sys/msg.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sys_paths.h"
#include "vyx_ui_album.h"

namespace {

struct QueueMsg {
    long mtype;
    char mtext[VYX_IPCMSG_TEXT_SIZE];
};

// The recorder: reads the user interface's requests, keeps them, and answers those it has a
// responder for (the responder returns the answer's body, or "" for no answer).
class FakeRecorder {
  public:
    using Responder = std::function<std::string(cJSON *req)>;

    FakeRecorder() {
        m_in = msgget(VYX_IPCMSG_KEY_UI_SEND, IPC_CREAT | 0666);
        m_out = msgget(VYX_IPCMSG_KEY_UI_RECV, IPC_CREAT | 0666);
        m_thread = std::thread([this] { Run(); });
    }
    ~FakeRecorder() {
        m_stop = true;
        QueueMsg wake{99, "{}"};
        msgsnd(m_in, &wake, 3, IPC_NOWAIT);
        m_thread.join();
    }
    void On(const std::string &id, Responder r) {
        std::lock_guard<std::mutex> l(m_mu);
        m_responders[id] = std::move(r);
    }
    std::vector<std::string> Requests(const std::string &id) {
        std::lock_guard<std::mutex> l(m_mu);
        std::vector<std::string> out;
        for (auto &r : m_requests)
            if (r.first == id)
                out.push_back(r.second);
        return out;
    }
    void Clear() {
        std::lock_guard<std::mutex> l(m_mu);
        m_requests.clear();
        m_responders.clear();
    }
    // A notice from the recorder.
    void Send(const std::string &id, const std::string &body) {
        MsgHeader h;
        VYX_IPCMSG_InitHeader(&h, id.c_str(), 0, 0);
        SendWith(h, body);
    }

  private:
    void SendWith(const MsgHeader &h, const std::string &body) {
        char *text = VYX_IPCMSG_BuildMsg(&h, cJSON_Parse(body.c_str()));
        QueueMsg m{1, {}};
        snprintf(m.mtext, sizeof(m.mtext), "%s", text);
        cJSON_free(text);
        msgsnd(m_out, &m, strlen(m.mtext) + 1, 0);
    }
    void Run() {
        QueueMsg m;
        while (!m_stop) {
            ssize_t n = msgrcv(m_in, &m, sizeof(m.mtext), 0, 0);
            if (n <= 0 || m_stop)
                continue;
            MsgHeader h;
            if (VYX_IPCMSG_DecodeMsgHeader(m.mtext, &h) != 0)
                continue;
            Responder r;
            {
                std::lock_guard<std::mutex> l(m_mu);
                m_requests.emplace_back(h.msgID, m.mtext);
                auto it = m_responders.find(h.msgID);
                if (it != m_responders.end())
                    r = it->second;
            }
            if (!r)
                continue;
            cJSON *req = cJSON_Parse(m.mtext);
            std::string body = r(req);
            cJSON_Delete(req);
            if (body.empty())
                continue;
            MsgHeader a = h;
            a.isAck = 1;
            a.needAck = 0;
            SendWith(a, body);
        }
    }
    int m_in, m_out;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::mutex m_mu;
    std::map<std::string, Responder> m_responders;
    std::vector<std::pair<std::string, std::string>> m_requests;
};

std::mutex g_delMu;
std::vector<std::string> g_deleted;
void OnDeleted(const char *name, void *user) {
    std::lock_guard<std::mutex> l(g_delMu);
    g_deleted.emplace_back(name);
    ++*static_cast<std::atomic<int> *>(user);
}

const VYX_IPCMSG_HandlerRow kRows[] = {{"IPCMSG_HASANEW_FILE", VYX_UI_ALBUM_HasANewFile},
                                       {"IPCMSG_DELFILE_MSG", VYX_UI_ALBUM_DelFileCb}};

VYX_UI_Album_FileEntry_S Entry(uint32_t kind, const char *name, int32_t stamp, const char *related = "",
                               uint32_t stor = 0) {
    VYX_UI_Album_FileEntry_S e;
    memset(&e, 0, sizeof(e));
    e.u32Kind = kind;
    snprintf(e.szFileName, sizeof(e.szFileName), "%s", name);
    snprintf(e.szRelatedName, sizeof(e.szRelatedName), "%s", related);
    e.s32TimeStamp = stamp;
    e.u32StorIndex = stor;
    return e;
}

void WriteFile(const char *path, const void *data, size_t size) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(static_cast<const char *>(data), (std::streamsize)size);
}

std::vector<std::string> Names(const VYX_UI_Album_FileListTable_S &t) {
    std::vector<std::string> v;
    for (uint32_t i = 0; i < t.ulCount; i++)
        v.emplace_back(t.pstFileList[i].szFileName);
    return v;
}

void Touch(const std::string &path) {
    std::string dir = path.substr(0, path.rfind('/'));
    std::string cmd = "mkdir -p '" + dir + "' && touch '" + path + "'";
    ASSERT_EQ(system(cmd.c_str()), 0);
}

class Album : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_rec = new FakeRecorder;
        ASSERT_EQ(VYX_IPCMSG_AgentInit(VYX_IPCMSG_KEY_UI_RECV, VYX_IPCMSG_KEY_UI_SEND, kRows, 2), 0);
    }
    static void TearDownTestSuite() { delete s_rec; }
    void SetUp() override {
        s_rec->Clear();
        std::string cmd =
            "rm -rf '" SYS_PATH("/app/sd") "' '" SYS_PATH("/mnt/sd") "' '" SYS_PATH_THUMB_CACHE
                                                                     "' '" SYS_PATH_PLAYER_CACHE "'";
        ASSERT_EQ(system(cmd.c_str()), 0);
    }
    // The recorder answers a list query with these counts and offsets.
    void AnswerList(const char *id, uint32_t count, uint32_t offset, uint32_t catCount = 0,
                    uint32_t catOffset = 0) {
        std::string body = "{\"filecount\":" + std::to_string(count) +
                           ",\"offsetaddr\":" + std::to_string(offset) +
                           ",\"catfilecount\":" + std::to_string(catCount) +
                           ",\"catfileoffsetaddr\":" + std::to_string(catOffset) + "}";
        s_rec->On(id, [body](cJSON *) { return body; });
    }
    static FakeRecorder *s_rec;
};
FakeRecorder *Album::s_rec;

} // namespace

TEST_F(Album, ListQueryReadsTheBlockAtItsOffsetAndFiltersByCamera) {
    // Two lists in one file: the recordings start after 3 entries of something else.
    std::vector<VYX_UI_Album_FileEntry_S> file = {Entry(0, "other1.mp4", 1),
                                                  Entry(0, "other2.mp4", 2),
                                                  Entry(0, "other3.mp4", 3),
                                                  Entry(0, "2026_0101_100000_N_F.mp4", 1000),
                                                  Entry(2, "2026_0101_100000_R_A.mp4", 1001),
                                                  Entry(2, "2026_0101_100100_Q_x.mp4", 1060),
                                                  Entry(0, "2026_0101_100200_N_F.mp4", 1120)};
    WriteFile(SYS_PATH_FILELIST, file.data(), file.size() * sizeof(file[0]));
    AnswerList("GET_REC_LIST", 4, 3 * sizeof(file[0]));
    ASSERT_EQ(VYX_UI_Album_QueryRecFiles(), 0);
    EXPECT_EQ(VYX_UI_Album_GetTotalFiles(VYX_UI_ALBUM_REAR_REC), 4u);

    VYX_UI_Album_FileListTable_S front{}, rear{};
    ASSERT_EQ(VYX_UI_Album_QueryRecordTable(VYX_UI_ALBUM_FRONT_REC, &front), 0);
    ASSERT_EQ(front.ulCount, 4u);
    ASSERT_EQ(VYX_UI_Album_ParseRecordTable(VYX_UI_ALBUM_FRONT_REC, &front), 0);
    ASSERT_EQ(VYX_UI_Album_SortRecordTableByTime(VYX_UI_ALBUM_FRONT_REC, &front), 0);
    EXPECT_EQ(Names(front),
              (std::vector<std::string>{"2026_0101_100200_N_F.mp4", "2026_0101_100000_N_F.mp4"}));

    ASSERT_EQ(VYX_UI_Album_QueryRecordTable(VYX_UI_ALBUM_REAR_REC, &rear), 0);
    ASSERT_EQ(VYX_UI_Album_ParseRecordTable(VYX_UI_ALBUM_REAR_REC, &rear), 0);
    ASSERT_EQ(VYX_UI_Album_SortRecordTableByTime(VYX_UI_ALBUM_REAR_REC, &rear), 0);
    EXPECT_EQ(Names(rear),
              (std::vector<std::string>{"2026_0101_100100_Q_x.mp4", "2026_0101_100000_R_A.mp4"}));
    VYX_UI_Album_FreeTable(&front);
    VYX_UI_Album_FreeTable(&rear);

    // Type 7 keeps "_A" and drops a name with only "N_"; the raw types are not filtered.
    VYX_UI_Album_FileListTable_S t{};
    ASSERT_EQ(VYX_UI_Album_QueryRecordTable(VYX_UI_ALBUM_REC, &t), 0);
    EXPECT_EQ(VYX_UI_Album_ParseRecordTable(VYX_UI_ALBUM_REC, &t), 0);
    EXPECT_EQ(t.ulCount, 4u);
    VYX_UI_Album_FreeTable(&t);
    EXPECT_EQ(VYX_UI_Album_QueryRecordTable(VYX_UI_ALBUM_TYPE_NOT_SET, &t), -1);
}

TEST_F(Album, BrokenListsAndAnswersAreRefusedOrSkippedWithoutReadingPastThem) {
    std::vector<VYX_UI_Album_FileEntry_S> file = {Entry(0, "good.mp4", 10), Entry(99, "unknown_kind.mp4", 11),
                                                  Entry(0, "old.mp4", -5), Entry(0, "", 12)};
    VYX_UI_Album_FileEntry_S unterminated = Entry(0, "x", 13);
    memset(unterminated.szFileName, 'A', sizeof(unterminated.szFileName));
    file.push_back(unterminated);
    WriteFile(SYS_PATH_FILELIST, file.data(), file.size() * sizeof(file[0]));

    AnswerList("GET_REC_LIST", (uint32_t)file.size(), 0);
    ASSERT_EQ(VYX_UI_Album_QueryRecFiles(), 0);
    VYX_UI_Album_FileListTable_S t{};
    ASSERT_EQ(VYX_UI_Album_QueryRecordTable(VYX_UI_ALBUM_REC, &t), 0);
    EXPECT_EQ(Names(t), std::vector<std::string>{"good.mp4"});
    VYX_UI_Album_FreeTable(&t);

    // More entries than the file holds: refused, nothing handed out.
    AnswerList("GET_REC_LIST", (uint32_t)file.size() + 1, 0);
    ASSERT_EQ(VYX_UI_Album_QueryRecFiles(), 0);
    EXPECT_EQ(VYX_UI_Album_QueryRecordTable(VYX_UI_ALBUM_REC, &t), -1);
    EXPECT_EQ(t.pstFileList, nullptr);
    // A count that would overflow a size, an offset past the end.
    AnswerList("GET_REC_LIST", 0xFFFFFFFFu, 0);
    ASSERT_EQ(VYX_UI_Album_QueryRecFiles(), 0);
    EXPECT_EQ(VYX_UI_Album_QueryRecordTable(VYX_UI_ALBUM_REC, &t), -1);
    AnswerList("GET_REC_LIST", 1, 0xFFFFFF00u);
    ASSERT_EQ(VYX_UI_Album_QueryRecFiles(), 0);
    EXPECT_EQ(VYX_UI_Album_QueryRecordTable(VYX_UI_ALBUM_REC, &t), -1);

    // Answers with wrong types or ranges change nothing.
    AnswerList("GET_REC_LIST", 2, 0);
    ASSERT_EQ(VYX_UI_Album_QueryRecFiles(), 0);
    for (const char *body : {R"({"filecount":"3","offsetaddr":0})", R"({"filecount":-1,"offsetaddr":0})",
                             R"({"filecount":1.5,"offsetaddr":0})", R"({"offsetaddr":0})", R"([1,2])"}) {
        std::string b = body;
        s_rec->On("GET_REC_LIST", [b](cJSON *) { return b; });
        EXPECT_EQ(VYX_UI_Album_QueryRecFiles(), -1) << body;
        EXPECT_EQ(VYX_UI_Album_GetTotalFiles(VYX_UI_ALBUM_REC), 2u) << body;
    }
    // An event list answer must carry its category figures too.
    s_rec->On("GET_SNAP_EVENT_LIST",
              [](cJSON *) { return std::string(R"({"filecount":1,"offsetaddr":0})"); });
    EXPECT_EQ(VYX_UI_Album_QuerySnapEventFiles(), -1);
}

TEST_F(Album, EventListsPutEachPhotoBeforeItsClipAndAClipOnlyOnce) {
    VYX_UI_Album_FileListTable_S t{};
    std::vector<VYX_UI_Album_FileEntry_S> v = {Entry(39, "E1_N_a.jpg", 100, "C1_N_.mp4"),
                                               Entry(0, "C1_N_.mp4", 101),
                                               Entry(0, "C2_G_.mp4", 150),
                                               Entry(39, "E2_N_b.jpg", 200, "C1_N_.mp4"),
                                               Entry(39, "E3_G_c.jpg", 300, "C2_G_.mp4"),
                                               Entry(39, "lonely.jpg", 400),
                                               Entry(0, "backup_F_.mp4", 50),
                                               Entry(0, "stray.mp4", 60)};
    t.pstFileList = static_cast<VYX_UI_Album_FileEntry_S *>(malloc(v.size() * sizeof(v[0])));
    memcpy(t.pstFileList, v.data(), v.size() * sizeof(v[0]));
    t.ulCount = (uint32_t)v.size();
    ASSERT_EQ(VYX_UI_Album_ParseEventFileListTable(&t), 0);
    EXPECT_EQ(Names(t), (std::vector<std::string>{"backup_F_.mp4", "E1_N_a.jpg", "E2_N_b.jpg", "C1_N_.mp4",
                                                  "E3_G_c.jpg", "C2_G_.mp4", "lonely.jpg"}));

    // Event sorting: clips newest first, then the rest in their order.
    ASSERT_EQ(VYX_UI_Album_SortRecordTableByTime(VYX_UI_ALBUM_SNAP_EVENT, &t), 0);
    EXPECT_EQ(Names(t), (std::vector<std::string>{"C2_G_.mp4", "C1_N_.mp4", "backup_F_.mp4", "E1_N_a.jpg",
                                                  "E2_N_b.jpg", "E3_G_c.jpg", "lonely.jpg"}));
    VYX_UI_Album_FreeTable(&t);

    VYX_UI_Album_FileListTable_S empty{};
    EXPECT_EQ(VYX_UI_Album_SortRecordTableByTime(VYX_UI_ALBUM_REC, &empty), -1);
    EXPECT_EQ(VYX_UI_Album_ParseEventFileListTable(&empty), 0);
}

TEST_F(Album, StatisticsGroupByHourAndDayFromTheOldestEntry) {
    // 2026-01-01 10:05, 10:55, 11:00, 23:30 and 2026-01-02 00:10 (the stamps read as UTC).
    const int32_t base = 1767225600; // 2026-01-01 00:00:00
    std::vector<VYX_UI_Album_FileEntry_S> v = {
        Entry(0, "e.mp4", base + 86400 + 600), Entry(0, "d.mp4", base + 23 * 3600 + 1800),
        Entry(0, "c.mp4", base + 11 * 3600), Entry(0, "b.mp4", base + 10 * 3600 + 3300),
        Entry(0, "a.mp4", base + 10 * 3600 + 300)};
    VYX_UI_Album_FileListTable_S t{v.data(), (uint32_t)v.size()};
    VYX_UI_Album_GroupList_S list{};
    uint32_t groups = 0;
    ASSERT_EQ(VYX_UI_Album_StatisticalFilesByDateHour(&t, &list, &groups), 0);
    ASSERT_EQ(groups, 4u);
    std::vector<std::string> got;
    for (auto *g = list.pstHead; g; g = g->pstNext)
        got.push_back(std::string(g->szDate) + " " + g->szStart + "-" + g->szEnd + " " +
                      std::to_string(g->u32FileCount));
    EXPECT_EQ(got, (std::vector<std::string>{"2026-01-01 10:00-11:00 2", "2026-01-01 11:00-12:00 1",
                                             "2026-01-01 23:00-24:00 1", "2026-01-02 00:00-01:00 1"}));
    EXPECT_EQ(list.pstTail->pstPrev->pstNext, list.pstTail);
    VYX_UI_Album_FreeGroups(&list);

    ASSERT_EQ(VYX_UI_Album_StatisticalFilesByDate(&t, &list, &groups), 0);
    ASSERT_EQ(groups, 2u);
    EXPECT_STREQ(list.pstHead->szDate, "01-01");
    EXPECT_EQ(list.pstHead->u32FileCount, 4u);
    EXPECT_STREQ(list.pstTail->szDate, "01-02");
    VYX_UI_Album_FreeGroups(&list);

    VYX_UI_Album_FileListTable_S none{};
    EXPECT_EQ(VYX_UI_Album_StatisticalFilesByDateHour(&none, &list, &groups), -1);
    EXPECT_EQ(groups, 0u);

    EXPECT_EQ(VYX_UI_Album_Ms2Sec(1500), 1u);
    EXPECT_EQ(VYX_UI_Album_Ms2Sec(1501), 2u);
}

TEST_F(Album, PathsFollowTheNameAndKindOnBothCards) {
    EXPECT_STREQ(VYX_UI_ALBUM_GetFileAbsPath("2026_R_1.mp4", false),
                 SYS_PATH("/app/sd/DCIM/200video/rear/2026_R_1.mp4"));
    EXPECT_STREQ(VYX_UI_ALBUM_GetFileAbsPath("a_B.jpg", true),
                 SYS_PATH("/mnt/sd/DCIM/201photo/inside/a_B.jpg"));
    EXPECT_STREQ(VYX_UI_ALBUM_GetFileAbsPath("x_F_1.mp4", true), SYS_PATH("/usrcfg/backup/front/x_F_1.mp4"));
    EXPECT_EQ(VYX_UI_ALBUM_GetFileAbsPath("notes.txt", false), nullptr);
    EXPECT_EQ(VYX_UI_ALBUM_GetFileType(nullptr), -1);
    EXPECT_EQ(VYX_UI_ALBUM_GetFileType("Y_.mp4"), VYX_UI_ALBUM_CAM_INSIDE);

    char buf[256];
    VYX_UI_Album_FileEntry_S rearPhoto = Entry(51, "p.jpg", 1, "", 1);
    ASSERT_EQ(VYX_UI_ALBUM_GetFilePathByRecNode(&rearPhoto, buf, sizeof(buf)), 0);
    EXPECT_STREQ(buf, SYS_PATH("/mnt/sd/DCIM/201photo/rear/p.jpg"));
    VYX_UI_Album_FileEntry_S other = Entry(45, "q.jpg", 1);
    ASSERT_EQ(VYX_UI_ALBUM_GetFilePathByRecNode(&other, buf, sizeof(buf)), 0);
    EXPECT_STREQ(buf, "");
    char tiny[8];
    VYX_UI_Album_FileEntry_S frontVideo = Entry(72, "long_name.mp4", 1);
    EXPECT_EQ(VYX_UI_ALBUM_GetFilePathByRecNode(&frontVideo, tiny, sizeof(tiny)), -1);
    EXPECT_STREQ(tiny, "");
}

TEST_F(Album, ThumbnailsComeFromTheCacheOrFromOneRequestWithinTheTimeOut) {
    std::string src = SYS_PATH("/app/sd/DCIM/200video/rear/2026_0101_R_1.mp4");
    Touch(src);
    s_rec->On("IPCMSG_GETMP4_THUMB", [](cJSON *req) {
        const char *thumb = cJSON_GetObjectItem(req, "thumbpath")->valuestring;
        EXPECT_EQ(cJSON_GetObjectItem(req, "thumb_width")->valueint, 144);
        EXPECT_EQ(cJSON_GetObjectItem(req, "thumb_height")->valueint, 88);
        Touch(thumb);
        return std::string(R"({"result":0})");
    });
    char out[512];
    ASSERT_EQ(VYX_UI_ALBUM_LoadThumbHandle("2026_0101_R_1.mp4", false, out, sizeof(out)), 0);
    EXPECT_STREQ(out, SYS_PATH("/dev/thumb/2026_0101_R_1_T.jpg"));
    auto reqs = s_rec->Requests("IPCMSG_GETMP4_THUMB");
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_NE(reqs[0].find("\"filepath\":\"" + src + "\""), std::string::npos) << reqs[0];

    // A second call finds it in the cache and asks nothing.
    ASSERT_EQ(VYX_UI_ALBUM_LoadThumbHandle("2026_0101_R_1.mp4", false, out, sizeof(out)), 0);
    EXPECT_EQ(s_rec->Requests("IPCMSG_GETMP4_THUMB").size(), 1u);

    // A missing source asks nothing; a recorder that never answers costs the time-out once, and
    // its late answer does not make the next request succeed.
    EXPECT_EQ(VYX_UI_ALBUM_LoadThumbHandle("missing.mp4", false, out, sizeof(out)), -1);
    Touch(SYS_PATH("/app/sd/DCIM/201photo/front/slow.jpg"));
    s_rec->On("IPCMSG_GETJPG_THUMB", [](cJSON *) { return std::string(); });
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(VYX_UI_ALBUM_LoadThumbHandle("slow.jpg", false, out, sizeof(out)), -1);
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_GE(secs, 2.9);
    EXPECT_EQ(s_rec->Requests("IPCMSG_GETJPG_THUMB").size(), 1u);

    // A "result" other than 0, or an answer without one, is a failure, and it ends the wait:
    // a refusal costs no time-out.
    Touch(SYS_PATH("/app/sd/DCIM/201photo/front/refused.jpg"));
    for (const char *answer : {R"({"result":-1})", R"({"status":"busy"})"}) {
        SCOPED_TRACE(answer);
        s_rec->On("IPCMSG_GETJPG_THUMB", [answer](cJSON *) { return std::string(answer); });
        t0 = std::chrono::steady_clock::now();
        EXPECT_EQ(
            VYX_UI_ALBUM_GetThmInJpgEx(SYS_PATH("/app/sd/DCIM/201photo/front/refused.jpg"), "/nowhere_T.jpg"),
            -1);
        secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        EXPECT_LT(secs, 1.5) << "waited for the time-out";
    }

    // Photo bitmaps: only for photos, named .rgba8888 in the player cache.
    EXPECT_EQ(VYX_UI_ALBUM_LoadPhotoDateHandle("clip.mp4", false, out, sizeof(out)), -1);
    Touch(SYS_PATH("/mnt/sd/DCIM/201photo/rear/pic_R_.jpg"));
    s_rec->On("IPCMSG_GETPHOTO_DATE", [](cJSON *req) {
        EXPECT_EQ(cJSON_GetObjectItem(req, "photo_width")->valueint, 640);
        Touch(cJSON_GetObjectItem(req, "date_path")->valuestring);
        return std::string(R"({"result":0})");
    });
    ASSERT_EQ(VYX_UI_ALBUM_LoadPhotoDateHandle("pic_R_.jpg", true, out, sizeof(out)), 0);
    EXPECT_STREQ(out, SYS_PATH("/dev/player/pic_R_.rgba8888"));
}

TEST_F(Album, BackgroundScanAndNewFileNoticesWarmTheCache) {
    // The scan waits for both cards, skips "0000" names and fills the cache alphabetically.
    for (const char *n : {"b.mp4", "a.mp4", "x0000.mp4", "notes.txt"})
        Touch(std::string(SYS_PATH("/app/sd/DCIM/200video/front/")) + n);
    ASSERT_EQ(system("mkdir -p '" SYS_PATH("/mnt/sd/DCIM") "'"), 0);
    // Shared with the recorder's thread, which may still hold the responder after this test.
    struct Asked {
        std::mutex mu;
        std::vector<std::string> names;
    };
    auto asked = std::make_shared<Asked>();
    s_rec->On("IPCMSG_GETMP4_THUMB", [asked](cJSON *req) {
        std::lock_guard<std::mutex> l(asked->mu);
        asked->names.emplace_back(cJSON_GetObjectItem(req, "filepath")->valuestring);
        Touch(cJSON_GetObjectItem(req, "thumbpath")->valuestring);
        return std::string(R"({"result":0})");
    });
    EXPECT_EQ(VYX_UI_ALBUM_HasANewFile(R"({"filename":"early.mp4","storIndex":0})", nullptr),
              -1); // not started
    ASSERT_EQ(VYX_UI_ALBUM_LoadThumbTask(), 0);
    auto askedCount = [asked] {
        std::lock_guard<std::mutex> l(asked->mu);
        return asked->names.size();
    };
    for (int i = 0; i < 200 && askedCount() < 2; i++)
        usleep(20000);
    {
        std::lock_guard<std::mutex> l(asked->mu);
        ASSERT_EQ(asked->names.size(), 2u);
        EXPECT_NE(asked->names[0].find("/a.mp4"), std::string::npos);
        EXPECT_NE(asked->names[1].find("/b.mp4"), std::string::npos);
    }

    // A new file notice: tried at once, and up to four times a second apart when its source is
    // not there yet.
    Touch(SYS_PATH("/mnt/sd/DCIM/200video/rear/new_R_.mp4"));
    s_rec->Send("IPCMSG_HASANEW_FILE", R"({"filename":"new_R_.mp4","storIndex":1})");
    s_rec->Send("IPCMSG_HASANEW_FILE", R"({"filename":"never.mp4","storIndex":0})");
    s_rec->Send("IPCMSG_HASANEW_FILE", R"({"filename":42,"storIndex":0})");
    for (int i = 0; i < 300 && access(SYS_PATH("/dev/thumb/new_R__T.jpg"), F_OK) != 0; i++)
        usleep(20000);
    EXPECT_EQ(access(SYS_PATH("/dev/thumb/new_R__T.jpg"), F_OK), 0);
    for (int i = 0; i < 300 && VYX_UI_ALBUM_NewFilesPending() > 0; i++)
        usleep(20000);
    EXPECT_EQ(VYX_UI_ALBUM_NewFilesPending(), 0u);
    VYX_UI_ALBUM_StopThumbTask();
}

TEST_F(Album, DeletesAreSentAndTheirNoticesReachTheRegisteredCallback) {
    ASSERT_EQ(VYX_UI_Album_SendDelFilesMsg("2026_R_1.mp4"), 0);
    ASSERT_EQ(VYX_UI_Album_ClearRecFilesUsedFlag(), 0);
    for (int i = 0; i < 100 && s_rec->Requests("CLEAR_REC_LIST_USEDFLAG").empty(); i++)
        usleep(10000);
    auto del = s_rec->Requests("IPCMSG_DELETE_FILES");
    ASSERT_EQ(del.size(), 1u);
    EXPECT_NE(del[0].find(R"("file":[{"filename":"2026_R_1.mp4"}])"), std::string::npos) << del[0];
    EXPECT_EQ(s_rec->Requests("CLEAR_REC_LIST_USEDFLAG").size(), 1u);

    std::atomic<int> calls{0};
    VYX_UI_ALBUM_RegisterDelFileCb(OnDeleted, &calls);
    s_rec->Send("IPCMSG_DELFILE_MSG", R"({"result":0,"filename":"2026_R_1.mp4"})");
    s_rec->Send("IPCMSG_DELFILE_MSG", R"({"result":-1,"filename":"kept.mp4"})");
    s_rec->Send("IPCMSG_DELFILE_MSG", "{\"result\":0,\"filename\":\"" + std::string(300, 'x') + "\"}");
    for (int i = 0; i < 200 && calls < 3; i++)
        usleep(10000);
    VYX_UI_ALBUM_RegisterDelFileCb(nullptr, nullptr);
    std::lock_guard<std::mutex> l(g_delMu);
    ASSERT_EQ(g_deleted.size(), 3u);
    std::sort(g_deleted.begin(), g_deleted.end());
    EXPECT_EQ(g_deleted, (std::vector<std::string>{"", "", "2026_R_1.mp4"}));
}

TEST_F(Album, CategoryTableGivesDurationsAndMembers) {
    VYX_UI_Album_CatEntry_S cats[3];
    memset(cats, 0, sizeof(cats));
    snprintf(cats[0].szCatFileName, sizeof(cats[0].szCatFileName), "ev1.mp4");
    cats[0].u32Duration = 30;
    cats[0].u32FileCount = 2;
    snprintf(cats[0].astMembers[1].szFilePath, VYX_UI_ALBUM_CAT_PATH_SIZE, "/app/sd/x.mp4");
    cats[0].astMembers[1].u32EndTime = 99;
    snprintf(cats[1].szCatFileName, sizeof(cats[1].szCatFileName), "bad");
    cats[1].u32FileCount = 9; // more members than there are slots
    memset(cats[2].szCatFileName, 'z', sizeof(cats[2].szCatFileName));
    WriteFile(SYS_PATH_CATFILELIST, cats, sizeof(cats));
    AnswerList("GET_EMER_EVENT_LIST", 0, 0, 3, 0);
    ASSERT_EQ(VYX_UI_Album_QueryEmrEventFiles(), 0);
    VYX_UI_Album_CatListTable_S t{};
    EXPECT_EQ(VYX_UI_Album_QueryRalatedFilesTable(VYX_UI_ALBUM_FRONT_REC, &t), -1);
    ASSERT_EQ(VYX_UI_Album_QueryRalatedFilesTable(VYX_UI_ALBUM_REAR_EMER, &t), 0);
    ASSERT_EQ(t.ulCount, 1u);
    EXPECT_EQ(VYX_UI_Album_GetDurationByCatFileName(&t, "ev1.mp4"), 30u);
    EXPECT_EQ(VYX_UI_Album_GetDurationByCatFileName(&t, "nope"), 0u);
    VYX_UI_Album_CatFileInfo_S info;
    ASSERT_EQ(VYX_UI_Album_GetActualFileInfoByCatFileName(&t, "ev1.mp4", &info), 0);
    EXPECT_EQ(info.ulTotalFiles, 2u);
    EXPECT_STREQ(info.astMembers[1].szFilePath, "/app/sd/x.mp4");
    EXPECT_EQ(info.astMembers[1].u32EndTime, 99u);
    VYX_UI_Album_FreeCatTable(&t);

    s_rec->On("GET_RELATEDFILE_CNT", [](cJSON *req) {
        EXPECT_STREQ(cJSON_GetObjectItem(req, "filename")->valuestring, "ev1.mp4");
        return std::string(R"({"filecount":3})");
    });
    ASSERT_EQ(VYX_UI_Album_QueryRelatedFileCnt("ev1.mp4"), 0);
    EXPECT_EQ(VYX_UI_Album_GetRelatedFileCnt(), 3u);
}
