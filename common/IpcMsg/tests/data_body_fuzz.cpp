// Fuzz targets of the message bodies the user interface takes from the recorder. One source,
// built once per body (DATA_BODY_FUZZ): status, trigger event, factory test, settings answer,
// control and query answers. After each input the records must still hold only what their
// fields can mean.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "IpcMsg_Common.h"
#include "IpcMsg_DevFacTest.h"
#include "IpcMsg_GeneralSeting.h"
#include "IpcMsg_SystemStatus.h"
#include "log.h"

#define BODY_STATUS   1
#define BODY_TRIGGER  2
#define BODY_FACTEST  3
#define BODY_SETTINGS 4
#define BODY_CONTROL  5

namespace {

void Receiver(SystemStatusNotice n) {
    if (n.eType < 0 || n.eType > SYS_STATUS_WRITECARD_SLOW)
        abort();
}

// Every flag of the status record is 0 or 1; the reserved bytes stay zero.
[[maybe_unused]] void CheckStatus() {
    SystemStatusInfo s;
    IpcMsg_GetSystemStatusInfo(&s, sizeof(s));
    const uint8_t *b = reinterpret_cast<const uint8_t *>(&s);
    for (size_t i = 0; i < 50; i++)
        if (b[i] > 1)
            abort();
    for (uint8_t r : s.au8Reserved112)
        if (r != 0)
            abort();
}

[[maybe_unused]] void CheckSettings() {
    GeneralSetingInfo g;
    IpcMsg_GeneralSetingCopy(&g, sizeof(g));
    const GeneralSetingItem *items = IpcMsg_GeneralSetingItems();
    for (int i = 0; i < GENERAL_SETING_ITEM_NUM; i++) {
        const uint8_t *f = reinterpret_cast<const uint8_t *>(&g) + items[i].u16Offset;
        if (items[i].eKind == GS_KIND_FLAG && *f > 1)
            abort();
        if (items[i].eKind == GS_KIND_TEXT && memchr(f, '\0', GENERAL_SETING_TEXT_SIZE) == nullptr)
            abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    Log_Config(false, false, 0);
    IpcMsg_SetStatusCallback(Receiver);
    IpcMsg_SetStatusFilePath("/dev/shm/data_body_fuzz_ui_status");
    // Nothing but the handlers' own prints.
    if (freopen("/dev/null", "w", stdout) == nullptr)
        return 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size); // NUL-terminated copy
    MsgHeader h{};
#if DATA_BODY_FUZZ == BODY_STATUS
    IpcMsg_UpdateStatuslCallbcak(text.c_str(), &h);
    CheckStatus();
    IpcMsg_LoadStatusInFile();
    CheckStatus();
#elif DATA_BODY_FUZZ == BODY_TRIGGER
    IpcMsg_TriggerEvtlCallbcak(text.c_str(), &h);
    CheckStatus();
#elif DATA_BODY_FUZZ == BODY_FACTEST
    IpcMsg_DevFacTestStatuslCallbcak(text.c_str(), &h);
    DevFacTestInfo f;
    IpcMsg_DevFacTestCopy(&f);
    if (f.bFacAccOn > 1 || f.bFacKeyOk > 1 ||
        memchr(f.szRearSnapFile, '\0', sizeof(f.szRearSnapFile)) == nullptr ||
        memchr(f.szFrontSnapFile, '\0', sizeof(f.szFrontSnapFile)) == nullptr)
        abort();
#elif DATA_BODY_FUZZ == BODY_SETTINGS
    IpcMsg_GeneralSetingQureyCallBack(text.c_str(), &h);
    CheckSettings();
#elif DATA_BODY_FUZZ == BODY_CONTROL
    int32_t r;
    IpcMsg_AnswerResult(text.c_str(), &r);
    cJSON *b = IpcMsg_QueryAnswer(text.c_str(), &h);
    cJSON_Delete(b);
#else
#error "DATA_BODY_FUZZ names no body"
#endif
    return 0;
}
