/*
 * The UI mutex: one process-wide mutex that the main loop holds around each run of the LVGL
 * timer handler. The wrappers return the pthread result (0 on success).
 */
#ifndef UI_LOCK_H
#define UI_LOCK_H

#ifdef __cplusplus
extern "C" {
#endif

int UiLock_Init(void);
int UiLock_Lock(void);
int UiLock_Unlock(void);
int UiLock_Destroy(void);

#ifdef __cplusplus
}
#endif

#endif /* UI_LOCK_H */
