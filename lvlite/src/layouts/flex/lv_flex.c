/**
 * @file lv_flex.c
 */
#include "lv_flex.h"
#include "../../misc/lv_math.h"
#include "../../misc/lv_mem.h"

typedef struct {
    lv_flex_align_t main_place;
    lv_flex_align_t cross_place;
    lv_flex_align_t track_place;
    uint8_t row : 1;
    uint8_t wrap : 1;
    uint8_t rev : 1;
} flex_t;

typedef struct {
    lv_obj_t *item;
    lv_coord_t min_size;
    lv_coord_t max_size;
    lv_coord_t final_size;
    uint32_t grow_value;
    uint32_t clamped : 1;
} grow_dsc_t;

typedef struct {
    lv_coord_t track_cross_size;
    lv_coord_t track_main_size;
    lv_coord_t track_fix_main_size;
    uint32_t item_cnt;
    grow_dsc_t *grow_dsc;
    uint32_t grow_item_cnt;
    uint32_t grow_dsc_calc : 1;
} track_t;

static void flex_update(lv_obj_t *cont, void *user_data);

void lv_flex_init(void) {
    uint32_t id = lv_layout_register(flex_update, NULL);
    LV_ASSERT(id == LV_LAYOUT_FLEX);
}

void lv_obj_set_flex_flow(lv_obj_t *obj, lv_flex_flow_t flow) {
    lv_obj_set_style_flex_flow(obj, flow, 0);
    lv_obj_set_style_layout(obj, LV_LAYOUT_FLEX, 0);
}

void lv_obj_set_flex_align(lv_obj_t *obj, lv_flex_align_t main_place, lv_flex_align_t cross_place,
                           lv_flex_align_t track_cross_place) {
    lv_obj_set_style_flex_main_place(obj, main_place, 0);
    lv_obj_set_style_flex_cross_place(obj, cross_place, 0);
    lv_obj_set_style_flex_track_place(obj, track_cross_place, 0);
    lv_obj_set_style_layout(obj, LV_LAYOUT_FLEX, 0);
}

void lv_obj_set_flex_grow(lv_obj_t *obj, uint8_t grow) {
    lv_obj_set_style_flex_grow(obj, grow, 0);
    lv_obj_mark_layout_as_dirty(lv_obj_get_parent(obj));
}

static lv_obj_t *get_next_item(lv_obj_t *cont, bool rev, int32_t *item_id) {
    if (rev) {
        (*item_id)--;
        if (*item_id >= 0)
            return cont->spec_attr->children[*item_id];
        return NULL;
    }
    (*item_id)++;
    if ((*item_id) < (int32_t)cont->spec_attr->child_cnt)
        return cont->spec_attr->children[*item_id];
    return NULL;
}

static lv_coord_t main_size(const flex_t *f, const lv_obj_t *o) {
    return f->row ? lv_obj_get_width(o) : lv_obj_get_height(o);
}

static lv_coord_t cross_size(const flex_t *f, const lv_obj_t *o) {
    return f->row ? lv_obj_get_height(o) : lv_obj_get_width(o);
}

