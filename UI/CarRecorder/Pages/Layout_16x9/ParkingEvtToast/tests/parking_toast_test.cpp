// The parking event toast on the page harness, over a stand-in home page, with a stand-in event
// list page and the fake recorder answering the event list query. The countdown (and its pause
// on a dormant screen), both exits, the counters, the app tip, the loader thread with lists that
// are missing, malformed or empty, and repeated or late keys.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AppFactory.h"
#include "DataProc.h"
#include "ParkingEvtToast.h"
#include "StatusBar.h"
#include "key.h"
#include "page_test_env.h"
#include "sys_paths.h"
#include "vyx_ui_album.h"

namespace {

using pagetest::Advance;
using pagetest::AdvanceUntil;
using pagetest::Recorder;

class StubPage : public PageBase {};

// Writes n event clips to the list file (first entry at offset 0).
void WriteClips(uint32_t n) {
    std::vector<VYX_UI_Album_FileEntry_S> v(n);
    for (uint32_t i = 0; i < n; ++i) {
        memset(&v[i], 0, sizeof v[i]);
        snprintf(v[i].szFileName, sizeof v[i].szFileName, "G_20261209_0%u0000.mp4", i % 10);
        v[i].s32TimeStamp = 1765270000 + (int32_t)i;
    }
    FILE *f = fopen(SYS_PATH_FILELIST, "wb");
    ASSERT_NE(f, nullptr);
    if (n > 0) {
        fwrite(v.data(), sizeof v[0], n, f);
    }
    fclose(f);
}

// The recorder's answer to the event list query: count and offset as given.
void AnswerList(int count) {
    Recorder().On("GET_EMER_EVENT_LIST", [count](const cJSON *) {
        cJSON *b = cJSON_CreateObject();
        cJSON_AddNumberToObject(b, "filecount", count);
        cJSON_AddNumberToObject(b, "offsetaddr", 0);
        cJSON_AddNumberToObject(b, "catfilecount", 0);
        cJSON_AddNumberToObject(b, "catfileoffsetaddr", 0);
        return b;
    });
}

size_t SavesOf(const std::string &key) {
    size_t n = 0;
    for (const std::string &doc : Recorder().Requests("IPCMSG_GENERALSETING_SAVE")) {
        n += doc.find("\"" + key + "\"") != std::string::npos ? 1 : 0;
    }
    return n;
}

size_t CtrlsWith(const std::string &text) {
    size_t n = 0;
    for (const std::string &doc : Recorder().Requests("IPCMSG_GENERALCTRL")) {
        n += doc.find(text) != std::string::npos ? 1 : 0;
    }
    return n;
}

class ParkingToastTest : public ::testing::Test {
  protected:
    // arrange runs after the default list answers, before the toast is pushed; settle false
    // leaves the toast's push animation running.
    void Start(const char *lang = "US", int clips = 3, bool withList = true,
               const std::function<void()> &arrange = {}, bool settle = true) {
        pagetest::Up(lang);
        Recorder().Reset();
        IpcMsg_ResetSystemStatusInfo();
        WriteClips(clips > 0 ? (uint32_t)clips : 0);
        AnswerList(clips);
        if (arrange) {
            arrange();
        }
        if (StatusBar_GetObjs() == nullptr) {
            ASSERT_EQ(StatusBar_Create(lv_layer_top()), 0);
        }
        mgr = std::make_unique<PageManager>(&factory);
        ASSERT_TRUE(mgr->Register(&home, "Pages/Home"));
        if (withList) {
            ASSERT_TRUE(mgr->Register(&list, "Pages/AlbumFileList"));
        }
        ASSERT_NE(mgr->Install("ParkingEvtToast", "Pages/ParkingEvtToast"), nullptr);
        ASSERT_NE(mgr->Push("Pages/Home"), nullptr);
        Advance(600);
        toast = static_cast<Page::ParkingEvtToast *>(mgr->Push("Pages/ParkingEvtToast"));
        ASSERT_NE(toast, nullptr);
        if (settle) {
            Advance(600); // in place, buttons risen, loader started
        }
    }
    void TearDown() override {
        if (toast != nullptr) {
            AdvanceUntil([&] { return !toast->Loading(); }, 3000);
        }
        if (mgr) {
            mgr->SetStackClear();
            mgr->Unregister("Pages/Home");
            mgr->Unregister("Pages/AlbumFileList");
        }
        mgr.reset(); // deletes the toast
        toast = nullptr;
        Advance(50);
        for (int i = 0; i < 300 && DP_GeneralSeting_PendingSaves() > 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(80));
        unlink(SYS_PATH_FILELIST);
    }
    std::string Top() {
        PageBase *p = mgr->GetStackTop();
        return p != nullptr ? p->Name : "";
    }
    std::string ConfirmText() { return lv_label_get_text(toast->View.ui.confirm_label); }
    bool Loaded(uint32_t n) {
        return AdvanceUntil([&] { return !toast->Loading() && toast->LoadedClipCount() == n; }, 3000);
    }
    void SetStatusByte(size_t offset, uint8_t value) { IpcMsg_SetSystemStatusByte((uint32_t)offset, value); }
    // Both counters saved as 0, each at least once.
    bool CountersCleared() {
        return Recorder().WaitRequests("IPCMSG_GENERALSETING_SAVE", 2) &&
               SavesOf("parking_collisioncnt") >= 1 && SavesOf("parking_times") >= 1;
    }

