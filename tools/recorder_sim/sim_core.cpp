/* The core services of the families: output, sending, the state document, mute list. */
#include "recorder_sim.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>

namespace sim {

namespace {

std::mutex g_logMu;
std::vector<std::string> g_received;
const auto g_t0 = std::chrono::steady_clock::now();

std::recursive_mutex g_stateMu;
cJSON *g_state = nullptr;
std::string g_statePath;

} // namespace

const std::vector<const SimFamily *> &Families() {
    static const std::vector<const SimFamily *> s_families = {
#define SIM_FAMILY(id) &kFamily_##id,
#include "families.def"
#undef SIM_FAMILY
    };
    return s_families;
}

long NowMs() {
    return (long)std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                       g_t0)
        .count();
}

void Log(const char *dir, const std::string &text) {
    std::lock_guard<std::mutex> l(g_logMu);
    printf("recorder_sim %6ld ms %s %s\n", NowMs(), dir, text.c_str());
    fflush(stdout);
}

void LogReceived(const char *msg) {
    {
        std::lock_guard<std::mutex> l(g_logMu);
        g_received.emplace_back(msg);
    }
    Log("recv", msg);
}

std::vector<std::string> Received() {
    std::lock_guard<std::mutex> l(g_logMu);
    return g_received;
}

int SendText(const std::string &text) {
    int r = VYX_IPCMSG_SendNoRsp(text.c_str(), (uint32_t)text.size() + 1);
    Log(r == 0 ? "sent" : "SEND FAILED", text);
    return r;
}

static int SendWithHeader(const MsgHeader &h, cJSON *body) {
    char *text = VYX_IPCMSG_BuildMsg(&h, body);
    if (text == nullptr)
        return -1;
    int r = SendText(text);
    cJSON_free(text);
    return r;
}

int SendMsg(const char *msgID, cJSON *body) {
    // Every message of its own gets a transID of its own: the clock's seconds, moved past the
    // last one used when several messages go out in the same second.
    static std::mutex mu;
    static uint32_t last;
    MsgHeader h;
    VYX_IPCMSG_InitHeader(&h, msgID, 0, 0);
    {
        std::lock_guard<std::mutex> l(mu);
        if (h.transID <= last)
            h.transID = last + 1;
        last = h.transID;
    }
    return SendWithHeader(h, body);
}

int Answer(const MsgHeader *req, cJSON *body) {
    MsgHeader h;
    VYX_IPCMSG_InitHeader(&h, req->msgID, 1, 0);
    h.transID = req->transID;
    return SendWithHeader(h, body);
}

int AnswerResult(const MsgHeader *req, int result) {
    cJSON *body = cJSON_CreateObject();
    cJSON_AddNumberToObject(body, "result", result);
    return Answer(req, body);
}

