// The album pages on the page harness: pushed by the real page manager and factory, with the real
// data processors and album data module, and a fake recorder that writes the list files, makes
// thumbnails (with FFmpeg when the machine has it), plays and deletes. Key handling of each page,
// the groups and the thumbnail grid, the player's state machine, the delete flows and the
// reference pictures of every album screen.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "AlbumFileList.h"
#include "AlbumHome.h"
#include "AlbumPlayer.h"
#include "AppFactory.h"
#include "DataProc.h"
#include "InfoTips.h"
#include "StatusBar.h"
#include "key.h"
#include "lv_label_ext_func.h"
#include "page_test_env.h"
#include "sys_paths.h"
#include "vyx_ui_album.h"

namespace {

using pagetest::Advance;
using pagetest::AdvanceUntil;
using pagetest::Recorder;

// ---- the recorder's cards and lists ----

struct File {
    std::string name;
    int32_t stamp;
    std::string related; // event photos: their clip
};

// 2026-01-01 09:52:34 UTC and minutes after it.
constexpr int32_t kT0 = 1767261154;

bool HaveFfmpeg() {
    static const bool s_have = system("ffmpeg -version >/dev/null 2>&1") == 0;
    return s_have;
}

std::string Dir(const std::string &name) {
    bool photo = name.find(".jpg") != std::string::npos;
    int cam = VYX_UI_ALBUM_GetFileType(name.c_str());
    static const char *const cams[] = {"front/", "rear/", "inside/"};
    return std::string(SYS_PATH("/app/sd/DCIM/")) + (photo ? "201photo/" : "200video/") + cams[cam];
}

void Mkdirs(const std::string &path) {
    for (size_t i = 1; i <= path.size(); i++)
        if (i == path.size() || path[i] == '/')
            mkdir(path.substr(0, i).c_str(), 0755);
}

// The recorder of this test: three lists of files on the internal card.
class Cards {
  public:
    std::vector<File> lists[3]; // recordings, snapshot events, emergency events
    std::map<std::string, int> durations;
    std::mutex mu;
    bool refuseDeletes = false;
    bool thumbsFail = false;
    bool corruptThumbs = false;
    int playerState = 0; // as the recorder reports it: 3 playing, 5 paused, 6 stopped, 9 ended
    std::string prepared;

