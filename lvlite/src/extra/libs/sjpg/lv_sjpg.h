/**
 * @file lv_sjpg.h
 * JPEG decoder (libjpeg-turbo): files "L:....jpg" / ".jpeg". Decodes to opaque ARGB8888.
 */
#ifndef LV_SJPG_H
#define LV_SJPG_H

#ifdef __cplusplus
extern "C" {
#endif

/** Register the JPEG decoder. */
void lv_split_jpeg_init(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_SJPG_H */
