/* Settings: the recorder's 92 settings items, kept in the state document's "settings" object,
 * answered by "IPCMSG_GENERALSETING_QUERY" and changed by "IPCMSG_GENERALSETING_SAVE". */
#include "recorder_sim.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "IpcMsg_GeneralSeting.h"

namespace sim {

namespace {

/* Values other than 0 / "" that a fresh recorder starts with. */
struct Default {
    const char *key;
    double number;
    const char *text;
};
const Default kDefaults[] = {
    {"language", 2, nullptr},             // US
    {"installtion_guidecnt", 1, nullptr}, // the guide was done
    {"speaker_turn", 2, nullptr},
    {"screen_brightness", 3, nullptr},
    {"videotime_level", 1, nullptr},
    {"mic_switch", 1, nullptr},
    {"osd_switch", 1, nullptr},
    {"rear_enable", 1, nullptr},
    {"wifi_switch", 1, nullptr},
    {"dev_total_size", 60906, nullptr},
    {"dev_available_size", 41230, nullptr},
    {"api_query_ability", 0, "rear,wifi,gps,adas,parking,1440p30,1080p60,1080p30"}, // resolutions offered
    {"parking_mode_option", 0, "timelapse_hibernate_normal"},
    {"acc_status", 1, nullptr}, // the ACC line is wired
    {"lowPowerVoltage", 118, nullptr},
    {"lowPowerVoltageOp", 0, "116,118,120,122"},
};

void AddDefaults(cJSON *state) {
    StateGuard st;
    cJSON *s = st.Section("settings");
    const GeneralSetingItem *items = IpcMsg_GeneralSetingItems();
    // A settings file of the earlier form kept the items at the top: they move into "settings".
    for (int i = 0; i < GENERAL_SETING_ITEM_NUM; i++) {
        cJSON *old = cJSON_DetachItemFromObjectCaseSensitive(state, items[i].pcKey);
        if (old == nullptr)
            continue;
        cJSON_DeleteItemFromObjectCaseSensitive(s, items[i].pcKey);
        cJSON_AddItemToObject(s, items[i].pcKey, old);
    }
    for (int i = 0; i < GENERAL_SETING_ITEM_NUM; i++) {
        if (cJSON_GetObjectItemCaseSensitive(s, items[i].pcKey) != nullptr)
            continue;
        const Default *d = nullptr;
        for (const auto &x : kDefaults)
            if (strcmp(x.key, items[i].pcKey) == 0)
                d = &x;
        if (items[i].eKind == GS_KIND_TEXT)
            cJSON_AddStringToObject(s, items[i].pcKey, d && d->text ? d->text : "");
        else
            cJSON_AddNumberToObject(s, items[i].pcKey, d ? d->number : 0);
    }
}

// Answers the asked keys that have a value; keys the recorder does not know are left out.
int RespondQuery(const char *msg, const MsgHeader *hdr) {
    cJSON *req = cJSON_Parse(msg);
    cJSON *ints = cJSON_CreateArray(), *strs = cJSON_CreateArray();
    {
        StateGuard st;
        cJSON *settings = st.Section("settings");
        const cJSON *k = nullptr;
        cJSON_ArrayForEach(k, cJSON_GetObjectItemCaseSensitive(req, "keys")) {
            const cJSON *key = cJSON_GetObjectItemCaseSensitive(k, "key");
            if (!cJSON_IsString(key))
                continue;
            const cJSON *v = cJSON_GetObjectItemCaseSensitive(settings, key->valuestring);
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
    }
    cJSON_Delete(req);
    cJSON *body = cJSON_CreateObject();
    cJSON_AddItemToObject(body, "int_params", ints);
    cJSON_AddItemToObject(body, "string_params", strs);
    return Answer(hdr, body);
}

// What a recorder reports after some settings changed.
void ReportEffects(const std::vector<std::pair<std::string, double>> &changed) {
    for (const auto &c : changed) {
        CameraSettingChanged(c.first, c.second);
        if (c.first == "mic_switch")
            SendKeyValues("IPCMSG_SYSTEMSTATUS", {{"switch_mic", c.second != 0 ? "on" : "off"}});
        else if (c.first == "wifi_switch")
            SendKeyValues("IPCMSG_SYSTEMSTATUS", {{"switch_wifi", c.second != 0 ? "on" : "off"}});
    }
}

// Stores every item of "int_params" and "string_params" when all are known items of the right
// kind; otherwise stores nothing. "result" 0 when stored.
int RespondSave(const char *msg, const MsgHeader *hdr) {
    cJSON *req = cJSON_Parse(msg);
    int result = -1;
    std::vector<std::pair<std::string, double>> changed;
    {
        StateGuard st;
        cJSON *settings = st.Section("settings");
        cJSON *copy = cJSON_Duplicate(settings, 1);
        int stored = 0;
        bool bad = false;
        for (const char *list : {"int_params", "string_params"}) {
            const cJSON *arr = cJSON_GetObjectItemCaseSensitive(req, list);
            if (!cJSON_IsArray(arr))
                continue;
            const cJSON *e = nullptr;
            cJSON_ArrayForEach(e, arr) {
                const cJSON *key = cJSON_GetObjectItemCaseSensitive(e, "key");
                const cJSON *val = cJSON_GetObjectItemCaseSensitive(e, "value");
                const GeneralSetingItem *item =
                    cJSON_IsString(key) ? IpcMsg_GeneralSetingFindKey(key->valuestring) : nullptr;
                bool text = item != nullptr && item->eKind == GS_KIND_TEXT;
                if (item == nullptr || (text ? !cJSON_IsString(val) : !cJSON_IsNumber(val))) {
                    bad = true;
                    continue;
                }
                cJSON_DeleteItemFromObjectCaseSensitive(copy, key->valuestring);
                cJSON_AddItemToObject(copy, key->valuestring, cJSON_Duplicate(val, 0));
                if (!text)
                    changed.emplace_back(key->valuestring, val->valuedouble);
                stored++;
            }
        }
        if (!bad && stored > 0) {
            cJSON_ReplaceItemInObjectCaseSensitive(st.Root(), "settings", copy);
            copy = nullptr;
            result = st.Store() ? 0 : -1;
        } else {
            changed.clear();
        }
        cJSON_Delete(copy);
    }
    cJSON_Delete(req);
    int r = AnswerResult(hdr, result);
    ReportEffects(changed);
    return r;
}

std::string CheckSetting(std::vector<std::string> &a) {
    std::vector<std::pair<std::string, std::string>> kv;
    if (!ParsePairs(a, &kv))
        return "setting needs KEY=VALUE...";
    for (const auto &p : kv)
        if (IpcMsg_GeneralSetingFindKey(p.first.c_str()) == nullptr)
            return "no settings item \"" + p.first + "\"";
    return "";
}

// Changes settings as the phone app would: no message is sent.
bool RunSetting(const std::vector<std::string> &a) {
    std::vector<std::pair<std::string, std::string>> kv;
    ParsePairs(a, &kv);
    StateGuard st;
    cJSON *s = st.Section("settings");
    for (const auto &p : kv) {
        long n;
        if (IpcMsg_GeneralSetingFindKey(p.first.c_str())->eKind == GS_KIND_TEXT)
            SetText(s, p.first.c_str(), p.second);
        else if (ParseLong(p.second, &n))
            SetNumber(s, p.first.c_str(), (double)n);
        else
            return false;
    }
    return st.Store();
}

// "expect-setting KEY=VALUE [TIMEOUT_MS]": the item holds VALUE (a number, or a text) within the
// time (default 3000 ms).
std::string CheckExpectSetting(std::vector<std::string> &a) {
    long n;
    if (a.empty() || a.size() > 2 || a[0].find('=') == std::string::npos ||
        (a.size() == 2 && !ParseLong(a[1], &n)))
        return "expect-setting needs KEY=VALUE [TIMEOUT_MS]";
    if (IpcMsg_GeneralSetingFindKey(a[0].substr(0, a[0].find('=')).c_str()) == nullptr)
        return "no settings item \"" + a[0].substr(0, a[0].find('=')) + "\"";
    return "";
}

bool SettingHolds(const std::string &key, const std::string &want) {
    StateGuard st;
    const cJSON *v = cJSON_GetObjectItemCaseSensitive(st.Section("settings"), key.c_str());
    long n;
    if (cJSON_IsNumber(v))
        return ParseLong(want, &n) && (double)n == v->valuedouble;
    return cJSON_IsString(v) && want == v->valuestring;
}

bool RunExpectSetting(const std::vector<std::string> &a) {
    const std::string key = a[0].substr(0, a[0].find('=')), want = a[0].substr(a[0].find('=') + 1);
    long timeout = 3000;
    if (a.size() == 2)
        ParseLong(a[1], &timeout);
    const long start = NowMs();
    while (!SettingHolds(key, want)) {
        if (NowMs() - start >= timeout) {
            StateGuard st;
            char *have =
                cJSON_PrintUnformatted(cJSON_GetObjectItemCaseSensitive(st.Section("settings"), key.c_str()));
            fprintf(stderr, "recorder_sim: expect-setting %s=%s: the state holds %s\n", key.c_str(),
                    want.c_str(), have != nullptr ? have : "nothing");
            cJSON_free(have);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

const VYX_IPCMSG_HandlerRow kResponders[] = {
    {"IPCMSG_GENERALSETING_QUERY", RespondQuery},
    {"IPCMSG_GENERALSETING_SAVE", RespondSave},
};

const SimVerb kVerbs[] = {
    {"setting", "KEY=VALUE...", "change settings items in the state without a message", CheckSetting,
     RunSetting},
    {"expect-setting", "KEY=VALUE [TIMEOUT_MS]",
     "fail unless the settings item holds VALUE within the time (3000)", CheckExpectSetting,
     RunExpectSetting},
};

} // namespace

const SimFamily kFamily_settings = {
    "settings",
    "IPCMSG_GENERALSETING_QUERY answers the asked items from \"settings\" (all 92 items, defaults\n"
    "filled in at start); IPCMSG_GENERALSETING_SAVE stores known items of the right kind and answers\n"
    "\"result\" 0, or -1 storing nothing. Saving mic_switch or wifi_switch reports switch_mic or\n"
    "switch_wifi as status.",
    kResponders,
    sizeof(kResponders) / sizeof(kResponders[0]),
    kVerbs,
    sizeof(kVerbs) / sizeof(kVerbs[0]),
    AddDefaults,
};

} // namespace sim
