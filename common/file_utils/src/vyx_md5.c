/* MD5 message digest (RFC 1321), for file checksums. */
#include "vyx_file_utils.h"

#include <string.h>

typedef struct {
    uint32_t state[4];
    uint64_t bytes;
    unsigned char buf[64];
} Md5;

/* Per-step shift amounts and the sines table T[i] = floor(abs(sin(i + 1)) * 2^32). */
static const uint8_t k_shift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                    5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                    4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                    6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
static const uint32_t k_sine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

static uint32_t rotl(uint32_t x, unsigned c) {
    return (x << c) | (x >> (32 - c));
}

static void md5_block(uint32_t s[4], const unsigned char *p) {
    uint32_t m[16];
    for (int i = 0; i < 16; i++) {
        m[i] = (uint32_t)p[4 * i] | (uint32_t)p[4 * i + 1] << 8 | (uint32_t)p[4 * i + 2] << 16 |
               (uint32_t)p[4 * i + 3] << 24;
    }
    uint32_t a = s[0], b = s[1], c = s[2], d = s[3];
    for (int i = 0; i < 64; i++) {
        uint32_t f;
        int g;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        uint32_t t = d;
        d = c;
        c = b;
        b = b + rotl(a + f + k_sine[i] + m[g], k_shift[i]);
        a = t;
    }
    s[0] += a;
    s[1] += b;
    s[2] += c;
    s[3] += d;
}

static void md5_init(Md5 *m) {
    m->state[0] = 0x67452301;
    m->state[1] = 0xefcdab89;
    m->state[2] = 0x98badcfe;
    m->state[3] = 0x10325476;
    m->bytes = 0;
}

static void md5_update(Md5 *m, const void *data, size_t len) {
    const unsigned char *p = data;
    size_t have = (size_t)(m->bytes % 64);
    m->bytes += len;
    if (have > 0) {
        size_t take = 64 - have < len ? 64 - have : len;
        memcpy(m->buf + have, p, take);
        p += take;
        len -= take;
        if (have + take < 64) {
            return;
        }
        md5_block(m->state, m->buf);
    }
    for (; len >= 64; p += 64, len -= 64) {
        md5_block(m->state, p);
    }
    memcpy(m->buf, p, len);
}

static void md5_final(Md5 *m, unsigned char digest[16]) {
    uint64_t bits = m->bytes * 8;
    static const unsigned char pad[64] = {0x80};
    size_t have = (size_t)(m->bytes % 64);
    md5_update(m, pad, have < 56 ? 56 - have : 120 - have);
    unsigned char len[8];
    for (int i = 0; i < 8; i++) {
        len[i] = (unsigned char)(bits >> (8 * i));
    }
    md5_update(m, len, 8);
    for (int i = 0; i < 16; i++) {
        digest[i] = (unsigned char)(m->state[i / 4] >> (8 * (i % 4)));
    }
}

void VYX_md5(const void *data, size_t len, unsigned char digest[16]) {
    Md5 m;
    md5_init(&m);
    md5_update(&m, data, len);
    md5_final(&m, digest);
}

int VYX_getFileMd5(const char *path, unsigned char digest[16]) {
    if (path == NULL || digest == NULL) {
        printf("[%s][%d]: param error\n", __func__, __LINE__);
        return -1;
    }
    FILE *fp = fopen(path, "rb");
    if (fp == NULL) {
        printf("[%s][%d]: Can't open file %s\n", __func__, __LINE__, path);
        return -1;
    }
    Md5 m;
    md5_init(&m);
    unsigned char buf[1024];
    size_t n;
    size_t sinceSleep = 0;
    while ((n = fread(buf, 1, sizeof(buf), fp)) > 0) {
        md5_update(&m, buf, n);
        sinceSleep += n;
        if (sinceSleep >= VYX_THROTTLE_BLOCK) {
            sinceSleep -= VYX_THROTTLE_BLOCK;
            VYX_throttleSleep(VYX_THROTTLE_SLEEP_US);
        }
    }
    int err = ferror(fp);
    fclose(fp);
    if (err) {
        printf("[%s][%d]: fread error, file=%s\n", __func__, __LINE__, path);
        return -1;
    }
    md5_final(&m, digest);
    return 0;
}

void VYX_md5ToHex(const unsigned char digest[16], char text[33]) {
    static const char hex[] = "0123456789abcdef";
    for (int i = 0; i < 16; i++) {
        text[2 * i] = hex[digest[i] >> 4];
        text[2 * i + 1] = hex[digest[i] & 0x0F];
    }
    text[32] = '\0';
}
