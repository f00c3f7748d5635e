/* The built-in parameter record, the checks of the system configuration and of the record's
 * header, and the memory size the switches ask for. */
#include "vqe_internal.h"

#define B8(off, v) [off] = (uint8_t)(v)
#define B16(off, v)                                                                                          \
    [off] = (uint8_t)((unsigned)(v)&0xFFu), [(off) + 1] = (uint8_t)(((unsigned)(v) >> 8) & 0xFFu)
#define B32(off, v)                                                                                          \
    [off] = (uint8_t)((uint32_t)(v)&0xFFu), [(off) + 1] = (uint8_t)(((uint32_t)(v) >> 8) & 0xFFu),           \
    [(off) + 2] = (uint8_t)(((uint32_t)(v) >> 16) & 0xFFu),                                                  \
    [(off) + 3] = (uint8_t)(((uint32_t)(v) >> 24) & 0xFFu)

#define AEC(o) (AUDIO_VQE_B_AEC + (o))
#define AGC(o) (AUDIO_VQE_B_AGC + (o))
#define NR(o)  (AUDIO_VQE_B_NR + (o))
#define MWF(o) (AUDIO_VQE_B_PMWF + (o))
#define DRC(o) (AUDIO_VQE_B_DRC + (o))
#define EQ(o)  (AUDIO_VQE_B_EQ + (o))
#define HS(o)  (AUDIO_VQE_B_HS + (o))

const uint8_t g_vc_params_normal[AUDIO_VQE_PARAMS_SIZE] = {
    B8(AUDIO_VQE_P_MIC_NUM, 2),
    B8(AUDIO_VQE_P_CHN_NUM, 1),
    B8(AUDIO_VQE_P_AEC_MODE, 1),
    B8(AUDIO_VQE_P_BAND, 1),
    B8(AUDIO_VQE_P_LEVEL_20, 24),
    /* echo canceller */
    B16(AEC(0), 0),
    B8(AEC(3), 1),
    B16(AEC(8), 50),
    B16(AEC(10), 50),
    B16(AEC(12), 50),
    B16(AEC(14), 50),
    B16(AEC(16), 100),
    B16(AEC(18), 100),
    B16(AEC(20), 100),
    B16(AEC(22), 100),
    B16(AEC(24), 0),
    B16(AEC(26), 57),
    B16(AEC(28), 100),
    B16(AEC(32), 1),
    B16(AEC(34), 100),
    B16(AEC(36), 1500),
    B16(AEC(38), 3000),
    B16(AEC(40), 4500),
    B16(AEC(54), 1),
    B16(AEC(56), 1),
    B16(AEC(58), 1),
    B16(AEC(60), 4),
    B16(AEC(62), 12),
    B16(AEC(64), 4),
    B16(AEC(66), 1),
    B16(AEC(68), 100),
    B16(AEC(70), 6),
    /* post-processing */
    B8(AUDIO_VQE_B_FMP, 1),
    B8(AUDIO_VQE_B_FMP + 1, 3),
    B8(AUDIO_VQE_B_FMP + 2, 1),
    /* AGC */
    B16(AGC(0), -16),
    B16(AGC(2), 96),
    B16(AGC(4), -60),
    B16(AGC(6), 9),
    B16(AGC(8), 3),
    B16(AGC(10), -260),
    B32(AGC(12), 64536),
    B32(AGC(16), 500),
    B32(AGC(20), 100),
    B32(AGC(24), 102),
    B16(AGC(28), 990),
    B16(AGC(30), 1),
    B16(AGC(32), 1),
    /* equaliser: 30 band gains in dB and the overall gain */
    B8(EQ(0), -40),
    B8(EQ(1), -40),
    B8(EQ(2), -15),
    B8(EQ(3), -15),
    B8(EQ(4), -15),
    B8(EQ(5), -13),
    B8(EQ(6), -10),
    B8(EQ(10), 1),
    B8(EQ(11), 1),
    B8(EQ(12), 1),
    B8(EQ(13), 1),
    B8(EQ(14), 1),
    B8(EQ(15), 1),
    B8(EQ(16), 1),
    B8(EQ(17), 1),
    B8(EQ(18), 1),
    B8(EQ(19), 1),
    /* noise reduction */
    B8(NR(0), 134),
    B8(NR(1), 45),
    B8(NR(2), 24),
    B8(NR(3), 8),
    B16(NR(4), 8),
    B16(NR(6), 100),
    B16(NR(8), 95),
    B16(NR(10), 20),
    B16(NR(12), 30),
    B16(NR(14), 10),
    B16(NR(16), 240),
    B16(NR(28), 50),
    /* Wiener filter */
    B16(MWF(0), 5827),
    B16(MWF(2), 1036),
    B16(MWF(4), 130),
    B16(MWF(6), 100),
    B16(MWF(8), 0),
    B16(MWF(10), 5),
    B16(MWF(12), 7),
    B16(MWF(14), 20),
    B16(MWF(16), 6666),
    B16(MWF(18), 7900),
    B16(MWF(20), 7594),
    B16(MWF(22), 9990),
    B16(MWF(24), 1),
    B8(MWF(26), 1),
    B8(MWF(27), 1),
    B16(MWF(28), 1),
    B16(MWF(30), 10),
    B16(MWF(32), 200),
    B16(MWF(34), 80),
    /* compressor */
    B8(DRC(0), 0),
    B8(DRC(1), 20),
    B8(DRC(2), 15),
    B8(DRC(3), 15),
    B8(DRC(4), 100),
    B16(DRC(8), 0),
    B16(DRC(10), -16),
    B16(DRC(12), -96),
    B16(DRC(14), -192),
    B16(DRC(16), -288),
    B16(DRC(18), -320),
    B16(DRC(20), 0),
    B16(DRC(22), -16),
    B16(DRC(24), -32),
    B16(DRC(26), -64),
    B16(DRC(28), -96),
    B16(DRC(30), -128),
    B16(DRC(32), -1280),
    B16(DRC(34), -1088),
    /* limiter */
    B8(AUDIO_VQE_B_LIMITER, -2),
    B8(AUDIO_VQE_B_LIMITER + 1, 0),
    /* howling suppression */
    B32(HS(0), 100),
    B32(HS(4), 40),
    B32(HS(8), 18),
    B32(HS(12), 1),
    B32(HS(16), 20),
    B32(HS(20), 200),
    B32(HS(24), 5),
};