    void Clear() {
        std::lock_guard<std::mutex> l(mu);
        for (auto &l2 : lists)
            l2.clear();
        durations.clear();
        refuseDeletes = thumbsFail = corruptThumbs = false;
        playerState = 0;
        prepared.clear();
        system((std::string("rm -rf '") + SYS_PATH("/app/sd") + "' '" + SYS_PATH("/mnt/sd") + "' '" +
                SYS_PATH("/dev/thumb") + "' '" + SYS_PATH("/dev/player") + "'")
                   .c_str());
        Mkdirs(SYS_PATH("/dev")); // the caches' parent, as on the device
    }
    // The members above are shared with the fake recorder's thread: tests go through these.
    template <typename F> void With(F f) {
        std::lock_guard<std::mutex> l(mu);
        f();
    }
    void SetDuration(const std::string &name, int s) {
        With([&] { durations[name] = s; });
    }
    std::string Prepared() {
        std::lock_guard<std::mutex> l(mu);
        return prepared;
    }
    void Add(int list, const std::string &name, int32_t stamp, const std::string &related = "") {
        Mkdirs(Dir(name));
        std::ofstream(Dir(name) + name) << "media";
        std::lock_guard<std::mutex> l(mu);
        lists[list].push_back({name, stamp, related});
    }
    // Writes both list files; where[list] = {count, offset, catCount, catOffset}.
    void Write(uint32_t where[3][4]) {
        std::lock_guard<std::mutex> l(mu);
        std::string files, cats;
        for (int list = 0; list < 3; list++) {
            where[list][1] = (uint32_t)files.size();
            where[list][3] = (uint32_t)cats.size();
            where[list][0] = where[list][2] = 0;
            for (const File &f : lists[list]) {
                VYX_UI_Album_FileEntry_S e;
                memset(&e, 0, sizeof e);
                bool photo = f.name.find(".jpg") != std::string::npos;
                bool rear = VYX_UI_ALBUM_GetFileType(f.name.c_str()) == VYX_UI_ALBUM_CAM_REAR;
                e.u32Kind = photo ? (rear ? 42 : 39) : (rear ? 2 : 0);
                snprintf(e.szFileName, sizeof e.szFileName, "%s", f.name.c_str());
                snprintf(e.szRelatedName, sizeof e.szRelatedName, "%s", f.related.c_str());
                e.s32TimeStamp = f.stamp;
                files.append(reinterpret_cast<const char *>(&e), sizeof e);
                where[list][0]++;
                if (list > 0 && !photo) {
                    VYX_UI_Album_CatEntry_S c;
                    memset(&c, 0, sizeof c);
                    snprintf(c.szCatFileName, sizeof c.szCatFileName, "%s", f.name.c_str());
                    c.u32Duration = durations.count(f.name) ? (uint32_t)durations[f.name] : 0;
                    c.u32FileCount = 1;
                    cats.append(reinterpret_cast<const char *>(&c), sizeof c);
                    where[list][2]++;
                }
            }
        }
        Mkdirs(SYS_PATH("/tmp"));
        std::ofstream(SYS_PATH_FILELIST, std::ios::binary) << files;
        std::ofstream(SYS_PATH_CATFILELIST, std::ios::binary) << cats;
    }
    bool Has(const std::string &name) {
        std::lock_guard<std::mutex> l(mu);
        for (auto &l2 : lists)
            for (auto &f : l2)
                if (f.name == name)
                    return true;
        return false;
    }
    bool Remove(const std::string &name) {
        std::lock_guard<std::mutex> l(mu);
        for (auto &l2 : lists)
            for (size_t i = 0; i < l2.size(); i++)
                if (l2[i].name == name) {
                    unlink((Dir(name) + name).c_str());
                    l2.erase(l2.begin() + (long)i);
                    return true;
                }
        return false;
    }
};

Cards &TheCards() {
    static Cards *s = new Cards();
    return *s;
}

const char *Text(const cJSON *req, const char *key) {
    const cJSON *v = cJSON_GetObjectItemCaseSensitive(req, key);
    return cJSON_IsString(v) ? v->valuestring : "";
}

cJSON *Result(int r) {
    cJSON *b = cJSON_CreateObject();
    cJSON_AddNumberToObject(b, "result", r);
    return b;
}

// A thumbnail picture: a test pattern of its own colour per file, made once per colour with
// FFmpeg and copied after that (the tests stay fast).
bool MakeThumb(const std::string &src, const std::string &dst) {
    int hue = 0; // from the name alone: the same in every build folder
    for (char c : src.substr(src.rfind('/') + 1))
        hue = (hue * 31 + c) % 360;
    const std::string cache = std::string(SYS_PATH("/tmp/album_test_thumb_")) + std::to_string(hue) + ".jpg";
    if (access(cache.c_str(), F_OK) != 0) {
        std::string cmd =
            "ffmpeg -v error -y -f lavfi -i testsrc2=size=144x88 -vf hue=h=" + std::to_string(hue) +
            " -frames:v 1 '" + cache + "' </dev/null";
        if (system(cmd.c_str()) != 0)
            return false;
    }
    return system(("cp '" + cache + "' '" + dst + "'").c_str()) == 0;
}

// Deletes want no answer (the fake recorder runs no responder for them); the result comes as
// the deleted-file notice, handed to the album module here on a thread of its own as a receive
// thread would.
void ServeDelete(const std::string &doc) {
    Cards &c = TheCards();
    cJSON *req = cJSON_Parse(doc.c_str());
    const cJSON *one = cJSON_GetArrayItem(cJSON_GetObjectItemCaseSensitive(req, "file"), 0);
    std::string name = Text(one, "filename");
    cJSON_Delete(req);
    bool refuse;
    {
        std::lock_guard<std::mutex> l(c.mu);
        refuse = c.refuseDeletes;
    }
    bool done = !refuse && c.Remove(name);
    std::string body = done ? "{\"result\":0,\"filename\":\"" + name + "\"}" : "{\"result\":-1}";
    MsgHeader h;
    VYX_IPCMSG_InitHeader(&h, "IPCMSG_DELFILE_MSG", 0, 0);
    VYX_UI_ALBUM_DelFileCb(pagetest::FakeRecorder::Msg("IPCMSG_DELFILE_MSG", body).c_str(), &h);
}

class DeleteServer {
  public:
    DeleteServer()
        : m_thread([this] {
              size_t served = 0;
              while (m_run) {
                  auto docs = Recorder().Requests("IPCMSG_DELETE_FILES");
                  if (docs.size() < served)
                      served = 0; // the test forgot the requests
                  for (; served < docs.size(); served++)
                      ServeDelete(docs[served]);
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
              }
          }) {}
    ~DeleteServer() {
        m_run = false;
        m_thread.join();
    }

