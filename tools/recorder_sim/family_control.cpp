/* Control: "IPCMSG_GENERALCTRL" control items applied to the recorder's state ("recorder" in the
 * state document), answered with "result" and followed by the status a recorder reports. */
#include "recorder_sim.h"

#include <chrono>
#include <thread>

#include <strings.h>

#include <cstring>

namespace sim {

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

void AddDefaults(cJSON *state) {
    StateGuard st;
    cJSON *r = st.Section("recorder");
    if (!cJSON_IsNumber(cJSON_GetObjectItemCaseSensitive(r, "recording")))
        SetNumber(r, "recording", 1);
    if (!cJSON_IsNumber(cJSON_GetObjectItemCaseSensitive(r, "work_mode")))
        SetNumber(r, "work_mode", 1);
    if (!cJSON_IsString(cJSON_GetObjectItemCaseSensitive(r, "storage")))
        SetText(r, "storage", "normal");
    if (!cJSON_IsNumber(cJSON_GetObjectItemCaseSensitive(r, "tfcard_speed")))
        SetNumber(r, "tfcard_speed", 28);
    (void)state;
}

// Applies one item; fills the status to report afterwards. The result for the answer.
int Apply(const std::string &item, const std::string &value, std::vector<Pairs> *report) {
    StateGuard st;
    cJSON *r = st.Section("recorder");
    int result = 0;
    if (item == "ctrl_snap") {
        report->push_back({{"snap_event", "manual_snap"}});
    } else if (item == "ctrl_rec") {
        bool on = value.empty() ? NumberOr(r, "recording", 0) == 0 : strcasecmp(value.c_str(), "stop") != 0;
        SetNumber(r, "recording", on);
        report->push_back({{"rec_status", on ? "start" : "stop"}});
    } else if (item == "ctrl_playbackmode") {
        int last = (int)NumberOr(r, "work_mode", 1);
        int mode = strcasecmp(value.c_str(), "exit") == 0 ? 1 : 2;
        SetNumber(r, "work_mode", mode);
        if (mode != last)
            report->push_back({{"switch_workmode", std::to_string(mode)}});
    } else if (item == "ctrl_displayinit" || item == "ctrl_displaydeinit") {
        report->push_back({{"disp_status", item == "ctrl_displayinit" ? "1" : "0"}});
    } else if (item == "ctrl_btpair") {
        report->push_back({{"btpair_result", "success"}});
    } else if (item == "ctrl_screendormant") {
        // "on" wakes the screen, "off" puts it to sleep; "pause", "resume" and "reset" only
        // act on the recorder's screen-off timer, which changes nothing at once.
        if (strcasecmp(value.c_str(), "on") == 0 || strcasecmp(value.c_str(), "off") == 0) {
            report->push_back({{"screen_dormant", strcasecmp(value.c_str(), "off") == 0 ? "1" : "0"}});
        }
    } else if (item == "ctrl_touchpadtestend") {
        report->push_back({{"test_touchpad", "end"}});
    } else if (item == "ctrl_reversing") {
        report->push_back({{"switch_reversing", strcasecmp(value.c_str(), "on") == 0 ? "on" : "off"}});
    } else if (item == "ctrl_applogout") {
        report->push_back({{"app_status", "logout"}});
    } else if (item == "ctrl_syncdate") {
        SetText(r, "clock", value); // "YYYYMMDDHHMMSS", as the user set it
    } else if (item == "ctrl_tfcard_speedtext") {
        report->push_back({{"tfcard_curspeed", std::to_string((long)NumberOr(r, "tfcard_speed", 0))}});
        report->push_back({{"tfcardtest_result", "1"}});
    } else if (item.compare(0, 5, "ctrl_") != 0) {
        result = -1; // not a control item
    }
    if (result == 0 && !st.Store())
        result = -1;
    return result;
}

int RespondCtrl(const char *msg, const MsgHeader *hdr) {
    std::string key, value;
    std::vector<Pairs> report;
    int result = -1;
    // Formats, resets and pairings take their time (family_upkeep.cpp).
    if (FirstStringParam(msg, &key, &value) && !UpkeepControl(key, value, &result))
        result = Apply(key, value, &report);
    // A notice only, when the user interface does not wait for an answer.
    int r = hdr->needAck ? AnswerResult(hdr, result) : 0;
    // The user interface's three receive threads may take messages sent back to back in either
    // order; a recorder's reports follow each other in time (a format takes a while), so they are
    // sent a little apart and arrive in the order they describe.
    for (const auto &kv : report) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        SendKeyValues("IPCMSG_SYSTEMSTATUS", kv);
    }
    return r;
}

const VYX_IPCMSG_HandlerRow kResponders[] = {
    {"IPCMSG_GENERALCTRL", RespondCtrl},
};

} // namespace

const SimFamily kFamily_control = {
    "control",
    "IPCMSG_GENERALCTRL applies the control item to \"recorder\" (recording, work_mode, storage,\n"
    "tfcard_speed), answers \"result\" (-1 for what is no control item) when an answer is asked\n"
    "for, then reports as status: ctrl_rec -> rec_status (ctrl_format, ctrl_resetdev and the\n"
    "pairing items: see upkeep); ctrl_playbackmode enter/exit -> switch_workmode 2/1;\n"
    "ctrl_displayinit/deinit -> disp_status; ctrl_btpair -> btpair_result; ctrl_screendormant ->\n"
    "screen_dormant (\"reset\", after a format: nothing); ctrl_reversing ->\n"
    "switch_reversing; ctrl_applogout -> app_status; ctrl_tfcard_speedtext -> tfcard_curspeed and\n"
    "tfcardtest_result; ctrl_syncdate stores the date and time it carries as \"clock\".",
    kResponders,
    sizeof(kResponders) / sizeof(kResponders[0]),
    nullptr,
    0,
    AddDefaults,
};

} // namespace sim
