// The album's data access against recorder_sim over generated media: lists from the real files,
// thumbnails and photo bitmaps decoded from them, a delete that removes exactly one file, and a
// new file on the card announced to the album.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "sys_paths.h"
#include "vyx_ui_album.h"

namespace {

const VYX_IPCMSG_HandlerRow kRows[] = {{"IPCMSG_HASANEW_FILE", VYX_UI_ALBUM_HasANewFile},
                                       {"IPCMSG_DELFILE_MSG", VYX_UI_ALBUM_DelFileCb}};

std::mutex g_mu;
std::vector<std::string> g_deleted;
void OnDeleted(const char *name, void *) {
    std::lock_guard<std::mutex> l(g_mu);
    g_deleted.emplace_back(name);
}

std::vector<std::string> Names(const VYX_UI_Album_FileListTable_S &t) {
    std::vector<std::string> v;
    for (uint32_t i = 0; i < t.ulCount; i++)
        v.emplace_back(t.pstFileList[i].szFileName);
    return v;
}

bool HasFileStartingWith(const char *dir, const char *prefix) {
    bool found = false;
    if (DIR *d = opendir(dir)) {
        while (dirent *e = readdir(d))
            found = found || strncmp(e->d_name, prefix, strlen(prefix)) == 0;
        closedir(d);
    }
    return found;
}

off_t SizeOf(const std::string &p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 ? st.st_size : -1;
}

class AlbumSim : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(system("rm -rf '" SYS_PATH("/app/sd") "' '" SYS_PATH(
                      "/mnt/sd") "' '" SYS_PATH_THUMB_CACHE "' '" SYS_PATH_PLAYER_CACHE "'"),
                  0);
        mkdir(SYS_PATH("/tmp"), 0777);
        ASSERT_EQ(VYX_IPCMSG_AgentInit(VYX_IPCMSG_KEY_UI_RECV, VYX_IPCMSG_KEY_UI_SEND, kRows, 2), 0);
        std::string scn = SYS_PATH("/tmp/album_scenario.txt");
        std::ofstream(scn) << "media-generate 4 4\nmedia-watch on\n";
        std::string cmd = "exec ";
#ifdef E2E_EMULATOR
        cmd += E2E_EMULATOR " ";
#endif
        cmd += RECORDER_SIM_BIN " --no-marker --stay --scenario '" + scn +
               "' >" SYS_PATH("/tmp/album_sim.log") " 2>&1";
        s_pid = fork();
        if (s_pid == 0) {
            execl("/bin/sh", "sh", "-c", cmd.c_str(), (char *)nullptr);
            _exit(127);
        }
        // Ready when the last generated file (the rear emergency clip) is there and the watcher
        // has taken its first look.
        for (int i = 0; i < 1200 && !HasFileStartingWith(SYS_PATH("/app/sd/DCIM/200video/rear"), "U_"); i++)
            usleep(50000);
        usleep(700000);
    }
    static void TearDownTestSuite() {
        kill(s_pid, SIGTERM);
        waitpid(s_pid, nullptr, 0);
    }
    static pid_t s_pid;
};
pid_t AlbumSim::s_pid;

} // namespace

