/*
 * recorder_ui: waits until the recorder process allows the user interface to start, brings up
 * LVGL with its drivers, builds the application and runs the LVGL timers for the life of the
 * process. It takes no arguments.
 */
#include <cstdio>
#include <unistd.h>

#include "App.h"
#include "disp_port.h"
#include "key.h"
#include "log.h"
#include "lvgl.h"
#include "sys_paths.h"
#include "ui_lock.h"

/* The screen rotation of this build, in degrees. */
#define CONFIG_SCREEN_ROTATE 0

static void lvgl_init(void) {
    LOG_INFO("CONFIG_SCREEN_ROTATE:%d\n", CONFIG_SCREEN_ROTATE);
    lv_init();
    disp_port_init(CONFIG_SCREEN_ROTATE, DISP_DEV_NAME_SPI);
    /* Key input: the key state, the 30 ms key timer, the keypad device and the default group. */
    Key_Init();
    UiLock_Init();
}

int main(void) {
    /* Standard output is often a pipe or a file: keep lines visible as they are printed. */
    setvbuf(stdout, nullptr, _IOLBF, 0);
    Log_Config(true, true, LOG_LEVEL_INFO);

    LOG_INFO("wait to start ui\n");
    while (access(SYS_PATH_READY2START_UI, F_OK) != 0) {
        usleep(10 * 1000);
    }
    LOG_INFO("ready to start ui\n");

    lvgl_init();
    App_Init();

    for (;;) {
        UiLock_Lock();
        lv_timer_handler();
        UiLock_Unlock();
        usleep(10 * 1000);
    }
}
