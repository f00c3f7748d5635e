/* Upkeep: the recorder's long jobs started by control items of "IPCMSG_GENERALCTRL" (formatting
 * the storage card, the factory reset, pairing the linked camera). Each takes the time a
 * recorder takes, applies its effect to the state document and reports the progress and the end
 * as status, as the recorder does. Scenario verbs make them fail (no card, recorder busy) or end
 * without a word, so that the user interface meets its failure screens and time-outs. */
#include "recorder_sim.h"

#include <strings.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "sys_paths.h"

namespace sim {

namespace {

// How a job ends: as it should, refused (no card, recorder busy), or without any report.
enum class End { kDone, kNoCard, kBusy, kSilent };

struct Knobs {
    long formatMs = 5000;
    long resetMs = 3000;
    long bindMs = 6000; // the linked camera is seen over Bluetooth after a third of it
    End format = End::kDone;
    End reset = End::kDone;
    End bind = End::kDone; // kBusy: pairing fails
};

std::mutex g_mu;
Knobs g_knobs;
// One job of each kind at a time; a newer generation cancels the pairing job.
std::atomic<bool> g_formatting{false}, g_resetting{false}, g_binding{false};
std::atomic<unsigned> g_bindGeneration{0};

Knobs CurrentKnobs() {
    std::lock_guard<std::mutex> l(g_mu);
    return g_knobs;
}

void Report(const char *key, const std::string &value) {
    SendKeyValues("IPCMSG_SYSTEMSTATUS", {{key, value}});
}

// Sleeps ms in short steps; false when the pairing job of generation gen was cancelled.
bool Pause(long ms, unsigned gen = 0) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        if (gen != 0 && g_bindGeneration.load() != gen)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return gen == 0 || g_bindGeneration.load() == gen;
}

// Removes the recordings and photos of the first card (its DCIM folders stay).
void EraseCard() {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path dcim = SYS_PATH_APP_SD_DCIM;
    for (auto it = fs::recursive_directory_iterator(dcim, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->is_regular_file(ec))
            fs::remove(it->path(), ec);
}

void FormatJob(Knobs k) {
    // The status reports follow the answer, a little apart so that they arrive in order.
    Pause(100);
    if (k.format == End::kDone) {
        Report("storage_status", "formating");
        Pause(k.formatMs);
        EraseCard();
        {
            StateGuard st;
            SetText(st.Section("recorder"), "storage", "normal");
            cJSON *s = st.Section("settings");
            SetNumber(s, "dev_available_size", NumberOr(s, "dev_total_size", 0));
            st.Store();
        }
        Report("storage_status", "format_succss");
        Pause(100);
        Report("storage_status", "normal");
    } else if (k.format == End::kNoCard) {
        Report("storage_status", "format_failed");
        Pause(100);
        Report("storage_status", "noinsert");
    } else if (k.format == End::kBusy) {
        Report("storage_status", "format_failed");
    }
    g_formatting = false;
}

void ResetJob(Knobs k) {
    Pause(100);
    if (k.reset == End::kDone) {
        Pause(k.resetMs);
        {
            StateGuard st;
            cJSON_DeleteItemFromObjectCaseSensitive(st.Root(), "settings");
            for (const SimFamily *f : Families())
                if (f->defaults != nullptr)
                    f->defaults(st.Root());
            st.Store();
        }
        Report("resetdev_result", "success_no_reboot");
    } else if (k.reset != End::kSilent) {
        Report("resetdev_result", "failure");
    }
    g_resetting = false;
}

void SetLink(bool linked) {
    StateGuard st;
    cJSON *kv = st.Section("kovar");
    SetNumber(kv, "status", linked ? 2 : 1);
    SetNumber(kv, "connect", linked ? 1 : 0);
    st.Store();
}

void BindJob(Knobs k, unsigned gen) {
    if (!Pause(k.bindMs / 3, gen))
        return;
    if (k.bind == End::kDone || k.bind == End::kBusy)
        Report("kovar_ble_status", "1");
    if (!Pause(k.bindMs - k.bindMs / 3, gen))
        return;
    if (k.bind == End::kDone) {
        SetLink(true);
        Report("kovar_bind_status", "1");
        Pause(100);
        Report("kovar_Connect_status", "1");
    } else if (k.bind == End::kBusy) {
        Report("kovar_bind_status", "0");
    }
    unsigned expected = gen;
    if (g_bindGeneration.compare_exchange_strong(expected, gen))
        g_binding = false;
}

bool StorageMissing() {
    StateGuard st;
    return strcasecmp(TextOr(st.Section("recorder"), "storage", "normal").c_str(), "noinsert") == 0;
}

const char *EndName(End e) {
    return e == End::kDone ? "no" : e == End::kNoCard ? "nocard" : e == End::kBusy ? "busy" : "silent";
}

// "no", "nocard", "busy", "silent" (those the verb allows).
std::string CheckEnd(const std::vector<std::string> &a, const std::vector<const char *> &allowed,
                     const char *usage) {
    if (a.size() == 1)
        for (const char *name : allowed)
            if (a[0] == name)
                return "";
    return usage;
}

End ParseEnd(const std::string &s) {
    for (End e : {End::kDone, End::kNoCard, End::kBusy, End::kSilent})
        if (s == EndName(e))
            return e;
    return s == "fail" ? End::kBusy : End::kDone;
}

std::string CheckFormatFails(std::vector<std::string> &a) {
    return CheckEnd(a, {"no", "nocard", "busy", "silent"}, "format-fails needs no|nocard|busy|silent");
}
bool RunFormatFails(const std::vector<std::string> &a) {
    std::lock_guard<std::mutex> l(g_mu);
    g_knobs.format = ParseEnd(a[0]);
    return true;
}

std::string CheckResetFails(std::vector<std::string> &a) {
    return CheckEnd(a, {"no", "busy", "silent"}, "reset-fails needs no|busy|silent");
}
bool RunResetFails(const std::vector<std::string> &a) {
    std::lock_guard<std::mutex> l(g_mu);
    g_knobs.reset = ParseEnd(a[0]);
    return true;
}

std::string CheckBindEnds(std::vector<std::string> &a) {
    return CheckEnd(a, {"success", "fail", "silent"}, "bind-ends needs success|fail|silent");
}
bool RunBindEnds(const std::vector<std::string> &a) {
    std::lock_guard<std::mutex> l(g_mu);
    g_knobs.bind = a[0] == "success" ? End::kDone : ParseEnd(a[0]);
    return true;
}

std::string CheckUpkeepTime(std::vector<std::string> &a) {
    long ms;
    if (a.size() == 2 && (a[0] == "format" || a[0] == "reset" || a[0] == "bind") && ParseLong(a[1], &ms) &&
        ms >= 0 && ms <= 600000)
        return "";
    return "upkeep-time needs format|reset|bind MS (0 to 600000)";
}
bool RunUpkeepTime(const std::vector<std::string> &a) {
    long ms = 0;
    ParseLong(a[1], &ms);
    std::lock_guard<std::mutex> l(g_mu);
    (a[0] == "format" ? g_knobs.formatMs : a[0] == "reset" ? g_knobs.resetMs : g_knobs.bindMs) = ms;
    return true;
}

const SimVerb kVerbs[] = {
    {"format-fails", "no|nocard|busy|silent",
     "how the next formats end: as they should, refused for a missing card or a busy recorder, or never",
     CheckFormatFails, RunFormatFails},
    {"reset-fails", "no|busy|silent", "how the next factory resets end: done, refused (busy) or never",
     CheckResetFails, RunResetFails},
    {"bind-ends", "success|fail|silent", "how the next pairings of the linked camera end", CheckBindEnds,
     RunBindEnds},
    {"upkeep-time", "format|reset|bind MS",
     "how long a format, a reset or a pairing takes (default 5000, "
     "3000, 6000)",
     CheckUpkeepTime, RunUpkeepTime},
};

} // namespace

bool UpkeepControl(const std::string &item, const std::string &value, int *result) {
    const Knobs k = CurrentKnobs();
    if (item == "ctrl_format") {
        // A second format while one runs, a missing card or a busy recorder: refused.
        const bool missing = StorageMissing();
        if (g_formatting.exchange(true)) {
            *result = -1;
            return true;
        }
        Knobs job = k;
        if (missing)
            job.format = End::kNoCard;
        *result = job.format == End::kDone || job.format == End::kSilent ? 0 : -1;
        std::thread(FormatJob, job).detach();
        return true;
    }
    if (item == "ctrl_resetdev") {
        if (g_resetting.exchange(true)) {
            *result = -1;
            return true;
        }
        *result = k.reset == End::kBusy ? -1 : 0;
        std::thread(ResetJob, k).detach();
        return true;
    }
    if (item == "ctrl_kovar_start_bind") {
        if (g_binding.exchange(true)) {
            *result = -1;
            return true;
        }
        *result = 0;
        std::thread(BindJob, k, ++g_bindGeneration).detach();
        return true;
    }
    if (item == "ctrl_kovar_stop_bind") {
        ++g_bindGeneration; // the running pairing stops without a report
        g_binding = false;
        *result = 0;
        return true;
    }
    if (item == "ctrl_kovar_unbind") {
        SetLink(false);
        *result = 0;
        std::thread([] {
            Pause(100);
            Report("kovar_bind_status", "0");
            Pause(100);
            Report("kovar_Connect_status", "0");
        }).detach();
        return true;
    }
    (void)value;
    return false;
}

const SimFamily kFamily_upkeep = {
    "upkeep",
    "Long jobs of IPCMSG_GENERALCTRL: ctrl_format reports storage_status formating, then after the\n"
    "format time erases the first card's files, frees its space and reports format_succss and normal\n"
    "(a missing card or a busy recorder: result -1, format_failed); ctrl_resetdev puts the settings\n"
    "back to defaults after the reset time and reports resetdev_result success_no_reboot (busy:\n"
    "failure); ctrl_kovar_start_bind reports kovar_ble_status 1, then kovar_bind_status 1 and\n"
    "kovar_Connect_status 1 and links \"kovar\" (fail: kovar_bind_status 0); ctrl_kovar_stop_bind\n"
    "cancels it; ctrl_kovar_unbind unlinks and reports 0 for both. A job that runs refuses a second.",
    nullptr,
    0,
    kVerbs,
    sizeof(kVerbs) / sizeof(kVerbs[0]),
    nullptr,
};

} // namespace sim
