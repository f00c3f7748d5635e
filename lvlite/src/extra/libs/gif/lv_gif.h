/**
 * @file lv_gif.h
 * GIF animation widget: an image whose pixels are the current frame of a GIF (giflib), advanced
 * by a timer with the frames' delays. It sends LV_EVENT_READY when the last repeat ends.
 */
#ifndef LV_GIF_H
#define LV_GIF_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../../../draw/lv_img_buf.h"
#include "../../../misc/lv_timer.h"
#include "../../../widgets/lv_img.h"

struct _lv_gif_anim_t;

typedef struct {
    lv_img_t img;
    struct _lv_gif_anim_t *gif; /**< The decoded animation (NULL without a source) */
    lv_timer_t *timer;
    lv_img_dsc_t imgdsc; /**< The current frame, ARGB8888 */
    uint32_t last_call;
} lv_gif_t;

extern const lv_obj_class_t lv_gif_class;

lv_obj_t *lv_gif_create(lv_obj_t *parent);

/**
 * Play a GIF: src is a file path ("/:/app/...") or an lv_img_dsc_t whose data holds a GIF file.
 * A source that cannot be decoded leaves the widget empty (and logs a warning).
 */
void lv_gif_set_src(lv_obj_t *obj, const void *src);

/** Start again from the first frame. */
void lv_gif_restart(lv_obj_t *obj);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_GIF_H */
