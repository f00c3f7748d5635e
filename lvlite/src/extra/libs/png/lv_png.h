/**
 * @file lv_png.h
 * PNG decoder (libpng): files "L:....png" and lv_img_dsc_t variables of LV_IMG_CF_RAW_ALPHA
 * holding a PNG file. Decodes to ARGB8888.
 */
#ifndef LV_PNG_H
#define LV_PNG_H

#ifdef __cplusplus
extern "C" {
#endif

/** Register the PNG decoder. */
void lv_png_init(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_PNG_H */
