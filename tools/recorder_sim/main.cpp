/*
 * recorder_sim: the recorder process on a development machine. It runs the same IPC agent as
 * the user interface with the queues the other way round (receives on 0x362789A3, sends on
 * 0x362789A4), creates the start marker, answers requests through the responder families, and
 * sends notices and key events, driven by a scenario file, key lines or the interactive prompt.
 */
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "recorder_sim.h"
#include "sys_paths.h"

using namespace sim;

namespace {

std::atomic<bool> g_stop{false};
std::string g_sinkControl;

// ---- responders ---------------------------------------------------------------------------

struct Responder {
    const char *family;
    VYX_IPCMSG_HandlerFn fn;
};

const Responder *FindResponder(const char *msgID) {
    static const std::vector<std::pair<std::string, Responder>> s_rows = [] {
        std::vector<std::pair<std::string, Responder>> rows;
        for (const SimFamily *f : Families())
            for (size_t i = 0; i < f->responderCount; i++)
                rows.push_back({f->responders[i].msgID, {f->name, f->responders[i].fnHandle}});
        return rows;
    }();
    for (const auto &r : s_rows)
        if (r.first == msgID)
            return &r.second;
    return nullptr;
}

// Every request reaches this one handler: it is logged, then answered by its family unless muted.
int Dispatch(const char *msg, const MsgHeader *hdr) {
    LogReceived(msg);
    const Responder *r = FindResponder(hdr->msgID);
    if (r == nullptr || IsMuted(hdr->msgID))
        return 0;
    return r->fn(msg, hdr);
}

// The agent's table: one row per responder, all pointing at Dispatch.
std::vector<VYX_IPCMSG_HandlerRow> AgentTable() {
    std::vector<VYX_IPCMSG_HandlerRow> rows;
    for (const SimFamily *f : Families())
        for (size_t i = 0; i < f->responderCount; i++) {
            VYX_IPCMSG_HandlerRow row{};
            snprintf(row.msgID, sizeof(row.msgID), "%s", f->responders[i].msgID);
            row.fnHandle = Dispatch;
            rows.push_back(row);
        }
    return rows;
}

// ---- core verbs ---------------------------------------------------------------------------

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

bool ParseUint(const std::string &s, long *out) {
    return ParseLong(s, out) && *out >= 0 && s.find_first_not_of("0123456789") == std::string::npos;
}

std::string CheckWait(std::vector<std::string> &a) {
    long v;
    return a.size() == 1 && ParseUint(a[0], &v) ? "" : "wait needs a number of milliseconds";
}
bool RunWait(const std::vector<std::string> &a) {
    SleepMs(std::stol(a[0]));
    return true;
}

std::string CheckSend(std::vector<std::string> &a) {
    cJSON *j = a.size() == 1 ? cJSON_Parse(a[0].c_str()) : nullptr;
    bool ok = cJSON_IsObject(j);
    cJSON_Delete(j);
    return ok ? "" : "send needs one JSON object";
}
bool RunSend(const std::vector<std::string> &a) {
    return SendText(a[0]) == 0;
}

std::string CheckShot(std::vector<std::string> &a) {
    return a.size() == 1 ? "" : "shot needs FILE";
}
bool RunShot(const std::vector<std::string> &a) {
    if (g_sinkControl.empty()) {
        fprintf(stderr, "recorder_sim: shot needs --sink-control\n");
        return false;
    }
    int fd = open(g_sinkControl.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd < 0) {
        fprintf(stderr, "recorder_sim: cannot open %s: %s\n", g_sinkControl.c_str(), strerror(errno));
        return false;
    }
    std::string cmd = "shot " + a[0] + "\n";
    bool ok = write(fd, cmd.data(), cmd.size()) == (ssize_t)cmd.size();
    close(fd);
    Log("shot", a[0]);
    return ok;
}

std::string CheckExpect(std::vector<std::string> &a) {
    long v;
    if (a.empty() || a[0].empty() || a.size() > 2 || (a.size() == 2 && !ParseUint(a[1], &v)))
        return "needs PATH|TEXT [TIMEOUT_MS]";
    return "";
}
bool RunExpectFile(const std::vector<std::string> &a) {
    long timeout = a.size() == 2 ? std::stol(a[1]) : 5000;
    if (WaitUntil(timeout, [&] { return access(a[0].c_str(), F_OK) == 0; }))
        return true;
    fprintf(stderr, "recorder_sim: %s did not appear within %ld ms\n", a[0].c_str(), timeout);
    return false;
}
bool RunExpectLog(const std::vector<std::string> &a) {
    long timeout = a.size() == 2 ? std::stol(a[1]) : 5000;
    if (WaitUntil(timeout, [&] {
            for (const auto &m : Received())
                if (m.find(a[0]) != std::string::npos)
                    return true;
            return false;
        }))
        return true;
    fprintf(stderr, "recorder_sim: no received message contains \"%s\" within %ld ms\n", a[0].c_str(),
            timeout);
    return false;
}

std::string CheckMute(std::vector<std::string> &a) {
    return a.size() == 1 ? "" : "needs MSGID";
}
bool RunMute(const std::vector<std::string> &a) {
    SetMuted(a[0], true);
    return true;
}
bool RunUnmute(const std::vector<std::string> &a) {
    SetMuted(a[0], false);
    return true;
}

std::string CheckState(std::vector<std::string> &a) {
    std::vector<std::pair<std::string, std::string>> kv;
    if (a.size() < 2)
        return "state needs SECTION KEY=VALUE...";
    std::vector<std::string> rest(a.begin() + 1, a.end());
    return ParsePairs(rest, &kv) && rest[0].find('=') != std::string::npos
               ? ""
               : "state needs SECTION KEY=VALUE...";
}
// Sets members of one section of the state document; "a.b=v" reaches into the object a.
bool RunState(const std::vector<std::string> &a) {
    std::vector<std::pair<std::string, std::string>> kv;
    std::vector<std::string> rest(a.begin() + 1, a.end());
    ParsePairs(rest, &kv);
    StateGuard st;
    for (const auto &p : kv) {
        cJSON *obj = st.Section(a[0].c_str());
        std::string key = p.first;
        size_t dot;
        while ((dot = key.find('.')) != std::string::npos) {
            std::string part = key.substr(0, dot);
            cJSON *child = cJSON_GetObjectItemCaseSensitive(obj, part.c_str());
            if (!cJSON_IsObject(child)) {
                cJSON_DeleteItemFromObjectCaseSensitive(obj, part.c_str());
                child = cJSON_AddObjectToObject(obj, part.c_str());
            }
            obj = child;
            key = key.substr(dot + 1);
        }
        long n;
        if (ParseLong(p.second, &n))
            SetNumber(obj, key.c_str(), (double)n);
        else
            SetText(obj, key.c_str(), p.second);
    }
    return st.Store();
}

const SimVerb kCoreVerbs[] = {
    {"wait", "MS", "sleep MS milliseconds", CheckWait, RunWait},
    {"send", "JSON", "send the JSON document as it is", CheckSend, RunSend},
    {"shot", "FILE", "ask display_sink for a screenshot in FILE (needs --sink-control)", CheckShot, RunShot},
    {"expect-file", "PATH [TIMEOUT_MS]", "fail unless PATH exists within the time (default 5000)",
     CheckExpect, RunExpectFile},
    {"expect-log", "TEXT [TIMEOUT_MS]", "fail unless a received message contains TEXT within the time",
     CheckExpect, RunExpectLog},
    {"mute", "MSGID", "stop answering requests of MSGID (the user interface then times out)", CheckMute,
     RunMute},
    {"unmute", "MSGID", "answer requests of MSGID again", CheckMute, RunUnmute},
    {"state", "SECTION KEY=VALUE...", "set members of the state document (KEY may be a.b)", CheckState,
     RunState},
};

const SimVerb *FindVerb(const std::string &name) {
    for (const auto &v : kCoreVerbs)
        if (name == v.name)
            return &v;
    for (const SimFamily *f : Families())
        for (size_t i = 0; i < f->verbCount; i++)
            if (name == f->verbs[i].name)
                return &f->verbs[i];
    return nullptr;
}

std::string Usage() {
    std::ostringstream u;
    u << "usage: recorder_sim [options]\n"
         "  --scenario FILE      play FILE (one step a line, see below), then exit unless --stay\n"
         "  --interactive        arrow keys, Enter and Escape of this terminal become NEXT/PREV, OK, BACK;\n"
         "                       ':' opens a prompt for one step (e.g. \":status rec_status=start\"); q "
         "quits\n"
         "  --key-hold MS        least time between two key events, press to release included\n"
         "                       (default 80; the user interface reads keys every 30 ms)\n"
         "  --keys PATH          also read key lines (\"OK press\", \"BACK release\") from PATH, the\n"
         "                       key hook of display_sink --keys (a FIFO is created if missing)\n"
         "  --state FILE         the state document (settings, device information, player, ...)\n"
         "                       (default " SYS_PATH(
             "/tmp/recorder_sim_state.json") ")\n"
                                             "  --settings FILE      the same as --state\n"
                                             "  --sink-control FIFO  display_sink's control FIFO, for the "
                                             "shot step\n"
                                             "  --stay               keep answering after the scenario has "
                                             "ended (until SIGINT/SIGTERM)\n"
                                             "  --no-marker          do not create the start "
                                             "marker " SYS_PATH_READY2START_UI "\n"
                                             "  --help               this text\n"
                                             "Scenario steps (# starts a comment):\n";
    auto verb = [&](const SimVerb &v) {
        std::string head = std::string(v.name) + " " + v.usage;
        u << "  " << head << std::string(head.size() < 34 ? 34 - head.size() : 1, ' ') << v.help << "\n";
    };
    for (const auto &v : kCoreVerbs)
        verb(v);
    for (const SimFamily *f : Families())
        for (size_t i = 0; i < f->verbCount; i++)
            verb(f->verbs[i]);
    u << "Responders (requests of any other id get no answer):\n";
    for (const SimFamily *f : Families()) {
        if (f->responderCount == 0 && f->verbCount == 0)
            continue;
        u << "  [" << f->name << "]";
        for (size_t i = 0; i < f->responderCount; i++)
            u << " " << f->responders[i].msgID;
        u << "\n";
        std::istringstream h(f->help);
        std::string line;
        while (std::getline(h, line))
            u << "    " << line << "\n";
    }
    u << "Exit status: 0 done, 1 a step failed, 2 bad usage or scenario.\n";
    return u.str();
}

// ---- scenario -----------------------------------------------------------------------------

struct Step {
    int line;
    const SimVerb *verb;
    std::vector<std::string> args;
};

// One line into a step: "" or the error.
std::string ParseStep(const std::string &raw, int n, Step *st) {
    std::string text = raw;
    size_t b = text.find_first_not_of(" \t\r");
    text = text.substr(b, text.find_last_not_of(" \t\r") - b + 1);
    std::istringstream ls(text);
    std::string op;
    ls >> op;
    st->line = n;
    st->verb = FindVerb(op);
    st->args.clear();
    if (st->verb == nullptr)
        return "unknown step \"" + op + "\"";
    std::string rest = text.substr(op.size());
    rest.erase(0, rest.find_first_not_of(" \t"));
    if (op == "send") {
        st->args.push_back(rest);
    } else if (op == "expect-log") {
        // TEXT may hold blanks; a last word made of digits is the time-out.
        size_t sp = rest.find_last_of(" \t");
        long v;
        if (sp != std::string::npos && ParseUint(rest.substr(sp + 1), &v))
            st->args = {rest.substr(0, rest.find_last_not_of(" \t", sp) + 1), rest.substr(sp + 1)};
        else
            st->args = {rest};
    } else {
        std::string a;
        while (ls >> a)
            st->args.push_back(a);
    }
    std::string err = st->verb->check(st->args);
    return err.empty() ? "" : op + ": " + err;
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
        Step st;
        std::string err = ParseStep(text, n, &st);
        if (!err.empty()) {
            fprintf(stderr, "recorder_sim: %s:%d: %s\n", path.c_str(), n, err.c_str());
            ok = false;
            continue;
        }
        steps->push_back(st);
    }
    return ok;
}

