/*
 * The tips of the account "InfoTips": the queue, the three views and their animations.
 *
 * Everything here runs on the LVGL thread.
 */
#include "InfoTips.h"

#include <string.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "log.h"
#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace {

struct QueuedTip {
    int32_t eMsgType;
    std::string text;
    std::string desc;
    bool bHasDesc;
};

/* A label of the view and the font size it ends with. */
struct TipLabel {
    lv_obj_t *pstLabel;
    uint16_t u16Size;
};

struct TipView {
    std::vector<lv_obj_t *> objs; /* top-level objects, on the top layer */
    std::vector<TipLabel> labels;
    bool bHiding = false;
};

constexpr int kTipOpa = 178;
constexpr uint16_t kDescFontSize = 22;
constexpr uint16_t kTitleFontSize = 30;
constexpr lv_coord_t kTitleRoom = 44; /* beside the title of a warning with description */

Account *s_pstAccount = nullptr;
std::deque<QueuedTip> s_astQueue;
TipView s_stView;

/* The text of a language id, or the text itself when it is no known id. */
void SetTipText(lv_obj_t *pstLabel, const std::string &text) {
    if (lv_label_set_text_tr(pstLabel, text.c_str()) != 0) {
        lv_label_set_text(pstLabel, text.c_str());
    }
}

void SetTipFont(lv_obj_t *pstLabel, uint16_t u16Size) {
    lv_label_freetype_set_text_normal(pstLabel, SYS_PATH_FONT_BODY, u16Size, 0);
}

lv_obj_t *CreateTipLabel(lv_obj_t *pstParent, const std::string &text, uint16_t u16Size) {
    lv_obj_t *pstLabel = lv_label_create(pstParent);
    lv_obj_set_style_text_color(pstLabel, lv_color_white(), 0);
    lv_obj_set_style_text_align(pstLabel, LV_TEXT_ALIGN_CENTER, 0);
    SetTipFont(pstLabel, u16Size);
    SetTipText(pstLabel, text);
    s_stView.labels.push_back({pstLabel, u16Size});
    return pstLabel;
}

/* A tip object deleted by someone else leaves the view. */
void TipObjDeleted(lv_event_t *e) {
    lv_obj_t *pstObj = lv_event_get_target(e);
    auto &objs = s_stView.objs;
    if (std::find(objs.begin(), objs.end(), pstObj) == objs.end()) {
        return;
    }
    objs.erase(std::remove(objs.begin(), objs.end(), pstObj), objs.end());
    auto &labels = s_stView.labels;
    labels.erase(std::remove_if(labels.begin(), labels.end(),
                                [&](const TipLabel &l) {
                                    return l.pstLabel == pstObj || lv_obj_get_parent(l.pstLabel) == pstObj;
                                }),
                 labels.end());
    s_stView.bHiding = false; /* its animation went with it */
}

void AddTopObj(lv_obj_t *pstObj) {
    lv_obj_add_event_cb(pstObj, TipObjDeleted, LV_EVENT_DELETE, nullptr);
    s_stView.objs.push_back(pstObj);
}

void SetTipBackground(lv_obj_t *pstObj, uint32_t u32Color, lv_opa_t opa) {
    lv_obj_set_style_bg_color(pstObj, lv_color_hex(u32Color), 0);
    lv_obj_set_style_bg_opa(pstObj, opa, 0);
}

/* Width and height of a label's text in its own font, unwrapped. */
lv_point_t TextSize(lv_obj_t *pstLabel) {
    lv_point_t stSize = {0, 0};
    Label_GetTextSize(&stSize, pstLabel, lv_label_get_text(pstLabel), LV_COORD_MAX);
    return stSize;
}

/* 90 % of the active screen's width. */
lv_coord_t WidthLimit() {
    lv_coord_t w = lv_obj_get_width(lv_scr_act());
    if (w <= 0) {
        w = lv_disp_get_hor_res(nullptr);
    }
    return w * 9 / 10;
}

/* The box of a one-label tip: corner radius, background and paddings. */
void StyleTipBox(lv_obj_t *pstLabel, lv_coord_t radius, uint32_t u32Color, lv_opa_t opa, lv_coord_t left,
                 lv_coord_t right, lv_coord_t top, lv_coord_t bottom) {
    lv_obj_set_style_radius(pstLabel, radius, 0);
    SetTipBackground(pstLabel, u32Color, opa);
    lv_obj_set_style_pad_left(pstLabel, left, 0);
    lv_obj_set_style_pad_right(pstLabel, right, 0);
    lv_obj_set_style_pad_top(pstLabel, top, 0);
    lv_obj_set_style_pad_bottom(pstLabel, bottom, 0);
}