    AppFactory factory;
    std::unique_ptr<PageManager> mgr;
    Page::ParkingEvtToast *toast = nullptr;
    StubPage home, list;
};

// ---- countdown and its end ----

TEST_F(ParkingToastTest, CountsEightSecondsDownThenDismissesAndClearsTheCounters) {
    Start();
    EXPECT_EQ(StatusBar_GetShowType(), STATUSBAR_SHOW_NONE);
    EXPECT_EQ(ConfirmText(), "View(8S)");
    Advance(1000);
    EXPECT_EQ(ConfirmText(), "View(7S)");
    Advance(6000);
    EXPECT_EQ(ConfirmText(), "View(1S)");
    EXPECT_EQ(Top(), "Pages/ParkingEvtToast");
    Recorder().ClearRequests();
    Advance(1000);
    EXPECT_EQ(Top(), "Pages/Home");
    EXPECT_TRUE(CountersCleared());
    Advance(600);
    EXPECT_EQ(mgr->FindPageInStack("Pages/ParkingEvtToast"), nullptr);
}

TEST_F(ParkingToastTest, TheCountdownStandsStillWhileTheScreenSleeps) {
    Start();
    Advance(2000);
    ASSERT_EQ(ConfirmText(), "View(6S)");
    SetStatusByte(offsetof(SystemStatusInfo, bScreenDormant), 1);
    Advance(20000);
    EXPECT_EQ(ConfirmText(), "View(6S)");
    EXPECT_EQ(Top(), "Pages/ParkingEvtToast");
    SetStatusByte(offsetof(SystemStatusInfo, bScreenDormant), 0);
    Advance(1000);
    EXPECT_EQ(ConfirmText(), "View(5S)");
}

// ---- the two exits ----

TEST_F(ParkingToastTest, BackAndPreviousDismiss) {
    for (uint32_t key : {KEY_CODE_BACK, KEY_CODE_PREV}) {
        Start();
        Recorder().ClearRequests();
        pagetest::Click(key);
        EXPECT_EQ(Top(), "Pages/Home") << key;
        EXPECT_TRUE(CountersCleared()) << key;
        TearDown();
    }
}

TEST_F(ParkingToastTest, NextDoesNothing) {
    Start();
    pagetest::Click(KEY_CODE_NEXT);
    EXPECT_EQ(Top(), "Pages/ParkingEvtToast");
    Page::ParkingEvtToast::KeyEventCallBack(nullptr);
}

TEST_F(ParkingToastTest, ConfirmEntersPlaybackAndOpensTheEventList) {
    Start();
    ASSERT_TRUE(Loaded(3));
    Recorder().ClearRequests();
    pagetest::Click(KEY_CODE_OK);
    EXPECT_EQ(CtrlsWith("\"ctrl_playbackmode\""), 1u);
    EXPECT_EQ(CtrlsWith("\"enter\""), 1u);
    EXPECT_EQ(Top(), "Pages/AlbumFileList");
    EXPECT_TRUE(CountersCleared());
    EXPECT_EQ(toast->LoadedClipCount(), 0u); // released
    // The toast waits under the list with its countdown paused.
    Advance(10000);
    EXPECT_EQ(Top(), "Pages/AlbumFileList");
    // Back from the list: the toast has done its work and goes within a second.
    ASSERT_NE(mgr->Pop(), nullptr);
    AdvanceUntil([&] { return Top() == "Pages/Home"; }, 2000);
    EXPECT_EQ(Top(), "Pages/Home");
}

TEST_F(ParkingToastTest, ConfirmWithoutAnEventListPageLeavesPlaybackAndDismisses) {
    Start("US", 3, false);
    ASSERT_TRUE(Loaded(3));
    Recorder().ClearRequests();
    pagetest::Click(KEY_CODE_OK);
    EXPECT_EQ(CtrlsWith("\"enter\""), 1u);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 2));
    EXPECT_EQ(CtrlsWith("\"exit\""), 1u);
    EXPECT_EQ(Top(), "Pages/Home");
}

