/*
 * Every absolute path of the system, written once. Each is RECORDER_ROOT followed by the device
 * path: RECORDER_ROOT is empty on the device and a private tree inside the build directory on a
 * development machine, so nothing run there touches the machine's own /dev, /tmp or /app.
 *
 * Paths handed to LVGL ("/:/app/...") go through LVGL's file-system driver on letter '/',
 * which adds RECORDER_ROOT itself; they are not listed here.
 */
#ifndef SYS_PATHS_H
#define SYS_PATHS_H

#ifndef RECORDER_ROOT
#define RECORDER_ROOT ""
#endif

#define SYS_PATH(p) RECORDER_ROOT p

/* Marker files shared with the recorder process. */
#define SYS_PATH_READY2START_UI SYS_PATH("/dev/ready2start_ui")
#define SYS_PATH_UI_RUNNING     SYS_PATH("/dev/ui_running")
#define SYS_PATH_APP_LOGIN      SYS_PATH("/dev/app_login")
#define SYS_PATH_PARKING_PAGE   SYS_PATH("/dev/parking_page_ok")

/* Files written by the user interface or the recorder. */
#define SYS_PATH_UI_STATUS       SYS_PATH("/tmp/ui_status")
#define SYS_PATH_FILELIST        SYS_PATH("/tmp/filelist_info")
#define SYS_PATH_CATFILELIST     SYS_PATH("/tmp/catfilelist_info")
#define SYS_PATH_THUMB_CACHE     SYS_PATH("/dev/thumb")
#define SYS_PATH_PLAYER_CACHE    SYS_PATH("/dev/player")
#define SYS_PATH_APP_SD_DCIM     SYS_PATH("/app/sd/DCIM/")
#define SYS_PATH_MNT_SD_DCIM     SYS_PATH("/mnt/sd/DCIM/")

/* Display hand-over and the framebuffer. */
#define SYS_PATH_UI_FLUSH_FIFO SYS_PATH("/dev/ui_flush.fifo")
#define SYS_PATH_FB0           SYS_PATH("/dev/fb0")

/* Resource tree. */
#define SYS_PATH_RES       SYS_PATH("/app/bin/res/")
#define SYS_PATH_LANG_JSON SYS_PATH("/app/bin/res/lang/lang.json")
#define SYS_PATH_FONT_BODY SYS_PATH("/app/bin/res/font/arial.ttf")
#define SYS_PATH_FONT_DIGITS SYS_PATH("/app/bin/res/font/D-DINCondensed-Bold.otf")

/* Scratch directory of the compressing archive helpers. */
#define SYS_PATH_TMP SYS_PATH("/tmp/")

#endif /* SYS_PATHS_H */
