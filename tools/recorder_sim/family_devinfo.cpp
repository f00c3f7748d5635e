/* Device information: "IPCMSG_DEVINFO_QUERY", "IPCMSG_KOVARINFO_QUERY" and
 * "IPCMSG_LTEINFO_QUERY", answered from "device", "kovar" and "lte" of the state document. */
#include "recorder_sim.h"

namespace sim {

namespace {

void TextDefault(cJSON *o, const char *key, const char *v) {
    if (!cJSON_IsString(cJSON_GetObjectItemCaseSensitive(o, key)))
        SetText(o, key, v);
}
void NumberDefault(cJSON *o, const char *key, double v) {
    if (!cJSON_IsNumber(cJSON_GetObjectItemCaseSensitive(o, key)))
        SetNumber(o, key, v);
}

const char *const kDeviceKeys[] = {"model", "wifi_ssid", "wifi_pwd", "soft_version", "sn_code", "bt_info"};
const char *const kLteKeys[] = {"hardware", "sim_card", "uuid", "dns",  "network",
                                "signal",   "apn",      "flow", "mqtt", "http"};

void AddDefaults(cJSON *state) {
    StateGuard st;
    cJSON *d = st.Section("device");
    const char *const values[] = {"VR-T3",           "VR-T3_5A1C", "12345678",
                                  "V1.0.3_20261201", "T3A0012345", "VR-T3-BT"};
    for (size_t i = 0; i < sizeof(kDeviceKeys) / sizeof(kDeviceKeys[0]); i++)
        TextDefault(d, kDeviceKeys[i], values[i]);
    cJSON *k = st.Section("kovar");
    NumberDefault(k, "status", 1);
    NumberDefault(k, "connect", 0);
    cJSON *slave = cJSON_GetObjectItemCaseSensitive(k, "slave");
    if (!cJSON_IsObject(slave)) {
        cJSON_DeleteItemFromObjectCaseSensitive(k, "slave");
        slave = cJSON_AddObjectToObject(k, "slave");
    }
    NumberDefault(slave, "clientId", 0);
    TextDefault(slave, "model", "VR-K1");
    TextDefault(slave, "name", "Rear link");
    TextDefault(slave, "ble", "VR-K1-BLE");
    TextDefault(slave, "version", "V0.9.1");
    NumberDefault(slave, "totalSize", 30436);
    NumberDefault(slave, "availableSize", 20118);
    cJSON *l = st.Section("lte");
    for (const char *key : kLteKeys)
        NumberDefault(l, key, 0);
    (void)state;
}

// Answers the header and a copy of one section's members.
int AnswerSection(const MsgHeader *hdr, const char *section) {
    cJSON *body;
    {
        StateGuard st;
        body = cJSON_Duplicate(st.Section(section), 1);
    }
    return Answer(hdr, body);
}

int RespondDevInfo(const char *, const MsgHeader *hdr) {
    return AnswerSection(hdr, "device");
}
int RespondKovarInfo(const char *, const MsgHeader *hdr) {
    return AnswerSection(hdr, "kovar");
}
int RespondLteInfo(const char *, const MsgHeader *hdr) {
    return AnswerSection(hdr, "lte");
}

const VYX_IPCMSG_HandlerRow kResponders[] = {
    {"IPCMSG_DEVINFO_QUERY", RespondDevInfo},
    {"IPCMSG_KOVARINFO_QUERY", RespondKovarInfo},
    {"IPCMSG_LTEINFO_QUERY", RespondLteInfo},
};

} // namespace

const SimFamily kFamily_devinfo = {
    "devinfo",
    "IPCMSG_DEVINFO_QUERY answers \"device\" (model, wifi_ssid, wifi_pwd, soft_version, sn_code,\n"
    "bt_info); IPCMSG_KOVARINFO_QUERY answers \"kovar\" (status, connect, slave {clientId, model,\n"
    "name, ble, version, totalSize, availableSize}); IPCMSG_LTEINFO_QUERY answers \"lte\" (hardware,\n"
    "sim_card, uuid, dns, network, signal, apn, flow, mqtt, http). Change them with the state verb.",
    kResponders,
    sizeof(kResponders) / sizeof(kResponders[0]),
    nullptr,
    0,
    AddDefaults,
};

} // namespace sim