TEST_F(ParkingToastTest, ConfirmIsRefusedWhileTheAppIsConnectedAndAfterTheCountdown) {
    Start();
    ASSERT_TRUE(Loaded(3));
    SetStatusByte(offsetof(SystemStatusInfo, bAppLogin), 1);
    Recorder().ClearRequests();
    pagetest::Click(KEY_CODE_OK);
    EXPECT_EQ(Top(), "Pages/ParkingEvtToast");
    EXPECT_EQ(CtrlsWith("\"enter\""), 0u);
    SetStatusByte(offsetof(SystemStatusInfo, bAppLogin), 0);

    // A failing playback switch keeps the page and lets the user try again.
    Recorder().Result("IPCMSG_GENERALCTRL", -1);
    pagetest::Click(KEY_CODE_OK);
    EXPECT_EQ(Top(), "Pages/ParkingEvtToast");
    EXPECT_FALSE(toast->m_bEnterPlayback);

    // At zero the toast is on its way out; a confirm then does nothing.
    toast->m_u32Countdown = 0;
    Recorder().Reset();
    AnswerList(3);
    Recorder().ClearRequests();
    lv_event_send(toast->View.ui.confirm_btn, LV_EVENT_SHORT_CLICKED, nullptr);
    EXPECT_EQ(CtrlsWith("\"enter\""), 0u);
}

// ---- the event list: missing, malformed, empty ----

TEST_F(ParkingToastTest, WithoutClipsConfirmShowsTheTipAndAsksAgain) {
    Start("US", 0);
    ASSERT_TRUE(Loaded(0));
    size_t asked = Recorder().Requests("GET_EMER_EVENT_LIST").size();
    // Meanwhile the recorder has written clips.
    WriteClips(2);
    AnswerList(2);
    pagetest::Click(KEY_CODE_OK);
    EXPECT_EQ(Top(), "Pages/ParkingEvtToast");
    EXPECT_EQ(CtrlsWith("\"enter\""), 0u);
    // The list is asked for again; now there are clips, and the next confirm opens them.
    EXPECT_TRUE(Recorder().WaitRequests("GET_EMER_EVENT_LIST", asked + 1));
    ASSERT_TRUE(Loaded(2));
    pagetest::Click(KEY_CODE_OK);
    EXPECT_EQ(Top(), "Pages/AlbumFileList");
}

TEST_F(ParkingToastTest, BadListsGiveNoClipsAndNoCrash) {
    // (A recorder that never answers meets the query's 10 s time-out in real time: the scenario
    // runs cover it, this test stays fast.)
    struct Case {
        const char *what;
        std::function<void()> arrange;
    } const cases[] = {
        {"answer without count",
         [] { Recorder().On("GET_EMER_EVENT_LIST", [](const cJSON *) { return cJSON_CreateObject(); }); }},
        {"refused query", [] { Recorder().Result("GET_EMER_EVENT_LIST", -1); }},
        {"list file missing", [] { unlink(SYS_PATH_FILELIST); }},
        {"count beyond the file", [] { AnswerList(500); }},
        {"huge count", [] { AnswerList(2000000000); }},
        {"negative count", [] { AnswerList(-3); }},
        {"garbage entries",
         [] {
             int fd = open(SYS_PATH_FILELIST, O_WRONLY | O_TRUNC);
             std::vector<uint8_t> junk(3 * sizeof(VYX_UI_Album_FileEntry_S), 0xFF);
             ASSERT_EQ(write(fd, junk.data(), junk.size()), (ssize_t)junk.size());
             close(fd);
         }},
    };
    for (const Case &c : cases) {
        Start("US", 3, true, c.arrange);
        ASSERT_TRUE(Loaded(0)) << c.what;
        Recorder().ClearRequests();
        pagetest::Click(KEY_CODE_OK);
        EXPECT_EQ(Top(), "Pages/ParkingEvtToast") << c.what;
        EXPECT_EQ(CtrlsWith("\"enter\""), 0u) << c.what;
        // Back still leaves.
        pagetest::Click(KEY_CODE_BACK);
        EXPECT_EQ(Top(), "Pages/Home") << c.what;
        TearDown();
    }
}

