/*
 * Pieces of the settings pages whose screens are not option lists (reset and format, the
 * device link): the navigation bar with its four images, full-width screens that stack a picture
 * and texts in a centred column, and a short list of rows that take focus.
 */
#ifndef SET_FLOW_SCREENS_H
#define SET_FLOW_SCREENS_H

#include <stdint.h>

#include "PagesCommon.h"
#include "lvgl.h"

namespace Page {

/* The navigation bar: go-back, up, down and confirm images and the timeline that raises them. */
struct SetNaviBar {
    lv_obj_t *cont;
    lv_obj_t *back;
    lv_obj_t *up;
    lv_obj_t *down;
    lv_obj_t *confirm;
    lv_anim_timeline_t *anim_timeline;
};

/* One row of a short list: its button, label and right arrow (null without). */
struct SetRow {
    lv_obj_t *btn;
    lv_obj_t *label;
    lv_obj_t *arrow;
};

/* The settings pages' background colour. */
constexpr uint32_t kSetPageBg = 0x101418;

/* Builds the bar on root with the four icons (below the picture root, in the order go-back, up,
 * down, confirm); every image gets event_cb with user_data. Paints root in the page colour. */
void SetFlow_CreateNaviBar(lv_obj_t *root, SetNaviBar *pstBar, const char *const apcIcons[4],
                           lv_event_cb_t event_cb, void *user_data);
void SetFlow_DeleteNaviBar(SetNaviBar *pstBar);
/* Shows or hides one image of the bar (null is skipped). */
void SetFlow_ShowImg(lv_obj_t *obj, bool bShow);

/* A screen of the page: display height minus 30, opaque, behind the navigation bar. */
lv_obj_t *SetFlow_CreateScreen(lv_obj_t *root);
/* A column centred in the space above the bar on screen; the languages with taller texts
 * (Chinese, German, Spanish, Russian, Polish, Portuguese) start it a little higher. */
lv_obj_t *SetFlow_CreateColumn(lv_obj_t *screen);
/* A centred, wrapping label of the body font with the text of a language id. */
lv_obj_t *SetFlow_AddText(lv_obj_t *parent, const char *pcId, uint16_t u16Size);
/* A picture below the picture root, or an animation below the animation root. */
lv_obj_t *SetFlow_AddPicture(lv_obj_t *parent, const char *pcPath, bool bGif);

/* s32Num rows of the labels (language ids) in a column on screen starting at y; each button gets
 * event_cb with user_data. */
void SetFlow_CreateRows(lv_obj_t *screen, lv_coord_t s32Y, const char *const *ppcLabels, int32_t s32Num,
                        SetRow *pstRows, bool bArrow, lv_event_cb_t event_cb, void *user_data);
/* The row's focused look: circular scrolling of a long label and the focused states, or back. */
void SetFlow_FocusRow(const SetRow *pstRow, bool bFocused);

/* Percent of a list row that a text (language id, or the text itself) takes in the rows' font. */
int32_t SetRow_TextPct(const char *pcId);
/* Widths of a list row's label and value (language ids; pcValueId null for a row without a
 * value text) from the room their texts take: a row without a value gives its label most of the
 * row; a row with one gives each text what it needs while both fit, and otherwise the value what
 * it needs up to 45 % and the label the rest, or, for a longer value, the label what it needs up
 * to 50 % and the value the rest. */
void SetRow_FitWidths(PageCommonItem *pstRow, const char *pcValueId);
/* The label id of the option that row s32Pos of the model's current menu shows as its value (the
 * option its sub-menu marks), or null. */
const char *SetRow_ValueId(SysSetingModel &stModel, int32_t s32Pos);

} // namespace Page

#endif /* SET_FLOW_SCREENS_H */
