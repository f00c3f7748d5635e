/*
 * recorder_sim: the recorder process on a development machine.
 *
 * The core (main.cpp, sim_core.cpp) runs the IPC agent with the queues the other way round,
 * creates the start marker, keeps the state document and plays scenarios and the interactive
 * prompt. Everything a recorder answers or sends lives in responder families, one source file
 * each (family_<id>.cpp), each defining a SimFamily registered with one line in families.def:
 * its responders (message id -> answer), its scenario verbs and its part of the state document.
 */
#ifndef RECORDER_SIM_H
#define RECORDER_SIM_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <cjson/cJSON.h>

#include "vyx_ipcmsg.h"

namespace sim {

/* A scenario verb: "<name> args..." on a scenario line or at the interactive prompt. */
struct SimVerb {
    const char *name;
    const char *usage; /* arguments, for --help */
    const char *help;  /* one line */
    /* Checks (and may normalise) the arguments before anything runs: "" or the error. */
    std::string (*check)(std::vector<std::string> &args);
    /* Runs the step; false when it failed. */
    bool (*run)(const std::vector<std::string> &args);
};

struct SimFamily {
    const char *name;
    const char *help; /* a few lines for --help and the README */
    const VYX_IPCMSG_HandlerRow *responders;
    size_t responderCount;
    const SimVerb *verbs;
    size_t verbCount;
    /* Adds what is missing of its part of the state document (may be null). */
    void (*defaults)(cJSON *state);
};

#define SIM_FAMILY(id) extern const SimFamily kFamily_##id;
#include "families.def"
#undef SIM_FAMILY

/* Every family, in families.def order. */
const std::vector<const SimFamily *> &Families();

/* ---- output and sending ---- */

long NowMs();
/* "recorder_sim <ms> ms <dir> <text>" on standard output. */
void Log(const char *dir, const std::string &text);
/* Records and logs a received request (for expect-log). */
void LogReceived(const char *msg);
/* Every received text so far (copy). */
std::vector<std::string> Received();

/* Sends a document as it is (message type 1, no answer awaited); the agent's result. */
int SendText(const std::string &text);
/* Sends {"msgHdr":..., body...}; body is consumed. */
int SendMsg(const char *msgID, cJSON *body);
/* Answers a request: its id and transaction id, "isAck" 1; body is consumed. */
int Answer(const MsgHeader *req, cJSON *body);
/* Answers {"result": result}. */
int AnswerResult(const MsgHeader *req, int result);
/* Builds {"int_params":[...], "string_params":[...]} from key=value pairs (a value that is a
 * whole number goes to "int_params") and sends it with msgID. */
int SendKeyValues(const char *msgID, const std::vector<std::pair<std::string, std::string>> &items);
/* The first {"key", "value"} of a request's "string_params" (control and player requests): false
 * when there is none with a text key; a missing value reads as "". */
bool FirstStringParam(const char *msg, std::string *key, std::string *value);
/* Splits "key=value" words (or the two words KEY VALUE); false when malformed. */
bool ParsePairs(const std::vector<std::string> &args, std::vector<std::pair<std::string, std::string>> *out);

/* Requests of a muted id get no answer, as from a recorder that ignores them (mute verb). */
bool IsMuted(const char *msgID);
void SetMuted(const std::string &msgID, bool muted);

/* Keys (family_keys.cpp): the code of "OK", "NEXT", "PREV", "BACK" (-1 otherwise), and one key
 * event. Two key events are never sent closer than SetKeyHold's time (default 80 ms): the user
 * interface's key timer keeps the last event of each 30 ms period, so a release sent right after
 * its press would overtake or replace it. */
int KeyCode(const std::string &name);
int SendKey(int code, bool press);
void SetKeyHold(int ms);

/* One command line to display_sink's control FIFO (--sink-control); false without one or when
 * it cannot be written. */
bool SinkCommand(const std::string &line);
/* Camera family (family_camera.cpp): a saved number setting, so that the picture under the UI
 * follows "preview_camid". */
void CameraSettingChanged(const std::string &key, double value);

/* Album family (family_album.cpp): seconds of a clip by FFmpeg's probe (0 when unknown). */
uint32_t ClipSeconds(const std::string &path);

/* Upkeep family (family_upkeep.cpp): formats, factory resets and pairings of the linked camera
 * take their time and report as a recorder does. true when item is one of its control items;
 * *result is then the answer's "result". */
bool UpkeepControl(const std::string &item, const std::string &value, int *result);

/* ---- the state document ---- */

/* The state document, locked for as long as the guard lives. Store() writes it atomically (a
 * temporary file renamed over the old one). */
class StateGuard {
  public:
    StateGuard();
    ~StateGuard();
    StateGuard(const StateGuard &) = delete;
    StateGuard &operator=(const StateGuard &) = delete;
    cJSON *Root() const;
    /* The object member name of the root, created if missing. */
    cJSON *Section(const char *name) const;
    bool Store() const;
};

/* Loads the document from path (missing: empty), lets every family add its defaults, stores it.
 * false when the file exists but is not a JSON object. */
bool StateOpen(const std::string &path);
const std::string &StatePath();

/* Helpers for families. */
double NumberOr(const cJSON *obj, const char *key, double fallback);
std::string TextOr(const cJSON *obj, const char *key, const std::string &fallback);
void SetNumber(cJSON *obj, const char *key, double v);
void SetText(cJSON *obj, const char *key, const std::string &v);
bool ParseLong(const std::string &s, long *out);

} // namespace sim

#endif /* RECORDER_SIM_H */
