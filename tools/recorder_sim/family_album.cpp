/* Album: the recorder's cards and what the album asks of them.
 *
 * The cards are the folders "/app/sd" (internal, storage index 0) and "/mnt/sd" (external, 1)
 * below the root, laid out as the recorder lays them out: DCIM/200video/{front,rear,inside} and
 * DCIM/201photo/{front,rear,inside}. Names follow the recorder's conventions:
 *   YYYYMMDD_HHMMSS.mp4      front recording       YYYYMMDD_HHMMSS_A.mp4    rear recording
 *   N_YYYYMMDD_HHMMSS.jpg    front snapshot photo  R_YYYYMMDD_HHMMSS.jpg    rear snapshot photo
 *   N_/R_ ....mp4            its clip              G_/U_ ....mp4 (.jpg)     front/rear emergency
 * A list query rewrites "/tmp/filelist_info" (152-byte entries) and, for the event lists,
 * "/tmp/catfilelist_info" (1224-byte entries), then answers where the asked list lies. Thumbnails
 * (144 x 88 JPEG) and photo bitmaps (640 x 360 RGBA) are made from the real files with FFmpeg.
 * Deletes remove the file for real and are confirmed with "IPCMSG_DELFILE_MSG"; files that appear
 * on or vanish from the cards are announced with "IPCMSG_HASANEW_FILE" and "IPCMSG_DELFILE_MSG". */
#include "recorder_sim.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "sys_paths.h"

extern char **environ;

