/* The album home's widgets: three tiles (recordings, emergency clips, photos) and the navigation
 * bar. */
#ifndef ALBUM_HOME_VIEW_H
#define ALBUM_HOME_VIEW_H

#include <stdint.h>

#include "AlbumCommon.h"

namespace Page {

class AlbumHomeView {
  public:
    static constexpr uint32_t kTileNum = 3;

    struct {
        lv_obj_t *cont;
        lv_obj_t *tile[kTileNum];
        lv_obj_t *icon[kTileNum];
        lv_obj_t *label[kTileNum];
        AlbumNaviBar navi;
    } ui = {};

    void Create(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data);
    void Delete();
    /* Marks tile u32Index focused (the others not). */
    void SetFocus(uint32_t u32Index);
};

} // namespace Page

#endif /* ALBUM_HOME_VIEW_H */
