/* Load animations: the value table and the switch animation. */
#include "PageManager.h"

#include "log.h"

static void SetX(void *obj, int32_t value) {
    lv_obj_set_x(static_cast<lv_obj_t *>(obj), (lv_coord_t)value);
}
static int32_t GetX(void *obj) {
    return lv_obj_get_x(static_cast<lv_obj_t *>(obj));
}
static void SetY(void *obj, int32_t value) {
    lv_obj_set_y(static_cast<lv_obj_t *>(obj), (lv_coord_t)value);
}
static int32_t GetY(void *obj) {
    return lv_obj_get_y(static_cast<lv_obj_t *>(obj));
}

static void SetOpa(void *obj, int32_t value) {
    lv_obj_set_style_bg_opa(static_cast<lv_obj_t *>(obj), (lv_opa_t)value, LV_PART_MAIN);
}

static int32_t GetOpa(void *obj) {
    return lv_obj_get_style_bg_opa(static_cast<lv_obj_t *>(obj), LV_PART_MAIN);
}

void PageManager::SetGlobalLoadAnimType(uint8_t anim, uint16_t time, lv_anim_path_cb_t path) {
    if (anim > _LOAD_ANIM_LAST) {
        anim = LOAD_ANIM_NONE;
    }
    AnimState.Global.Type = anim;
    AnimState.Global.Time = time;
    AnimState.Global.Path = path;
    LOG_INFO("Set global load anim type = %d\r\n", anim);
}

bool PageManager::GetCurrentLoadAnimAttr(LoadAnimAttr_t *attr) {
    return GetLoadAnimAttr(AnimState.Current.Type, attr);
}

bool PageManager::GetLoadAnimAttr(uint8_t anim, LoadAnimAttr_t *attr) {
    const int32_t hor = lv_disp_get_hor_res(nullptr);
    const int32_t ver = lv_disp_get_ver_res(nullptr);

    /* {setter, getter, drag, {push enter, push exit}, {pop enter, pop exit}} */
    switch (anim) {
    case LOAD_ANIM_OVER_LEFT:
        *attr = {SetX, GetX, ROOT_DRAG_DIR_HOR, {{hor, 0}, {0, 0}}, {{0, 0}, {0, hor}}};
        break;
    case LOAD_ANIM_OVER_RIGHT:
        *attr = {SetX, GetX, ROOT_DRAG_DIR_HOR, {{-hor, 0}, {0, 0}}, {{0, 0}, {0, -hor}}};
        break;
    case LOAD_ANIM_OVER_TOP:
        *attr = {SetY, GetY, ROOT_DRAG_DIR_VER, {{ver, 0}, {0, 0}}, {{0, 0}, {0, ver}}};
        break;
    case LOAD_ANIM_OVER_BOTTOM:
        *attr = {SetY, GetY, ROOT_DRAG_DIR_VER, {{-ver, 0}, {0, 0}}, {{0, 0}, {0, -ver}}};
        break;
    case LOAD_ANIM_MOVE_LEFT:
        *attr = {SetX, GetX, ROOT_DRAG_DIR_HOR, {{hor, 0}, {0, -hor}}, {{-hor, 0}, {0, hor}}};
        break;
    case LOAD_ANIM_MOVE_RIGHT:
        *attr = {SetX, GetX, ROOT_DRAG_DIR_HOR, {{-hor, 0}, {0, hor}}, {{hor, 0}, {0, -hor}}};
        break;
    case LOAD_ANIM_MOVE_TOP:
        *attr = {SetY, GetY, ROOT_DRAG_DIR_VER, {{ver, 0}, {0, -ver}}, {{-ver, 0}, {0, ver}}};
        break;
    case LOAD_ANIM_MOVE_BOTTOM:
        *attr = {SetY, GetY, ROOT_DRAG_DIR_VER, {{-ver, 0}, {0, ver}}, {{ver, 0}, {0, -ver}}};
        break;
    case LOAD_ANIM_FADE_ON:
        *attr = {SetOpa,
                 GetOpa,
                 ROOT_DRAG_DIR_NONE,
                 {{LV_OPA_TRANSP, LV_OPA_COVER}, {LV_OPA_COVER, LV_OPA_COVER}},
                 {{LV_OPA_COVER, LV_OPA_COVER}, {LV_OPA_COVER, LV_OPA_TRANSP}}};
        break;
    case LOAD_ANIM_NONE:
        *attr = {nullptr, nullptr, ROOT_DRAG_DIR_NONE, {{0, 0}, {0, 0}}, {{0, 0}, {0, 0}}};
        break;
    default:
        LOG_ERROR("Load anim type error: %d\r\n", anim);
        return false;
    }
    return true;
}

void PageManager::SwitchAnimCreate(PageBase *base) {
    LoadAnimAttr_t animAttr;
    if (!GetCurrentLoadAnimAttr(&animAttr)) {
        return;
    }

    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, base->root);
    lv_anim_set_user_data(&a, base);
    lv_anim_set_ready_cb(&a, onSwitchAnimFinish);
    lv_anim_set_exec_cb(&a, animAttr.setter);
    lv_anim_set_time(&a, AnimState.Current.Type == LOAD_ANIM_NONE ? 0 : AnimState.Current.Time);
    if (AnimState.Current.Path != nullptr) {
        lv_anim_set_path_cb(&a, AnimState.Current.Path);
    }

    /* A leaving page moves on from where it is now. */
    int32_t start = animAttr.getter != nullptr ? animAttr.getter(base->root) : 0;
    const bool isEnter = base->priv.Anim.IsEnter;
    if (AnimState.IsPushing) {
        if (isEnter) {
            lv_anim_set_values(&a, animAttr.push.enter.start, animAttr.push.enter.end);
        } else {
            lv_anim_set_values(&a, start, animAttr.push.exit.end);
        }
    } else {
        if (isEnter) {
            lv_anim_set_values(&a, animAttr.pop.enter.start, animAttr.pop.enter.end);
        } else {
            lv_anim_set_values(&a, start, animAttr.pop.exit.end);
        }
    }

    lv_anim_start(&a);
    base->priv.Anim.IsBusy = true;
}