namespace sim {

namespace {

const char *const kCards[] = {SYS_PATH("/app/sd"), SYS_PATH("/mnt/sd")};
const char *const kCams[] = {"front", "rear", "inside"};

struct MediaFile {
    std::string name;
    std::string path;
    uint32_t stor; // 0 internal, 1 external
    bool photo;
    int cam;       // 0 front, 1 rear, 2 inside
    int32_t stamp; // from the name, else the file's time
};

// YYYYMMDD_HHMMSS anywhere in the name, read as UTC (the recorder writes wall-clock time so).
bool StampOf(const std::string &n, int32_t *out) {
    for (size_t i = 0; i + 15 <= n.size(); i++) {
        int y, mo, d, h, mi, s;
        if (sscanf(n.c_str() + i, "%4d%2d%2d_%2d%2d%2d", &y, &mo, &d, &h, &mi, &s) == 6 && y >= 1970 &&
            mo >= 1 && mo <= 12 && d >= 1 && d <= 31 && h < 24 && mi < 60 && s < 60) {
            struct tm tm = {};
            tm.tm_year = y - 1900;
            tm.tm_mon = mo - 1;
            tm.tm_mday = d;
            tm.tm_hour = h;
            tm.tm_min = mi;
            tm.tm_sec = s;
            *out = (int32_t)timegm(&tm);
            return true;
        }
    }
    return false;
}

bool EndsWith(const std::string &s, const char *suffix) {
    size_t n = strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

// Every media file on both cards, sorted by card, kind, camera and name.
std::vector<MediaFile> Scan() {
    std::vector<MediaFile> out;
    for (uint32_t stor = 0; stor < 2; stor++)
        for (int photo = 0; photo < 2; photo++)
            for (int cam = 0; cam < 3; cam++) {
                std::string dir =
                    std::string(kCards[stor]) + "/DCIM/" + (photo ? "201photo/" : "200video/") + kCams[cam];
                DIR *d = opendir(dir.c_str());
                if (d == nullptr)
                    continue;
                std::vector<std::string> names;
                while (dirent *e = readdir(d)) {
                    std::string n = e->d_name;
                    if (EndsWith(n, photo ? ".jpg" : ".mp4") && n.size() < 64)
                        names.push_back(n);
                }
                closedir(d);
                std::sort(names.begin(), names.end());
                for (const auto &n : names) {
                    MediaFile f{n, dir + "/" + n, stor, photo != 0, cam, 0};
                    struct stat st;
                    if (!StampOf(n, &f.stamp) && stat(f.path.c_str(), &st) == 0)
                        f.stamp = (int32_t)st.st_mtime;
                    out.push_back(f);
                }
            }
    return out;
}

// Which raw list a file belongs to: 0 recordings, 1 snapshot events, 2 emergency events.
int ListOf(const MediaFile &f) {
    const std::string &n = f.name;
    if (n.rfind("N_", 0) == 0 || n.rfind("R_", 0) == 0)
        return 1;
    if (n.rfind("G_", 0) == 0 || n.rfind("U_", 0) == 0)
        return 2;
    return f.photo ? 1 : 0;
}

uint32_t KindOf(const MediaFile &f, int list) {
    bool rear = f.cam == 1;
    if (f.photo)
        return rear ? 42 : 39;
    if (list == 0)
        return rear ? 2 : 0;
    return rear ? 8 : 6;
}

void PutEntry(std::string &buf, const MediaFile &f, int list, const std::string &related) {
    char e[152] = {};
    uint32_t kind = KindOf(f, list);
    memcpy(e, &kind, 4);
    snprintf(e + 4, 64, "%s", f.name.c_str());
    snprintf(e + 68, 64, "%s", related.c_str());
    memcpy(e + 132, &f.stamp, 4);
    memcpy(e + 148, &f.stor, 4);
    buf.append(e, sizeof(e));
}

} // namespace

// Seconds of a clip (FFmpeg's probe), remembered by path.
uint32_t ClipSeconds(const std::string &path) {
    static std::mutex mu;
    static std::map<std::string, uint32_t> known;
    {
        std::lock_guard<std::mutex> l(mu);
        auto it = known.find(path);
        if (it != known.end())
            return it->second;
    }
    std::string cmd = "ffprobe -v error -show_entries format=duration -of csv=p=0 '" + path + "' 2>/dev/null";
    uint32_t secs = 0;
    if (FILE *p = popen(cmd.c_str(), "r")) {
        double d = 0;
        if (fscanf(p, "%lf", &d) == 1 && d > 0 && d < 86400)
            secs = (uint32_t)(d + 0.5);
        pclose(p);
    }
    std::lock_guard<std::mutex> l(mu);
    known[path] = secs;
    return secs;
}

namespace {

void PutCategory(std::string &buf, const MediaFile &clip) {
    char e[1224] = {};
    snprintf(e, 128, "%s", clip.path.c_str() + strlen(SYS_PATH("")));
    uint32_t start = (uint32_t)clip.stamp, dur = ClipSeconds(clip.path), end = start + dur, count = 1;
    memcpy(e + 128, &start, 4);
    memcpy(e + 132, &end, 4);
    snprintf(e + 1088, 128, "%s", clip.name.c_str());
    memcpy(e + 1216, &dur, 4);
    memcpy(e + 1220, &count, 4);
    buf.append(e, sizeof(e));
}

bool WriteFile(const char *path, const std::string &data) {
    std::string tmp = std::string(path) + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        if (!f.write(data.data(), (std::streamsize)data.size()))
            return false;
    }
    return rename(tmp.c_str(), path) == 0;
}

// Rewrites both list files; where[list] = {count, offset, catCount, catOffset}.
std::mutex g_listMu;
bool WriteLists(uint32_t where[4][4]) {
    std::vector<MediaFile> files = Scan();
    std::string lists, cats;
    memset(where, 0, sizeof(uint32_t) * 16);
    for (int list = 0; list < 4; list++) {
        where[list][1] = (uint32_t)lists.size();
        where[list][3] = (uint32_t)cats.size();
        for (const auto &f : files) {
            if (ListOf(f) != list)
                continue;
            // An event photo names the clip of the same name.
            std::string related;
            if (f.photo && list > 0)
                related = f.name.substr(0, f.name.size() - 4) + ".mp4";
            PutEntry(lists, f, list, related);
            where[list][0]++;
            if (list > 0 && !f.photo) {
                PutCategory(cats, f);
                where[list][2]++;
            }
        }
    }
    return WriteFile(SYS_PATH_FILELIST, lists) && WriteFile(SYS_PATH_CATFILELIST, cats);
}

int ListQuery(int list, bool withCat, const MsgHeader *hdr) {
    uint32_t where[4][4];
    std::lock_guard<std::mutex> l(g_listMu);
    if (!WriteLists(where))
        return AnswerResult(hdr, -1);
    cJSON *body = cJSON_CreateObject();
    cJSON_AddNumberToObject(body, "filecount", where[list][0]);
    cJSON_AddNumberToObject(body, "offsetaddr", where[list][1]);
    if (withCat) {
        cJSON_AddNumberToObject(body, "catfilecount", where[list][2]);
        cJSON_AddNumberToObject(body, "catfileoffsetaddr", where[list][3]);
    }
    return Answer(hdr, body);
}

int OnRecList(const char *, const MsgHeader *h) {
    return ListQuery(0, false, h);
}
int OnSnapList(const char *, const MsgHeader *h) {
    return ListQuery(1, true, h);
}
int OnEmerList(const char *, const MsgHeader *h) {
    return ListQuery(2, true, h);
}
int OnRadaList(const char *, const MsgHeader *h) {
    return ListQuery(3, true, h);
}

std::string TextIn(const char *msg, const char *key) {
    cJSON *root = cJSON_Parse(msg);
    std::string v = TextOr(root, key, "");
    cJSON_Delete(root);
    return v;
}

// A path the user interface names must lie below the root (its own tree on this machine).
bool Inside(const std::string &p) {
    std::string root = SYS_PATH("");
    return !p.empty() && p.find("..") == std::string::npos && p.compare(0, root.size(), root) == 0;
}

int OnRelatedCnt(const char *msg, const MsgHeader *h) {
    std::string name = TextIn(msg, "filename");
    std::string stem = name.substr(0, name.rfind('.'));
    int n = 0;
    for (const auto &f : Scan())
        if (!stem.empty() && f.name.compare(0, stem.size(), stem) == 0)
            n++;
    cJSON *body = cJSON_CreateObject();
    cJSON_AddNumberToObject(body, "filecount", n);
    return Answer(h, body);
}

// Runs FFmpeg with the arguments; true when it made out.
bool Ffmpeg(const std::vector<std::string> &args, const std::string &out) {
    std::vector<char *> argv;
    std::vector<std::string> all = {"ffmpeg", "-loglevel", "error", "-y"};
    all.insert(all.end(), args.begin(), args.end());
    for (auto &a : all)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid;
    int rc = posix_spawnp(&pid, "ffmpeg", &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0)
        return false;
    int st = 0;
    waitpid(pid, &st, 0);
    return WIFEXITED(st) && WEXITSTATUS(st) == 0 && access(out.c_str(), F_OK) == 0;
}

// Pictures are written under a temporary name and renamed, so the user interface never reads a
// half-written one.
int MakePicture(const char *msg, const MsgHeader *h, const char *srcKey, const char *dstKey, bool rgba) {
    std::string src = TextIn(msg, srcKey), dst = TextIn(msg, dstKey);
    if (!Inside(src) || !Inside(dst) || access(src.c_str(), R_OK) != 0)
        return AnswerResult(h, -1);
    std::string tmp = dst + ".part";
    bool ok;
    if (rgba)
        ok = Ffmpeg(
            {"-i", src, "-vf", "scale=640:360", "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgba", tmp},
            tmp);
    else
        ok = Ffmpeg({"-i", src, "-vf", "scale=144:88", "-frames:v", "1", "-f", "mjpeg", tmp}, tmp);
    ok = ok && rename(tmp.c_str(), dst.c_str()) == 0;
    if (!ok)
        unlink(tmp.c_str());
    return AnswerResult(h, ok ? 0 : -1);
}

int OnThumb(const char *msg, const MsgHeader *h) {
    return MakePicture(msg, h, "filepath", "thumbpath", false);
}
int OnPhoto(const char *msg, const MsgHeader *h) {
    return MakePicture(msg, h, "photo_path", "date_path", true);
}

std::mutex g_knownMu;
std::set<std::string> g_known; // paths announced so far (the watcher's view)

void SendDeleted(const std::string &name, int result) {
    cJSON *body = cJSON_CreateObject();
    cJSON_AddNumberToObject(body, "result", result);
    cJSON_AddStringToObject(body, "filename", name.c_str());
    SendMsg("IPCMSG_DELFILE_MSG", body);
}

int OnDelete(const char *msg, const MsgHeader *) {
    cJSON *root = cJSON_Parse(msg);
    const cJSON *files = cJSON_GetObjectItemCaseSensitive(root, "file");
    std::vector<std::string> names;
    const cJSON *it;
    cJSON_ArrayForEach(it, files) names.push_back(TextOr(it, "filename", ""));
    cJSON_Delete(root);
    for (const auto &name : names) {
        bool done = false;
        for (const auto &f : Scan())
            if (f.name == name && unlink(f.path.c_str()) == 0) {
                std::lock_guard<std::mutex> l(g_knownMu);
                g_known.erase(f.path);
                done = true;
            }
        SendDeleted(name, done ? 0 : -1);
    }
    return 0;
}

int OnClearUsed(const char *, const MsgHeader *) {
    return 0;
}

const VYX_IPCMSG_HandlerRow kResponders[] = {
    {"GET_REC_LIST", OnRecList},           {"GET_SNAP_EVENT_LIST", OnSnapList},
    {"GET_EMER_EVENT_LIST", OnEmerList},   {"GET_RADA_EVENT_LIST", OnRadaList},
    {"GET_RELATEDFILE_CNT", OnRelatedCnt}, {"IPCMSG_GETMP4_THUMB", OnThumb},
    {"IPCMSG_GETJPG_THUMB", OnThumb},      {"IPCMSG_GETPHOTO_DATE", OnPhoto},
    {"IPCMSG_DELETE_FILES", OnDelete},     {"CLEAR_REC_LIST_USEDFLAG", OnClearUsed},
};

// ---- making media ----------------------------------------------------------------------------

bool MkDirs(const std::string &path) {
    for (size_t i = 1; i <= path.size(); i++)
        if (i == path.size() || path[i] == '/')
            if (mkdir(path.substr(0, i).c_str(), 0777) != 0 && errno != EEXIST)
                return false;
    return true;
}

std::string Stamp(time_t t) {
    char b[32];
    struct tm tm;
    gmtime_r(&t, &tm);
    strftime(b, sizeof(b), "%Y%m%d_%H%M%S", &tm);
    return b;
}

// A short clip (a moving test picture with the time burnt in) or a photo of it.
bool MakeClip(const std::string &path, int seconds, int hue) {
    return MkDirs(path.substr(0, path.rfind('/'))) &&
           Ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=320x180:rate=10:duration=" + std::to_string(seconds),
                   "-vf", "hue=h=" + std::to_string(hue), "-c:v", "mpeg4", "-q:v", "5", path},
                  path);
}

