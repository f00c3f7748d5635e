#include "record_vdr.h"

#define DB16(x) ((x)*16)

int record_record_zorvo_vdr_snr_decide(record_vdr_snr *v, int32_t snr_sum, int32_t bands, int32_t threshold,
                                       int32_t hang) {
    int now = bands > 0 && snr_sum / bands > threshold;
    if (now) {
        v->hang = hang;
    } else if (v->hang > 0) {
        v->hang--;
    }
    v->speech = now || v->hang > 0;
    return v->speech;
}

void record_record_zorvo_vdr_level_init(record_vdr_level *v) {
    v->floor16 = DB16(-96);
    v->frames = 0;
}

int record_record_zorvo_vdr_level_decide(record_vdr_level *v, int32_t tilted16, int32_t level16,
                                         int32_t gate16) {
    if (v->frames < 5) {
        v->floor16 = tilted16;
    } else if (tilted16 < v->floor16) {
        /* down by at most 1 dB a frame: single quiet frames of a fluctuating noise do not pull
         * the floor below the noise's usual tilted level */
        v->floor16 = tilted16 > v->floor16 - DB16(1) ? tilted16 : v->floor16 - DB16(1);
    } else if (v->frames % 2 == 0) {
        v->floor16 += 1;
    }
    v->frames = v->frames < 1000000 ? v->frames + 1 : v->frames;
    return tilted16 > v->floor16 + DB16(9) && level16 > gate16;
}
