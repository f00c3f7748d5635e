/* Status: the notices a recorder sends unasked, by name: system status, trigger events and the
 * factory-test status. */
#include "recorder_sim.h"

#include <time.h>

#include <chrono>
#include <thread>

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

std::string CheckStamp(std::vector<std::string> &a) {
    long rate, count;
    return a.size() == 2 && ParseLong(a[0], &rate) && ParseLong(a[1], &count) && rate > 0 && rate <= 100000 &&
                   count > 0
               ? ""
               : "stamp needs RATE COUNT";
}

// COUNT status messages at RATE a second, each carrying its send time for latency measurements:
// "4G_level" is CLOCK_MONOTONIC in microseconds modulo 2^31. Sends go out on a fixed schedule
// (a late one does not shift the ones after it).
bool RunStamp(const std::vector<std::string> &a) {
    const long rate = std::stol(a[0]), count = std::stol(a[1]);
    const auto t0 = std::chrono::steady_clock::now();
    int failed = 0;
    for (long i = 0; i < count; i++) {
        std::this_thread::sleep_until(t0 + std::chrono::microseconds(i * 1000000 / rate));
        timespec ts;
        clock_gettime(CLOCK_MONOTONIC, &ts);
        const long long us = (long long)ts.tv_sec * 1000000 + ts.tv_nsec / 1000;
        failed += SendKeyValues("IPCMSG_SYSTEMSTATUS", {{"4G_level", std::to_string(us & 0x7FFFFFFF)}}) != 0;
    }
    Log("stamp", std::to_string(count) + " sent, " + std::to_string(failed) + " failed");
    return true;
}

const SimVerb kVerbs[] = {
    {"status", "KEY=VALUE... | KEY VALUE",
     "IPCMSG_SYSTEMSTATUS; whole numbers go to int_params, other values to string_params", CheckPairs,
     RunStatus},
    {"trigger", "EVENT_TYPE DURATION", "IPCMSG_TRIGGEREVT {\"event_type\", \"duration\"}", CheckTrigger,
     RunTrigger},
    {"factest", "KEY=VALUE...", "IPCMSG_DEV_FACTEST_CB, as status", CheckPairs, RunFactest},
    {"stamp", "RATE COUNT",
     "COUNT status messages at RATE a second, 4G_level = send time (CLOCK_MONOTONIC us mod 2^31)", CheckStamp,
     RunStamp},
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