bool MakePhoto(const std::string &path, int hue) {
    return MkDirs(path.substr(0, path.rfind('/'))) &&
           Ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=640x360", "-vf", "hue=h=" + std::to_string(hue),
                   "-frames:v", "1", path},
                  path);
}

std::string CheckGenerate(std::vector<std::string> &a) {
    long v;
    if (a.size() != 2 || !ParseLong(a[0], &v) || v < 0 || v > 2000 || !ParseLong(a[1], &v) || v < 0 ||
        v > 2000)
        return "media-generate needs CLIPS PHOTOS (0 to 2000 each)";
    return "";
}

// CLIPS recordings (front and rear by turns, one minute apart, on both cards) and PHOTOS event
// photos, each snapshot and emergency photo with its clip.
bool RunGenerate(const std::vector<std::string> &a) {
    long clips = std::stol(a[0]), photos = std::stol(a[1]);
    time_t t = 1767261154; // 2026-01-01 09:52:34
    for (long i = 0; i < clips; i++, t += 60) {
        const char *card = kCards[i % 4 < 2 ? 0 : 1];
        bool rear = i % 2 == 1;
        std::string name = Stamp(t) + (rear ? "_A.mp4" : ".mp4");
        if (!MakeClip(std::string(card) + "/DCIM/200video/" + (rear ? "rear/" : "front/") + name, 2,
                      (int)(i * 37 % 360)))
            return false;
    }
    static const char *const prefixes[] = {"N_", "R_", "G_", "U_"};
    for (long i = 0; i < photos; i++, t += 60) {
        const char *prefix = prefixes[i % 4];
        bool rear = prefix[0] == 'R' || prefix[0] == 'U';
        std::string stem = std::string(prefix) + Stamp(t), cam = rear ? "rear/" : "front/";
        std::string card = kCards[0];
        if (!MakePhoto(card + "/DCIM/201photo/" + cam + stem + ".jpg", (int)(i * 53 % 360)) ||
            !MakeClip(card + "/DCIM/200video/" + cam + stem + ".mp4", 2, (int)(i * 53 % 360)))
            return false;
    }
    return true;
}

