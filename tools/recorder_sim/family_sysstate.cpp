/* System states by name: every state the user interface's system state supervision reacts to,
 * raised ("raise NAME") or cleared ("raise NAME off") with the status item a recorder sends for
 * it, and the settings a recorder changes with it (ACC, parameter reset, language). */
#include "recorder_sim.h"

#include <string.h>

#include <algorithm>

namespace sim {

namespace {

struct NamedState {
    const char *name;
    const char *key;
    const char *on;      /* value when raised (a VALUE argument replaces it) */
    const char *off;     /* value when cleared, null: cannot be cleared */
    const char *setting; /* a settings item that follows the state, or null */
    const char *settingOn;
    const char *settingOff;
    const char *help;
};

const NamedState kStates[] = {
    {"recording", "rec_status", "start", "stop", nullptr, nullptr, nullptr, "recording tips"},
    {"no_card", "storage_status", "noinsert", "normal", nullptr, nullptr, nullptr, "no storage card"},
    {"card_out", "storage_status", "plugout", "normal", nullptr, nullptr, nullptr, "card pulled out"},
    {"card_error", "storage_status", "abnormal", "normal", nullptr, nullptr, nullptr, "card failure"},
    {"card_error_ext", "storage_status", "abnormal_ext", "normal_ext", nullptr, nullptr, nullptr,
     "card failure (extended)"},
    {"slow_card", "writecardslow_remind", "1", "0", nullptr, nullptr, nullptr, "card too slow"},
    {"front_sensor_error", "sensor_state", "1", "0", nullptr, nullptr, nullptr, "front camera sensor lost"},
    {"app_login", "app_status", "login", "logout", nullptr, nullptr, nullptr,
     "phone app over Wi-Fi (app lock)"},
    {"app_login_4g", "4g_app_status", "login_p2p", "logout_p2p", nullptr, nullptr, nullptr,
     "phone app over 4G (4G lock)"},
    {"app_talking", "p2p_talk_status", "p2p_talk_start", "p2p_talk_stop", nullptr, nullptr, nullptr,
     "two-way talk on the 4G lock"},
    {"usb", "lock_status", "login", "logout", nullptr, nullptr, nullptr,
     "connected to a computer (USB lock)"},
    {"firmware_update", "update_state", "1", "0", nullptr, nullptr, nullptr, "device firmware update lock"},
    {"rear_cam_update", "digicam_update_state", "1", "0", nullptr, nullptr, nullptr,
     "rear camera update lock"},
    {"inside_cam_update", "digicaminside_update_state", "1", "0", nullptr, nullptr, nullptr,
     "cabin camera update lock"},
    {"rear_plug", "rear_status", "plugin", "plugout", nullptr, nullptr, nullptr, "rear camera plugged in"},
    {"inside_plug", "inside_status", "plugin", "plugout", nullptr, nullptr, nullptr,
     "cabin camera plugged in"},
    {"rear_cam_error", "digicam_rear_status", "6", "1", nullptr, nullptr, nullptr,
     "rear camera error page (VALUE 0, 6, 7, 8; off: working)"},
    {"inside_cam_error", "digicam_inside_status", "6", "1", nullptr, nullptr, nullptr,
     "cabin camera error page (VALUE 0, 6, 7, 8; off: working)"},
    {"factory_reset", "resetdev_result", "success_no_reboot", nullptr, "installtion_guidecnt", "0", nullptr,
     "parameter reset: the installation guide follows"},
    {"gps_fix", "gps_state", "1", "0", nullptr, nullptr, nullptr, "GPS fix (off: searching)"},
    {"acc_off", "acc_status", "off", "on", "acc_on", "0", "1", "ignition off: parking lock"},
    {"empower", "bt_empower", "connect", "disconnect", nullptr, nullptr, nullptr, "Bluetooth empower page"},
    {"empower_result", "bt_empower", "1", "0", nullptr, nullptr, nullptr, "empower success (off: failed)"},
    {"parking_collision", "parkingcollision_status", "1", "0", nullptr, nullptr, nullptr,
     "collisions while parked: parking event toast"},
    {"4g_link", "4G_linkstatus", "1", "0", nullptr, nullptr, nullptr, "4G linked"},
    {"4g_ready", "4G_ready", "1", "0", nullptr, nullptr, nullptr, "4G ready"},
    {"4g_level", "4G_level", "4", "0", nullptr, nullptr, nullptr, "4G signal level (VALUE 0-4)"},
    {"screen_off", "screen_dormant", "1", "0", nullptr, nullptr, nullptr, "screen dormant: wallpaper"},
    {"alert_driving", "driving_remind", "1", "0", nullptr, nullptr, nullptr, "driving reminder alert"},
    {"alert_car_forward", "car_forward", "1", "0", nullptr, nullptr, nullptr, "front car moved off alert"},
    {"alert_cross_lane", "cross_lane", "1", "0", nullptr, nullptr, nullptr, "lane departure alert"},
    {"alert_too_close", "too_closed", "1", "0", nullptr, nullptr, nullptr, "following too close alert"},
    {"alert_pedestrian", "notict_pedestrian", "1", "0", nullptr, nullptr, nullptr, "pedestrian alert"},
    {"harsh_accel", "behavior_acceler", "1", "0", nullptr, nullptr, nullptr, "harsh acceleration"},
    {"harsh_decel", "behavior_deceler", "1", "0", nullptr, nullptr, nullptr, "harsh braking"},
    {"snapshot", "snap_event", "gsensor_collision", nullptr, nullptr, nullptr, nullptr, "an event snapshot"},
    {"kovar_bind", "kovar_bind_status", "1", "0", nullptr, nullptr, nullptr, "device link bound"},
    {"kovar_connect", "kovar_Connect_status", "1", "0", nullptr, nullptr, nullptr, "device link connected"},
    {"language", "sync_lang", "2", nullptr, "language", "2", nullptr,
     "language from the recorder (VALUE: index, 0 CN, 2 US, 3 RU, 12 GE ...)"},
    {"gsensor", "gsensor_status", "1", "0", nullptr, nullptr, nullptr, "g-sensor event on the wallpaper"},
    {"overheat", "temp_high_reason", "power_off", "other", nullptr, nullptr, nullptr,
     "high temperature: power-off warning lock"},
    {"overheat_screen", "temp_high_reason", "srceen_off", "other", nullptr, nullptr, nullptr,
     "high temperature: screen-off warning lock"},
    {"overheat_wifi", "temp_high_reason", "wifi_off", "other", nullptr, nullptr, nullptr,
     "high temperature: Wi-Fi off (no lock)"},
    {"format_reminder", "format_periodically", "1", nullptr, nullptr, nullptr, nullptr,
     "periodic format reminder page"},
    {"display_down", "disp_status", "0", "1", nullptr, nullptr, nullptr,
     "display not initialised: black background"},
    {"wifi", "switch_wifi", "on", "off", nullptr, nullptr, nullptr, "Wi-Fi icon"},
    {"screen_key_test", "test_screenkey", "1", "0", nullptr, nullptr, nullptr, "factory screen and key test"},
    {"playback", "switch_workmode", "2", "1", nullptr, nullptr, nullptr,
     "playback work mode (off: leaves it)"},
};

const NamedState *Find(const std::string &name) {
    for (const NamedState &s : kStates) {
        if (name == s.name) {
            return &s;
        }
    }
    return nullptr;
}

std::string CheckRaise(std::vector<std::string> &a) {
    if (a.empty() || a.size() > 2) {
        return "raise needs NAME [on|off|VALUE] (names: recorder_sim --help)";
    }
    const NamedState *s = Find(a[0]);
    if (s == nullptr) {
        return "raise: no state called \"" + a[0] + "\" (names: recorder_sim --help)";
    }
    if (a.size() == 2 && a[1] == "off" && s->off == nullptr) {
        return std::string("raise: \"") + s->name + "\" cannot be cleared";
    }
    return "";
}

bool RunRaise(const std::vector<std::string> &a) {
    const NamedState *s = Find(a[0]);
    bool bOff = a.size() == 2 && a[1] == "off";
    std::string value = bOff ? s->off : s->on;
    if (a.size() == 2 && a[1] != "on" && !bOff) {
        value = a[1];
    }
    if (s->setting != nullptr) {
        const char *pcSetting = bOff ? s->settingOff : s->settingOn;
        std::string settingValue = pcSetting != nullptr ? pcSetting : "";
        if (strcmp(s->key, "sync_lang") == 0) {
            settingValue = value; /* the language index travels in the settings */
        }
        if (!settingValue.empty()) {
            long n;
            StateGuard st;
            if (!ParseLong(settingValue, &n)) {
                return false;
            }
            SetNumber(st.Section("settings"), s->setting, (double)n);
            if (!st.Store()) {
                return false;
            }
        }
    }
    return SendKeyValues("IPCMSG_SYSTEMSTATUS", {{s->key, value}}) == 0;
}

std::string HelpText() {
    std::string h =
        "Raises a system state by name (\"raise NAME\", \"raise NAME off\", \"raise NAME VALUE\"):\n";
    for (const NamedState &s : kStates) {
        h += std::string("  ") + s.name + std::string(20 - std::min<size_t>(strlen(s.name), 19), ' ') +
             s.help + " (" + s.key + ")\n";
    }
    return h;
}

const SimVerb kVerbs[] = {
    {"raise", "NAME [on|off|VALUE]",
     "send the status item of a named system state (and the settings that follow it); names below",
     CheckRaise, RunRaise},
};

const std::string &Help() {
    static const std::string s_help = HelpText();
    return s_help;
}

} // namespace

const SimFamily kFamily_sysstate = {
    "sysstate", Help().c_str(), nullptr, 0, kVerbs, sizeof(kVerbs) / sizeof(kVerbs[0]), nullptr,
};

} // namespace sim
