// The album with 1000 recordings and 300 event photos (each with its clip), in one process on
// the page harness: the real album pages, data processors and album module, and a recorder that
// writes the list files and hands out thumbnails by copying one JPEG made with FFmpeg (so the
// figures are the user interface's share; FFmpeg's own time per thumbnail is printed apart).
// Runs itself in private namespaces.
//
//   album_bench [SCAN_SECONDS]   (default 5)
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "AlbumFileList.h"
#include "AlbumHome.h"
#include "AppFactory.h"
#include "StatusBar.h"
#include "bench_heap.h"
#include "bench_support.h"
#include "key.h"
#include "page_test_env.h"
#include "sys_paths.h"
#include "vyx_ui_album.h"

namespace {

using namespace bench;

using Clock = std::chrono::steady_clock;

constexpr int kRecordings = 1000;
constexpr int kPhotos = 300;
const std::string kThumbSrc = SYS_PATH("/tmp/album_bench_thumb.jpg");

double Ms(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

void Touch(const std::string &dir, const std::string &name) {
    std::string cmd = "mkdir -p '" + dir + "'";
    static std::string s_made;
    if (s_made.find("|" + dir + "|") == std::string::npos) {
        if (system(cmd.c_str()) != 0)
            perror("mkdir");
        s_made += "|" + dir + "|";
    }
    std::ofstream(dir + "/" + name) << "m";
}

std::string Stamp(int32_t t) {
    char b[32];
    time_t tt = t;
    struct tm tm;
    gmtime_r(&tt, &tm);
    strftime(b, sizeof b, "%Y%m%d_%H%M%S", &tm);
    return b;
}

// The three lists: entries back to back, each list's count and offset.
struct Lists {
    std::string files, cats;
    uint32_t where[3][4] = {};
};
Lists g_lists;

void AddEntry(int list, const std::string &name, int32_t stamp, uint32_t kind, const std::string &related) {
    VYX_UI_Album_FileEntry_S e;
    memset(&e, 0, sizeof e);
    e.u32Kind = kind;
    snprintf(e.szFileName, sizeof e.szFileName, "%s", name.c_str());
    snprintf(e.szRelatedName, sizeof e.szRelatedName, "%s", related.c_str());
    e.s32TimeStamp = stamp;
    g_lists.files.append(reinterpret_cast<const char *>(&e), sizeof e);
    g_lists.where[list][0]++;
    if (list > 0 && related.empty()) {
        VYX_UI_Album_CatEntry_S c;
        memset(&c, 0, sizeof c);
        snprintf(c.szCatFileName, sizeof c.szCatFileName, "%s", name.c_str());
        c.u32Duration = 10;
        c.u32FileCount = 1;
        g_lists.cats.append(reinterpret_cast<const char *>(&c), sizeof c);
        g_lists.where[list][2]++;
    }
}

// 1000 recordings a minute apart (front and rear by turns) and 300 snapshot photos with clips.
void MakeCards() {
    const std::string video = SYS_PATH("/app/sd/DCIM/200video/"), photo = SYS_PATH("/app/sd/DCIM/201photo/");
    int32_t t = 1767261154;
    g_lists.where[0][1] = 0;
    for (int i = 0; i < kRecordings; i++, t += 60) {
        bool rear = i % 2 == 1;
        std::string name = Stamp(t) + (rear ? "_A.mp4" : ".mp4");
        Touch(video + (rear ? "rear" : "front"), name);
        AddEntry(0, name, t, rear ? 2 : 0, "");
    }
    g_lists.where[1][1] = (uint32_t)g_lists.files.size();
    g_lists.where[1][3] = (uint32_t)g_lists.cats.size();
    for (int i = 0; i < kPhotos; i++, t += 60) {
        std::string stem = "N_" + Stamp(t);
        Touch(photo + "front", stem + ".jpg");
        Touch(video + "front", stem + ".mp4");
        AddEntry(1, stem + ".jpg", t, 39, stem + ".mp4");
        AddEntry(1, stem + ".mp4", t, 6, "");
    }
    g_lists.where[2][1] = (uint32_t)g_lists.files.size();
    g_lists.where[2][3] = (uint32_t)g_lists.cats.size();
    mkdir(SYS_PATH("/tmp"), 0755);
    mkdir(SYS_PATH("/dev"), 0755);
    mkdir(SYS_PATH("/mnt/sd"), 0755);
    mkdir(SYS_PATH("/mnt/sd/DCIM"), 0755);
}

cJSON *ListAnswer(int which, bool cat) {
    std::ofstream(SYS_PATH_FILELIST, std::ios::binary) << g_lists.files;
    std::ofstream(SYS_PATH_CATFILELIST, std::ios::binary) << g_lists.cats;
    cJSON *b = cJSON_CreateObject();
    cJSON_AddNumberToObject(b, "filecount", g_lists.where[which][0]);
    cJSON_AddNumberToObject(b, "offsetaddr", g_lists.where[which][1]);
    if (cat) {
        cJSON_AddNumberToObject(b, "catfilecount", g_lists.where[which][2]);
        cJSON_AddNumberToObject(b, "catfileoffsetaddr", g_lists.where[which][3]);
    }
    return b;
}

void Responders() {
    auto &r = pagetest::Recorder();
    r.On("GET_REC_LIST", [](const cJSON *) { return ListAnswer(0, false); });
    r.On("GET_SNAP_EVENT_LIST", [](const cJSON *) { return ListAnswer(1, true); });
    r.On("GET_EMER_EVENT_LIST", [](const cJSON *) { return ListAnswer(2, true); });
    auto thumb = [](const cJSON *req) {
        const cJSON *p = cJSON_GetObjectItemCaseSensitive(req, "thumbpath");
        std::string cmd =
            "cp '" + kThumbSrc + "' '" + std::string(cJSON_IsString(p) ? p->valuestring : "") + "'";
        cJSON *b = cJSON_CreateObject();
        cJSON_AddNumberToObject(b, "result", system(cmd.c_str()) == 0 ? 0 : -1);
        return b;
    };
    r.On("IPCMSG_GETMP4_THUMB", thumb);
    r.On("IPCMSG_GETJPG_THUMB", thumb);
}

size_t CHeap() {
    struct mallinfo2 mi = mallinfo2();
    return mi.uordblks;
}

// Steps the user interface until pred holds; the figures are wall time.
template <typename P> bool Until(P pred, int boundMs = 60000) {
    auto t0 = Clock::now();
    while (!pred()) {
        if (Ms(t0) > boundMs)
            return false;
        pagetest::Advance(10);
        usleep(200);
    }
    return true;
}

// The first screen of the grid: the two thumbnails in view (and the next row's two, partly).
bool FirstScreenShown(Page::AlbumFileList *list) {
    size_t n = std::min<size_t>(4, list->Model.g_stSubItemList.size());
    for (size_t i = 0; i < n; i++) {
        auto &it = list->Model.g_stSubItemList[i];
        std::lock_guard<std::mutex> l(it->lock);
        if (it->eState != Page::THUMB_STATE_SHOWN)
            return false;
    }
    return n > 0;
}

struct Run {
    double home, groups, thumbs;
    size_t lvList, cList, groupCount;
};

Run OneRun(PageManager &mgr) {
    Run r{};
    size_t lv0 = LvHeapUsed(), c0 = CHeap();
    auto t0 = Clock::now();
    mgr.Push("Pages/AlbumHome"); // the album key's page, once the recorder is in playback mode
    pagetest::Refresh();
    r.home = Ms(t0);
    t0 = Clock::now();
    pagetest::Click(KEY_CODE_OK);
    Until([&] { return strcmp(mgr.GetStackTop()->Name, "Pages/AlbumFileList") == 0; });
    pagetest::Refresh();
    r.groups = Ms(t0) + r.home;
    auto *list = static_cast<Page::AlbumFileList *>(mgr.GetStackTop());
    r.groupCount = list->Model.g_stMainItemList.size();
    t0 = Clock::now();
    pagetest::Click(KEY_CODE_OK);
    Until([&] { return FirstScreenShown(list); });
    pagetest::Refresh();
    r.thumbs = Ms(t0);
    r.lvList = LvHeapUsed() - lv0;
    r.cList = CHeap() - c0;
    pagetest::Click(KEY_CODE_BACK);
    pagetest::Click(KEY_CODE_BACK);
    pagetest::Advance(1000); // the album home again
    return r;
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        printf("usage: album_bench [SCAN_SECONDS]   the album with %d recordings and %d event photos:\n"
               "key to group list and to the first thumbnails (cold and warm), file list memory, and\n"
               "thumbnails a second of the background scan (measured for SCAN_SECONDS, default 5)\n",
               kRecordings, kPhotos);
        return 0;
    }
    RunIsolated(argc, argv);
    int scanSeconds = argc > 1 ? atoi(argv[1]) : 5;
    if (scanSeconds < 1)
        scanSeconds = 1;
    if (system(("rm -rf '" SYS_PATH("/app/sd") "' '" SYS_PATH("/mnt/sd") "' '" SYS_PATH("/dev/thumb") "'")) !=
        0)
        return 1;
    auto f0 = Clock::now();
    std::string make =
        "ffmpeg -v error -y -f lavfi -i testsrc2=size=144x88 -frames:v 1 '" + kThumbSrc + "' </dev/null";
    if (system(make.c_str()) != 0) {
        fprintf(stderr, "album_bench: needs FFmpeg for the thumbnail picture\n");
        return 1;
    }
    double ffmpegMs = Ms(f0);
    MakeCards();
    pagetest::Up("US");
    Responders();
    StatusBar_Create(lv_layer_top());
    pagetest::Advance(100);

    AppFactory factory;
    PageManager mgr(&factory);
    mgr.SetGlobalLoadAnimType(PageManager::LOAD_ANIM_NONE, 0);
    mgr.Install("AlbumHome", "Pages/AlbumHome");
    mgr.Install("AlbumFileList", "Pages/AlbumFileList");
    mgr.Install("AlbumPlayer", "Pages/AlbumPlayer");

    // The album home clears the thumbnail cache when it opens: the first run is cold. The
    // second one, from the album home again, finds the thumbnails the first made (the
    // background scan is held back meanwhile).
    VYX_UI_Album_SetPlayerBusy(true);
    Run cold = OneRun(mgr);
    printf("album_bench: %d recordings, %d photos with clips (%zu bytes of list)\n", kRecordings, kPhotos,
           g_lists.files.size());
    printf("  album key -> album home drawn        %8.1f ms\n", cold.home);
    printf("  album key -> group list drawn        %8.1f ms (recordings: %zu groups)\n", cold.groups,
           cold.groupCount);
    printf("  open group -> first thumbnails, cold %8.1f ms\n", cold.thumbs);
    printf("  file list page memory: LVGL heap %zu bytes, C heap %zu bytes\n", cold.lvList, cold.cList);
    // Warm: the same group again without leaving the album (the cache stays); the file list is
    // opened and the group shown once, then the group is opened again and timed.
    pagetest::Click(KEY_CODE_OK);
    if (!Until([&] { return strcmp(mgr.GetStackTop()->Name, "Pages/AlbumFileList") == 0; }, 10000)) {
        fprintf(stderr, "album_bench: the file list did not open (%s)\n", mgr.GetStackTop()->Name);
        return 1;
    }
    auto *list = static_cast<Page::AlbumFileList *>(mgr.GetStackTop());
    pagetest::Click(KEY_CODE_OK);
    if (!Until([&] { return FirstScreenShown(list); }, 10000)) {
        fprintf(stderr, "album_bench: the thumbnails did not come\n");
        return 1;
    }
    pagetest::Click(KEY_CODE_BACK);
    pagetest::Advance(500);
    auto t0 = Clock::now();
    pagetest::Click(KEY_CODE_OK);
    Until([&] { return FirstScreenShown(list); });
    pagetest::Refresh();
    printf("  open group -> first thumbnails, warm %8.1f ms\n", Ms(t0));
    pagetest::Click(KEY_CODE_BACK);
    pagetest::Click(KEY_CODE_BACK);
    pagetest::Advance(500);

    // The background scan over the cards, from an empty cache.
    VYX_UI_ALBUM_StopThumbTask();
    if (system("rm -rf '" SYS_PATH("/dev/thumb") "'") != 0)
        return 1;
    VYX_UI_Album_SetPlayerBusy(false);
    auto s0 = Clock::now();
    VYX_UI_ALBUM_LoadThumbTask();
    usleep((useconds_t)scanSeconds * 1000000u);
    double secs = Ms(s0) / 1000.0;
    size_t warm = 0;
    std::string ls = "ls '" SYS_PATH("/dev/thumb") "' 2>/dev/null | wc -l";
    if (FILE *p = popen(ls.c_str(), "r")) {
        if (fscanf(p, "%zu", &warm) != 1)
            warm = 0;
        pclose(p);
    }
    VYX_UI_ALBUM_StopThumbTask();
    printf("  background scan: %zu thumbnails in %.1f s = %.1f a second (recorder answering at once)\n", warm,
           secs, warm / secs);
    printf("  FFmpeg: one 144x88 thumbnail made in %.1f ms (the recorder stand-in's share per file)\n",
           ffmpegMs);
    return 0;
}