/* Collect the items of the track starting at item_start_id; returns the first item of the next track. */
static int32_t find_track_end(lv_obj_t *cont, flex_t *f, int32_t item_start_id, lv_coord_t max_main_size,
                              lv_coord_t item_gap, track_t *t) {
    lv_coord_t w_set = lv_obj_get_style_width(cont, LV_PART_MAIN);
    lv_coord_t h_set = lv_obj_get_style_height(cont, LV_PART_MAIN);
    /* A content-sized container can't wrap: its size depends on the children. */
    if (f->wrap && ((f->row && w_set == LV_SIZE_CONTENT) || (!f->row && h_set == LV_SIZE_CONTENT)))
        f->wrap = false;

    t->track_main_size = 0;
    t->track_fix_main_size = 0;
    t->grow_item_cnt = 0;
    t->track_cross_size = 0;
    t->item_cnt = 0;
    t->grow_dsc = NULL;

    int32_t item_id = item_start_id;
    lv_obj_t *item = lv_obj_get_child(cont, item_id);
    while (item) {
        if (item_id != item_start_id && lv_obj_has_flag(item, LV_OBJ_FLAG_LAYOUT_1))
            break;
        if (!lv_obj_has_flag_any(item,
                                 LV_OBJ_FLAG_IGNORE_LAYOUT | LV_OBJ_FLAG_HIDDEN | LV_OBJ_FLAG_FLOATING)) {
            uint8_t grow_value = lv_obj_get_style_flex_grow(item, LV_PART_MAIN);
            if (grow_value) {
                t->grow_item_cnt++;
                t->track_fix_main_size += item_gap;
                if (t->grow_dsc_calc) {
                    grow_dsc_t *n = lv_mem_realloc(t->grow_dsc, sizeof(grow_dsc_t) * t->grow_item_cnt);
                    LV_ASSERT_MALLOC(n);
                    t->grow_dsc = n;
                    grow_dsc_t *d = &n[t->grow_item_cnt - 1];
                    d->item = item;
                    d->min_size = f->row ? lv_obj_get_style_min_width(item, LV_PART_MAIN)
                                         : lv_obj_get_style_min_height(item, LV_PART_MAIN);
                    d->max_size = f->row ? lv_obj_get_style_max_width(item, LV_PART_MAIN)
                                         : lv_obj_get_style_max_height(item, LV_PART_MAIN);
                    d->grow_value = grow_value;
                    d->clamped = 0;
                    d->final_size = 0;
                }
            } else {
                lv_coord_t item_size = main_size(f, item);
                if (f->wrap && t->track_fix_main_size + item_size > max_main_size)
                    break;
                t->track_fix_main_size += item_size + item_gap;
            }
            t->track_cross_size = LV_MAX(cross_size(f, item), t->track_cross_size);
            t->item_cnt++;
        }
        item_id += f->rev ? -1 : +1;
        if (item_id < 0)
            break;
        item = lv_obj_get_child(cont, item_id);
    }
    if (t->track_fix_main_size > 0)
        t->track_fix_main_size -= item_gap;
    /* With a growing item the track takes the full space. */
    t->track_main_size = t->grow_item_cnt ? max_main_size : t->track_fix_main_size;
    /* A track has at least one item, even when it does not fit. */
    if (item && item_id == item_start_id) {
        item = cont->spec_attr->children[item_id];
        get_next_item(cont, f->rev, &item_id);
        if (item) {
            t->track_cross_size = cross_size(f, item);
            t->track_main_size = main_size(f, item);
            t->item_cnt = 1;
        }
    }
    return item_id;
}

static void place_content(lv_flex_align_t place, lv_coord_t max_size, lv_coord_t content_size,
                          lv_coord_t item_cnt, lv_coord_t *start_pos, lv_coord_t *gap) {
    if (item_cnt <= 1) {
        switch (place) {
        case LV_FLEX_ALIGN_SPACE_BETWEEN:
        case LV_FLEX_ALIGN_SPACE_AROUND:
        case LV_FLEX_ALIGN_SPACE_EVENLY:
            place = LV_FLEX_ALIGN_CENTER;
            break;
        default:
            break;
        }
    }
    switch (place) {
    case LV_FLEX_ALIGN_CENTER:
        *gap = 0;
        *start_pos += (max_size - content_size) / 2;
        break;
    case LV_FLEX_ALIGN_END:
        *gap = 0;
        *start_pos += max_size - content_size;
        break;
    case LV_FLEX_ALIGN_SPACE_BETWEEN:
        *gap = (max_size - content_size) / (item_cnt - 1);
        break;
    case LV_FLEX_ALIGN_SPACE_AROUND:
        *gap += (max_size - content_size) / item_cnt;
        *start_pos += *gap / 2;
        break;
    case LV_FLEX_ALIGN_SPACE_EVENLY:
        *gap = (max_size - content_size) / (item_cnt + 1);
        *start_pos += *gap;
        break;
    default:
        *gap = 0;
    }
}

static void set_main_size(const flex_t *f, lv_area_t *a, lv_coord_t s) {
    if (f->row)
        lv_area_set_width(a, s);
    else
        lv_area_set_height(a, s);
}