  private:
    std::atomic<bool> m_run{true};
    std::thread m_thread;
};

void InstallResponders() {
    Cards &c = TheCards();
    auto list = [&c](int which, bool cat) {
        return [&c, which, cat](const cJSON *) {
            uint32_t where[3][4];
            c.Write(where);
            cJSON *b = cJSON_CreateObject();
            cJSON_AddNumberToObject(b, "filecount", where[which][0]);
            cJSON_AddNumberToObject(b, "offsetaddr", where[which][1]);
            if (cat) {
                cJSON_AddNumberToObject(b, "catfilecount", where[which][2]);
                cJSON_AddNumberToObject(b, "catfileoffsetaddr", where[which][3]);
            }
            return b;
        };
    };
    Recorder().On("GET_REC_LIST", list(0, false));
    Recorder().On("GET_SNAP_EVENT_LIST", list(1, true));
    Recorder().On("GET_EMER_EVENT_LIST", list(2, true));
    auto thumb = [&c](const cJSON *req) {
        std::string dst = Text(req, "thumbpath");
        if (dst.empty())
            dst = Text(req, "date_path");
        bool fail, corrupt;
        {
            std::lock_guard<std::mutex> l(c.mu);
            fail = c.thumbsFail;
            corrupt = c.corruptThumbs;
        }
        if (fail)
            return Result(-1);
        if (corrupt) {
            std::ofstream(dst) << "this is not a picture";
            return Result(0);
        }
        if (strstr(Text(req, "date_path"), ".rgba8888") != nullptr) {
            // The photo bitmap: 640 x 360 RGBA, a colour ramp.
            std::vector<uint8_t> px(VYX_UI_ALBUM_PHOTO_WIDTH * VYX_UI_ALBUM_PHOTO_HEIGHT * 4);
            for (size_t i = 0; i < px.size() / 4; i++) {
                size_t x = i % VYX_UI_ALBUM_PHOTO_WIDTH, y = i / VYX_UI_ALBUM_PHOTO_WIDTH;
                px[i * 4] = (uint8_t)(x * 255 / 640);
                px[i * 4 + 1] = (uint8_t)(y * 255 / 360);
                px[i * 4 + 2] = 0x80;
                px[i * 4 + 3] = 0xFF;
            }
            std::ofstream(dst, std::ios::binary)
                .write(reinterpret_cast<const char *>(px.data()), (long)px.size());
            return Result(0);
        }
        return Result(HaveFfmpeg() && MakeThumb(Text(req, "filepath"), dst) ? 0 : -1);
    };
    Recorder().On("IPCMSG_GETMP4_THUMB", thumb);
    Recorder().On("IPCMSG_GETJPG_THUMB", thumb);
    Recorder().On("IPCMSG_GETPHOTO_DATE", thumb);
    // The player, with the states the recorder reports.
    Recorder().On("IPCMSG_PLAYBACK_CTRL", [&c](const cJSON *req) {
        const cJSON *p = cJSON_GetArrayItem(cJSON_GetObjectItemCaseSensitive(req, "string_params"), 0);
        std::string key = Text(p, "key"), value = Text(p, "value");
        std::lock_guard<std::mutex> l(c.mu);
        int &s = c.playerState;
        if (key == "playback_init") {
            s = 1;
        } else if (key == "playback_deinit") {
            s = 0;
        } else if (key == "playback_prepare") {
            if (access(value.c_str(), F_OK) != 0)
                return Result(-1);
            c.prepared = value;
            s = 6;
        } else if (key == "playback_play") {
            if (s != 6)
                return Result(-1);
            s = 3;
        } else if (key == "playback_pause") {
            if (s != 3)
                return Result(-1);
            s = 5;
        } else if (key == "playback_resume") {
            if (s != 5)
                return Result(-1);
            s = 3;
        } else if (key == "playback_stop") {
            s = 6;
        } else if (key == "playback_getplaystate") {
            return Result(s);
        }
        return Result(0);
    });
}

// ---- looking at widgets ----

std::string ImgFile(lv_obj_t *img) {
    const void *src = img != nullptr ? lv_img_get_src(img) : nullptr;
    if (src == nullptr || lv_img_src_get_type(src) != LV_IMG_SRC_FILE)
        return "";
    std::string s = static_cast<const char *>(src);
    size_t p = s.find("/pic/");
    return p == std::string::npos ? s : s.substr(p + 5);
}

bool Hidden(lv_obj_t *obj) {
    return lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN);
}

std::string Tr(const char *id) {
    char buf[128] = "";
    lv_label_get_text_tr(id, buf, sizeof buf);
    return buf;
}

bool HasLabel(lv_obj_t *obj, const std::string &text) {
    if (lv_obj_check_type(obj, &lv_label_class) && text == lv_label_get_text(obj))
        return true;
    for (uint32_t i = 0; i < lv_obj_get_child_cnt(obj); i++)
        if (HasLabel(lv_obj_get_child(obj, (int32_t)i), text))
            return true;
    return false;
}

std::string Title() {
    return lv_label_get_text(StatusBar_GetObjs()->title.obj);
}
std::string Counter() {
    const StatusBarObjs *o = StatusBar_GetObjs();
    return Hidden(o->focus.obj) ? "" : lv_label_get_text(o->focus.obj);
}

size_t Requests(const std::string &id, const std::string &needle = "") {
    size_t n = 0;
    for (const auto &d : Recorder().Requests(id))
        n += needle.empty() || d.find(needle) != std::string::npos ? 1 : 0;
    return n;
}

// ---- the fixture ----

class AlbumTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pagetest::Up(Lang());
        Recorder().Reset();
        TheCards().Clear();
        InstallResponders();
        if (StatusBar_GetObjs() == nullptr) {
            ASSERT_EQ(StatusBar_Create(lv_layer_top()), 0);
        }
        pagetest::SetBackground(0x000000);
        StatusBar_SlideAnim(1); // as the home page leaves it
        deletes = std::make_unique<DeleteServer>();
        mgr = std::make_unique<PageManager>(&factory);
        mgr->SetGlobalLoadAnimType(PageManager::LOAD_ANIM_NONE, 0);
        ASSERT_NE(mgr->Install("AlbumHome", "Pages/AlbumHome"), nullptr);
        ASSERT_NE(mgr->Install("AlbumFileList", "Pages/AlbumFileList"), nullptr);
        ASSERT_NE(mgr->Install("AlbumPlayer", "Pages/AlbumPlayer"), nullptr);
    }
    void TearDown() override {
        mgr.reset();
        deletes.reset();
        Advance(100);
        VYX_UI_Album_SetPlayerBusy(false);
        VYX_UI_ALBUM_StopThumbTask(); // the album home starts the background scan again
        TheCards().Clear();           // the cards are the build's: nothing is left for the scenarios
    }
    virtual const char *Lang() { return "US"; }

    // Four recordings in two hours (front and rear), two snapshot photos with their clips, one
    // emergency clip.
    void StandardCards() {
        Cards &c = TheCards();
        c.Add(0, "20260101_095234.mp4", kT0);
        c.Add(0, "20260101_095334_A.mp4", kT0 + 60);
        c.Add(0, "20260101_100234.mp4", kT0 + 600);
        c.Add(0, "20260101_100334_A.mp4", kT0 + 660);
        c.Add(1, "N_20260101_110000.jpg", kT0 + 4000, "N_20260101_110000.mp4");
        c.Add(1, "N_20260101_110000.mp4", kT0 + 4000);
        c.Add(1, "R_20260101_120000.jpg", kT0 + 8000, "R_20260101_120000.mp4");
        c.Add(1, "R_20260101_120000.mp4", kT0 + 8000);
        c.SetDuration("N_20260101_110000.mp4", 12);
        c.SetDuration("R_20260101_120000.mp4", 10);
        c.Add(2, "G_20260101_130000.mp4", kT0 + 12000);
        c.SetDuration("G_20260101_130000.mp4", 30);
    }

    Page::AlbumHome *PushHome() {
        auto *p = static_cast<Page::AlbumHome *>(mgr->Push("Pages/AlbumHome"));
        Advance(100);
        return p;
    }
    template <typename T> T *Top() { return dynamic_cast<T *>(mgr->GetStackTop()); }
    // Opens a category from the album home (tile 0 recordings, 1 emergency, 2 photos).
    Page::AlbumFileList *OpenCategory(int tile) {
        Page::AlbumHome *home = PushHome();
        if (home == nullptr)
            return nullptr;
        for (int i = 0; i < tile; i++)
            pagetest::Click(KEY_CODE_NEXT);
        pagetest::Click(KEY_CODE_OK);
        Advance(100);
        return Top<Page::AlbumFileList>();
    }
    // Waits until every item of the grid has its picture or has given up on it.
    bool ThumbsSettled(Page::AlbumFileList *list) {
        return AdvanceUntil(
            [&] {
                for (auto &it : list->Model.g_stSubItemList) {
                    std::lock_guard<std::mutex> l(it->lock);
                    if (it->eState != Page::THUMB_STATE_SHOWN && it->eState != Page::THUMB_STATE_NONE)
                        return false;
                }
                return !list->Model.g_stSubItemList.empty();
            },
            15000);
    }
    Page::AlbumPlayer *PlayFocused() {
        pagetest::Click(KEY_CODE_OK);
        Advance(60);
        auto *p = Top<Page::AlbumPlayer>();
        if (p == nullptr || strcmp(p->Name, "Pages/AlbumPlayer") != 0)
            return nullptr;
        return p;
    }
    bool Until(std::function<bool()> pred, int ms = 5000) { return AdvanceUntil(pred, ms); }

    AppFactory factory;
    std::unique_ptr<DeleteServer> deletes;
    std::unique_ptr<PageManager> mgr;
};

// ---- album home ----

TEST_F(AlbumTest, HomeFocusMovesWithTheKeysAndTheTitleCounts) {
    StandardCards();
    Page::AlbumHome *home = PushHome();
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(Requests("GET_REC_LIST"), 1u);
    EXPECT_EQ(Requests("GET_SNAP_EVENT_LIST"), 1u);
    EXPECT_EQ(Requests("GET_EMER_EVENT_LIST"), 1u);
    EXPECT_EQ(StatusBar_GetShowType(), STATUSBAR_SHOW_REC_TITLE);
    EXPECT_EQ(Title(), Tr("LANG_RES_ID_ALBUM") + "(1/3)");
    EXPECT_TRUE(lv_obj_has_state(home->View.ui.tile[0], LV_STATE_FOCUSED));
    pagetest::Click(KEY_CODE_NEXT);
    EXPECT_EQ(home->m_u32Focus, 1u);
    EXPECT_EQ(Title(), Tr("LANG_RES_ID_ALBUM") + "(2/3)");
    pagetest::Click(KEY_CODE_NEXT);
    pagetest::Click(KEY_CODE_NEXT); // past the last tile comes the first
    EXPECT_EQ(home->m_u32Focus, 0u);
    pagetest::Click(KEY_CODE_PREV);
    EXPECT_EQ(home->m_u32Focus, 2u);
    EXPECT_TRUE(lv_obj_has_state(home->View.ui.tile[2], LV_STATE_FOCUSED));
    EXPECT_FALSE(lv_obj_has_state(home->View.ui.tile[0], LV_STATE_FOCUSED));
    // A press alone does nothing; a release long after the press is no click.
    pagetest::Key(KEY_CODE_NEXT, KEY_VALUE_PRESS);
    Advance(900);
    pagetest::Key(KEY_CODE_NEXT, KEY_VALUE_RELEASE);
    EXPECT_EQ(home->m_u32Focus, 2u);
}

TEST_F(AlbumTest, HomeTileWithoutFilesShowsTheTipAndStays) {
    TheCards().Add(0, "20260101_095234.mp4", kT0); // recordings only
    Page::AlbumHome *home = PushHome();
    ASSERT_NE(home, nullptr);
    pagetest::Click(KEY_CODE_NEXT); // emergency clips: none
    pagetest::Click(KEY_CODE_OK);
    Advance(100);
    EXPECT_EQ(mgr->GetStackTop(), home);
    EXPECT_TRUE(HasLabel(lv_layer_top(), Tr("LANG_RES_ID_NO_PLAYBACK_FILE")));
    pagetest::Click(KEY_CODE_PREV); // recordings: opens
    pagetest::Click(KEY_CODE_OK);
    Advance(100);
    EXPECT_STREQ(mgr->GetStackTop()->Name, "Pages/AlbumFileList");
    EXPECT_EQ(Page::Album_Session().eCategory, Page::ALBUM_CATEGORY_REC);
}

