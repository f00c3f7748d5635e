#include "App.h"

#include <pthread.h>
#include <stdlib.h>
#include <unistd.h>

#include "AppFactory.h"
#include "DataProc.h"
#include "IpcMsg_DevFacTest.h"
#include "PageManager.h"
#include "StatusBar.h"
#include "SysStateCheck.h"
#include "key.h"
#include "log.h"
#include "lv_label_ext_func.h"
#include "lvgl.h"
#include "sys_paths.h"
#include "vyx_ipcmsg.h"
#include "vyx_ui_album.h"

namespace {

/* Inbound messages of the recorder and their handlers, in this order: system status, trigger
 * events, key events, factory-test status, new file, deleted file. */
const VYX_IPCMSG_HandlerRow s_astIpcHandlers[] = {
    {"IPCMSG_SYSTEMSTATUS", IpcMsg_UpdateStatuslCallbcak},
    {"IPCMSG_TRIGGEREVT", IpcMsg_TriggerEvtlCallbcak},
    {"IPCMSG_KEYEVENT", Key_IpcMsgEventCallbcak},
    {"IPCMSG_DEV_FACTEST_CB", IpcMsg_DevFacTestStatuslCallbcak},
    {"IPCMSG_HASANEW_FILE", VYX_UI_ALBUM_HasANewFile},
    {"IPCMSG_DELFILE_MSG", VYX_UI_ALBUM_DelFileCb},
};

/* The settings items start-up needs: card size, installation guide, language. */
const int32_t s_as32StartItems[] = {GS_DEV_TOTAL_SIZE, GS_INSTALLTION_GUIDECNT, GS_LANGUAGE};

/* Language index of the settings record -> column of the language file. */
const char *const s_apcLangCodes[] = {
    "CN", "TW", "US", "RU", "ES", "HL", "TH", "PL", "AR", "VN", "JP", "PT", "GE", "FR", "SK", "TU",
};
constexpr int kLangCount = static_cast<int>(sizeof(s_apcLangCodes) / sizeof(s_apcLangCodes[0]));

/* The page manager, built on first use with the application's factory, destroyed at exit. */
PageManager &App_PageManager() {
    static AppFactory s_stFactory;
    static PageManager s_stManager(&s_stFactory);
    return s_stManager;
}

/* The pages, in installation order: class name, page name. */
const char *const s_apcPages[][2] = {
    {"Home", "Pages/Home"},
    {"AlbumHome", "Pages/AlbumHome"},
    {"AlbumFileList", "Pages/AlbumFileList"},
    {"AlbumPlayer", "Pages/AlbumPlayer"},
    {"SysSetingHome", "Pages/SysSetingHome"},
    {"SysSetingVideoSet", "Pages/SysSetingVideoSet"},
    {"SysSetingSysSet", "Pages/SysSetingSysSet"},
    {"SysSetingParking", "Pages/SysSetingParking"},
    {"SysSetingAlgorAssist", "Pages/SysSetingAlgorAssist"},
    {"SysSetingSoundSet", "Pages/SysSetingSoundSet"},
    {"SysSetingMore", "Pages/SysSetingMore"},
    {"SysSetingKovar", "Pages/SysSetingKovar"},
    {"FacTest", "Pages/FacTest"},
    {"InstallGuide", "Pages/InstallGuide"},
    {"ParkingEvtToast", "Pages/ParkingEvtToast"},
    {"SysSetingScreenSet", "Pages/SysSetingScreenSet"},
    {"SysSetingReset", "Pages/SysSetingReset"},
    {"SysSetingFormat", "Pages/SysSetingFormat"},
    {"SysStateToastPage", "Pages/SysStateToastPage"},
};

/* Loads the settings items that start-up needs (45, 24, 29) from the recorder process. */
void *GeneralSetingLoad_Thread(void *pArg) {
    (void)pArg;
    LOG_INFO("in\n");
    IpcMsg_GeneralSetingItemLoad(
        s_as32StartItems, static_cast<int32_t>(sizeof(s_as32StartItems) / sizeof(s_as32StartItems[0])));
    return nullptr;
}

/* The active screen of the default display becomes a bare, fixed canvas of the display's size. */
void App_PrepareScreen(lv_disp_t *pstDisp) {
    lv_obj_t *pstScr = lv_disp_get_scr_act(pstDisp);
    lv_obj_remove_style_all(pstScr);
    lv_obj_clear_flag(pstScr, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_set_size(pstScr, lv_disp_get_hor_res(pstDisp), lv_disp_get_ver_res(pstDisp));
}

} // namespace

const char *App_GetLanguageCode(int s32LangIdx) {
    return (s32LangIdx >= 0 && s32LangIdx < kLangCount) ? s_apcLangCodes[s32LangIdx] : nullptr;
}

void App_SetLanguage(int s32LangIdx) {
    LOG_INFO("set lang id [%d]\n", s32LangIdx);
    const char *pLangCode = App_GetLanguageCode(s32LangIdx);
    if (pLangCode == nullptr) {
        LOG_INFO("no support\n");
    }
    Lang_SetCode(pLangCode); /* a null code keeps the current language */
    LOG_INFO("%s:  %s\n", "pLangCode", pLangCode != nullptr ? pLangCode : "(null)");
}

void App_Init(void) {
    /* 1. Page manager: the static PageManager built with AppFactory (load animation over-left,
     *    500 ms, ease-out). */
    PageManager &stManager = App_PageManager();

    /* 2. Data processors and their nine accounts in the data center. */
    if (DP_Init() != 0) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", 0xFFFFFFFFu);
    }

