/**
 * @file lv_flex.c
 * The flex layout in three steps: gather the children that take part (in flow order), cut them into
 * lines, then give every line its place across the container and every item its place along its line.
 */
#include "lv_flex.h"
#include "../../misc/lv_math.h"
#include "../../misc/lv_mem.h"

/* One child taking part in the layout. */
typedef struct {
    lv_obj_t *obj;
    lv_coord_t along;  /* size on the main axis */
    lv_coord_t across; /* size on the cross axis */
    lv_coord_t lo, hi; /* min and max of the main size (growing items) */
    lv_coord_t grown;  /* main size given to a growing item */
    uint8_t grow;
    bool fresh_line; /* a child at or before it (after the previous item) asks for a new line */
    bool pinned;     /* a growing item that reached lo or hi */
} flex_item_t;

/* A run of items sharing one line. */
typedef struct {
    uint32_t first, count;
    lv_coord_t used;  /* fixed main sizes plus gaps */
    lv_coord_t span;  /* main size the line occupies */
    lv_coord_t thick; /* largest cross size */
    uint32_t growers;
} flex_line_t;

/* What the container asks for. */
typedef struct {
    bool horizontal, wrap;
    lv_flex_align_t main_place, cross_place, track_place;
    lv_coord_t room;      /* content size on the main axis */
    lv_coord_t item_gap;  /* between items of a line */
    lv_coord_t track_gap; /* between lines */
} flex_cfg_t;

#define FLEX_LOCAL_ITEMS 24
#define FLEX_SKIP        (LV_OBJ_FLAG_IGNORE_LAYOUT | LV_OBJ_FLAG_HIDDEN | LV_OBJ_FLAG_FLOATING)

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

/* Fills items[] in flow order; returns how many take part. */
static uint32_t gather(lv_obj_t *cont, const flex_cfg_t *cfg, bool backwards, flex_item_t *items) {
    uint32_t total = lv_obj_get_child_cnt(cont);
    uint32_t n = 0;
    bool want_break = false;
    for (uint32_t k = 0; k < total; k++) {
        lv_obj_t *ch = lv_obj_get_child(cont, (int32_t)(backwards ? total - 1 - k : k));
        if (lv_obj_has_flag(ch, LV_OBJ_FLAG_LAYOUT_1))
            want_break = true;
        if (lv_obj_has_flag_any(ch, FLEX_SKIP))
            continue;
        flex_item_t *it = &items[n++];
        lv_coord_t w = lv_obj_get_width(ch), h = lv_obj_get_height(ch);
        it->obj = ch;
        it->along = cfg->horizontal ? w : h;
        it->across = cfg->horizontal ? h : w;
        it->grow = lv_obj_get_style_flex_grow(ch, LV_PART_MAIN);
        it->fresh_line = want_break;
        it->pinned = false;
        it->grown = 0;
        if (it->grow) {
            it->lo = cfg->horizontal ? lv_obj_get_style_min_width(ch, LV_PART_MAIN)
                                     : lv_obj_get_style_min_height(ch, LV_PART_MAIN);
            it->hi = cfg->horizontal ? lv_obj_get_style_max_width(ch, LV_PART_MAIN)
                                     : lv_obj_get_style_max_height(ch, LV_PART_MAIN);
        }
        want_break = false;
    }
    return n;
}

/* Takes items from *next onto one line; advances *next past them. */
static void fill_line(const flex_cfg_t *cfg, flex_item_t *items, uint32_t n, uint32_t *next,
                      flex_line_t *ln) {
    ln->first = *next;
    ln->count = 0;
    ln->used = 0;
    ln->thick = 0;
    ln->growers = 0;
    uint32_t i = *next;
    for (; i < n; i++) {
        const flex_item_t *it = &items[i];
        if (i != ln->first && it->fresh_line)
            break;
        if (it->grow) {
            ln->growers++;
        } else {
            if (cfg->wrap && ln->used + it->along > cfg->room)
                break;
            ln->used += it->along;
        }
        ln->used += cfg->item_gap;
        if (it->across > ln->thick)
            ln->thick = it->across;
        ln->count++;
    }
    if (ln->used > 0)
        ln->used -= cfg->item_gap;
    ln->span = ln->growers ? cfg->room : ln->used;
    if (ln->count == 0 && i < n) {
        /* Too long for any line: it gets one of its own. */
        ln->count = 1;
        ln->span = items[i].along;
        ln->thick = items[i].across;
        i++;
    }
    *next = i;
}

/* Shares the free main space of a line among its growing items by their grow values. An item held by
 * its min or max keeps that size and the others share again what is left. */
