/* Player: "IPCMSG_PLAYBACK_CTRL" drives a player state machine kept in "player" of the state
 * document: 0 closed, 1 open, 2 prepared, 3 playing, 4 paused, 5 stopped, 6 ended. A playing clip
 * ends when its time has run (FFmpeg's probe of the file). "playback_getplaystate" answers the
 * states as the user interface reads them: 3 playing, 5 paused, 9 ended, 6 stopped, 7 prepared,
 * 1 open. The clip is shown in display_sink's video layer (--sink-control), following play,
 * pause, seek and stop. */
#include "recorder_sim.h"

#include <mutex>

namespace sim {

namespace {

enum { CLOSED = 0, OPEN = 1, PREPARED = 2, PLAYING = 3, PAUSED = 4, STOPPED = 5, ENDED = 6 };

// What "playback_getplaystate" answers for each state.
int Reported(int s) {
    static const int kReported[] = {-1, 1, 7, 3, 5, 6, 9};
    return s >= 0 && s <= ENDED ? kReported[s] : -1;
}

// The clip's play clock (not part of the state document: it is wall time).
std::mutex g_clockMu;
long g_startMs = 0;  // when playing from g_baseMs began
long g_baseMs = 0;   // position when the clock last started or stopped
long g_lengthMs = 0; // the clip's length, 0 unknown (never ends)

long PositionMs(bool playing) {
    std::lock_guard<std::mutex> l(g_clockMu);
    return playing ? g_baseMs + (NowMs() - g_startMs) : g_baseMs;
}

void ClockSet(long posMs) {
    std::lock_guard<std::mutex> l(g_clockMu);
    g_baseMs = posMs;
    g_startMs = NowMs();
}

void ClockFreeze() {
    std::lock_guard<std::mutex> l(g_clockMu);
    g_baseMs += NowMs() - g_startMs;
}

void Show(const std::string &cmd) {
    SinkCommand("clip " + cmd); // without --sink-control nothing is shown
}

void AddDefaults(cJSON *state) {
    StateGuard st;
    cJSON *p = st.Section("player");
    if (!cJSON_IsNumber(cJSON_GetObjectItemCaseSensitive(p, "state")))
        SetNumber(p, "state", CLOSED);
    if (!cJSON_IsString(cJSON_GetObjectItemCaseSensitive(p, "file")))
        SetText(p, "file", "");
    if (!cJSON_IsNumber(cJSON_GetObjectItemCaseSensitive(p, "position")))
        SetNumber(p, "position", 0);
    (void)state;
}

bool In(int s, std::initializer_list<int> set) {
    for (int x : set)
        if (s == x)
            return true;
    return false;
}

// The answer's result for one command; the state moves only when the command is accepted.
int Apply(const std::string &key, const std::string &value) {
    StateGuard st;
    cJSON *p = st.Section("player");
    int s = (int)NumberOr(p, "state", CLOSED);
    int next = s;
    int result = 0;
    long pos = 0;
    if (key == "playback_init") {
        next = OPEN;
    } else if (key == "playback_deinit") {
        next = CLOSED;
        result = s == CLOSED ? -1 : 0;
        if (result == 0)
            Show("stop");
    } else if (key == "playback_prepare") {
        result = s != CLOSED && !value.empty() ? 0 : -1;
        if (result == 0) {
            next = PREPARED;
            SetText(p, "file", value);
            SetNumber(p, "position", 0);
            std::lock_guard<std::mutex> l(g_clockMu);
            g_lengthMs = value.find('\'') == std::string::npos ? 1000L * ClipSeconds(value) : 0;
        }
    } else if (key == "playback_play") {
        result = In(s, {PREPARED, STOPPED, ENDED}) ? 0 : -1;
        next = PLAYING;
        if (result == 0) {
            ClockSet(0);
            Show("open " + TextOr(p, "file", ""));
        }
    } else if (key == "playback_resume") {
        result = s == PAUSED ? 0 : -1;
        next = PLAYING;
        if (result == 0) {
            ClockSet(PositionMs(false));
            Show("resume");
        }
    } else if (key == "playback_pause") {
        result = s == PLAYING ? 0 : -1;
        next = PAUSED;
        if (result == 0) {
            ClockFreeze();
            SetNumber(p, "position", (double)PositionMs(false));
            Show("pause");
        }
    } else if (key == "playback_stop") {
        result = In(s, {PREPARED, PLAYING, PAUSED, STOPPED, ENDED}) ? 0 : -1;
        next = STOPPED;
        if (result == 0)
            Show("stop");
    } else if (key == "playback_seek") {
        result =
            In(s, {PREPARED, PLAYING, PAUSED, STOPPED, ENDED}) && ParseLong(value, &pos) && pos >= 0 ? 0 : -1;
        if (result == 0) {
            SetNumber(p, "position", (double)pos);
            ClockSet(pos);
            if (In(s, {PLAYING, PAUSED}))
                Show("seek " + std::to_string(pos));
        }
    } else if (key == "playback_getplaystate") {
        if (s == PLAYING) {
            long len;
            {
                std::lock_guard<std::mutex> l(g_clockMu);
                len = g_lengthMs;
            }
            long at = PositionMs(true);
            if (len > 0 && at >= len) {
                // The clip has run to its end: its last picture stays.
                SetNumber(p, "state", ENDED);
                SetNumber(p, "position", (double)len);
                Show("pause");
                return st.Store() ? Reported(ENDED) : -1;
            }
        }
        return Reported(s);
    } else {
        result = -1;
    }
    if (result != 0)
        return result;
    SetNumber(p, "state", next);
    return st.Store() ? 0 : -1;
}

int RespondPlayer(const char *msg, const MsgHeader *hdr) {
    std::string key, value;
    const int result = FirstStringParam(msg, &key, &value) ? Apply(key, value) : -1;
    return AnswerResult(hdr, result);
}

const VYX_IPCMSG_HandlerRow kResponders[] = {
    {"IPCMSG_PLAYBACK_CTRL", RespondPlayer},
};

} // namespace

const SimFamily kFamily_player = {
    "player",
    "IPCMSG_PLAYBACK_CTRL drives \"player\" {state, file, position}: states 0 closed, 1 open,\n"
    "2 prepared, 3 playing, 4 paused, 5 stopped, 6 ended. init opens; deinit closes an open player;\n"
    "prepare PATH (open, non-empty path); play from prepared, stopped or ended; pause from playing;\n"
    "resume from paused; stop and seek MS once prepared; a playing clip ends when its time has run.\n"
    "getplaystate answers 3 playing, 5 paused, 9 ended, 6 stopped, 7 prepared, 1 open (-1 closed).\n"
    "The clip plays in display_sink's video layer (--sink-control). A command the state does not\n"
    "allow is answered -1 and changes nothing.",
    kResponders,
    sizeof(kResponders) / sizeof(kResponders[0]),
    nullptr,
    0,
    AddDefaults,
};

} // namespace sim