    /* 3. The screen. Without a display (no draw buffer) there is nothing to draw on. */
    lv_disp_t *pstDisp = lv_disp_get_default();
    if (pstDisp != nullptr) {
        App_PrepareScreen(pstDisp);
    } else {
        LOG_WARN("no display, running without a screen\n");
    }

    /* 4. Status bar on the display's top layer. */
    if (pstDisp != nullptr) {
        StatusBar_Create(lv_disp_get_layer_top(pstDisp));
    }

    /* 5. Install the nineteen pages in table order. */
    for (const auto &page : s_apcPages) {
        stManager.Install(page[0], page[1]);
    }

    /* 6. IPC agent: receive key 0x362789A4, send key 0x362789A3, the handler table. */
    VYX_IPCMSG_AgentInit(VYX_IPCMSG_KEY_UI_RECV, VYX_IPCMSG_KEY_UI_SEND, s_astIpcHandlers,
                         static_cast<int>(sizeof(s_astIpcHandlers) / sizeof(s_astIpcHandlers[0])));

    /* 7. Give the recorder process time to answer the agent's start. */
    usleep(500 * 1000);

    /* 8. Last system status from its file. */
    IpcMsg_loadSystemStatusInfoInFile();

    /* 9. System state supervision with the page manager. */
    if (SysStateCheck_Init(&stManager) != 0) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", 0xFFFFFFFFu);
    }

    /* 10. Settings items needed at start, loaded by a short-lived thread. */
    pthread_t stTid;
    int s32Ret = pthread_create(&stTid, nullptr, GeneralSetingLoad_Thread, nullptr);
    if (s32Ret == 0) {
        LOG_INFO("\033[0;32;32mJoin stTid \n\033[m");
        if (pthread_join(stTid, nullptr) != 0) {
            LOG_ERROR("Join stTid Fail!\n");
        }
        LOG_INFO("\033[0;32;32mJoin stTid finish\n\033[m");
    } else {
        LOG_ERROR("Error Code: [0x%08X]\n\n", static_cast<unsigned>(s32Ret));
    }

    /* 11. Copy of the general settings record (784 bytes) under its lock. */
    GeneralSetingInfo stSetting;
    IpcMsg_GeneralSetingCopy(&stSetting, sizeof(stSetting));

    /* 12. Language from the record. */
    App_SetLanguage(stSetting.language);

    /* 13. First page: "Pages/Home" and "touch /dev/ui_running" when the installation guide is
     *     done, otherwise "Pages/InstallGuide". */
    if (pstDisp == nullptr) {
        /* Without a display there is no screen to load a page on: the program runs on without. */
        LOG_WARN("no display, no first page\n");
    } else if (stSetting.installtion_guidecnt != 0) {
        stManager.Push("Pages/Home");
        if (system("touch " SYS_PATH_UI_RUNNING) != 0) {
            LOG_ERROR("touch %s failed\n", SYS_PATH_UI_RUNNING);
        }
    } else {
        stManager.Push("Pages/InstallGuide");
    }

    /* 14. Tell the recorder the display is up, without waiting for an answer. */
    IpcMsg_GeneralCtrlNoBlockingPublish(CTRL_ELEM_DISPLAYINIT, "disp_init");
}