static void share_growth(flex_item_t *items, const flex_line_t *ln) {
    bool again = ln->growers > 0;
    while (again) {
        again = false;
        lv_coord_t free_space = ln->span - ln->used;
        lv_coord_t weight = 0;
        for (uint32_t i = ln->first; i < ln->first + ln->count; i++) {
            flex_item_t *it = &items[i];
            if (!it->grow)
                continue;
            if (it->pinned)
                free_space -= it->grown;
            else
                weight += it->grow;
        }
        for (uint32_t i = ln->first; i < ln->first + ln->count && weight > 0; i++) {
            flex_item_t *it = &items[i];
            if (!it->grow || it->pinned)
                continue;
            lv_coord_t want = (free_space / weight) * it->grow;
            lv_coord_t got = LV_CLAMP(it->lo, want, it->hi);
            if (got != want) {
                it->pinned = true;
                again = true;
            }
            it->grown = got;
            weight -= it->grow;
            free_space -= got;
        }
    }
}

/* Where the first of `count` pieces of total size `content` starts in `room`, and the extra space put
 * between two neighbours. */
static void distribute(lv_flex_align_t place, lv_coord_t room, lv_coord_t content, uint32_t count,
                       lv_coord_t *offset, lv_coord_t *extra) {
    lv_coord_t slack = room - content;
    bool spread = place == LV_FLEX_ALIGN_SPACE_BETWEEN || place == LV_FLEX_ALIGN_SPACE_AROUND ||
                  place == LV_FLEX_ALIGN_SPACE_EVENLY;
    if (spread && count < 2)
        place = LV_FLEX_ALIGN_CENTER;
    *offset = 0;
    *extra = 0;
    if (place == LV_FLEX_ALIGN_CENTER) {
        *offset = slack / 2;
    } else if (place == LV_FLEX_ALIGN_END) {
        *offset = slack;
    } else if (place == LV_FLEX_ALIGN_SPACE_BETWEEN) {
        *extra = slack / (lv_coord_t)(count - 1);
    } else if (place == LV_FLEX_ALIGN_SPACE_AROUND) {
        *extra = slack / (lv_coord_t)count;
        *offset = *extra / 2;
    } else if (place == LV_FLEX_ALIGN_SPACE_EVENLY) {
        *extra = slack / (lv_coord_t)(count + 1);
        *offset = *extra;
    }
}

static void apply_grown_size(const flex_cfg_t *cfg, flex_item_t *it) {
    lv_obj_t *o = it->obj;
    o->w_layout = cfg->horizontal;
    o->h_layout = !cfg->horizontal;
    lv_coord_t now = cfg->horizontal ? lv_obj_get_width(o) : lv_obj_get_height(o);
    if (now == it->grown)
        return;
    lv_obj_invalidate(o);
    lv_area_t before = o->coords;
    if (cfg->horizontal)
        o->coords.x2 = (lv_coord_t)(o->coords.x1 + it->grown - 1);
    else
        o->coords.y2 = (lv_coord_t)(o->coords.y1 + it->grown - 1);
    lv_event_send(o, LV_EVENT_SIZE_CHANGED, &before);
    lv_event_send(lv_obj_get_parent(o), LV_EVENT_CHILD_CHANGED, o);
    lv_obj_invalidate(o);
}

static lv_coord_t translation(lv_coord_t tr, lv_coord_t own) {
    return LV_COORD_IS_PCT(tr) ? (lv_coord_t)(own * LV_COORD_GET_PCT(tr) / 100) : tr;
}

/* Moves the items of a line; (main0, cross0) is the line's origin in absolute coordinates. */
static void place_line(const flex_cfg_t *cfg, flex_item_t *items, const flex_line_t *ln, lv_coord_t main0,
                       lv_coord_t cross0) {
    share_growth(items, ln);
    lv_coord_t offset, extra;
    distribute(cfg->main_place, cfg->room, ln->span, ln->count, &offset, &extra);
    lv_coord_t pos = main0 + offset;
    /* Centring uses the line's thickness rounded up to even. */
    lv_coord_t even_thick = (lv_coord_t)((ln->thick + 1) & ~1);
    for (uint32_t i = ln->first; i < ln->first + ln->count; i++) {
        flex_item_t *it = &items[i];
        lv_obj_t *o = it->obj;
        if (it->grow) {
            apply_grown_size(cfg, it);
        } else {
            o->w_layout = 0;
            o->h_layout = 0;
        }
        lv_coord_t w = lv_obj_get_width(o), h = lv_obj_get_height(o);
        lv_coord_t depth = cfg->horizontal ? h : w;
        lv_coord_t across = cross0;
        if (cfg->cross_place == LV_FLEX_ALIGN_CENTER)
            across += (even_thick - depth) / 2;
        else if (cfg->cross_place == LV_FLEX_ALIGN_END)
            across += ln->thick - depth;
        lv_coord_t x = cfg->horizontal ? pos : across;
        lv_coord_t y = cfg->horizontal ? across : pos;
        lv_coord_t dx = x + translation(lv_obj_get_style_translate_x(o, LV_PART_MAIN), w) - o->coords.x1;
        lv_coord_t dy = y + translation(lv_obj_get_style_translate_y(o, LV_PART_MAIN), h) - o->coords.y1;
        if (dx != 0 || dy != 0) {
            lv_obj_invalidate(o);
            lv_area_move(&o->coords, dx, dy);
            lv_obj_invalidate(o);
            lv_obj_move_children_by(o, dx, dy, false);
        }
        pos += (cfg->horizontal ? w : h) + cfg->item_gap + extra;
    }
}

