/* The player's widgets: a transparent page (the clip plays in the video layer below it), the
 * photo picture, the progress text and the navigation bar, and the delete question. */
#ifndef ALBUM_PLAYER_VIEW_H
#define ALBUM_PLAYER_VIEW_H

#include <stdint.h>

#include <vector>

#include "AlbumCommon.h"

namespace Page {

class AlbumPlayerView {
  public:
    static constexpr int32_t kPhotoW = 320;
    static constexpr int32_t kPhotoH = 180;

    struct {
        lv_obj_t *photo;
        lv_obj_t *progress;
        AlbumNaviBar navi;
        lv_obj_t *del_page; /* the delete question, null when not shown */
        lv_obj_t *del_title;
    } ui = {};

    void Create(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data);
    void Delete();
    /* Shows a 640 x 360 RGBA bitmap file halved; false (photo hidden) when the file is not one. */
    bool ShowPhoto(const char *pcBitmapPath);
    void HidePhoto();
    void SetProgress(uint32_t u32PlayedS, uint32_t u32TotalS);
    /* The question over the page, with a title text. */
    void CreateDelFileTitlePage(const char *pcTitle);
    void DeleteDelFileTitlePage();
    void RefrashDelRalatedFilePageTitle(const char *pcTitle);

  private:
    lv_obj_t *m_root = nullptr;
    std::vector<uint8_t> m_au8Photo;
    lv_img_dsc_t m_stPhoto = {};
};

} // namespace Page

#endif /* ALBUM_PLAYER_VIEW_H */