TEST_F(AlbumTest, HomeBackLeavesPlaybackModeOnce) {
    StandardCards();
    Page::AlbumHome *home = PushHome();
    ASSERT_NE(home, nullptr);
    Recorder().ClearRequests();
    pagetest::Click(KEY_CODE_BACK);
    EXPECT_TRUE(home->m_bLeaving);
    EXPECT_EQ(Requests("IPCMSG_GENERALCTRL", "exit"), 1u);
    pagetest::Click(KEY_CODE_BACK); // "Busy now"
    pagetest::Click(KEY_CODE_OK);
    EXPECT_EQ(Requests("IPCMSG_GENERALCTRL", "exit"), 1u);
    EXPECT_EQ(mgr->GetStackTop(), home);
    Advance(5100); // the recorder never records again: the wait is dropped
    EXPECT_FALSE(home->m_bLeaving);
}

// ---- file list ----

TEST_F(AlbumTest, RecordingsAreGroupedByHourNewestFirst) {
    StandardCards();
    Page::AlbumFileList *list = OpenCategory(0);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Model.g_stMainItemList.size(), 2u);
    const Page::AlbumMainItem &a = list->Model.g_stMainItemList[0];
    EXPECT_STREQ(a.szDate, "2026-01-01");
    EXPECT_STREQ(a.szStart, "10:00");
    EXPECT_STREQ(a.szEnd, "11:00");
    EXPECT_EQ(a.u32FileCount, 2u);
    EXPECT_STREQ(list->Model.g_stMainItemList[1].szStart, "09:00");
    EXPECT_TRUE(HasLabel(list->View.ui.main_cont, "2026-01-01 10:00-11:00"));
    EXPECT_TRUE(HasLabel(list->View.ui.main_cont, "(2)"));
    EXPECT_EQ(Title(), Tr("LANG_RES_ID_ALBUM_REC_TITLE"));
    EXPECT_EQ(Counter(), "1/2");
    pagetest::Click(KEY_CODE_NEXT);
    EXPECT_EQ(Counter(), "2/2");
    pagetest::Click(KEY_CODE_NEXT);
    EXPECT_EQ(Counter(), "1/2");
    pagetest::Click(KEY_CODE_PREV);
    EXPECT_EQ(list->m_u32MainFocus, 1u);
    // The older group: newest file first, with its camera.
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(list->m_bInSub);
    ASSERT_EQ(list->Model.g_stSubItemList.size(), 2u);
    EXPECT_STREQ(list->Model.g_stSubItemList[0]->stEntry.szFileName, "20260101_095334_A.mp4");
    EXPECT_EQ(Counter(), "1/2");
    Advance(100);
    lv_obj_t *item = list->Model.g_stSubItemList[0]->item;
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(ImgFile(lv_obj_get_child(item, 1)), "album/rear.png");
    EXPECT_TRUE(HasLabel(item, "09:53"));
    EXPECT_TRUE(lv_obj_has_state(item, LV_STATE_FOCUSED));
    // BACK: the groups again at their focus, then the album home.
    pagetest::Click(KEY_CODE_BACK);
    EXPECT_FALSE(list->m_bInSub);
    EXPECT_TRUE(list->Model.g_stSubItemList.empty());
    EXPECT_EQ(Counter(), "2/2");
    pagetest::Click(KEY_CODE_BACK);
    Advance(100);
    EXPECT_STREQ(mgr->GetStackTop()->Name, "Pages/AlbumHome");
}

TEST_F(AlbumTest, EventsGroupEachPhotoWithItsClip) {
    StandardCards();
    Page::AlbumFileList *list = OpenCategory(2); // photos
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Model.g_stMainItemList.size(), 2u);
    for (const auto &g : list->Model.g_stMainItemList) {
        EXPECT_EQ(g.u32FileCount, 2u) << g.szStart;
    }
    pagetest::Click(KEY_CODE_OK);
    ASSERT_EQ(list->Model.g_stSubItemList.size(), 2u);
    const auto &photo = list->Model.g_stSubItemList[0];
    const auto &clip = list->Model.g_stSubItemList[1];
    EXPECT_NE(strstr(photo->stEntry.szFileName, ".jpg"), nullptr);
    EXPECT_STREQ(clip->stEntry.szRelatedName, "");
    EXPECT_EQ(std::string(photo->stEntry.szRelatedName), clip->stEntry.szFileName);
    EXPECT_GT(clip->u32Duration, 0u); // from the related-files table
    Advance(100);
    EXPECT_TRUE(HasLabel(clip->item, clip->u32Duration == 12 ? "00:12" : "00:10"));
}

TEST_F(AlbumTest, ThumbnailsComeInAndFailuresLeaveTheItemWithoutPicture) {
    StandardCards();
    Page::AlbumFileList *list = OpenCategory(0);
    ASSERT_NE(list, nullptr);
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(ThumbsSettled(list));
    for (auto &it : list->Model.g_stSubItemList) {
        if (HaveFfmpeg()) {
            EXPECT_EQ(it->eState, Page::THUMB_STATE_SHOWN);
            EXPECT_NE(lv_img_get_src(it->img), nullptr);
        }
    }
    // Back and in again with the files gone from the card: no thumbnail can be made.
    pagetest::Click(KEY_CODE_BACK);
    system((std::string("rm -rf '") + SYS_PATH("/dev/thumb") + "' '" + SYS_PATH("/app/sd") + "'").c_str());
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(ThumbsSettled(list));
    for (auto &it : list->Model.g_stSubItemList) {
        EXPECT_EQ(it->eState, Page::THUMB_STATE_NONE);
        EXPECT_EQ(lv_img_get_src(it->img), nullptr);
    }
    // And with one that writes something that is not a picture.
    pagetest::Click(KEY_CODE_BACK);
    for (auto &l : TheCards().lists)
        for (auto &f : l) {
            Mkdirs(Dir(f.name));
            std::ofstream(Dir(f.name) + f.name) << "media";
        }
    TheCards().With([] { TheCards().corruptThumbs = true; });
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(ThumbsSettled(list));
    for (auto &it : list->Model.g_stSubItemList) {
        EXPECT_EQ(it->eState, Page::THUMB_STATE_NONE) << it->stEntry.szFileName;
        EXPECT_EQ(lv_img_get_src(it->img), nullptr);
    }
    pagetest::Refresh(); // drawing the grid with the broken files does no harm
}

