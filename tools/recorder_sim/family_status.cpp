/* Status: the notices a recorder sends unasked, by name: system status, trigger events and the
 * factory-test status. */
#include "recorder_sim.h"

namespace sim {

namespace {

std::string CheckPairs(std::vector<std::string> &a) {
    std::vector<std::pair<std::string, std::string>> kv;
    return ParsePairs(a, &kv) ? "" : "needs KEY=VALUE... (or KEY VALUE)";
}

bool RunStatus(const std::vector<std::string> &a) {
    std::vector<std::pair<std::string, std::string>> kv;
    ParsePairs(a, &kv);
    return SendKeyValues("IPCMSG_SYSTEMSTATUS", kv) == 0;
}

bool RunFactest(const std::vector<std::string> &a) {
    std::vector<std::pair<std::string, std::string>> kv;
    ParsePairs(a, &kv);
    return SendKeyValues("IPCMSG_DEV_FACTEST_CB", kv) == 0;
}

std::string CheckTrigger(std::vector<std::string> &a) {
    long v;
    return a.size() == 2 && ParseLong(a[1], &v) ? "" : "trigger needs EVENT_TYPE DURATION";
}

bool RunTrigger(const std::vector<std::string> &a) {
    cJSON *body = cJSON_CreateObject();
    cJSON_AddStringToObject(body, "event_type", a[0].c_str());
    cJSON_AddNumberToObject(body, "duration", std::stol(a[1]));
    return SendMsg("IPCMSG_TRIGGEREVT", body) == 0;
}

const SimVerb kVerbs[] = {
    {"status", "KEY=VALUE... | KEY VALUE",
     "IPCMSG_SYSTEMSTATUS; whole numbers go to int_params, other values to string_params", CheckPairs,
     RunStatus},
    {"trigger", "EVENT_TYPE DURATION", "IPCMSG_TRIGGEREVT {\"event_type\", \"duration\"}", CheckTrigger,
     RunTrigger},
    {"factest", "KEY=VALUE...", "IPCMSG_DEV_FACTEST_CB, as status", CheckPairs, RunFactest},
};

} // namespace

const SimFamily kFamily_status = {
    "status",
    "Sends status, trigger and factory-test notices by name, e.g. \"status rec_status=start\",\n"
    "\"status gps_state=1 storage_status=normal\", \"trigger gsensor_collision 10\".",
    nullptr,
    0,
    kVerbs,
    sizeof(kVerbs) / sizeof(kVerbs[0]),
    nullptr,
};

} // namespace sim