// ---- watching the cards ---------------------------------------------------------------------

std::atomic<bool> g_watching{false};

void WatchOnce(bool announce) {
    std::set<std::string> now;
    std::vector<MediaFile> files = Scan();
    for (const auto &f : files)
        now.insert(f.path);
    std::lock_guard<std::mutex> l(g_knownMu);
    if (announce) {
        for (const auto &f : files)
            if (!g_known.count(f.path)) {
                cJSON *body = cJSON_CreateObject();
                cJSON_AddStringToObject(body, "filename", f.name.c_str());
                cJSON_AddNumberToObject(body, "storIndex", f.stor);
                SendMsg("IPCMSG_HASANEW_FILE", body);
            }
        for (const auto &p : g_known)
            if (!now.count(p))
                SendDeleted(p.substr(p.rfind('/') + 1), 0);
    }
    g_known = now;
}

std::string CheckWatch(std::vector<std::string> &a) {
    return a.size() == 1 && (a[0] == "on" || a[0] == "off") ? "" : "media-watch needs on or off";
}

// While on, the cards are looked at twice a second and every file that appears or vanishes is
// announced.
bool RunWatch(const std::vector<std::string> &a) {
    bool on = a[0] == "on";
    if (on && !g_watching.exchange(true)) {
        WatchOnce(false);
        std::thread([] {
            while (g_watching) {
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
                if (g_watching)
                    WatchOnce(true);
            }
        }).detach();
    } else if (!on) {
        g_watching = false;
    }
    return true;
}

