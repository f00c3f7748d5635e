/* Keys: "IPCMSG_KEYEVENT" for every press and release of OK, NEXT, PREV and BACK. */
#include "recorder_sim.h"

#include <chrono>
#include <mutex>
#include <thread>

namespace sim {

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

namespace {
std::mutex g_keyMu;
std::chrono::steady_clock::time_point g_lastKey;
int g_keyHoldMs = 80;
} // namespace

void SetKeyHold(int ms) {
    std::lock_guard<std::mutex> l(g_keyMu);
    g_keyHoldMs = ms;
}

int SendKey(int code, bool press) {
    // One sender at a time, each at least the hold after the previous one, so events from the
    // terminal, the window's hook and a scenario keep their order at the user interface.
    std::lock_guard<std::mutex> l(g_keyMu);
    std::this_thread::sleep_until(g_lastKey + std::chrono::milliseconds(g_keyHoldMs));
    g_lastKey = std::chrono::steady_clock::now();
    cJSON *body = cJSON_CreateObject();
    cJSON_AddNumberToObject(body, "keycode", code);
    cJSON_AddNumberToObject(body, "keyvalue", press ? 3 : 4);
    return SendMsg("IPCMSG_KEYEVENT", body);
}

namespace {

std::string CheckOneKey(std::vector<std::string> &a) {
    return a.size() == 1 && KeyCode(a[0]) >= 0 ? "" : "needs one of OK, NEXT, PREV, BACK";
}

std::string CheckClick(std::vector<std::string> &a) {
    long v;
    if (a.empty() || a.size() > 2 || KeyCode(a[0]) < 0 || (a.size() == 2 && (!ParseLong(a[1], &v) || v < 0)))
        return "click needs KEY [HOLD_MS]";
    return "";
}

bool RunPress(const std::vector<std::string> &a) {
    return SendKey(KeyCode(a[0]), true) == 0;
}
bool RunRelease(const std::vector<std::string> &a) {
    return SendKey(KeyCode(a[0]), false) == 0;
}
bool RunClick(const std::vector<std::string> &a) {
    if (SendKey(KeyCode(a[0]), true) != 0)
        return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(a.size() == 2 ? std::stol(a[1]) : 100));
    return SendKey(KeyCode(a[0]), false) == 0;
}

const SimVerb kVerbs[] = {
    {"press", "KEY", "key press; KEY is OK, NEXT, PREV or BACK", CheckOneKey, RunPress},
    {"release", "KEY", "key release", CheckOneKey, RunRelease},
    {"click", "KEY [HOLD_MS]", "press, hold (default 100 ms), release", CheckClick, RunClick},
};

} // namespace

const SimFamily kFamily_keys = {
    "keys",
    "Sends IPCMSG_KEYEVENT {\"keycode\", \"keyvalue\"} (OK 0, NEXT 2, PREV 3, BACK 6; press 3, release 4).",
    nullptr,
    0,
    kVerbs,
    sizeof(kVerbs) / sizeof(kVerbs[0]),
    nullptr,
};

} // namespace sim