// ---- interactive --------------------------------------------------------------------------

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

// The prompt after ':': one step line, read with echo, run at once.
void PromptStep(bool tty, const termios &cooked, const termios &raw) {
    if (tty)
        tcsetattr(STDIN_FILENO, TCSANOW, &cooked);
    fprintf(stderr, "recorder_sim> ");
    std::string line;
    char c;
    while (read(STDIN_FILENO, &c, 1) == 1 && c != '\n')
        line += c;
    if (tty)
        tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    if (line.find_first_not_of(" \t\r") == std::string::npos)
        return;
    Step st;
    std::string err = ParseStep(line, 0, &st);
    if (!err.empty())
        fprintf(stderr, "recorder_sim: %s\n", err.c_str());
    else if (!st.verb->run(st.args))
        fprintf(stderr, "recorder_sim: the step failed\n");
}

void Interactive() {
    termios old{};
    bool tty = tcgetattr(STDIN_FILENO, &old) == 0;
    termios raw = old;
    if (tty) {
        raw.c_lflag &= ~(tcflag_t)(ICANON | ECHO);
        raw.c_cc[VMIN] = 0;
        raw.c_cc[VTIME] = 0;
        tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    }
    fprintf(stderr, "recorder_sim: arrows = NEXT/PREV, Enter = OK, Escape = BACK, ':' = prompt, q = quit\n");
    while (!g_stop) {
        pollfd p{STDIN_FILENO, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char c;
        if (read(STDIN_FILENO, &c, 1) != 1)
            break; // end of input
        if (c == 'q')
            break;
        if (c == ':') {
            PromptStep(tty, old, raw);
        } else if (c == '\n' || c == '\r') {
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

namespace sim {

bool SinkCommand(const std::string &line) {
    if (g_sinkControl.empty()) {
        return false;
    }
    int fd = open(g_sinkControl.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd < 0) {
        fprintf(stderr, "recorder_sim: cannot open %s: %s\n", g_sinkControl.c_str(), strerror(errno));
        return false;
    }
    std::string cmd = line + "\n";
    bool ok = write(fd, cmd.data(), cmd.size()) == (ssize_t)cmd.size();
    close(fd);
    return ok;
}

} // namespace sim

int main(int argc, char **argv) {
    std::string scenario, keys, state = SYS_PATH("/tmp/recorder_sim_state.json");
    bool interactive = false, stay = false, marker = true;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        auto value = [&](std::string *out) {
            if (i + 1 >= argc) {
                fprintf(stderr, "recorder_sim: %s needs a value\n%s", a.c_str(), Usage().c_str());
                exit(2);
            }
            *out = argv[++i];
        };
        if (a == "--help" || a == "-h") {
            fputs(Usage().c_str(), stdout);
            return 0;
        } else if (a == "--scenario") {
            value(&scenario);
        } else if (a == "--keys") {
            value(&keys);
        } else if (a == "--state" || a == "--settings") {
            value(&state);
        } else if (a == "--sink-control") {
            value(&g_sinkControl);
        } else if (a == "--key-hold") {
            std::string ms;
            value(&ms);
            long v;
            if (!ParseLong(ms, &v) || v < 0 || v > 10000) {
                fprintf(stderr, "recorder_sim: --key-hold needs milliseconds from 0 to 10000\n");
                return 2;
            }
            SetKeyHold((int)v);
        } else if (a == "--interactive") {
            interactive = true;
        } else if (a == "--stay") {
            stay = true;
        } else if (a == "--no-marker") {
            marker = false;
        } else {
            fprintf(stderr, "recorder_sim: unknown option %s\n%s", a.c_str(), Usage().c_str());
            return 2;
        }
    }
    std::vector<Step> steps;
    if (!scenario.empty() && !ParseScenario(scenario, &steps))
        return 2;
    if (scenario.empty() && !interactive && keys.empty())
        stay = true;
    if (!StateOpen(state))
        return 2;

    setvbuf(stdout, nullptr, _IOLBF, 0);
    struct sigaction sa {};
    sa.sa_handler = [](int) { g_stop = true; };
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);

    static const std::vector<VYX_IPCMSG_HandlerRow> s_table = AgentTable();
    if (VYX_IPCMSG_AgentInit(VYX_IPCMSG_KEY_UI_SEND, VYX_IPCMSG_KEY_UI_RECV, s_table.data(),
                             (int)s_table.size()) != 0) {
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
        if (!st.verb->run(st.args)) {
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
    // The agent's receive threads run until the process ends: leave without destroying the
    // tables they read.
    fflush(stdout);
    fflush(stderr);
    _exit(status);
}