// ---- player ----

TEST_F(AlbumTest, PlayerPlaysPausesAndStepsThroughTheGroup) {
    StandardCards();
    Page::AlbumFileList *list = OpenCategory(0);
    ASSERT_NE(list, nullptr);
    pagetest::Click(KEY_CODE_OK); // the newer hour: 10:03 rear, 10:02 front
    Page::AlbumPlayer *player = PlayFocused();
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(Until([&] { return player->PageBusy(); }));
    EXPECT_EQ(TheCards().Prepared(), Dir("20260101_100334_A.mp4") + "20260101_100334_A.mp4");
    EXPECT_EQ(Requests("IPCMSG_GENERALCTRL", "pause"), 1u); // the screen stays on
    EXPECT_TRUE(VYX_UI_Album_GetPlayerBusy());
    EXPECT_EQ(Counter(), "1/2");
    EXPECT_EQ(Title(), "2026-01-01 10:03:34");
    EXPECT_EQ(ImgFile(player->View.ui.navi.ok), "setmenu/navibar/navibar_album_pause_icon.png");
    EXPECT_TRUE(Hidden(player->View.ui.navi.next));
    // Next while a clip plays is refused.
    pagetest::Click(KEY_CODE_NEXT);
    Advance(200);
    EXPECT_EQ(player->CurIndex(), 0u);
    // OK pauses: stepping and deleting come back.
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(Until([&] { return !player->PageBusy(); }));
    EXPECT_EQ(player->PlayerState(), Page::PLAYER_STATE_PAUSED);
    EXPECT_EQ(Requests("IPCMSG_GENERALCTRL", "resume"), 1u);
    EXPECT_EQ(ImgFile(player->View.ui.navi.ok), "setmenu/navibar/navibar_album_play_icon.png");
    EXPECT_EQ(ImgFile(player->View.ui.navi.prev), "album/del_icon.png");
    EXPECT_FALSE(Hidden(player->View.ui.navi.next));
    // OK resumes.
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(Until([&] { return player->PageBusy(); }));
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(Until([&] { return !player->PageBusy(); }));
    // Next plays the second file, next again the first (wrap).
    pagetest::Click(KEY_CODE_NEXT);
    ASSERT_TRUE(Until([&] { return player->PageBusy(); }));
    EXPECT_EQ(player->CurIndex(), 1u);
    EXPECT_EQ(TheCards().Prepared(), Dir("20260101_100234.mp4") + "20260101_100234.mp4");
    EXPECT_EQ(Counter(), "2/2");
    // The clip ends: the page lets the screen dim and OK plays it again from the start.
    {
        std::lock_guard<std::mutex> l(TheCards().mu);
        TheCards().playerState = 9;
    }
    ASSERT_TRUE(Until([&] { return !player->PageBusy(); }));
    TheCards().With([] { TheCards().prepared.clear(); });
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(Until([&] { return player->PageBusy(); }));
    EXPECT_EQ(TheCards().Prepared(), Dir("20260101_100234.mp4") + "20260101_100234.mp4");
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(Until([&] { return !player->PageBusy(); }));
    pagetest::Click(KEY_CODE_NEXT);
    ASSERT_TRUE(Until([&] { return player->PageBusy(); }));
    EXPECT_EQ(player->CurIndex(), 0u);
    // BACK releases the player and returns to the grid.
    Recorder().ClearRequests();
    pagetest::Click(KEY_CODE_BACK);
    Advance(100);
    EXPECT_EQ(mgr->GetStackTop(), list);
    EXPECT_EQ(Requests("IPCMSG_PLAYBACK_CTRL", "playback_deinit"), 1u);
    EXPECT_EQ(Requests("IPCMSG_GENERALCTRL", "resume"), 1u);
    EXPECT_FALSE(VYX_UI_Album_GetPlayerBusy());
    EXPECT_TRUE(list->m_bInSub);
}

TEST_F(AlbumTest, PlayerIndexWrapsBothWaysAndAFailingFileIsSkipped) {
    StandardCards();
    Page::AlbumFileList *list = OpenCategory(0);
    ASSERT_NE(list, nullptr);
    pagetest::Click(KEY_CODE_OK);
    // The first file is gone from the card: it cannot be prepared and the player moves on.
    unlink((Dir("20260101_100334_A.mp4") + "20260101_100334_A.mp4").c_str());
    Page::AlbumPlayer *player = PlayFocused();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->PlayerUpdatePlayIndex(-1), 1u);
    EXPECT_EQ(player->PlayerUpdatePlayIndex(1), 0u);
    EXPECT_EQ(player->PlayerUpdatePlayIndex(1), 1u);
    EXPECT_EQ(player->PlayerUpdatePlayIndex(1), 0u);
    ASSERT_TRUE(Until([&] { return player->PageBusy(); }));
    EXPECT_EQ(TheCards().Prepared().find("100334"), std::string::npos);
}

