/*
 * recorder_sim: the recorder process on a development machine. It runs the same IPC agent as
 * the user interface with the queues the other way round (receives on 0x362789A3, sends on
 * 0x362789A4), creates the start marker, answers requests through its responder table, and sends
 * status notices and key events, driven by a scenario file or interactively.
 */
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <cjson/cJSON.h>

#include "sys_paths.h"
#include "vyx_ipcmsg.h"

namespace {

const char kUsage[] =
    "usage: recorder_sim [options]\n"
    "  --scenario FILE      play FILE (one step a line, see below), then exit unless --stay\n"
    "  --interactive        arrow keys, Enter and Escape of this terminal become NEXT/PREV, OK, BACK\n"
    "                       (q quits)\n"
    "  --keys PATH          also read key lines (\"OK press\", \"BACK release\") from PATH, the\n"
    "                       key hook of display_sink --keys (a FIFO is created if missing)\n"
    "  --settings FILE      the settings, a JSON object of key -> number or text (default\n"
    "                       " SYS_PATH(
        "/tmp/recorder_sim_settings.json") ")\n"
                                           "  --sink-control FIFO  display_sink's control FIFO, for the shot "
                                           "step\n"
                                           "  --stay               keep answering after the scenario has "
                                           "ended (until SIGINT/SIGTERM)\n"
                                           "  --no-marker          do not create the start "
                                           "marker " SYS_PATH_READY2START_UI "\n"
                                           "  --help               this text\n"
                                           "Scenario steps (# starts a comment):\n"
                                           "  wait MS                          sleep MS milliseconds\n"
                                           "  status KEY VALUE                 IPCMSG_SYSTEMSTATUS with one "
                                           "int (number VALUE) or string item\n"
                                           "  press KEY | release KEY          key event; KEY is OK, NEXT, "
                                           "PREV or BACK\n"
                                           "  click KEY [HOLD_MS]              press, hold (default 100 ms), "
                                           "release\n"
                                           "  send JSON                        send the JSON document as it "
                                           "is\n"
                                           "  shot FILE                        ask display_sink for a "
                                           "screenshot in FILE\n"
                                           "  expect-file PATH [TIMEOUT_MS]    fail unless PATH exists "
                                           "within the time (default 5000)\n"
                                           "  expect-log TEXT [TIMEOUT_MS]     fail unless a received "
                                           "message contains TEXT within the time\n"
                                           "Exit status: 0 done, 1 a step failed, 2 bad usage or scenario.\n";

std::atomic<bool> g_stop{false};
std::mutex g_logMu;
std::vector<std::string> g_received; // every received text, for expect-log
std::string g_settingsPath = SYS_PATH("/tmp/recorder_sim_settings.json");
std::mutex g_settingsMu;
const auto g_t0 = std::chrono::steady_clock::now();

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

// Sends a document and logs it; returns the agent's result.
int SendText(const std::string &text) {
    int r = VYX_IPCMSG_SendNoRsp(text.c_str(), (uint32_t)text.size() + 1);
    Log(r == 0 ? "sent" : "SEND FAILED", text);
    return r;
}

int SendMsg(const char *msgID, uint32_t isAck, uint32_t transID, cJSON *body) {
    MsgHeader h;
    VYX_IPCMSG_InitHeader(&h, msgID, isAck, 0);
    if (isAck)
        h.transID = transID;
    char *text = VYX_IPCMSG_BuildMsg(&h, body);
    if (text == nullptr)
        return -1;
    int r = SendText(text);
    cJSON_free(text);
    return r;
}

// ---- settings -------------------------------------------------------------------------------

cJSON *LoadSettings() {
    std::ifstream in(g_settingsPath);
    if (!in)
        return cJSON_CreateObject();
    std::stringstream ss;
    ss << in.rdbuf();
    cJSON *root = cJSON_Parse(ss.str().c_str());
    if (!cJSON_IsObject(root)) {
        fprintf(stderr, "recorder_sim: %s is not a JSON object; starting from empty settings\n",
                g_settingsPath.c_str());
        cJSON_Delete(root);
        return cJSON_CreateObject();
    }
    return root;
}

bool StoreSettings(cJSON *root) {
    char *text = cJSON_Print(root);
    if (text == nullptr)
        return false;
    std::string tmp = g_settingsPath + ".tmp";
    FILE *f = fopen(tmp.c_str(), "w");
    bool ok = f != nullptr && fputs(text, f) >= 0;
    if (f != nullptr && fclose(f) != 0)
        ok = false;
    cJSON_free(text);
    if (ok && rename(tmp.c_str(), g_settingsPath.c_str()) != 0)
        ok = false;
    if (!ok)
        fprintf(stderr, "recorder_sim: cannot write %s: %s\n", g_settingsPath.c_str(), strerror(errno));
    return ok;
}

void LogReceived(const char *msg) {
    {
        std::lock_guard<std::mutex> l(g_logMu);
        g_received.emplace_back(msg);
    }
    Log("recv", msg);
}

// Query: answer the known values of the asked keys; keys never stored are left out.
int RespondSettingsQuery(const char *msg, const MsgHeader *hdr) {
    LogReceived(msg);
    cJSON *req = cJSON_Parse(msg);
    cJSON *ints = cJSON_CreateArray(), *strs = cJSON_CreateArray();
    std::lock_guard<std::mutex> l(g_settingsMu);
    cJSON *settings = LoadSettings();
    const cJSON *keys = cJSON_GetObjectItemCaseSensitive(req, "keys");
    const cJSON *k = nullptr;
    cJSON_ArrayForEach(k, keys) {
        const cJSON *key = cJSON_GetObjectItemCaseSensitive(k, "key");
        if (!cJSON_IsString(key))
            continue;
        const cJSON *v = cJSON_GetObjectItemCaseSensitive(settings, key->valuestring);
        if (v == nullptr)
            continue;
        cJSON *item = cJSON_CreateObject();
        cJSON_AddStringToObject(item, "key", key->valuestring);
        if (cJSON_IsNumber(v)) {
            cJSON_AddNumberToObject(item, "value", v->valuedouble);
            cJSON_AddItemToArray(ints, item);
        } else if (cJSON_IsString(v)) {
            cJSON_AddStringToObject(item, "value", v->valuestring);
            cJSON_AddItemToArray(strs, item);
        } else {
            cJSON_Delete(item);
        }
    }
    cJSON_Delete(settings);
    cJSON_Delete(req);
    cJSON *body = cJSON_CreateObject();
    cJSON_AddItemToObject(body, "int_params", ints);
    cJSON_AddItemToObject(body, "string_params", strs);
    return SendMsg(hdr->msgID, 1, hdr->transID, body);
}

// Save: store every {"key","value"} of "int_params" and "string_params"; result 0 when stored.
int RespondSettingsSave(const char *msg, const MsgHeader *hdr) {
    LogReceived(msg);
    cJSON *req = cJSON_Parse(msg);
    int result = -1;
    {
        std::lock_guard<std::mutex> l(g_settingsMu);
        cJSON *settings = LoadSettings();
        int stored = 0;
        for (const char *list : {"int_params", "string_params"}) {
            const cJSON *arr = cJSON_GetObjectItemCaseSensitive(req, list);
            if (!cJSON_IsArray(arr))
                continue;
            const cJSON *e = nullptr;
            cJSON_ArrayForEach(e, arr) {
                const cJSON *key = cJSON_GetObjectItemCaseSensitive(e, "key");
                const cJSON *val = cJSON_GetObjectItemCaseSensitive(e, "value");
                bool wantNumber = strcmp(list, "int_params") == 0;
                if (!cJSON_IsString(key) || (wantNumber ? !cJSON_IsNumber(val) : !cJSON_IsString(val)))
                    continue;
                cJSON_DeleteItemFromObjectCaseSensitive(settings, key->valuestring);
                cJSON_AddItemToObject(settings, key->valuestring, cJSON_Duplicate(val, 0));
                stored++;
            }
        }
        if (stored > 0 && StoreSettings(settings))
            result = 0;
        cJSON_Delete(settings);
    }
    cJSON_Delete(req);
    cJSON *body = cJSON_CreateObject();
    cJSON_AddNumberToObject(body, "result", result);
    return SendMsg(hdr->msgID, 1, hdr->transID, body);
}

/*
 * The responder table: one row per request the recorder answers. A request whose id has no row
 * gets no answer (the agent logs it), as a recorder that ignores it would do.
 */
const VYX_IPCMSG_HandlerRow kResponders[] = {
    {"IPCMSG_GENERALSETING_QUERY", RespondSettingsQuery},
    {"IPCMSG_GENERALSETING_SAVE", RespondSettingsSave},
};

// ---- notices and keys -----------------------------------------------------------------------

int KeyCode(const std::string &name) {
    if (name == "OK")
        return 0;
    if (name == "NEXT")
        return 2;
    if (name == "PREV")
        return 3;
    if (name == "BACK")
        return 6;
    return -1;
}

int SendKey(int code, bool press) {
    cJSON *body = cJSON_CreateObject();
    cJSON_AddNumberToObject(body, "keycode", code);
    cJSON_AddNumberToObject(body, "keyvalue", press ? 3 : 4);
    return SendMsg("IPCMSG_KEYEVENT", 0, 0, body);
}

// A number value goes into "int_params", anything else into "string_params".
int SendStatus(const std::string &key, const std::string &value) {
    char *end = nullptr;
    double d = strtod(value.c_str(), &end);
    bool number = !value.empty() && end != nullptr && *end == '\0';
    cJSON *item = cJSON_CreateObject();
    cJSON_AddStringToObject(item, "key", key.c_str());
    if (number)
        cJSON_AddNumberToObject(item, "value", d);
    else
        cJSON_AddStringToObject(item, "value", value.c_str());
    cJSON *ints = cJSON_CreateArray(), *strs = cJSON_CreateArray();
    cJSON_AddItemToArray(number ? ints : strs, item);
    cJSON *body = cJSON_CreateObject();
    cJSON_AddItemToObject(body, "int_params", ints);
    cJSON_AddItemToObject(body, "string_params", strs);
    return SendMsg("IPCMSG_SYSTEMSTATUS", 0, 0, body);
}

// ---- scenario -------------------------------------------------------------------------------

struct Step {
    int line;
    std::string op;
    std::vector<std::string> args; // for "send" the rest of the line as one argument
};

bool ParseUint(const std::string &s, long *out) {
    if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *out = std::stol(s);
    return true;
}

// Reads and checks the whole file before anything runs; errors name file and line.
bool ParseScenario(const std::string &path, std::vector<Step> *steps) {
    std::ifstream in(path);
    if (!in) {
        fprintf(stderr, "recorder_sim: cannot open scenario %s: %s\n", path.c_str(), strerror(errno));
        return false;
    }
    std::string text;
    int n = 0;
    bool ok = true;
    while (std::getline(in, text)) {
        n++;
        size_t b = text.find_first_not_of(" \t\r");
        if (b == std::string::npos || text[b] == '#')
            continue;
        text = text.substr(b, text.find_last_not_of(" \t\r") - b + 1);
        Step st{n, "", {}};
        std::istringstream ls(text);
        ls >> st.op;
        if (st.op == "send") {
            std::string rest = text.substr(4);
            rest.erase(0, rest.find_first_not_of(" \t"));
            st.args.push_back(rest);
        } else if (st.op == "expect-log") {
            // TEXT may hold spaces; a last word made of digits is the time-out.
            std::string rest = text.substr(10);
            rest.erase(0, rest.find_first_not_of(" \t"));
            size_t sp = rest.find_last_of(" \t");
            long v;
            if (sp != std::string::npos && ParseUint(rest.substr(sp + 1), &v)) {
                st.args = {rest.substr(0, rest.find_last_not_of(" \t", sp) + 1), rest.substr(sp + 1)};
            } else {
                st.args = {rest};
            }
        } else {
            std::string a;
            while (ls >> a)
                st.args.push_back(a);
        }
        const size_t na = st.args.size();
        long v;
        std::string err;
        if (st.op == "wait") {
            if (na != 1 || !ParseUint(st.args[0], &v))
                err = "wait needs a number of milliseconds";
        } else if (st.op == "status") {
            if (na < 2)
                err = "status needs KEY VALUE";
            for (size_t i = 2; i < na; i++)
                st.args[1] += " " + st.args[i];
            st.args.resize(2);
        } else if (st.op == "press" || st.op == "release") {
            if (na != 1 || KeyCode(st.args[0]) < 0)
                err = st.op + " needs one of OK, NEXT, PREV, BACK";
        } else if (st.op == "click") {
            if (na < 1 || na > 2 || KeyCode(st.args[0]) < 0 || (na == 2 && !ParseUint(st.args[1], &v)))
                err = "click needs KEY [HOLD_MS]";
        } else if (st.op == "send") {
            cJSON *j = cJSON_Parse(st.args[0].c_str());
            if (!cJSON_IsObject(j))
                err = "send needs one JSON object";
            cJSON_Delete(j);
        } else if (st.op == "shot") {
            if (na != 1)
                err = "shot needs FILE";
        } else if (st.op == "expect-file") {
            if (na < 1 || na > 2 || (na == 2 && !ParseUint(st.args[1], &v)))
                err = "expect-file needs PATH [TIMEOUT_MS]";
        } else if (st.op == "expect-log") {
            if (st.args[0].empty())
                err = "expect-log needs TEXT [TIMEOUT_MS]";
        } else {
            err = "unknown step \"" + st.op + "\"";
        }
        if (!err.empty()) {
            fprintf(stderr, "recorder_sim: %s:%d: %s\n", path.c_str(), n, err.c_str());
            ok = false;
            continue;
        }
        steps->push_back(st);
    }
    return ok;
}

void SleepMs(long ms) {
    for (long t = 0; t < ms && !g_stop; t += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(10L, ms - t)));
}

