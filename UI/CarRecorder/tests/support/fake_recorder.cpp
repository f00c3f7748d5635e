#include "fake_recorder.h"

#include <sys/ipc.h>
#include <sys/msg.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "IpcMsg_GeneralSeting.h"

namespace pagetest {

namespace {

struct QueueMsg {
    long mtype;
    char mtext[VYX_IPCMSG_TEXT_SIZE];
};

const char kStop[] = "{\"fake_recorder\":\"stop\"}";

cJSON *ResultBody(int result) {
    cJSON *b = cJSON_CreateObject();
    cJSON_AddNumberToObject(b, "result", result);
    return b;
}

} // namespace

FakeRecorder::FakeRecorder() {
    Defaults();
}

FakeRecorder::~FakeRecorder() {
    Stop();
    cJSON_Delete(m_pstSettings);
}

void FakeRecorder::Defaults() {
    {
        std::lock_guard<std::mutex> l(m_settingsMu);
        cJSON_Delete(m_pstSettings);
        m_pstSettings = cJSON_CreateObject();
        const GeneralSetingItem *items = IpcMsg_GeneralSetingItems();
        for (int i = 0; i < GENERAL_SETING_ITEM_NUM; i++) {
            if (items[i].eKind == GS_KIND_TEXT)
                cJSON_AddStringToObject(m_pstSettings, items[i].pcKey, "");
            else
                cJSON_AddNumberToObject(m_pstSettings, items[i].pcKey, 0);
        }
        cJSON_ReplaceItemInObject(m_pstSettings, "language", cJSON_CreateNumber(2));
        cJSON_ReplaceItemInObject(m_pstSettings, "installtion_guidecnt", cJSON_CreateNumber(1));
    }
    std::lock_guard<std::mutex> l(m_mu);
    m_responders.clear();
    m_responders["IPCMSG_GENERALSETING_QUERY"] = [this](const cJSON *req) {
        cJSON *ints = cJSON_CreateArray(), *strs = cJSON_CreateArray();
        std::lock_guard<std::mutex> g(m_settingsMu);
        const cJSON *k = nullptr;
        cJSON_ArrayForEach(k, cJSON_GetObjectItemCaseSensitive(req, "keys")) {
            const cJSON *key = cJSON_GetObjectItemCaseSensitive(k, "key");
            const cJSON *v = cJSON_IsString(key)
                                 ? cJSON_GetObjectItemCaseSensitive(m_pstSettings, key->valuestring)
                                 : nullptr;
            if (v == nullptr)
                continue;
            cJSON *item = cJSON_CreateObject();
            cJSON_AddStringToObject(item, "key", key->valuestring);
            cJSON_AddItemToObject(item, "value", cJSON_Duplicate(v, 0));
            cJSON_AddItemToArray(cJSON_IsString(v) ? strs : ints, item);
        }
        cJSON *b = cJSON_CreateObject();
        cJSON_AddItemToObject(b, "int_params", ints);
        cJSON_AddItemToObject(b, "string_params", strs);
        return b;
    };
    m_responders["IPCMSG_GENERALSETING_SAVE"] = [this](const cJSON *req) {
        int stored = 0;
        std::lock_guard<std::mutex> g(m_settingsMu);
        for (const char *list : {"int_params", "string_params"}) {
            const cJSON *e = nullptr;
            cJSON_ArrayForEach(e, cJSON_GetObjectItemCaseSensitive(req, list)) {
                const cJSON *key = cJSON_GetObjectItemCaseSensitive(e, "key");
                const cJSON *val = cJSON_GetObjectItemCaseSensitive(e, "value");
                if (!cJSON_IsString(key) || val == nullptr ||
                    cJSON_GetObjectItemCaseSensitive(m_pstSettings, key->valuestring) == nullptr)
                    continue;
                cJSON_ReplaceItemInObjectCaseSensitive(m_pstSettings, key->valuestring,
                                                       cJSON_Duplicate(val, 0));
                stored++;
            }
        }
        return ResultBody(stored > 0 ? 0 : -1);
    };
    m_responders["IPCMSG_GENERALCTRL"] = [](const cJSON *) { return ResultBody(0); };
    m_responders["IPCMSG_PLAYBACK_CTRL"] = [](const cJSON *) { return ResultBody(0); };
    m_responders["IPCMSG_DEVINFO_QUERY"] = [](const cJSON *) {
        return cJSON_Parse(R"({"model":"VR-T3","wifi_ssid":"VR-T3_5A1C","wifi_pwd":"12345678",)"
                           R"("soft_version":"V1.0.3","sn_code":"T3A0012345","bt_info":"VR-T3-BT"})");
    };
    m_responders["IPCMSG_KOVARINFO_QUERY"] = [](const cJSON *) {
        return cJSON_Parse(
            R"({"status":2,"connect":1,"slave":{"clientId":7,"model":"VR-K1","name":"Rear link",)"
            R"("ble":"VR-K1-BLE","version":"V0.9.1","totalSize":30436,"availableSize":20118}})");
    };
    m_responders["IPCMSG_LTEINFO_QUERY"] = [](const cJSON *) {
        return cJSON_Parse(R"({"hardware":1,"sim_card":1,"uuid":1,"dns":1,"network":1,"signal":3,)"
                           R"("apn":1,"flow":0,"mqtt":1,"http":1})");
    };
}

void FakeRecorder::Start() {
    if (m_bRunning)
        return;
    m_s32RecvQid = msgget(VYX_IPCMSG_KEY_UI_SEND, IPC_CREAT | 0666);
    m_s32SendQid = msgget(VYX_IPCMSG_KEY_UI_RECV, IPC_CREAT | 0666);
    m_bRunning = true;
    m_thread = std::thread([this] { Loop(); });
}

void FakeRecorder::Stop() {
    if (!m_bRunning)
        return;
    m_bRunning = false;
    QueueMsg m{};
    m.mtype = 1;
    memcpy(m.mtext, kStop, sizeof(kStop));
    msgsnd(m_s32RecvQid, &m, sizeof(kStop), 0);
    m_thread.join();
}

void FakeRecorder::Loop() {
    QueueMsg m;
    while (m_bRunning) {
        ssize_t n = msgrcv(m_s32RecvQid, &m, sizeof(m.mtext), 0, 0);
        if (n <= 0)
            continue;
        m.mtext[sizeof(m.mtext) - 1] = '\0';
        if (strcmp(m.mtext, kStop) == 0)
            break;
        Answer(m.mtext);
    }
}

void FakeRecorder::Answer(const char *text) {
    MsgHeader hdr;
    if (VYX_IPCMSG_DecodeMsgHeader(text, &hdr) != 0)
        return;
    Responder fn;
    {
        std::lock_guard<std::mutex> l(m_mu);
        m_requests.emplace_back(hdr.msgID, text);
        auto it = m_responders.find(hdr.msgID);
        if (it != m_responders.end())
            fn = it->second;
    }
    if (!fn || !hdr.needAck)
        return;
    cJSON *req = cJSON_Parse(text);
    cJSON *body = fn(req);
    cJSON_Delete(req);
    if (body == nullptr)
        return;
    MsgHeader ans;
    VYX_IPCMSG_InitHeader(&ans, hdr.msgID, 1, 0);
    ans.transID = hdr.transID;
    char *doc = VYX_IPCMSG_BuildMsg(&ans, body);
    if (doc != nullptr) {
        Post(doc);
        cJSON_free(doc);
    }
}

void FakeRecorder::On(const std::string &msgID, Responder fn) {
    std::lock_guard<std::mutex> l(m_mu);
    m_responders[msgID] = std::move(fn);
}

void FakeRecorder::Mute(const std::string &msgID) {
    On(msgID, [](const cJSON *) { return nullptr; });
}

void FakeRecorder::Result(const std::string &msgID, int result) {
    On(msgID, [result](const cJSON *) { return ResultBody(result); });
}

void FakeRecorder::Reset() {
    Defaults();
    ClearRequests();
}

std::vector<std::string> FakeRecorder::Requests(const std::string &msgID) const {
    std::lock_guard<std::mutex> l(m_mu);
    std::vector<std::string> out;
    for (const auto &r : m_requests)
        if (msgID.empty() || r.first == msgID)
            out.push_back(r.second);
    return out;
}

bool FakeRecorder::WaitRequests(const std::string &msgID, size_t n, int boundMs) const {
    for (int t = 0; t < boundMs; t += 2) {
        if (Requests(msgID).size() >= n)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return Requests(msgID).size() >= n;
}

void FakeRecorder::ClearRequests() {
    std::lock_guard<std::mutex> l(m_mu);
    m_requests.clear();
}

cJSON *FakeRecorder::LockSettings() {
    m_settingsMu.lock();
    return m_pstSettings;
}

void FakeRecorder::UnlockSettings() {
    m_settingsMu.unlock();
}

std::string FakeRecorder::Msg(const char *msgID, const std::string &bodyJson) {
    MsgHeader h;
    VYX_IPCMSG_InitHeader(&h, msgID, 0, 0);
    char *t = VYX_IPCMSG_BuildMsg(&h, cJSON_Parse(bodyJson.c_str()));
    std::string s = t != nullptr ? t : "";
    cJSON_free(t);
    return s;
}

int FakeRecorder::Post(const std::string &doc) {
    if (m_s32SendQid < 0)
        m_s32SendQid = msgget(VYX_IPCMSG_KEY_UI_RECV, IPC_CREAT | 0666);
    QueueMsg m{};
    m.mtype = 1;
    size_t n = std::min(doc.size() + 1, sizeof(m.mtext));
    memcpy(m.mtext, doc.c_str(), n);
    m.mtext[sizeof(m.mtext) - 1] = '\0';
    return msgsnd(m_s32SendQid, &m, n, 0);
}

int FakeRecorder::Status(const std::string &key, int value) {
    return Post(Msg("IPCMSG_SYSTEMSTATUS",
                    R"({"int_params":[{"key":")" + key + R"(","value":)" + std::to_string(value) + "}]}"));
}

int FakeRecorder::Status(const std::string &key, const std::string &text) {
    return Post(Msg("IPCMSG_SYSTEMSTATUS",
                    R"({"string_params":[{"key":")" + key + R"(","value":")" + text + R"("}]})"));
}

} // namespace pagetest