TEST_F(AlbumTest, PlayerShowsAPhotoAndReleasesOnRequest) {
    StandardCards();
    Page::AlbumFileList *list = OpenCategory(2);
    ASSERT_NE(list, nullptr);
    pagetest::Click(KEY_CODE_OK);
    Page::AlbumPlayer *player = PlayFocused();
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(Until([&] { return !Hidden(player->View.ui.photo); }));
    EXPECT_TRUE(Hidden(player->View.ui.navi.ok)); // nothing to play
    EXPECT_TRUE(Hidden(player->View.ui.progress));
    EXPECT_EQ(Page::AlbumPlayer::Current(), player);
    // The release for system events: the recorder's player is let go at once, once.
    Recorder().ClearRequests();
    player->ReleasePlayer();
    player->ReleasePlayer();
    EXPECT_EQ(Requests("IPCMSG_PLAYBACK_CTRL", "playback_deinit"), 1u);
    pagetest::Click(KEY_CODE_BACK);
    Advance(100);
    EXPECT_EQ(Page::AlbumPlayer::Current(), nullptr);
    EXPECT_EQ(Requests("IPCMSG_PLAYBACK_CTRL", "playback_deinit"), 1u);
}

TEST(AlbumPlayerModel, EventListsKeepClipsAndPhotosWithoutDNames) {
    std::vector<VYX_UI_Album_FileEntry_S> files(5);
    const char *names[] = {"N_1.jpg", "N_1.mp4", "N_2_D.mp4", "F_3.mp4", "notes.txt"};
    for (size_t i = 0; i < files.size(); i++) {
        memset(&files[i], 0, sizeof files[i]);
        snprintf(files[i].szFileName, sizeof files[i].szFileName, "%s", names[i]);
    }
    auto kept = Page::AlbumPlayerModel::FilterEventFiles(files);
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_STREQ(kept[2].szFileName, "F_3.mp4");
    uint32_t rec = 0, photo = 0;
    Page::AlbumPlayerModel::CalEventFilesCnt(files, &rec, &photo);
    EXPECT_EQ(rec, 2u);
    EXPECT_EQ(photo, 1u);
}

// ---- deleting ----

TEST_F(AlbumTest, DeleteAskFirstAndCancelKeepsTheFile) {
    StandardCards();
    Page::AlbumFileList *list = OpenCategory(0);
    ASSERT_NE(list, nullptr);
    pagetest::Click(KEY_CODE_OK);
    Page::AlbumPlayer *player = PlayFocused();
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(Until([&] { return player->PageBusy(); }));
    pagetest::Click(KEY_CODE_PREV); // refused while playing
    EXPECT_FALSE(player->DelPageShown());
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(Until([&] { return !player->PageBusy(); }));
    pagetest::Click(KEY_CODE_PREV);
    ASSERT_TRUE(player->DelPageShown());
    EXPECT_TRUE(HasLabel(player->View.ui.del_page, Tr("LANG_RES_ID_DEL_FILE")));
    EXPECT_TRUE(Hidden(player->View.ui.navi.next));
    pagetest::Click(KEY_CODE_BACK);
    EXPECT_FALSE(player->DelPageShown());
    EXPECT_EQ(Requests("IPCMSG_DELETE_FILES"), 0u);
    EXPECT_EQ(mgr->GetStackTop(), player);
    EXPECT_FALSE(Hidden(player->View.ui.navi.next));
}

TEST_F(AlbumTest, DeleteRemovesExactlyThatFileAndTheListFollows) {
    StandardCards();
    Page::AlbumFileList *list = OpenCategory(0);
    ASSERT_NE(list, nullptr);
    pagetest::Click(KEY_CODE_OK);
    Page::AlbumPlayer *player = PlayFocused();
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(Until([&] { return player->PageBusy(); }));
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(Until([&] { return !player->PageBusy(); }));
    pagetest::Click(KEY_CODE_PREV);
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(Until([&] { return player->DelCount() == 1; }));
    EXPECT_EQ(Requests("IPCMSG_DELETE_FILES", "20260101_100334_A.mp4"), 1u);
    EXPECT_EQ(Requests("IPCMSG_DELETE_FILES"), 1u);
    EXPECT_FALSE(TheCards().Has("20260101_100334_A.mp4"));
    EXPECT_TRUE(TheCards().Has("20260101_100234.mp4"));
    auto files = player->CopyFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_STREQ(files[0].szFileName, "20260101_100234.mp4");
    EXPECT_TRUE(HasLabel(lv_layer_top(), Tr("LANG_RES_ID_DEL_FILE_SUCCESS")));
    // The file now in its place plays.
    ASSERT_TRUE(Until([&] { return player->PageBusy(); }));
    EXPECT_EQ(TheCards().Prepared(), Dir("20260101_100234.mp4") + "20260101_100234.mp4");
    // Back in the grid: the group holds the one file left.
    pagetest::Click(KEY_CODE_BACK);
    Advance(100);
    ASSERT_EQ(mgr->GetStackTop(), list);
    EXPECT_TRUE(list->m_bInSub);
    ASSERT_EQ(list->Model.g_stSubItemList.size(), 1u);
    EXPECT_STREQ(list->Model.g_stSubItemList[0]->stEntry.szFileName, "20260101_100234.mp4");
    EXPECT_EQ(list->Model.g_stMainItemList[0].u32FileCount, 1u);
}

