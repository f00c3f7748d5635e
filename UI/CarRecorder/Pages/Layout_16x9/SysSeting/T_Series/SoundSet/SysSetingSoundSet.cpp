#include "SysSetingSoundSet.h"

#include "SetFlowScreens.h"
#include "log.h"

namespace Page {

namespace {

enum : int32_t {
    ID_BOOT_SOUND = 167,
    ID_MIC = 170,
    ID_MIC_REAR = 173,
    ID_SPEAKER = 176,
};

SetMenuItem s_stSpkHigh = {177, 0, "LANG_RES_ID_HIGH", nullptr, 0};
SetMenuItem s_stSpkMid = {178, 0, "LANG_RES_ID_MID", nullptr, 0};
SetMenuItem s_stSpkLow = {179, 0, "LANG_RES_ID_LOW", nullptr, 0};
SetMenuItem s_stSpkOff = {180, 0, "LANG_RES_ID_OFF", nullptr, 0};
SetMenuItem *s_apstSpeaker[] = {&s_stSpkHigh, &s_stSpkMid, &s_stSpkLow, &s_stSpkOff};
SetMenu s_stSpeakerMenu = {51, "LANG_RES_ID_SPEEKER", nullptr,
                           4,  s_apstSpeaker,         SysSetingSoundSetModel::MenuGetDefault_GeneralSetting,
                           0};

SetMenuItem s_stBootSound = {ID_BOOT_SOUND, 0, "LANG_RES_ID_BOOT_SOUND", nullptr, 0};
SetMenuItem s_stMic = {ID_MIC, 0, "LANG_RES_ID_MIC", nullptr, 0};
SetMenuItem s_stMicRear = {ID_MIC_REAR, 0, "LANG_RES_ID_MIC_REAR", nullptr, 0};
SetMenuItem s_stSpeaker = {ID_SPEAKER, 0, "LANG_RES_ID_SPEEKER", &s_stSpeakerMenu, 0};
SetMenuItem *s_apstRoot[] = {&s_stBootSound, &s_stMic, &s_stMicRear, &s_stSpeaker};
SetMenu s_stRootMenu = {5, "LANG_RES_ID_SOUND_SET", nullptr, 4, s_apstRoot, nullptr, 0};

const SetMenuOption s_astSpeaker[] = {{177, 100}, {178, 66}, {179, 33}, {180, 0}};
const SetMenuBinding s_astBindings[] = {{&s_stSpeakerMenu, GS_SPEAKER_TURN, s_astSpeaker, 4}};

const int32_t s_as32Items[] = {GS_START_SOUND_SWITCH, GS_MIC_SWITCH, GS_REARMICSWITCH, GS_SPEAKER_TURN};

} // namespace

SetMenu *SysSetingSoundSet::RootMenu() {
    SetMenu_LinkTree(&s_stRootMenu);
    return &s_stRootMenu;
}

SysSetingSoundSet::SysSetingSoundSet()
    : SysSetingPage(m_stModel, m_stView, "SysSetingSoundSetModel", RootMenu(), s_as32Items,
                    (int32_t)(sizeof s_as32Items / sizeof s_as32Items[0])) {
    m_stModel.SetBindings(s_astBindings, 1);
}

void SysSetingSoundSet::RowInfo(int32_t s32Pos, PageCommonItem *pstRow) {
    SysSetingPage::RowInfo(s32Pos, pstRow);
    SetRow_FitWidths(pstRow, SetRow_ValueId(Model, s32Pos));
    if (Model.GetItemId(s32Pos) == ID_MIC_REAR) {
        pstRow->bEnable = 0; /* the rear microphone follows the microphone switch */
    }
}

int32_t SysSetingSoundSet::SwitchState(int32_t s32ItemId) {
    const GeneralSetingInfo &s = Model.m_stInfo;
    switch (s32ItemId) {
    case ID_BOOT_SOUND:
        return s.start_sound_switch != 0 ? 1 : 0;
    case ID_MIC:
        return s.mic_switch != 0 ? 1 : 0;
    case ID_MIC_REAR:
        return s.rearMicSwitch != 0 ? 1 : 0;
    default:
        return -1;
    }
}

int SysSetingSoundSet::SwitchChanged(int32_t s32ItemId, bool bOn) {
    switch (s32ItemId) {
    case ID_BOOT_SOUND:
        return Model.GeneralSetingComm(GS_START_SOUND_SWITCH, bOn ? 1 : 0);
    case ID_MIC:
        if (Model.GeneralSetingComm(GS_MIC_SWITCH, bOn ? 1 : 0) != 0) {
            return -1;
        }
        /* Switching the microphone off silences the rear one too. */
        return bOn ? 0 : Model.GeneralSetingComm(GS_REARMICSWITCH, 0);
    case ID_MIC_REAR:
        return Model.GeneralSetingComm(GS_REARMICSWITCH, bOn ? 1 : 0);
    default:
        return SysSetingPage::SwitchChanged(s32ItemId, bOn);
    }
}

} // namespace Page
