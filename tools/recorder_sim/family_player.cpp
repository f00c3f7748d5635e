/* Player: "IPCMSG_PLAYBACK_CTRL" drives a player state machine kept in "player" of the state
 * document: 0 closed, 1 open, 2 prepared, 3 playing, 4 paused, 5 stopped. */
#include "recorder_sim.h"

namespace sim {

namespace {

enum { CLOSED = 0, OPEN = 1, PREPARED = 2, PLAYING = 3, PAUSED = 4, STOPPED = 5 };

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
    } else if (key == "playback_prepare") {
        result = s != CLOSED && !value.empty() ? 0 : -1;
        if (result == 0) {
            next = PREPARED;
            SetText(p, "file", value);
            SetNumber(p, "position", 0);
        }
    } else if (key == "playback_play") {
        result = In(s, {PREPARED, STOPPED}) ? 0 : -1;
        next = PLAYING;
    } else if (key == "playback_resume") {
        result = s == PAUSED ? 0 : -1;
        next = PLAYING;
    } else if (key == "playback_pause") {
        result = s == PLAYING ? 0 : -1;
        next = PAUSED;
    } else if (key == "playback_stop") {
        result = In(s, {PREPARED, PLAYING, PAUSED, STOPPED}) ? 0 : -1;
        next = STOPPED;
    } else if (key == "playback_seek") {
        result = In(s, {PREPARED, PLAYING, PAUSED, STOPPED}) && ParseLong(value, &pos) && pos >= 0 ? 0 : -1;
        if (result == 0)
            SetNumber(p, "position", (double)pos);
    } else if (key == "playback_getplaystate") {
        return s == CLOSED ? -1 : s;
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
    "2 prepared, 3 playing, 4 paused, 5 stopped. init opens; deinit closes an open player;\n"
    "prepare PATH (open, non-empty path); play from prepared or stopped; pause from playing;\n"
    "resume from paused; stop and seek MS once prepared; getplaystate answers the state (-1 when\n"
    "closed). A command the state does not allow is answered -1 and changes nothing.",
    kResponders,
    sizeof(kResponders) / sizeof(kResponders[0]),
    nullptr,
    0,
    AddDefaults,
};

} // namespace sim