void InfoTips_CreateNormalMsg(const QueuedTip &stTip) {
    lv_obj_t *pstLabel = CreateTipLabel(lv_layer_top(), stTip.text, INFO_TIPS_FONT_SIZE);
    StyleTipBox(pstLabel, 30, 0x252525, LV_OPA_COVER, 20, 20, 12, 12);
    lv_obj_align(pstLabel, LV_ALIGN_TOP_MID, 0, 45);
    const lv_coord_t limit = WidthLimit();
    if (TextSize(pstLabel).x + 40 > limit) {
        LOG_WARN("The text exceeds the size set by the object and does not display\n");
        lv_obj_set_width(pstLabel, limit);
        lv_obj_align(pstLabel, LV_ALIGN_TOP_MID, 0, 25);
    }
    AddTopObj(pstLabel);
}

void AddWarningImage(lv_obj_t *pstParent, lv_obj_t *pstBase, lv_align_t eAlign, lv_coord_t x, lv_coord_t y) {
    lv_obj_t *pstImg = lv_img_create(pstParent);
    lv_img_set_src(pstImg, UI_ResPath("other/prompt_warning_image.png", UI_RES_PIC_ROOT));
    if (pstBase == nullptr) {
        lv_obj_align(pstImg, eAlign, x, y);
    } else {
        lv_obj_align_to(pstImg, pstBase, eAlign, x, y);
    }
}

void InfoTips_CreateWaringMsgHasDesc(const QueuedTip &stTip) {
    lv_obj_t *pstDesc = CreateTipLabel(lv_layer_top(), stTip.desc, kDescFontSize);
    SetTipBackground(pstDesc, 0x000000, kTipOpa);
    lv_obj_set_style_pad_left(pstDesc, 42, 0);
    lv_obj_set_style_pad_right(pstDesc, 42, 0);
    lv_obj_set_style_pad_bottom(pstDesc, 20, 0);

    lv_obj_t *pstBox = lv_obj_create(lv_layer_top());
    lv_obj_remove_style_all(pstBox);
    lv_obj_clear_flag(pstBox, LV_OBJ_FLAG_SCROLLABLE);
    SetTipBackground(pstBox, 0x000000, kTipOpa);
    lv_obj_set_style_pad_top(pstBox, 10, 0);
    lv_obj_t *pstTitle = CreateTipLabel(pstBox, stTip.text, kTitleFontSize);

    /* The box is as wide as the description; both grow when the title needs more room (the
     * title is shifted 20 px right and the picture sits 19 px left of it: 44 px beside the text
     * keep both inside), and neither goes past the width limit, where the texts wrap. The
     * description sits in the middle of the screen; when the pair would not fit that way it is
     * centred, and when it would not fit at all the title takes the normal tip's font size. */
    const lv_coord_t limit = WidthLimit();
    const lv_coord_t scrH = lv_obj_get_height(lv_scr_act());
    lv_coord_t w = 0, boxH = 0, descH = 0;
    for (int pass = 0; pass < 2; pass++) {
        const lv_point_t stDescSize = TextSize(pstDesc);
        const lv_point_t stTitleSize = TextSize(pstTitle);
        w = std::min<lv_coord_t>(std::max<lv_coord_t>(stDescSize.x + 84, stTitleSize.x + kTitleRoom), limit);
        lv_obj_set_width(pstDesc, w);
        lv_obj_set_width(pstTitle, stTitleSize.x + kTitleRoom > w ? w - kTitleRoom : LV_SIZE_CONTENT);
        lv_obj_update_layout(pstTitle);
        lv_obj_update_layout(pstDesc);
        boxH = lv_obj_get_height(pstTitle) + 24;
        descH = lv_obj_get_height(pstDesc);
        if (boxH + descH <= scrH || pass == 1) {
            break;
        }
        SetTipFont(pstTitle, INFO_TIPS_FONT_SIZE);
        s_stView.labels.back().u16Size = INFO_TIPS_FONT_SIZE;
    }
    lv_obj_set_size(pstBox, w, boxH);
    lv_coord_t y = 0;
    if (boxH + descH / 2 > scrH / 2) {
        y = std::min<lv_coord_t>(boxH / 2, (scrH - descH) / 2); /* the pair centred, the box kept on screen */
    }
    lv_obj_align(pstDesc, LV_ALIGN_CENTER, 0, y);
    lv_obj_align(pstTitle, LV_ALIGN_CENTER, 20, 0);
    lv_obj_align_to(pstBox, pstDesc, LV_ALIGN_OUT_TOP_MID, 0, 0);
    AddWarningImage(pstBox, pstTitle, LV_ALIGN_OUT_LEFT_TOP, -19, 5);
    AddTopObj(pstDesc);
    AddTopObj(pstBox);
}

