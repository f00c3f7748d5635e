/*
 * What the three album pages share: the navigation bar at the bottom of each page, the base of
 * their models (an account of their own with the requests every album page makes) and the album
 * session (the chosen category, the files of the opened group handed to the player, and what the
 * player deleted).
 */
#ifndef ALBUM_COMMON_H
#define ALBUM_COMMON_H

#include <stdint.h>

#include <initializer_list>
#include <mutex>
#include <string>
#include <vector>

#include "DataProc.h"
#include "PageAccount.h"
#include "StatusBar.h"
#include "lvgl.h"
#include "vyx_ui_album.h"

namespace Page {

/* Album categories chosen on the album home. */
enum AlbumCategory : int32_t {
    ALBUM_CATEGORY_REC = 0,   /* recordings */
    ALBUM_CATEGORY_PHOTO = 1, /* snapshot-event photos (with their clips) */
    ALBUM_CATEGORY_EMR = 2,   /* emergency clips */
};

/* The raw list behind a category. */
VYX_UI_Album_FileType_E Album_CategoryFileType(int32_t eCategory);

/* The session the pages pass along (LVGL thread only). */
struct AlbumSession {
    int32_t eCategory = ALBUM_CATEGORY_REC;
    /* The files of the opened group, in the order shown; the player plays and deletes from it. */
    std::vector<VYX_UI_Album_FileEntry_S> astFiles;
    /* Files the player deleted since the file list last looked. */
    uint32_t u32Deleted = 0;
};
AlbumSession &Album_Session();

/* Camera badge and name of a file, by its name. */
const char *Album_CamBadge(const char *pcName);
const char *Album_CamName(const char *pcName);
bool Album_IsClip(const char *pcName);
bool Album_IsPhoto(const char *pcName);

/* The navigation bar: go back, previous, next and confirm images left to right, each clickable
 * and sending every event to the page's handler. */
struct AlbumNaviBar {
    lv_obj_t *bar = nullptr;
    lv_obj_t *back = nullptr;
    lv_obj_t *prev = nullptr;
    lv_obj_t *next = nullptr;
    lv_obj_t *ok = nullptr;

    void Create(lv_obj_t *parent, const char *pcOkIcon, lv_event_cb_t event_cb, void *user_data);
    /* The image for a key code (KEY_CODE_*), or null. */
    lv_obj_t *ForKey(uint32_t u32KeyCode) const;
};
constexpr int32_t kAlbumNaviBarH = 36;
constexpr int32_t kAlbumContentY = STATUSBAR_HEIGHT; /* below the status bar */

void Album_SetImg(lv_obj_t *img, const char *pcRelPath);
void Album_SetHidden(lv_obj_t *obj, bool bHidden);
/* A plain container without style or scrolling. */
lv_obj_t *Album_CreatePlain(lv_obj_t *parent);
/* A white label in the body font (a font of its own: for the few labels of a page). */
lv_obj_t *Album_CreateLabel(lv_obj_t *parent, uint16_t u16Size, const char *pcFont = nullptr);
/* Gives a container the white body font of u16Size that its labels inherit: lists make their
 * labels with lv_label_create alone, so that a long list opens no font of its own per label. */
void Album_SetInheritedFont(lv_obj_t *cont, uint16_t u16Size);

/* The base of the album models: one account named after the model, subscribed to the accounts
 * the page needs, and the requests all album pages make. Failures are logged. */
/* Status, tips and the status bar come with PageAccount; each album model adds its own. */
class AlbumModelBase : public PageAccount {
  public:
    /* Control item to the recorder (waits for its answer). */
    int CtrlGeneralCtrlItem(int32_t eElem, const char *pcValue);
    /* The status bar's title (a text) with its counter and file type (either may be null). */
    int SetStatusBarTitle(const char *pcTitle, const char *pcFocus, const char *pcFileType);

  protected:
    int CreateAccount(const char *pcName, std::initializer_list<const char *> subscriptions);
    void DeleteAccount() { Destroy(); }
    /* Publishes to the model's account; the default takes nothing. */
    virtual int OnAccountEvent(Account::EventParam *param);

  private:
    static int onEvent(Account *account, Account::EventParam *param);
};

} // namespace Page

#endif /* ALBUM_COMMON_H */