static void children_repos(lv_obj_t *cont, flex_t *f, int32_t item_first_id, int32_t item_last_id,
                           lv_coord_t abs_x, lv_coord_t abs_y, lv_coord_t max_main_size, lv_coord_t item_gap,
                           track_t *t) {
    /* Sizes of the growing items first; clamped ones leave their share to the others. */
    bool grow_reiterate = true;
    while (grow_reiterate && t->grow_item_cnt) {
        grow_reiterate = false;
        lv_coord_t grow_value_sum = 0;
        lv_coord_t grow_max_size = t->track_main_size - t->track_fix_main_size;
        for (uint32_t i = 0; i < t->grow_item_cnt; i++) {
            if (t->grow_dsc[i].clamped == 0)
                grow_value_sum += (lv_coord_t)t->grow_dsc[i].grow_value;
            else
                grow_max_size -= t->grow_dsc[i].final_size;
        }
        for (uint32_t i = 0; i < t->grow_item_cnt; i++) {
            if (t->grow_dsc[i].clamped)
                continue;
            if (grow_value_sum == 0)
                break;
            lv_coord_t grow_unit = grow_max_size / grow_value_sum;
            lv_coord_t size = grow_unit * (lv_coord_t)t->grow_dsc[i].grow_value;
            lv_coord_t size_clamp = LV_CLAMP(t->grow_dsc[i].min_size, size, t->grow_dsc[i].max_size);
            if (size_clamp != size) {
                t->grow_dsc[i].clamped = 1;
                grow_reiterate = true;
            }
            t->grow_dsc[i].final_size = size_clamp;
            grow_value_sum -= (lv_coord_t)t->grow_dsc[i].grow_value;
            grow_max_size -= t->grow_dsc[i].final_size;
        }
    }

    lv_coord_t main_pos = 0;
    lv_coord_t place_gap = 0;
    place_content(f->main_place, max_main_size, t->track_main_size, (lv_coord_t)t->item_cnt, &main_pos,
                  &place_gap);

    lv_obj_t *item = lv_obj_get_child(cont, item_first_id);
    while (item && item_first_id != item_last_id) {
        if (lv_obj_has_flag_any(item,
                                LV_OBJ_FLAG_IGNORE_LAYOUT | LV_OBJ_FLAG_HIDDEN | LV_OBJ_FLAG_FLOATING)) {
            item = get_next_item(cont, f->rev, &item_first_id);
            continue;
        }
        lv_coord_t grow_size = lv_obj_get_style_flex_grow(item, LV_PART_MAIN);
        if (grow_size) {
            lv_coord_t s = 0;
            for (uint32_t i = 0; i < t->grow_item_cnt; i++) {
                if (t->grow_dsc[i].item == item) {
                    s = t->grow_dsc[i].final_size;
                    break;
                }
            }
            if (f->row) {
                item->w_layout = 1;
                item->h_layout = 0;
            } else {
                item->h_layout = 1;
                item->w_layout = 0;
            }
            if (s != main_size(f, item)) {
                lv_obj_invalidate(item);
                lv_area_t old_coords = item->coords;
                set_main_size(f, &item->coords, s);
                lv_event_send(item, LV_EVENT_SIZE_CHANGED, &old_coords);
                lv_event_send(lv_obj_get_parent(item), LV_EVENT_CHILD_CHANGED, item);
                lv_obj_invalidate(item);
            }
        } else {
            item->w_layout = 0;
            item->h_layout = 0;
        }
        lv_coord_t cross_pos = 0;
        switch (f->cross_place) {
        case LV_FLEX_ALIGN_CENTER:
            /* Centre within the track, its size rounded up to even. */
            cross_pos = (((t->track_cross_size + 1) & (~1)) - cross_size(f, item)) / 2;
            break;
        case LV_FLEX_ALIGN_END:
            cross_pos = t->track_cross_size - cross_size(f, item);
            break;
        default:
            break;
        }
        lv_coord_t w = lv_obj_get_width(item);
        lv_coord_t h = lv_obj_get_height(item);
        lv_coord_t tr_x = lv_obj_get_style_translate_x(item, LV_PART_MAIN);
        lv_coord_t tr_y = lv_obj_get_style_translate_y(item, LV_PART_MAIN);
        if (LV_COORD_IS_PCT(tr_x))
            tr_x = (w * LV_COORD_GET_PCT(tr_x)) / 100;
        if (LV_COORD_IS_PCT(tr_y))
            tr_y = (h * LV_COORD_GET_PCT(tr_y)) / 100;
        lv_coord_t diff_x = abs_x - item->coords.x1 + tr_x;
        lv_coord_t diff_y = abs_y - item->coords.y1 + tr_y;
        diff_x += f->row ? main_pos : cross_pos;
        diff_y += f->row ? cross_pos : main_pos;
        if (diff_x || diff_y) {
            lv_obj_invalidate(item);
            item->coords.x1 += diff_x;
            item->coords.x2 += diff_x;
            item->coords.y1 += diff_y;
            item->coords.y2 += diff_y;
            lv_obj_invalidate(item);
            lv_obj_move_children_by(item, diff_x, diff_y, false);
        }
        main_pos += main_size(f, item) + item_gap + place_gap;
        item = get_next_item(cont, f->rev, &item_first_id);
    }
}

