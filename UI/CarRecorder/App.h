/*
 * The application of recorder_ui: built once by App_Init after LVGL and the drivers are up.
 */
#ifndef APP_H
#define APP_H

#ifdef __cplusplus
extern "C" {
#endif

/* Builds the application: data processors, screen, status bar, pages, IPC agent, status,
 * supervision, settings and language, first page. */
void App_Init(void);

/* Sets the current language from a language index of the settings record (0..15); any other
 * index logs "no support" and keeps the current language. */
void App_SetLanguage(int s32LangIdx);

/* Two-letter language code of an index, NULL outside 0..15. */
const char *App_GetLanguageCode(int s32LangIdx);

#ifdef __cplusplus
}
#endif

#endif /* APP_H */
