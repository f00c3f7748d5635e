/* Filter tables of the resampler (generated into res_tables.c by tools/gen_res_tables.py). */
#ifndef RES_TABLES_H
#define RES_TABLES_H

#include <stdint.h>

/* Integer-ratio filters, Q15. 1:K: K rows of taps, newest input sample last. K:1: one filter. */
extern const int16_t RES_g_up2_coef[64]; /* 2 rows x 32 */
extern const int16_t RES_g_up4_coef[32]; /* 4 rows x 8 */
extern const int16_t RES_g_up6_coef[48]; /* 6 rows x 8 */
extern const int16_t RES_g_down2_coef[32];
extern const int16_t RES_g_down4_coef[32]; /* 30 taps and two zeros */
extern const int16_t RES_g_down6_coef[48];

/* Polyphase coefficient tables: L rows of T half-filter taps. */
#define RES_GOOD_TAB(a, b) extern const int16_t RES_g_res_##a##_##b##_good_filttab[];
#define RES_MID_TAB(a, b)  extern const int16_t g_res_##a##_##b##_mid_filttab[];
#define RES_STEP_TAB(a, b) extern const uint32_t RES_g_res_##a##_##b##_good_nextphasetab[];
RES_GOOD_TAB(8, 11)
RES_GOOD_TAB(8, 12)
RES_GOOD_TAB(8, 16)
RES_GOOD_TAB(8, 24)
RES_GOOD_TAB(8, 32)
RES_GOOD_TAB(8, 48)
RES_GOOD_TAB(11, 12)
RES_GOOD_TAB(12, 16)
RES_GOOD_TAB(12, 32)
RES_GOOD_TAB(48, 48)
RES_MID_TAB(8, 11)
RES_MID_TAB(8, 22)
RES_MID_TAB(8, 44)
RES_MID_TAB(11, 12)
RES_MID_TAB(11, 16)
RES_MID_TAB(11, 24)
RES_MID_TAB(11, 32)
RES_MID_TAB(11, 48)
RES_MID_TAB(12, 22)
RES_MID_TAB(12, 44)
RES_STEP_TAB(8, 11)
RES_STEP_TAB(8, 12)
RES_STEP_TAB(8, 16)
RES_STEP_TAB(8, 22)
RES_STEP_TAB(8, 24)
RES_STEP_TAB(8, 32)
RES_STEP_TAB(8, 44)
RES_STEP_TAB(8, 48)
RES_STEP_TAB(11, 12)
RES_STEP_TAB(11, 16)
RES_STEP_TAB(11, 24)
RES_STEP_TAB(11, 32)
RES_STEP_TAB(11, 48)
RES_STEP_TAB(12, 16)
RES_STEP_TAB(12, 22)
RES_STEP_TAB(12, 32)
RES_STEP_TAB(12, 44)
RES_STEP_TAB(48, 48)
#undef RES_GOOD_TAB
#undef RES_MID_TAB
#undef RES_STEP_TAB

#endif /* RES_TABLES_H */