TEST_F(AlbumTest, ARefusedDeleteKeepsTheFile) {
    StandardCards();
    TheCards().With([] { TheCards().refuseDeletes = true; });
    Page::AlbumFileList *list = OpenCategory(0);
    ASSERT_NE(list, nullptr);
    pagetest::Click(KEY_CODE_OK);
    Page::AlbumPlayer *player = PlayFocused();
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(Until([&] { return player->PageBusy(); }));
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(Until([&] { return !player->PageBusy(); }));
    pagetest::Click(KEY_CODE_PREV);
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_DELETE_FILES", 1));
    ASSERT_TRUE(Until([&] { return player->DelPending() == 0; }));
    EXPECT_EQ(player->DelCount(), 0u);
    EXPECT_EQ(player->CopyFiles().size(), 2u);
    EXPECT_TRUE(TheCards().Has("20260101_100334_A.mp4"));
    pagetest::Click(KEY_CODE_BACK);
    Advance(100);
    EXPECT_EQ(list->Model.g_stSubItemList.size(), 2u);
}

TEST_F(AlbumTest, DeletingAPhotoTakesItsClipAndTheLastFileLeavesTheAlbumLists) {
    TheCards().Add(1, "N_20260101_110000.jpg", kT0 + 4000, "N_20260101_110000.mp4");
    TheCards().Add(1, "N_20260101_110000.mp4", kT0 + 4000);
    TheCards().SetDuration("N_20260101_110000.mp4", 12);
    Page::AlbumFileList *list = OpenCategory(2);
    ASSERT_NE(list, nullptr);
    pagetest::Click(KEY_CODE_OK);
    Page::AlbumPlayer *player = PlayFocused();
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(Until([&] { return !Hidden(player->View.ui.photo); }));
    pagetest::Click(KEY_CODE_PREV);
    ASSERT_TRUE(player->DelPageShown());
    char title[256];
    snprintf(title, sizeof title, "%s%d%s", Tr("LANG_RES_ID_DEL_RELATED_ONE").c_str(), 1,
             Tr("LANG_RES_ID_DEL_RELATED_TWO").c_str());
    EXPECT_TRUE(HasLabel(player->View.ui.del_page, title));
    pagetest::Click(KEY_CODE_OK);
    // Both go, the player and the file list leave: the album home is shown.
    ASSERT_TRUE(Until([&] { return strcmp(mgr->GetStackTop()->Name, "Pages/AlbumHome") == 0; }))
        << mgr->GetStackTop()->Name << " " << Requests("IPCMSG_DELETE_FILES");
    EXPECT_EQ(Requests("IPCMSG_DELETE_FILES"), 2u);
    EXPECT_FALSE(TheCards().Has("N_20260101_110000.jpg"));
    EXPECT_FALSE(TheCards().Has("N_20260101_110000.mp4"));
}

// ---- what it looks like ----

class AlbumLook : public AlbumTest, public ::testing::WithParamInterface<const char *> {
  protected:
    const char *Lang() override { return GetParam(); }
};

TEST_P(AlbumLook, ReferencePictures) {
    if (!HaveFfmpeg()) {
        GTEST_SKIP() << "the thumbnails are made with FFmpeg";
    }
    const std::string lang = GetParam();
    ASSERT_TRUE(Until([] { return InfoTips_OnScreenCount() == 0 && InfoTips_QueueSize() == 0; }, 10000));
    StandardCards();
    auto shot = [&](const std::string &name) {
        Advance(600);
        EXPECT_TRUE(pagetest::MatchesReference(PAGE_TEST_REF_DIR, name + "_" + lang)) << name;
    };
    Page::AlbumHome *home = PushHome();
    ASSERT_NE(home, nullptr);
    pagetest::Click(KEY_CODE_NEXT);
    shot("album_home");
    pagetest::Click(KEY_CODE_PREV);
    pagetest::Click(KEY_CODE_OK);
    Advance(100);
    auto *list = Top<Page::AlbumFileList>();
    ASSERT_STREQ(list->Name, "Pages/AlbumFileList");
    shot("group_list");
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(ThumbsSettled(list));
    pagetest::Click(KEY_CODE_NEXT);
    shot("thumb_grid");
    // A clip: the page is clear over the video layer (a grey stands for the picture).
    pagetest::SetBackground(0x506070);
    Page::AlbumPlayer *player = PlayFocused();
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(Until([&] { return player->PageBusy(); }));
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(Until([&] { return !player->PageBusy(); }));
    shot("player_clip");
    pagetest::Click(KEY_CODE_PREV);
    shot("delete_ask");
    pagetest::Click(KEY_CODE_BACK);
    pagetest::Click(KEY_CODE_BACK);
    Advance(100);
    pagetest::SetBackground(0x000000);
    // A photo.
    pagetest::Click(KEY_CODE_BACK);
    pagetest::Click(KEY_CODE_BACK);
    Advance(100);
    pagetest::Click(KEY_CODE_PREV); // photos
    pagetest::Click(KEY_CODE_OK);
    Advance(100);
    list = Top<Page::AlbumFileList>();
    ASSERT_STREQ(list->Name, "Pages/AlbumFileList");
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(list->m_bInSub);
    player = PlayFocused();
    ASSERT_NE(player, nullptr) << mgr->GetStackTop()->Name;
    ASSERT_TRUE(Until([&] { return !Hidden(player->View.ui.photo); }));
    shot("player_photo");
}

INSTANTIATE_TEST_SUITE_P(Languages, AlbumLook, ::testing::Values("US", "GE", "CN"));

} // namespace