void InfoTips_CreateWaringMsg(const QueuedTip &stTip) {
    lv_obj_t *pstLabel = CreateTipLabel(lv_layer_top(), stTip.text, kTitleFontSize);
    StyleTipBox(pstLabel, 2, 0x000000, kTipOpa, 100, 42, 20, 20);
    /* A text too wide for the screen takes the room of the paddings first (the picture keeps
     * 10 px from the edge), then wraps. */
    const lv_coord_t limit = WidthLimit();
    const lv_coord_t textW = TextSize(pstLabel).x;
    if (textW + 142 > limit) {
        lv_obj_set_style_pad_left(pstLabel, 60, 0);
        lv_obj_set_style_pad_right(pstLabel, 16, 0);
        lv_obj_set_width(pstLabel, std::min<lv_coord_t>(textW + 76, limit));
    }
    lv_obj_center(pstLabel);
    AddWarningImage(pstLabel, nullptr, LV_ALIGN_TOP_LEFT, -50, 6);
    AddTopObj(pstLabel);
}

/* One step of the show or hide animation: v runs between 0 and the normal font size. The
 * opacity follows v; the font grows through one intermediate size to the label's own: every
 * size is a FreeType face of its own (and a fallback chain), so the text does not pass through
 * every pixel size. */
constexpr uint16_t kTipGrowSize = 12;

void TipAnimExec(void *pVar, int32_t v) {
    (void)pVar;
    const int32_t opa = std::min<int32_t>(255, std::max<int32_t>(0, v * 255 / INFO_TIPS_FONT_SIZE));
    for (lv_obj_t *pstObj : s_stView.objs) {
        lv_obj_set_style_opa(pstObj, (lv_opa_t)opa, 0);
    }
    if (v < 4) {
        return; /* nothing to see: the font stays as it is */
    }
    for (const TipLabel &stLabel : s_stView.labels) {
        SetTipFont(stLabel.pstLabel, v * 2 < INFO_TIPS_FONT_SIZE ? kTipGrowSize : stLabel.u16Size);
    }
}

void ShowAnimReady(lv_anim_t *pstAnim) {
    (void)pstAnim;
    for (lv_obj_t *pstObj : s_stView.objs) {
        lv_obj_remove_local_style_prop(pstObj, LV_STYLE_OPA, 0);
    }
    for (const TipLabel &stLabel : s_stView.labels) {
        SetTipFont(stLabel.pstLabel, stLabel.u16Size);
    }
}

void StartTipAnim(int32_t from, int32_t to, lv_anim_path_cb_t pfnPath, lv_anim_ready_cb_t pfnReady) {
    if (s_stView.objs.empty()) {
        return;
    }
    lv_anim_t stAnim;
    lv_anim_init(&stAnim);
    lv_anim_set_var(&stAnim, s_stView.objs.front());
    lv_anim_set_exec_cb(&stAnim, TipAnimExec);
    lv_anim_set_values(&stAnim, from, to);
    lv_anim_set_time(&stAnim, INFO_TIPS_ANIM_MS);
    lv_anim_set_path_cb(&stAnim, pfnPath);
    lv_anim_set_ready_cb(&stAnim, pfnReady);
    lv_anim_start(&stAnim);
}

void TipsInfo_Check(const QueuedTip &stTip) {
    LOG_INFO("info->eMsgType:%d   %s\n", stTip.eMsgType, stTip.text.c_str());
    s_stView = TipView();
    if (stTip.eMsgType == TIPS_TYPE_NORMAL) {
        InfoTips_CreateNormalMsg(stTip);
    } else if (stTip.eMsgType == TIPS_TYPE_WARNING && stTip.bHasDesc) {
        InfoTips_CreateWaringMsgHasDesc(stTip);
    } else if (stTip.eMsgType == TIPS_TYPE_WARNING) {
        InfoTips_CreateWaringMsg(stTip);
    }
    StartTipAnim(0, INFO_TIPS_FONT_SIZE, lv_anim_path_overshoot, ShowAnimReady);
}

