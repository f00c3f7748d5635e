/* The settings home's widgets: one row of eight tiles, each a button with the page's picture and
 * a hidden label holding its name. */
#ifndef SYS_SETING_HOME_VIEW_H
#define SYS_SETING_HOME_VIEW_H

#include "PagesCommon.h"

namespace Page {

class SysSetingHomeView : public SysSetingView {
  public:
    static constexpr uint32_t kTileNum = 8;

    struct Tile {
        lv_obj_t *btn;
        lv_obj_t *img;
        lv_obj_t *label;
    };
    Tile m_astTiles[kTileNum] = {};
    lv_obj_t *m_pstRow = nullptr;

    /* Builds the tiles of pstMenu on root (the previous screen is deleted); every tile button
     * gets event_cb and joins the default group. */
    void CreateTiles(lv_obj_t *root, const SetMenu *pstMenu, lv_event_cb_t event_cb, void *user_data);
    /* Tile position of a tile button, or -1. */
    int32_t TileOf(lv_obj_t *obj) const;
};

} // namespace Page

#endif /* SYS_SETING_HOME_VIEW_H */