template <typename F> bool WaitUntil(long timeoutMs, F cond) {
    long start = NowMs();
    while (!cond()) {
        if (NowMs() - start >= timeoutMs || g_stop)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::string g_sinkControl;

bool RunStep(const Step &st) {
    const auto &a = st.args;
    if (st.op == "wait") {
        SleepMs(std::stol(a[0]));
        return true;
    }
    if (st.op == "status")
        return SendStatus(a[0], a[1]) == 0;
    if (st.op == "press" || st.op == "release")
        return SendKey(KeyCode(a[0]), st.op == "press") == 0;
    if (st.op == "click") {
        if (SendKey(KeyCode(a[0]), true) != 0)
            return false;
        SleepMs(a.size() == 2 ? std::stol(a[1]) : 100);
        return SendKey(KeyCode(a[0]), false) == 0;
    }
    if (st.op == "send")
        return SendText(a[0]) == 0;
    if (st.op == "shot") {
        if (g_sinkControl.empty()) {
            fprintf(stderr, "recorder_sim: line %d: shot needs --sink-control\n", st.line);
            return false;
        }
        int fd = open(g_sinkControl.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd < 0) {
            fprintf(stderr, "recorder_sim: line %d: cannot open %s: %s\n", st.line, g_sinkControl.c_str(),
                    strerror(errno));
            return false;
        }
        std::string cmd = "shot " + a[0] + "\n";
        bool ok = write(fd, cmd.data(), cmd.size()) == (ssize_t)cmd.size();
        close(fd);
        Log("shot", a[0]);
        return ok;
    }
    long timeout = a.size() == 2 ? std::stol(a[1]) : 5000;
    if (st.op == "expect-file") {
        if (WaitUntil(timeout, [&] { return access(a[0].c_str(), F_OK) == 0; }))
            return true;
        fprintf(stderr, "recorder_sim: line %d: %s did not appear within %ld ms\n", st.line, a[0].c_str(),
                timeout);
        return false;
    }
    // expect-log
    if (WaitUntil(timeout, [&] {
            std::lock_guard<std::mutex> l(g_logMu);
            for (const auto &m : g_received)
                if (m.find(a[0]) != std::string::npos)
                    return true;
            return false;
        }))
        return true;
    fprintf(stderr, "recorder_sim: line %d: no received message contains \"%s\" within %ld ms\n", st.line,
            a[0].c_str(), timeout);
    return false;
}

// ---- interactive ----------------------------------------------------------------------------

void Click(int code) {
    SendKey(code, true);
    SendKey(code, false);
}

// One key line of display_sink's hook: "<KEY> press" or "<KEY> release".
void HandleKeyLine(const std::string &line) {
    std::istringstream ls(line);
    std::string key, what;
    ls >> key >> what;
    int code = KeyCode(key);
    if (code < 0 || (what != "press" && what != "release")) {
        fprintf(stderr, "recorder_sim: ignored key line \"%s\"\n", line.c_str());
        return;
    }
    SendKey(code, what == "press");
}

void KeyHookThread(std::string path) {
    struct stat sb;
    if (stat(path.c_str(), &sb) != 0 && mkfifo(path.c_str(), 0666) != 0) {
        fprintf(stderr, "recorder_sim: cannot create %s: %s\n", path.c_str(), strerror(errno));
        return;
    }
    // Opened read-write so that the FIFO stays open between writers.
    int fd = open(path.c_str(), O_RDWR | O_NONBLOCK);
    if (fd < 0) {
        fprintf(stderr, "recorder_sim: cannot open %s: %s\n", path.c_str(), strerror(errno));
        return;
    }
    std::string buf;
    while (!g_stop) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char tmp[256];
        ssize_t n = read(fd, tmp, sizeof(tmp));
        if (n <= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            continue;
        }
        buf.append(tmp, (size_t)n);
        size_t nl;
        while ((nl = buf.find('\n')) != std::string::npos) {
            HandleKeyLine(buf.substr(0, nl));
            buf.erase(0, nl + 1);
        }
        if (buf.size() > 4096)
            buf.clear();
    }
    close(fd);
}

void Interactive() {
    termios old{};
    bool tty = tcgetattr(STDIN_FILENO, &old) == 0;
    if (tty) {
        termios raw = old;
        raw.c_lflag &= ~(tcflag_t)(ICANON | ECHO);
        raw.c_cc[VMIN] = 0;
        raw.c_cc[VTIME] = 0;
        tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    }
    fprintf(stderr, "recorder_sim: arrows = NEXT/PREV, Enter = OK, Escape = BACK, q = quit\n");
    while (!g_stop) {
        pollfd p{STDIN_FILENO, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char c;
        if (read(STDIN_FILENO, &c, 1) != 1)
            break; // end of input
        if (c == 'q')
            break;
        if (c == '\n' || c == '\r') {
            Click(0);
        } else if (c == 0x1b) {
            // An escape sequence follows at once for arrow keys; a lone Escape is BACK.
            pollfd q{STDIN_FILENO, POLLIN, 0};
            char seq[2];
            if (poll(&q, 1, 50) > 0 && read(STDIN_FILENO, &seq[0], 1) == 1 && seq[0] == '[' &&
                read(STDIN_FILENO, &seq[1], 1) == 1) {
                if (seq[1] == 'B' || seq[1] == 'C')
                    Click(2);
                if (seq[1] == 'A' || seq[1] == 'D')
                    Click(3);
            } else {
                Click(6);
            }
        }
    }
    if (tty)
        tcsetattr(STDIN_FILENO, TCSANOW, &old);
}

} // namespace

int main(int argc, char **argv) {
    std::string scenario, keys;
    bool interactive = false, stay = false, marker = true;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        auto value = [&](std::string *out) {
            if (i + 1 >= argc) {
                fprintf(stderr, "recorder_sim: %s needs a value\n%s", a.c_str(), kUsage);
                exit(2);
            }
            *out = argv[++i];
        };
        if (a == "--help" || a == "-h") {
            fputs(kUsage, stdout);
            return 0;
        } else if (a == "--scenario") {
            value(&scenario);
        } else if (a == "--keys") {
            value(&keys);
        } else if (a == "--settings") {
            value(&g_settingsPath);
        } else if (a == "--sink-control") {
            value(&g_sinkControl);
        } else if (a == "--interactive") {
            interactive = true;
        } else if (a == "--stay") {
            stay = true;
        } else if (a == "--no-marker") {
            marker = false;
        } else {
            fprintf(stderr, "recorder_sim: unknown option %s\n%s", a.c_str(), kUsage);
            return 2;
        }
    }
    std::vector<Step> steps;
    if (!scenario.empty() && !ParseScenario(scenario, &steps))
        return 2;
    if (scenario.empty() && !interactive && keys.empty())
        stay = true;

    setvbuf(stdout, nullptr, _IOLBF, 0);
    struct sigaction sa {};
    sa.sa_handler = [](int) { g_stop = true; };
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);

    if (VYX_IPCMSG_AgentInit(VYX_IPCMSG_KEY_UI_SEND, VYX_IPCMSG_KEY_UI_RECV, kResponders,
                             (int)(sizeof(kResponders) / sizeof(kResponders[0]))) != 0) {
        fprintf(stderr, "recorder_sim: the IPC agent did not start\n");
        return 1;
    }
    if (marker) {
        int fd = open(SYS_PATH_READY2START_UI, O_WRONLY | O_CREAT, 0644);
        if (fd < 0) {
            fprintf(stderr, "recorder_sim: cannot create %s: %s\n", SYS_PATH_READY2START_UI, strerror(errno));
            return 1;
        }
        close(fd);
    }
    Log("ready", "");
    std::thread hook;
    if (!keys.empty())
        hook = std::thread(KeyHookThread, keys);

    int status = 0;
    for (const auto &st : steps) {
        if (g_stop)
            break;
        if (!RunStep(st)) {
            fprintf(stderr, "recorder_sim: scenario step at line %d failed\n", st.line);
            status = 1;
            break;
        }
    }
    if (interactive)
        Interactive();
    else if (stay || !keys.empty())
        while (!g_stop)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    g_stop = true;
    if (hook.joinable())
        hook.join();
    return status;
}