TEST_F(ParkingToastTest, ARecorderThatNeverAnswersDoesNotHoldTheToast) {
    Start("US", 3, true, [] { Recorder().Mute("GET_EMER_EVENT_LIST"); });
    ASSERT_TRUE(Recorder().WaitRequests("GET_EMER_EVENT_LIST", 1));
    uint32_t waiting = Page::ParkingEvtToast::LoadersRunning();
    ASSERT_GE(waiting, 1u);
    pagetest::Click(KEY_CODE_OK); // nothing loaded yet: the tip, no playback
    EXPECT_EQ(CtrlsWith("\"enter\""), 0u);
    pagetest::Click(KEY_CODE_BACK);
    Advance(600);
    // Gone and unloaded while its loader still waits for the answer (up to 10 s): the user
    // interface did not wait for it.
    EXPECT_EQ(Top(), "Pages/Home");
    EXPECT_EQ(toast->root, nullptr);
    EXPECT_GE(Page::ParkingEvtToast::LoadersRunning(), waiting);
    EXPECT_FALSE(toast->Loading());
}

// ---- repeated and late input ----

TEST_F(ParkingToastTest, RepeatedBackAndTheCountdownEndDismissOnce) {
    Start();
    Recorder().ClearRequests();
    pagetest::Click(KEY_CODE_BACK);
    pagetest::Click(KEY_CODE_BACK); // during the pop animation: the keys are back with the pages
    lv_event_send(toast->View.ui.back_btn, LV_EVENT_SHORT_CLICKED, nullptr);
    toast->TimerTick();
    EXPECT_EQ(Top(), "Pages/Home");
    Advance(600);
    EXPECT_EQ(mgr->FindPageInStack("Pages/ParkingEvtToast"), nullptr);
    ASSERT_TRUE(CountersCleared());
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // a second save would come by now
    EXPECT_EQ(SavesOf("parking_collisioncnt"), 1u);
    EXPECT_EQ(SavesOf("parking_times"), 1u);
}

TEST_F(ParkingToastTest, ASecondCollisionWhileShownKeepsTheCountdown) {
    Start();
    Advance(3000);
    ASSERT_EQ(ConfirmText(), "View(5S)");
    EXPECT_EQ(mgr->Push("Pages/ParkingEvtToast"), nullptr); // already on the stack
    Advance(1000);
    EXPECT_EQ(ConfirmText(), "View(4S)");
    EXPECT_EQ(Top(), "Pages/ParkingEvtToast");
}

TEST_F(ParkingToastTest, ADismissRefusedDuringASwitchIsTriedAgain) {
    Start("US", 3, true, {}, false);
    toast->Dismiss(); // the push animation runs: the pop is refused
    EXPECT_FALSE(toast->m_bDismissed);
    EXPECT_EQ(Top(), "Pages/ParkingEvtToast");
    Advance(600);
    toast->m_u32Countdown = 1;
    Advance(1000); // the countdown's end tries again
    EXPECT_EQ(Top(), "Pages/Home");
}

// ---- screenshots ----

class ParkingToastRefTest : public ParkingToastTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(ParkingToastRefTest, Toast) {
    Start(GetParam());
    Advance(2000);
    EXPECT_TRUE(pagetest::MatchesReference(PAGE_TEST_REF_DIR, std::string("parking_toast_") + GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Languages, ParkingToastRefTest, ::testing::Values("US", "CN", "GE"));

} // namespace