int vqe_check_syscfg(const uint8_t *c, int aec_on) {
    if (vqe_i32(c, AUDIO_VQE_SYS_BITS) != 16) {
        return -41;
    }
    if (vqe_i32(c, AUDIO_VQE_SYS_RATE) != AUDIO_VQE_RATE) {
        return -42;
    }
    uint16_t count = vqe_u16(c, AUDIO_VQE_SYS_COUNT);
    if (count < 1 || count > 31) {
        return -40;
    }
    if (vqe_i32(c, AUDIO_VQE_SYS_BITS2) != 16) {
        return -43;
    }
    int32_t v16 = vqe_i32(c, AUDIO_VQE_SYS_V16);
    if (v16 < 1 || v16 > 6) {
        return -44;
    }
    uint16_t v20 = vqe_u16(c, AUDIO_VQE_SYS_V20);
    if (v20 > 2 || (aec_on && v20 == 0)) {
        return -46;
    }
    uint16_t v24 = vqe_u16(c, AUDIO_VQE_SYS_V24);
    if (v24 < 1 || v24 > 2) {
        return -45;
    }
    if (vqe_u16(c, AUDIO_VQE_SYS_V26) > 1) {
        return -47;
    }
    return 0;
}

int audio_vqe_set_alg_status(const uint8_t *p) {
    static const struct {
        uint8_t off;
        int8_t code;
    } sw[] = {
        {AUDIO_VQE_P_AEC_ON, -30},      {AUDIO_VQE_P_FMP_ON, -32},  {AUDIO_VQE_P_AGC_ON, -33},
        {AUDIO_VQE_P_EQ_ON, -34},       {AUDIO_VQE_P_DRC_ON, -35},  {AUDIO_VQE_P_LIMITER_ON, -36},
        {AUDIO_VQE_P_DEREVERB_ON, -37}, {AUDIO_VQE_P_DMNR_ON, -38}, {AUDIO_VQE_P_PMWF_ON, -39},
        {AUDIO_VQE_P_WNR_ON, -39},
    };
    for (size_t i = 0; i < sizeof(sw) / sizeof(sw[0]); i++) {
        if (p[sw[i].off] > 1) {
            return sw[i].code;
        }
    }
    return 0;
}

int vqe_check_header(const uint8_t *p) {
    if (p[AUDIO_VQE_P_MIC_NUM] < 1 || p[AUDIO_VQE_P_MIC_NUM] > 6) {
        return -24;
    }
    if (p[AUDIO_VQE_P_CHN_NUM] < 1 || p[AUDIO_VQE_P_CHN_NUM] > 3) {
        return -25;
    }
    if (p[AUDIO_VQE_P_AEC_MODE] > 2) {
        return -26;
    }
    if (p[AUDIO_VQE_P_BAND] != 1) {
        return -27;
    }
    if (p[AUDIO_VQE_P_LEVEL_20] > 50) {
        return -28;
    }
    return audio_vqe_set_alg_status(p);
}

/* The switches are checked 0/1 before this is used; hs_on, which has no check of its own, counts
 * as on when it is non-zero. */
int32_t vqe_memory_size(const uint8_t *p) {
    int64_t aec = p[AUDIO_VQE_P_AEC_ON], fmp = p[AUDIO_VQE_P_FMP_ON];
    int64_t tail = vqe_u16(p, AUDIO_VQE_B_AEC + AUDIO_VQE_AEC_TAIL);
    int64_t size =
        VQE_MEM_CORE + aec * (VQE_MEM_AEC_FIXED + VQE_MEM_AEC_PART * tail) +
        p[AUDIO_VQE_P_DEREVERB_ON] * (1 + fmp) * VQE_MEM_DEREVERB + fmp * VQE_MEM_FMP +
        p[AUDIO_VQE_P_DMNR_ON] * VQE_MEM_NR + p[AUDIO_VQE_P_PMWF_ON] * VQE_MEM_PMWF +
        p[AUDIO_VQE_P_WNR_ON] * VQE_MEM_WNR + p[AUDIO_VQE_P_EQ_ON] * VQE_MEM_EQ +
        p[AUDIO_VQE_P_DRC_ON] * VQE_MEM_DRC + p[AUDIO_VQE_P_LIMITER_ON] * VQE_MEM_LIMITER +
        (p[AUDIO_VQE_P_HS_ON] != 0) * VQE_MEM_HS +
        p[AUDIO_VQE_P_AGC_ON] * (VQE_MEM_AGC_CHANNEL * (int64_t)p[AUDIO_VQE_P_CHN_NUM] + VQE_MEM_AGC_FIXED);
    size = (size + 7) / 8 * 8 + 8;
    return (int32_t)size;
}
