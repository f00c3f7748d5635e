/**
 * @file lv_gif.c
 */
#include "lv_gif.h"

#include <gif_lib.h>
#include <string.h>

#include "../../../core/lv_obj.h"
#include "../../../draw/lv_img_cache.h"
#include "../../../draw/lv_img_decoder.h"
#include "../../../hal/lv_hal_tick.h"
#include "../../../misc/lv_log.h"
#include "../../../misc/lv_mem.h"

#define GIF_FILE_MAX   (16u * 1024u * 1024u)
#define GIF_MAX_DIM    2047 /* the image header's width and height have 11 bits */
#define GIF_MAX_FRAMES 2000

typedef struct _lv_gif_anim_t {
    GifFileType *file;
    uint8_t *data; /* the GIF file, read by giflib from memory */
    uint32_t size;
    uint32_t pos;
    lv_color_t *canvas; /* the composed frame */
    lv_color_t *saved;  /* the canvas before a frame that restores it afterwards */
    int32_t frame;      /* index of the frame on the canvas */
    int prev_disposal;  /* disposal of the frame on the canvas */
    GifImageDesc prev_desc;
    int32_t plays_left; /* <= 0: forever */
    uint32_t delay_ms;  /* of the frame on the canvas */
} gif_anim_t;

static int read_mem(GifFileType *f, GifByteType *buf, int len) {
    gif_anim_t *a = f->UserData;
    uint32_t n = len < 0 ? 0 : (uint32_t)len;
    if (n > a->size - a->pos)
        n = a->size - a->pos;
    memcpy(buf, a->data + a->pos, n);
    a->pos += n;
    return (int)n;
}

/* Number of plays from the NETSCAPE2.0 extension: 0 forever; without it, one. */
static int32_t read_loop_count(GifFileType *f) {
    const ExtensionBlock *blocks[2] = {NULL, NULL};
    int counts[2] = {0, 0};
    if (f->ImageCount > 0) {
        blocks[0] = f->SavedImages[0].ExtensionBlocks;
        counts[0] = f->SavedImages[0].ExtensionBlockCount;
    }
    blocks[1] = f->ExtensionBlocks;
    counts[1] = f->ExtensionBlockCount;
    for (int b = 0; b < 2; b++) {
        for (int i = 0; i + 1 < counts[b]; i++) {
            const ExtensionBlock *e = &blocks[b][i];
            if (e->Function == APPLICATION_EXT_FUNC_CODE && e->ByteCount == 11 &&
                memcmp(e->Bytes, "NETSCAPE2.0", 11) == 0) {
                const ExtensionBlock *sub = &blocks[b][i + 1];
                if (sub->ByteCount >= 3 && sub->Bytes[0] == 1)
                    return sub->Bytes[1] | (sub->Bytes[2] << 8);
            }
        }
    }
    return 1;
}

static void anim_free(gif_anim_t *a) {
    if (a == NULL)
        return;
    if (a->file) {
        int err;
        DGifCloseFile(a->file, &err);
    }
    lv_mem_free(a->data);
    lv_mem_free(a->canvas);
    lv_mem_free(a->saved);
    lv_mem_free(a);
}

static gif_anim_t *anim_open(const void *src) {
    gif_anim_t *a = lv_mem_alloc(sizeof(gif_anim_t));
    if (a == NULL)
        return NULL;
    memset(a, 0, sizeof(*a));

    lv_img_src_t type = lv_img_src_get_type(src);
    if (type == LV_IMG_SRC_FILE) {
        if (_lv_img_decoder_read_file(src, GIF_FILE_MAX, &a->data, &a->size) != LV_RES_OK) {
            LV_LOG_WARN("GIF: cannot read %s", (const char *)src);
            anim_free(a);
            return NULL;
        }
    } else if (type == LV_IMG_SRC_VARIABLE) {
        const lv_img_dsc_t *d = src;
        if (d->data == NULL || d->data_size == 0 || (a->data = lv_mem_alloc(d->data_size)) == NULL) {
            anim_free(a);
            return NULL;
        }
        memcpy(a->data, d->data, d->data_size);
        a->size = d->data_size;
    } else {
        anim_free(a);
        return NULL;
    }

    int err = 0;
    a->file = DGifOpen(a, read_mem, &err);
    if (a->file == NULL || a->file->SWidth <= 0 || a->file->SHeight <= 0 || a->file->SWidth > GIF_MAX_DIM ||
        a->file->SHeight > GIF_MAX_DIM) {
        LV_LOG_WARN("GIF: not a GIF file or too large");
        anim_free(a);
        return NULL;
    }
    if (DGifSlurp(a->file) != GIF_OK || a->file->ImageCount <= 0 || a->file->ImageCount > GIF_MAX_FRAMES) {
        LV_LOG_WARN("GIF: corrupt file");
        anim_free(a);
        return NULL;
    }
    size_t px = (size_t)a->file->SWidth * (size_t)a->file->SHeight;
    a->canvas = lv_mem_alloc(px * sizeof(lv_color_t));
    a->saved = lv_mem_alloc(px * sizeof(lv_color_t));
    if (a->canvas == NULL || a->saved == NULL) {
        anim_free(a);
        return NULL;
    }
    return a;
}

