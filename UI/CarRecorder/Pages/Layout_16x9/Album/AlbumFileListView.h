/* The file list's widgets: the main list (one row per group) and the sub page (a grid of the
 * opened group's thumbnails with camera badges, times and durations), over the navigation bar. */
#ifndef ALBUM_FILE_LIST_VIEW_H
#define ALBUM_FILE_LIST_VIEW_H

#include <stdint.h>

#include "AlbumCommon.h"
#include "AlbumFileListModel.h"

namespace Page {

class AlbumFileListView {
  public:
    static constexpr int32_t kThumbW = VYX_UI_ALBUM_THUMB_WIDTH;
    static constexpr int32_t kThumbH = VYX_UI_ALBUM_THUMB_HEIGHT;

    struct {
        lv_obj_t *main_cont; /* rows of the groups */
        lv_obj_t *sub_cont;  /* thumbnail grid */
        AlbumNaviBar navi;
    } ui = {};

    void Create(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data);
    void Delete();
    /* One row per main item; the old rows go. */
    void CreateMainPage(const std::vector<AlbumMainItem> &astItems, lv_event_cb_t event_cb, void *user_data);
    /* Empties the grid (its items are made one by one with CreateSubPageThumbItem). */
    void CreateSubPage();
    /* The widgets of one file in the grid: frame, badge, time, duration or photo mark. */
    lv_obj_t *CreateSubPageThumbItem(AlbumSubItem &stItem, lv_event_cb_t event_cb, void *user_data);
    /* The thumbnail picture of an item from the cache file; false (and no picture) when the file
     * is missing or is not a picture. */
    bool CreateSubPageThumbImg(AlbumSubItem &stItem, const char *pcThumbPath);
    /* Shows the main list or the grid. */
    void ShowSub(bool bSub);
    /* Marks child u32Index of the container focused and scrolls it into view. */
    static void FocusChild(lv_obj_t *cont, uint32_t u32Index);
};

} // namespace Page

#endif /* ALBUM_FILE_LIST_VIEW_H */
