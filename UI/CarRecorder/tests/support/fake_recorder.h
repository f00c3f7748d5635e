/*
 * A recorder process inside the test program. It takes the requests the user interface sends
 * (the queue 0x362789A3), answers them from its responder table on the user interface's queue
 * (0x362789A4), and posts notices there, where the IPC agent's receive threads hand them to the
 * handler table like any message of the real recorder. Tests that use it run in private IPC
 * namespaces (ISOLATED).
 *
 * Default responders: settings query and save (92 items, kept in Settings()), general control and
 * player ("result" 0), device, device-link and 4G queries (fixed answers). Any responder can be
 * replaced, muted (no answer: the user interface meets its time-out) or made to refuse.
 */
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <cjson/cJSON.h>

#include "vyx_ipcmsg.h"

namespace pagetest {

class FakeRecorder {
  public:
    /* Builds the answer body for a request (the whole request document is given); the header is
     * added. nullptr: no answer. */
    using Responder = std::function<cJSON *(const cJSON *request)>;

    FakeRecorder();
    ~FakeRecorder();
    FakeRecorder(const FakeRecorder &) = delete;
    FakeRecorder &operator=(const FakeRecorder &) = delete;

    void Start();
    void Stop();

    void On(const std::string &msgID, Responder fn);
    /* No answer for msgID until On or Reset. */
    void Mute(const std::string &msgID);
    /* Answers {"result": result} to msgID. */
    void Result(const std::string &msgID, int result);
    /* Default responders and settings again; forgets the requests. */
    void Reset();

    /* Requests received (whole documents), of one id or all. */
    std::vector<std::string> Requests(const std::string &msgID = "") const;
    /* Waits (real time, up to boundMs) until n requests of msgID came. */
    bool WaitRequests(const std::string &msgID, size_t n, int boundMs = 5000) const;
    void ClearRequests();

    /* The settings the default responders keep: key -> number or text (under the lock). */
    cJSON *LockSettings();
    void UnlockSettings();

    /* ---- notices, through the user interface's receive queue ---- */
    /* A document with a header of msgID (no answer wanted) and the given body members. */
    static std::string Msg(const char *msgID, const std::string &bodyJson);
    /* Posts a document as it is. 0 or the queue's error. */
    int Post(const std::string &doc);
    /* IPCMSG_SYSTEMSTATUS with one item (number or text). */
    int Status(const std::string &key, int value);
    int Status(const std::string &key, const std::string &text);

  private:
    void Loop();
    void Answer(const char *text);
    void Defaults();

    int m_s32RecvQid = -1;
    int m_s32SendQid = -1;
    std::thread m_thread;
    std::atomic<bool> m_bRunning{false};
    mutable std::mutex m_mu;
    std::map<std::string, Responder> m_responders;
    std::vector<std::pair<std::string, std::string>> m_requests; /* id, document */
    std::mutex m_settingsMu;
    cJSON *m_pstSettings = nullptr;
};

} // namespace pagetest