/* Clip a frame's rectangle to the logical screen. */
static bool frame_rect(const gif_anim_t *a, const GifImageDesc *d, int *x0, int *y0, int *x1, int *y1) {
    *x0 = d->Left < 0 ? 0 : d->Left;
    *y0 = d->Top < 0 ? 0 : d->Top;
    *x1 = d->Left + d->Width;
    *y1 = d->Top + d->Height;
    if (*x1 > a->file->SWidth)
        *x1 = a->file->SWidth;
    if (*y1 > a->file->SHeight)
        *y1 = a->file->SHeight;
    return *x0 < *x1 && *y0 < *y1;
}

/* Put frame idx on the canvas, after the disposal of the frame before it. */
static void anim_render(gif_anim_t *a, int32_t idx) {
    GifFileType *f = a->file;
    size_t sw = (size_t)f->SWidth;
    int x0, y0, x1, y1;

    if (idx == 0) {
        memset(a->canvas, 0, sw * (size_t)f->SHeight * sizeof(lv_color_t));
        a->prev_disposal = DISPOSAL_UNSPECIFIED;
    } else if (a->prev_disposal == DISPOSE_BACKGROUND) {
        if (frame_rect(a, &a->prev_desc, &x0, &y0, &x1, &y1)) {
            for (int y = y0; y < y1; y++)
                memset(&a->canvas[y * sw + (size_t)x0], 0, (size_t)(x1 - x0) * sizeof(lv_color_t));
        }
    } else if (a->prev_disposal == DISPOSE_PREVIOUS) {
        memcpy(a->canvas, a->saved, sw * (size_t)f->SHeight * sizeof(lv_color_t));
    }

    GraphicsControlBlock gcb = {DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    DGifSavedExtensionToGCB(f, idx, &gcb);
    if (gcb.DisposalMode == DISPOSE_PREVIOUS)
        memcpy(a->saved, a->canvas, sw * (size_t)f->SHeight * sizeof(lv_color_t));

    const SavedImage *si = &f->SavedImages[idx];
    const ColorMapObject *cm = si->ImageDesc.ColorMap ? si->ImageDesc.ColorMap : f->SColorMap;
    if (cm && si->RasterBits && frame_rect(a, &si->ImageDesc, &x0, &y0, &x1, &y1)) {
        for (int y = y0; y < y1; y++) {
            const GifByteType *row =
                si->RasterBits + (size_t)(y - si->ImageDesc.Top) * (size_t)si->ImageDesc.Width;
            lv_color_t *dst = &a->canvas[(size_t)y * sw];
            for (int x = x0; x < x1; x++) {
                int ci = row[x - si->ImageDesc.Left];
                if (ci == gcb.TransparentColor || ci >= cm->ColorCount)
                    continue;
                const GifColorType *c = &cm->Colors[ci];
                dst[x].full = 0xFF000000u | ((uint32_t)c->Red << 16) | ((uint32_t)c->Green << 8) | c->Blue;
            }
        }
    }

    a->frame = idx;
    a->prev_disposal = gcb.DisposalMode;
    a->prev_desc = si->ImageDesc;
    a->delay_ms = (uint32_t)(gcb.DelayTime > 0 ? gcb.DelayTime : 0) * 10u;
}

static void anim_rewind(gif_anim_t *a) {
    int32_t loops = read_loop_count(a->file);
    a->plays_left = loops == 0 ? 0 : loops;
    anim_render(a, 0);
}

/* Advance to the next frame; false when the last play has ended (the canvas is unchanged). */
static bool anim_next(gif_anim_t *a) {
    if (a->frame + 1 < a->file->ImageCount) {
        anim_render(a, a->frame + 1);
        return true;
    }
    if (a->plays_left == 1)
        return false;
    if (a->plays_left > 1)
        a->plays_left--;
    anim_render(a, 0);
    return true;
}

static void next_frame_task_cb(lv_timer_t *t) {
    lv_obj_t *obj = t->user_data;
    lv_gif_t *gifobj = (lv_gif_t *)obj;
    if (gifobj->gif == NULL)
        return;
    if (lv_tick_elaps(gifobj->last_call) < gifobj->gif->delay_ms)
        return;
    gifobj->last_call = lv_tick_get();

    if (!anim_next(gifobj->gif)) {
        lv_timer_pause(t);
        lv_event_send(obj, LV_EVENT_READY, NULL);
        return;
    }
    lv_img_cache_invalidate_src(lv_img_get_src(obj));
    lv_obj_invalidate(obj);
}

static void lv_gif_constructor(const lv_obj_class_t *class_p, lv_obj_t *obj) {
    (void)class_p;
    lv_gif_t *gifobj = (lv_gif_t *)obj;
    gifobj->gif = NULL;
    memset(&gifobj->imgdsc, 0, sizeof(gifobj->imgdsc));
    gifobj->timer = lv_timer_create(next_frame_task_cb, 10, obj);
    lv_timer_pause(gifobj->timer);
}

static void lv_gif_destructor(const lv_obj_class_t *class_p, lv_obj_t *obj) {
    (void)class_p;
    lv_gif_t *gifobj = (lv_gif_t *)obj;
    lv_img_cache_invalidate_src(&gifobj->imgdsc);
    anim_free(gifobj->gif);
    gifobj->gif = NULL;
    lv_timer_del(gifobj->timer);
}

const lv_obj_class_t lv_gif_class = {
    .base_class = &lv_img_class,
    .constructor_cb = lv_gif_constructor,
    .destructor_cb = lv_gif_destructor,
    .instance_size = sizeof(lv_gif_t),
};

lv_obj_t *lv_gif_create(lv_obj_t *parent) {
    lv_obj_t *obj = lv_obj_class_create_obj(&lv_gif_class, parent);
    lv_obj_class_init_obj(obj);
    return obj;
}

static void restart_clock(lv_gif_t *g) {
    g->last_call = lv_tick_get();
    lv_timer_resume(g->timer);
    lv_timer_reset(g->timer);
}

void lv_gif_set_src(lv_obj_t *obj, const void *src) {
    lv_gif_t *gifobj = (lv_gif_t *)obj;

    /* Forget the previous animation first: its frame may be cached. */
    if (gifobj->gif) {
        lv_img_set_src(obj, NULL);
        lv_img_cache_invalidate_src(&gifobj->imgdsc);
        anim_free(gifobj->gif);
        gifobj->gif = NULL;
        memset(&gifobj->imgdsc, 0, sizeof(gifobj->imgdsc));
    }
    lv_timer_pause(gifobj->timer);

    gif_anim_t *a = anim_open(src);
    if (a == NULL)
        return;
    gifobj->gif = a;
    anim_rewind(a);

    gifobj->imgdsc.header.always_zero = 0;
    gifobj->imgdsc.header.cf = LV_IMG_CF_TRUE_COLOR_ALPHA;
    gifobj->imgdsc.header.w = (uint32_t)a->file->SWidth;
    gifobj->imgdsc.header.h = (uint32_t)a->file->SHeight;
    gifobj->imgdsc.data = (const uint8_t *)a->canvas;
    gifobj->imgdsc.data_size =
        (uint32_t)((size_t)a->file->SWidth * (size_t)a->file->SHeight * sizeof(lv_color_t));

    lv_img_set_src(obj, &gifobj->imgdsc);
    restart_clock(gifobj);
}

void lv_gif_restart(lv_obj_t *obj) {
    lv_gif_t *gifobj = (lv_gif_t *)obj;
    if (gifobj->gif == NULL)
        return;
    anim_rewind(gifobj->gif);
    /* The first frame again, timed from now. */
    lv_img_cache_invalidate_src(&gifobj->imgdsc);
    lv_obj_invalidate(obj);
    restart_clock(gifobj);
}
