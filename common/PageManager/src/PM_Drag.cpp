/* Dragging a page's root away, with a prediction of where a throw ends. */
#include "PageManager.h"

#include <stdlib.h>

#include "log.h"

/* Where a throw of the last movement ends: each further step keeps 80 % of the previous one. */
static int32_t ThrowPredict(int32_t step) {
    int32_t sum = 0;
    while (step != 0) {
        sum += step;
        step = step * 80 / 100;
    }
    return sum;
}

void PageManager::onRootDragEvent(lv_event_t *event) {
    lv_event_code_t code = lv_event_get_code(event);
    lv_obj_t *root = lv_event_get_current_target(event);
    PageBase *base = static_cast<PageBase *>(lv_obj_get_user_data(root));
    if (base == nullptr) {
        LOG_ERROR("Page base is NULL\r\n");
        return;
    }
    PageManager *manager = base->Manager;
    LoadAnimAttr_t animAttr;
    if (manager == nullptr || !manager->GetCurrentLoadAnimAttr(&animAttr)) {
        LOG_ERROR("Can't get current anim attr\r\n");
        return;
    }
    if (animAttr.getter == nullptr || animAttr.setter == nullptr) {
        return;
    }

    if (code == LV_EVENT_PRESSED) {
        if (!manager->AnimState.IsSwitchReq && manager->AnimState.IsBusy) {
            LOG_INFO("Root anim interrupted\r\n");
            lv_anim_del(root, animAttr.setter);
            manager->AnimState.IsBusy = false;
        }
        return;
    }

    lv_indev_t *indev = lv_indev_get_act();
    if (indev == nullptr) {
        return;
    }
    lv_point_t vect;
    lv_indev_get_vect(indev, &vect);
    const bool isHor = animAttr.dragDir == ROOT_DRAG_DIR_HOR;

    if (code == LV_EVENT_PRESSING) {
        int32_t value = animAttr.getter(root) + (isHor ? vect.x : vect.y);
        int32_t lo = LV_MIN(animAttr.pop.exit.start, animAttr.pop.exit.end);
        int32_t hi = LV_MAX(animAttr.pop.exit.start, animAttr.pop.exit.end);
        animAttr.setter(root, LV_CLAMP(lo, value, hi));
    } else if (code == LV_EVENT_RELEASED) {
        if (manager->AnimState.IsSwitchReq) {
            return;
        }
        const int32_t threshold = abs(animAttr.push.enter.end - animAttr.push.enter.start) / 2;
        const int32_t start = animAttr.getter(root);
        int32_t end = start;
        if (isHor) {
            end += ThrowPredict(vect.x);
            LOG_INFO("Root drag x_predict = %d\r\n", (int)end);
        } else {
            end += ThrowPredict(vect.y);
            LOG_INFO("Root drag y_predict = %d\r\n", (int)end);
        }

        if (abs(end) > threshold) {
            lv_async_call(onRootAsyncLeave, base);
        } else if (end != animAttr.push.enter.end) {
            manager->AnimState.IsBusy = true;

            lv_anim_t a;
            lv_anim_init(&a);
            lv_anim_set_var(&a, root);
            lv_anim_set_user_data(&a, manager);
            lv_anim_set_values(&a, start, animAttr.push.enter.end);
            lv_anim_set_exec_cb(&a, animAttr.setter);
            lv_anim_set_ready_cb(&a, onRootAnimFinish);
            lv_anim_set_time(&a, manager->AnimState.Current.Time);
            if (manager->AnimState.Current.Path != nullptr) {
                lv_anim_set_path_cb(&a, manager->AnimState.Current.Path);
            }
            lv_anim_start(&a);
            LOG_INFO("Root anim start\r\n");
        }
    }
}

void PageManager::onRootAnimFinish(lv_anim_t *a) {
    PageManager *manager = static_cast<PageManager *>(lv_anim_get_user_data(a));
    LOG_INFO("Root anim finish\r\n");
    manager->AnimState.IsBusy = false;
}

void PageManager::onRootAsyncLeave(void *data) {
    PageBase *base = static_cast<PageBase *>(data);
    if (base->root == nullptr) {
        return;
    }
    LOG_INFO("Page(%s) send event: LV_EVENT_LEAVE, need to handle...\r\n", base->Name);
    lv_event_send(base->root, LV_EVENT_LEAVE, nullptr);
}

void PageManager::RootEnableDrag(lv_obj_t *root) {
    lv_obj_add_event_cb(root, onRootDragEvent, LV_EVENT_PRESSED, this);
    lv_obj_add_event_cb(root, onRootDragEvent, LV_EVENT_PRESSING, this);
    lv_obj_add_event_cb(root, onRootDragEvent, LV_EVENT_RELEASED, this);
    LOG_INFO("Root drag enabled\r\n");
}