TEST_F(AlbumSim, ListsThumbnailsPhotosDeletesAndNewFiles) {
    ASSERT_EQ(VYX_UI_Album_QueryRecFiles(), 0) << "see " SYS_PATH("/tmp/album_sim.log");
    VYX_UI_Album_FileListTable_S rec{};
    ASSERT_EQ(VYX_UI_Album_QueryRecordTable(VYX_UI_ALBUM_REAR_REC, &rec), 0);
    ASSERT_EQ(VYX_UI_Album_ParseRecordTable(VYX_UI_ALBUM_REAR_REC, &rec), 0);
    ASSERT_EQ(VYX_UI_Album_SortRecordTableByTime(VYX_UI_ALBUM_REAR_REC, &rec), 0);
    ASSERT_EQ(rec.ulCount, 2u);
    EXPECT_GT(rec.pstFileList[0].s32TimeStamp, rec.pstFileList[1].s32TimeStamp);
    EXPECT_EQ(rec.pstFileList[0].u32Kind, 2u);
    // One rear clip on each card; both paths exist.
    char path[256];
    for (uint32_t i = 0; i < rec.ulCount; i++) {
        ASSERT_EQ(VYX_UI_ALBUM_GetFilePathByRecNode(&rec.pstFileList[i], path, sizeof(path)), 0);
        EXPECT_EQ(access(path, F_OK), 0) << path;
    }

    // The front snapshot list: each photo followed by its clip, with the clip's duration.
    ASSERT_EQ(VYX_UI_Album_QuerySnapEventFiles(), 0);
    VYX_UI_Album_FileListTable_S snap{};
    ASSERT_EQ(VYX_UI_Album_QueryRecordTable(VYX_UI_ALBUM_FRONT_SNAP, &snap), 0);
    ASSERT_EQ(VYX_UI_Album_ParseRecordTable(VYX_UI_ALBUM_FRONT_SNAP, &snap), 0);
    ASSERT_EQ(VYX_UI_Album_ParseEventFileListTable(&snap), 0);
    auto names = Names(snap);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].substr(names[0].size() - 4), ".jpg");
    EXPECT_EQ(names[1], names[0].substr(0, names[0].size() - 4) + ".mp4");
    VYX_UI_Album_CatListTable_S cats{};
    ASSERT_EQ(VYX_UI_Album_QueryRalatedFilesTable(VYX_UI_ALBUM_FRONT_SNAP, &cats), 0);
    EXPECT_EQ(VYX_UI_Album_GetDurationByCatFileName(&cats, names[1].c_str()), 2u);
    VYX_UI_Album_FreeCatTable(&cats);

    // Thumbnail of a clip and bitmap of a photo, decoded from the real files.
    char out[512];
    ASSERT_EQ(VYX_UI_ALBUM_LoadThumbHandle(rec.pstFileList[0].szFileName,
                                           rec.pstFileList[0].u32StorIndex != 0, out, sizeof(out)),
              0);
    std::ifstream jpg(out, std::ios::binary);
    unsigned char soi[2] = {};
    jpg.read(reinterpret_cast<char *>(soi), 2);
    EXPECT_TRUE(soi[0] == 0xFF && soi[1] == 0xD8) << out;
    ASSERT_EQ(VYX_UI_ALBUM_LoadPhotoDateHandle(names[0].c_str(), false, out, sizeof(out)), 0);
    EXPECT_EQ(SizeOf(out), 640 * 360 * 4);

    // Delete one recording: exactly that file goes, the album hears of it, the list shrinks.
    VYX_UI_ALBUM_RegisterDelFileCb(OnDeleted, nullptr);
    std::string victim = rec.pstFileList[1].szFileName;
    ASSERT_EQ(VYX_UI_ALBUM_GetFilePathByRecNode(&rec.pstFileList[1], path, sizeof(path)), 0);
    ASSERT_EQ(VYX_UI_Album_SendDelFilesMsg(victim.c_str()), 0);
    for (int i = 0; i < 200 && access(path, F_OK) == 0; i++)
        usleep(20000);
    EXPECT_NE(access(path, F_OK), 0);
    auto heard = [] {
        std::lock_guard<std::mutex> l(g_mu);
        return !g_deleted.empty();
    };
    for (int i = 0; i < 200 && !heard(); i++)
        usleep(20000);
    {
        std::lock_guard<std::mutex> l(g_mu);
        ASSERT_FALSE(g_deleted.empty());
        EXPECT_EQ(g_deleted[0], victim);
    }
    VYX_UI_ALBUM_RegisterDelFileCb(nullptr, nullptr);
    ASSERT_EQ(VYX_UI_Album_QueryRecFiles(), 0);
    VYX_UI_Album_FileListTable_S after{};
    ASSERT_EQ(VYX_UI_Album_QueryRecordTable(VYX_UI_ALBUM_REC, &after), 0);
    auto left = Names(after);
    EXPECT_EQ(left.size(), 3u);
    EXPECT_EQ(std::find(left.begin(), left.end(), victim), left.end());

    // A clip that appears on the card is announced; the album makes its thumbnail.
    ASSERT_EQ(VYX_UI_ALBUM_LoadThumbTask(), 0);
    std::string fresh = SYS_PATH("/mnt/sd/DCIM/200video/front/20260102_081234.mp4");
    std::string copy =
        "cp \"$(ls " SYS_PATH("/app/sd/DCIM/200video/front/") "*.mp4 | head -n 1)\" '" + fresh + "'";
    ASSERT_EQ(system(copy.c_str()), 0);
    std::string thumb = SYS_PATH("/dev/thumb/20260102_081234_T.jpg");
    for (int i = 0; i < 300 && access(thumb.c_str(), F_OK) != 0; i++)
        usleep(20000);
    EXPECT_EQ(access(thumb.c_str(), F_OK), 0);
    VYX_UI_ALBUM_StopThumbTask();
    VYX_UI_Album_FreeTable(&rec);
    VYX_UI_Album_FreeTable(&snap);
    VYX_UI_Album_FreeTable(&after);
}