bool ParseLong(const std::string &s, long *out) {
    if (s.empty() || s.size() > 11)
        return false;
    char *end = nullptr;
    errno = 0;
    long v = strtol(s.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0')
        return false;
    *out = v;
    return true;
}

int SendKeyValues(const char *msgID, const std::vector<std::pair<std::string, std::string>> &items) {
    cJSON *ints = cJSON_CreateArray(), *strs = cJSON_CreateArray();
    for (const auto &kv : items) {
        long n;
        bool number = ParseLong(kv.second, &n);
        cJSON *item = cJSON_CreateObject();
        cJSON_AddStringToObject(item, "key", kv.first.c_str());
        if (number)
            cJSON_AddNumberToObject(item, "value", (double)n);
        else
            cJSON_AddStringToObject(item, "value", kv.second.c_str());
        cJSON_AddItemToArray(number ? ints : strs, item);
    }
    cJSON *body = cJSON_CreateObject();
    cJSON_AddItemToObject(body, "int_params", ints);
    cJSON_AddItemToObject(body, "string_params", strs);
    return SendMsg(msgID, body);
}

bool FirstStringParam(const char *msg, std::string *key, std::string *value) {
    cJSON *req = cJSON_Parse(msg);
    const cJSON *arr = cJSON_GetObjectItemCaseSensitive(req, "string_params");
    const cJSON *first = cJSON_IsArray(arr) ? cJSON_GetArrayItem(arr, 0) : nullptr;
    const cJSON *k = cJSON_GetObjectItemCaseSensitive(first, "key");
    const cJSON *v = cJSON_GetObjectItemCaseSensitive(first, "value");
    bool ok = cJSON_IsString(k);
    if (ok) {
        *key = k->valuestring;
        *value = cJSON_IsString(v) ? v->valuestring : "";
    }
    cJSON_Delete(req);
    return ok;
}

bool ParsePairs(const std::vector<std::string> &args, std::vector<std::pair<std::string, std::string>> *out) {
    out->clear();
    if (args.empty())
        return false;
    if (args[0].find('=') == std::string::npos) {
        // KEY VALUE (the value may hold blanks)
        if (args.size() < 2)
            return false;
        std::string v = args[1];
        for (size_t i = 2; i < args.size(); i++)
            v += " " + args[i];
        out->emplace_back(args[0], v);
        return true;
    }
    for (const auto &a : args) {
        size_t eq = a.find('=');
        if (eq == std::string::npos || eq == 0)
            return false;
        out->emplace_back(a.substr(0, eq), a.substr(eq + 1));
    }
    return true;
}

// ---- mute list ----

static std::mutex g_muteMu;
static std::set<std::string> g_muted;

bool IsMuted(const char *msgID) {
    std::lock_guard<std::mutex> l(g_muteMu);
    return g_muted.count(msgID) != 0;
}

void SetMuted(const std::string &msgID, bool muted) {
    std::lock_guard<std::mutex> l(g_muteMu);
    if (muted)
        g_muted.insert(msgID);
    else
        g_muted.erase(msgID);
}

// ---- state document ----

StateGuard::StateGuard() {
    g_stateMu.lock();
}
StateGuard::~StateGuard() {
    g_stateMu.unlock();
}
cJSON *StateGuard::Root() const {
    if (g_state == nullptr)
        g_state = cJSON_CreateObject();
    return g_state;
}
cJSON *StateGuard::Section(const char *name) const {
    cJSON *root = Root();
    cJSON *s = cJSON_GetObjectItemCaseSensitive(root, name);
    if (!cJSON_IsObject(s)) {
        cJSON_DeleteItemFromObjectCaseSensitive(root, name);
        s = cJSON_AddObjectToObject(root, name);
    }
    return s;
}

bool StateGuard::Store() const {
    if (g_statePath.empty())
        return true;
    char *text = cJSON_Print(Root());
    if (text == nullptr)
        return false;
    std::string tmp = g_statePath + ".tmp";
    FILE *f = fopen(tmp.c_str(), "w");
    bool ok = f != nullptr && fputs(text, f) >= 0 && fputc('\n', f) != EOF;
    if (f != nullptr) {
        ok = fflush(f) == 0 && fsync(fileno(f)) == 0 && ok;
        if (fclose(f) != 0)
            ok = false;
    }
    cJSON_free(text);
    if (ok && rename(tmp.c_str(), g_statePath.c_str()) != 0)
        ok = false;
    if (!ok) {
        fprintf(stderr, "recorder_sim: cannot write %s: %s\n", g_statePath.c_str(), strerror(errno));
        unlink(tmp.c_str());
    }
    return ok;
}

bool StateOpen(const std::string &path) {
    StateGuard st;
    g_statePath = path;
    std::ifstream in(path);
    if (in) {
        std::stringstream ss;
        ss << in.rdbuf();
        cJSON *root = cJSON_Parse(ss.str().c_str());
        if (!cJSON_IsObject(root)) {
            fprintf(stderr, "recorder_sim: %s is not a JSON object\n", path.c_str());
            cJSON_Delete(root);
            return false;
        }
        cJSON_Delete(g_state);
        g_state = root;
    }
    for (const SimFamily *f : Families())
        if (f->defaults != nullptr)
            f->defaults(st.Root());
    return st.Store();
}

const std::string &StatePath() {
    return g_statePath;
}

double NumberOr(const cJSON *obj, const char *key, double fallback) {
    const cJSON *v = cJSON_GetObjectItemCaseSensitive(obj, key);
    return cJSON_IsNumber(v) ? v->valuedouble : fallback;
}

std::string TextOr(const cJSON *obj, const char *key, const std::string &fallback) {
    const cJSON *v = cJSON_GetObjectItemCaseSensitive(obj, key);
    return cJSON_IsString(v) ? std::string(v->valuestring) : fallback;
}

void SetNumber(cJSON *obj, const char *key, double v) {
    cJSON_DeleteItemFromObjectCaseSensitive(obj, key);
    cJSON_AddNumberToObject(obj, key, v);
}

void SetText(cJSON *obj, const char *key, const std::string &v) {
    cJSON_DeleteItemFromObjectCaseSensitive(obj, key);
    cJSON_AddStringToObject(obj, key, v.c_str());
}

} // namespace sim
