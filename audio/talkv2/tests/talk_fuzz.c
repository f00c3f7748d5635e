/* Fuzz target: any user record, type and samples through init, process and deinit. The first
 * byte picks the type and the buffer length; the next 272 bytes are the user record; the rest
 * are the samples of microphone, reference and second microphone. */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "vqe_talkv2.h"

#define FRAMES 3
#define N      (256 * FRAMES)

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    _Alignas(8) uint8_t user[VQE_TALKV2_USER_SIZE];
    memset(user, 0, sizeof(user));
    if (size < 1) {
        return 0;
    }
    int type = data[0] & 3;
    size_t frames = 1 + (size_t)((data[0] >> 2) % FRAMES);
    size_t take = size - 1 < sizeof(user) ? size - 1 : sizeof(user);
    memcpy(user, data + 1, take);
    const uint8_t *rest = data + 1 + take;
    size_t left = size - 1 - take;
    static int16_t buf[5][N + 8];
    for (int c = 0; c < 3; c++) {
        size_t n = left / 2 < N ? left / 2 : N;
        memset(buf[c], 0, sizeof(buf[c]));
        memcpy(buf[c], rest, n * 2);
    }
    vqe_config cfg = {0, 0, type, user};
    void *h = NULL;
    if (vqe_talkv2_init(&h, 16000, &cfg) != 0) {
        return 0;
    }
    audio_frame in, out;
    memset(&in, 0, sizeof(in));
    memset(&out, 0, sizeof(out));
    in.data = buf[0];
    in.rin_data = buf[1];
    in.extern_data = buf[2];
    in.len = (uint32_t)(frames * 512);
    out.data = buf[3];
    out.extern_data = buf[4];
    vqe_talkv2_process(h, &in, &out);
    vqe_talkv2_deinit(h);
    return 0;
}