/* Shows the tip at the head of the queue, if any, for a full period. */
void ShowNextTip() {
    if (s_astQueue.empty()) {
        return;
    }
    QueuedTip stTip = std::move(s_astQueue.front());
    s_astQueue.pop_front();
    TipsInfo_Check(stTip);
    s_pstAccount->SetTimerPeriod(INFO_TIPS_PERIOD_MS);
}

void HideAnimReady(lv_anim_t *pstAnim) {
    (void)pstAnim;
    std::vector<lv_obj_t *> objs = s_stView.objs;
    s_stView = TipView();
    for (lv_obj_t *pstObj : objs) {
        lv_obj_remove_event_cb(pstObj, TipObjDeleted);
        lv_obj_del_async(pstObj);
    }
    ShowNextTip();
}

void HideTip() {
    if (s_stView.bHiding) {
        return;
    }
    s_stView.bHiding = true;
    lv_opa_t opa = lv_obj_get_style_opa(s_stView.objs.front(), 0);
    StartTipAnim(opa * INFO_TIPS_FONT_SIZE / 255, 0, lv_anim_path_linear, HideAnimReady);
}

int InfoTips_OnNotify(const TipsInfo *pstInfo) {
    if (pstInfo->pcText == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pcText");
        return Account::RES_FAILED;
    }
    LOG_INFO("Add Tips:%d     %s\n", pstInfo->eMsgType, pstInfo->pcText);
    QueuedTip stTip{pstInfo->eMsgType, pstInfo->pcText, pstInfo->pcDesc != nullptr ? pstInfo->pcDesc : "",
                    pstInfo->pcDesc != nullptr};
    if (s_stView.objs.empty()) {
        TipsInfo_Check(stTip);
        s_pstAccount->SetTimerPeriod(INFO_TIPS_PERIOD_MS);
        return Account::RES_OK;
    }
    if (!s_astQueue.empty() && s_astQueue.front().text == stTip.text) {
        LOG_INFO("\033[0;32;32mSame Tips info\n\033[m");
        return Account::RES_OK;
    }
    if (s_astQueue.size() >= INFO_TIPS_QUEUE_MAX) {
        /* A peer that flips a status without pause would otherwise queue tips for hours. */
        LOG_WARN("tips queue full, [%s] dropped\n", stTip.text.c_str());
        return Account::RES_OK;
    }
    s_astQueue.push_back(std::move(stTip));
    return Account::RES_OK;
}

int InfoTips_onEvent(Account *pstAccount, Account::EventParam *pstParam) {
    (void)pstAccount;
    switch (pstParam->event) {
    case Account::EVENT_NOTIFY:
        if (pstParam->size != sizeof(TipsInfo) || pstParam->data_p == nullptr) {
            return Account::RES_SIZE_MISMATCH;
        }
        return InfoTips_OnNotify(static_cast<const TipsInfo *>(pstParam->data_p));
    case Account::EVENT_TIMER:
        if (!s_stView.objs.empty()) {
            HideTip();
        } else {
            ShowNextTip(); /* a tip of a type that shows nothing left the screen empty */
        }
        return Account::RES_OK;
    case Account::EVENT_PUBLISH:
        return Account::RES_OK;
    default:
        return Account::RES_UNSUPPORTED;
    }
}

} // namespace

uint32_t InfoTips_QueueSize(void) {
    return static_cast<uint32_t>(s_astQueue.size());
}

uint32_t InfoTips_OnScreenCount(void) {
    return static_cast<uint32_t>(s_stView.objs.size());
}

lv_obj_t *InfoTips_OnScreenObj(void) {
    return s_stView.objs.empty() ? nullptr : s_stView.objs.front();
}

int DP_InfoTips_Init(Account *pstAccount) {
    s_pstAccount = pstAccount;
    pstAccount->SetEventCallback(InfoTips_onEvent);
    pstAccount->Subscribe(DP_ACCOUNT_SYSTEM_STATUS);
    pstAccount->Subscribe(DP_ACCOUNT_STATUS_BAR);
    pstAccount->SetTimerPeriod(INFO_TIPS_PERIOD_MS);
    return 0;
}