static void flex_update(lv_obj_t *cont, void *user_data) {
    LV_UNUSED(user_data);
    uint32_t total = lv_obj_get_child_cnt(cont);
    if (total == 0)
        return;

    lv_flex_flow_t flow = lv_obj_get_style_flex_flow(cont, LV_PART_MAIN);
    flex_cfg_t cfg;
    cfg.horizontal = (flow & _LV_FLEX_COLUMN) == 0;
    cfg.main_place = lv_obj_get_style_flex_main_place(cont, LV_PART_MAIN);
    cfg.cross_place = lv_obj_get_style_flex_cross_place(cont, LV_PART_MAIN);
    cfg.track_place = lv_obj_get_style_flex_track_place(cont, LV_PART_MAIN);
    lv_coord_t pad_col = lv_obj_get_style_pad_column(cont, LV_PART_MAIN);
    lv_coord_t pad_row = lv_obj_get_style_pad_row(cont, LV_PART_MAIN);
    cfg.item_gap = cfg.horizontal ? pad_col : pad_row;
    cfg.track_gap = cfg.horizontal ? pad_row : pad_col;
    cfg.room = cfg.horizontal ? lv_obj_get_content_width(cont) : lv_obj_get_content_height(cont);
    lv_coord_t cross_room = cfg.horizontal ? lv_obj_get_content_height(cont) : lv_obj_get_content_width(cont);

    /* A container sized by its content cannot wrap along that axis, nor place lines across it. */
    bool main_by_content = lv_obj_get_style_width(cont, LV_PART_MAIN) == LV_SIZE_CONTENT;
    bool cross_by_content = lv_obj_get_style_height(cont, LV_PART_MAIN) == LV_SIZE_CONTENT && !cont->h_layout;
    if (!cfg.horizontal) {
        main_by_content = lv_obj_get_style_height(cont, LV_PART_MAIN) == LV_SIZE_CONTENT;
        cross_by_content = lv_obj_get_style_width(cont, LV_PART_MAIN) == LV_SIZE_CONTENT && !cont->w_layout;
    }
    cfg.wrap = (flow & _LV_FLEX_WRAP) && !main_by_content;
    if (cross_by_content)
        cfg.track_place = LV_FLEX_ALIGN_START;

    flex_item_t local[FLEX_LOCAL_ITEMS];
    flex_item_t *items = total <= FLEX_LOCAL_ITEMS ? local : lv_mem_alloc(sizeof(flex_item_t) * total);
    LV_ASSERT_MALLOC(items);
    if (items == NULL)
        return;
    uint32_t n = gather(cont, &cfg, (flow & _LV_FLEX_REVERSE) != 0, items);

    lv_coord_t border = lv_obj_get_style_border_width(cont, LV_PART_MAIN);
    lv_coord_t origin_x =
        cont->coords.x1 + border + lv_obj_get_style_pad_left(cont, LV_PART_MAIN) - lv_obj_get_scroll_x(cont);
    lv_coord_t origin_y =
        cont->coords.y1 + border + lv_obj_get_style_pad_top(cont, LV_PART_MAIN) - lv_obj_get_scroll_y(cont);
    lv_coord_t main0 = cfg.horizontal ? origin_x : origin_y;
    lv_coord_t cross = cfg.horizontal ? origin_y : origin_x;

    /* Lines are placed across the container only when asked; that needs their total thickness first. */
    lv_coord_t line_extra = 0;
    if (cfg.track_place != LV_FLEX_ALIGN_START) {
        lv_coord_t thickness = 0;
        uint32_t lines = 0;
        for (uint32_t next = 0; next < n; lines++) {
            flex_line_t ln;
            fill_line(&cfg, items, n, &next, &ln);
            thickness += ln.thick + (lines ? cfg.track_gap : 0);
        }
        lv_coord_t offset;
        distribute(cfg.track_place, cross_room, thickness, lines, &offset, &line_extra);
        cross += offset;
    }

    for (uint32_t next = 0; next < n;) {
        flex_line_t ln;
        fill_line(&cfg, items, n, &next, &ln);
        place_line(&cfg, items, &ln, main0, cross);
        cross += ln.thick + cfg.track_gap + line_extra;
    }
    if (items != local)
        lv_mem_free(items);
}