static void flex_update(lv_obj_t *cont, void *user_data) {
    LV_UNUSED(user_data);
    flex_t f;
    lv_flex_flow_t flow = lv_obj_get_style_flex_flow(cont, LV_PART_MAIN);
    f.row = flow & _LV_FLEX_COLUMN ? 0 : 1;
    f.wrap = flow & _LV_FLEX_WRAP ? 1 : 0;
    f.rev = flow & _LV_FLEX_REVERSE ? 1 : 0;
    f.main_place = lv_obj_get_style_flex_main_place(cont, LV_PART_MAIN);
    f.cross_place = lv_obj_get_style_flex_cross_place(cont, LV_PART_MAIN);
    f.track_place = lv_obj_get_style_flex_track_place(cont, LV_PART_MAIN);

    lv_coord_t track_gap = !f.row ? lv_obj_get_style_pad_column(cont, LV_PART_MAIN)
                                  : lv_obj_get_style_pad_row(cont, LV_PART_MAIN);
    lv_coord_t item_gap = f.row ? lv_obj_get_style_pad_column(cont, LV_PART_MAIN)
                                : lv_obj_get_style_pad_row(cont, LV_PART_MAIN);
    lv_coord_t max_main_size = f.row ? lv_obj_get_content_width(cont) : lv_obj_get_content_height(cont);
    lv_coord_t border_width = lv_obj_get_style_border_width(cont, LV_PART_MAIN);
    lv_coord_t abs_y = cont->coords.y1 + lv_obj_get_style_pad_top(cont, LV_PART_MAIN) + border_width -
                       lv_obj_get_scroll_y(cont);
    lv_coord_t abs_x = cont->coords.x1 + lv_obj_get_style_pad_left(cont, LV_PART_MAIN) + border_width -
                       lv_obj_get_scroll_x(cont);
    lv_flex_align_t track_cross_place = f.track_place;
    lv_coord_t *cross_pos = f.row ? &abs_y : &abs_x;
    lv_coord_t w_set = lv_obj_get_style_width(cont, LV_PART_MAIN);
    lv_coord_t h_set = lv_obj_get_style_height(cont, LV_PART_MAIN);
    /* A content-sized cross axis leaves no room to place the tracks in. */
    if ((f.row && h_set == LV_SIZE_CONTENT && cont->h_layout == 0) ||
        (!f.row && w_set == LV_SIZE_CONTENT && cont->w_layout == 0)) {
        track_cross_place = LV_FLEX_ALIGN_START;
    }

    int32_t child_cnt = (int32_t)lv_obj_get_child_cnt(cont);
    lv_coord_t gap = 0;
    if (track_cross_place != LV_FLEX_ALIGN_START) {
        lv_coord_t total_track_cross_size = 0;
        uint32_t track_cnt = 0;
        int32_t track_first_item = f.rev ? child_cnt - 1 : 0;
        while (track_first_item < child_cnt && track_first_item >= 0) {
            track_t t;
            t.grow_dsc_calc = 0;
            int32_t next = find_track_end(cont, &f, track_first_item, max_main_size, item_gap, &t);
            total_track_cross_size += t.track_cross_size + track_gap;
            track_cnt++;
            track_first_item = next;
        }
        if (track_cnt)
            total_track_cross_size -= track_gap;
        lv_coord_t max_cross_size = f.row ? lv_obj_get_content_height(cont) : lv_obj_get_content_width(cont);
        place_content(track_cross_place, max_cross_size, total_track_cross_size, (lv_coord_t)track_cnt,
                      cross_pos, &gap);
    }

    int32_t track_first_item = f.rev ? child_cnt - 1 : 0;
    while (track_first_item < child_cnt && track_first_item >= 0) {
        track_t t;
        t.grow_dsc_calc = 1;
        int32_t next = find_track_end(cont, &f, track_first_item, max_main_size, item_gap, &t);
        children_repos(cont, &f, track_first_item, next, abs_x, abs_y, max_main_size, item_gap, &t);
        track_first_item = next;
        lv_mem_free(t.grow_dsc);
        *cross_pos += t.track_cross_size + gap + track_gap;
    }
}
