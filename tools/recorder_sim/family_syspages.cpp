/* System pages: the states that raise the installation guide, the parking event toast and the
 * factory test, by name. */
#include "recorder_sim.h"

namespace sim {

namespace {

// Sets number members of the settings section and stores the document.
bool SetSettings(const std::vector<std::pair<const char *, long>> &items) {
    StateGuard g;
    cJSON *settings = g.Section("settings");
    for (const auto &it : items) {
        cJSON_DeleteItemFromObjectCaseSensitive(settings, it.first);
        cJSON_AddNumberToObject(settings, it.first, (double)it.second);
    }
    return g.Store();
}

std::string CheckNone(std::vector<std::string> &a) {
    return a.empty() ? "" : "takes no arguments";
}

// No installation guide was finished yet: the user interface opens the guide at start. The
// user interface reads the counter once, at start: make this the first step of a scenario.
bool RunFirstRun(const std::vector<std::string> &) {
    return SetSettings({{"installtion_guidecnt", 0}});
}

std::string CheckParkingReturn(std::vector<std::string> &a) {
    long v;
    return a.size() == 1 && ParseLong(a[0], &v) && v >= 1 && v <= 999
               ? ""
               : "parking-return needs COLLISIONS (1 to 999)";
}

// The car is started again after parking mode in which the g-sensor registered COLLISIONS
// collisions: the parking counters hold them, the ignition line reports on, then the parking
// collision flag. The event clips themselves are the cards' emergency files (media-generate).
bool RunParkingReturn(const std::vector<std::string> &a) {
    long n = std::stol(a[0]);
    if (!SetSettings({{"parking_collisioncnt", n}, {"parking_times", n}, {"acc_on", 1}}))
        return false;
    return SendKeyValues("IPCMSG_SYSTEMSTATUS", {{"acc_status", "on"}}) == 0 &&
           SendKeyValues("IPCMSG_SYSTEMSTATUS", {{"parkingcollision_status", "1"}}) == 0;
}

std::string CheckOnOff(std::vector<std::string> &a) {
    return a.size() == 1 && (a[0] == "on" || a[0] == "off") ? "" : "factory-test needs on or off";
}

// The production line's screen and key test starts or ends ("test_screenkey").
bool RunFactoryTest(const std::vector<std::string> &a) {
    return SendKeyValues("IPCMSG_SYSTEMSTATUS", {{"test_screenkey", a[0] == "on" ? "1" : "0"}}) == 0;
}

const SimVerb kVerbs[] = {
    {"first-run", "",
     "installtion_guidecnt 0: the user interface starts with the guide (make it the first step)", CheckNone,
     RunFirstRun},
    {"parking-return", "COLLISIONS",
     "parking counters = COLLISIONS, acc_on 1, then status acc_status=on and parkingcollision_status=1",
     CheckParkingReturn, RunParkingReturn},
    {"factory-test", "on|off", "status test_screenkey=1 or 0 (the screen and key test)", CheckOnOff,
     RunFactoryTest},
};

} // namespace

const SimFamily kFamily_syspages = {
    "syspages",
    "Raises what the system pages answer: a first run (the installation guide), the return from\n"
    "parking with collisions (the parking event toast, over the cards' emergency clips) and the\n"
    "factory screen and key test.",
    nullptr,
    0,
    kVerbs,
    sizeof(kVerbs) / sizeof(kVerbs[0]),
    nullptr,
};

} // namespace sim