std::string CheckClear(std::vector<std::string> &a) {
    return a.empty() ? "" : "media-clear takes no arguments";
}

// Empties the DCIM folders of both cards.
bool RunClear(const std::vector<std::string> &) {
    for (const char *card : kCards)
        for (const char *kind : {"200video", "201photo"})
            for (const char *cam : kCams) {
                std::string dir = std::string(card) + "/DCIM/" + kind + "/" + cam;
                DIR *d = opendir(dir.c_str());
                if (d == nullptr)
                    continue;
                while (dirent *e = readdir(d))
                    if (e->d_type != DT_DIR)
                        unlink((dir + "/" + e->d_name).c_str());
                closedir(d);
            }
    std::lock_guard<std::mutex> l(g_knownMu);
    g_known.clear();
    return true;
}

std::string CheckGone(std::vector<std::string> &a) {
    long v;
    return (a.size() == 1 || (a.size() == 2 && ParseLong(a[1], &v) && v >= 0)) && !a[0].empty() &&
                   a[0][0] == '/'
               ? ""
               : "expect-gone needs PATH (below the root) [TIMEOUT_MS]";
}

// Passes once the file is gone (the path is the device's, below the root).
bool RunGone(const std::vector<std::string> &a) {
    const std::string path = SYS_PATH("") + a[0];
    const long deadline = NowMs() + (a.size() == 2 ? std::stol(a[1]) : 5000);
    for (;;) {
        struct stat st;
        if (stat(path.c_str(), &st) != 0)
            return true;
        if (NowMs() >= deadline) {
            Log("album", a[0] + " is still there");
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string CheckMedia(std::vector<std::string> &a) {
    long v;
    return a.size() == 1 && ParseLong(a[0], &v) && v >= 0 ? "" : "expect-media needs COUNT";
}

// Passes when the cards hold exactly COUNT media files.
bool RunMedia(const std::vector<std::string> &a) {
    size_t n = Scan().size();
    if (n == (size_t)std::stol(a[0]))
        return true;
    Log("album", std::to_string(n) + " media files on the cards, not " + a[0]);
    return false;
}

const SimVerb kVerbs[] = {
    {"media-generate", "CLIPS PHOTOS",
     "make CLIPS recordings and PHOTOS event photos with their clips on the cards (FFmpeg)", CheckGenerate,
     RunGenerate},
    {"media-watch", "on|off", "announce files that appear on or vanish from the cards", CheckWatch, RunWatch},
    {"media-clear", "", "remove every file from both cards' DCIM folders", CheckClear, RunClear},
    {"expect-gone", "PATH [TIMEOUT_MS]", "fail unless the file PATH (below the root) is gone within the time",
     CheckGone, RunGone},
    {"expect-media", "COUNT", "fail unless the cards hold exactly COUNT media files", CheckMedia, RunMedia},
};

} // namespace

const SimFamily kFamily_album = {
    "album",
    "Answers the album's list queries from the cards /app/sd and /mnt/sd below the root (writes\n"
    "/tmp/filelist_info and /tmp/catfilelist_info first), makes thumbnails (144x88 JPEG) and photo\n"
    "bitmaps (640x360 RGBA) with FFmpeg, deletes files for real and confirms with IPCMSG_DELFILE_MSG.",
    kResponders,
    sizeof(kResponders) / sizeof(kResponders[0]),
    kVerbs,
    sizeof(kVerbs) / sizeof(kVerbs[0]),
    nullptr,
};

} // namespace sim
