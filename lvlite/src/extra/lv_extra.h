/**
 * @file lv_extra.h
 * Layouts, file-system drivers and image decoders started by lv_init.
 */
#ifndef LV_EXTRA_H
#define LV_EXTRA_H

#ifdef __cplusplus
extern "C" {
#endif

void lv_extra_init(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_EXTRA_H */
