/* Images: raw ARGB8888 bitmaps with opacity and recolour, PNG and JPEG files read through the
 * '/' driver, bad files, the image cache; and the file-system layer under them. */
#include <gtest/gtest.h>

#include "render_util.h"

#include <jpeglib.h>

#include <cstdio>
#include <cstring>
#include <fstream>

using namespace render_test;

namespace {

class Images : public ::testing::Test {
  protected:
    void SetUp() override {
        init_draw_layer();
        dir_ = make_scratch_dir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    /* Host path and lv_fs path of a scratch file. */
    std::string host(const std::string &name) const { return root_dir() + dir_ + "/" + name; }
    std::string lv(const std::string &name) const { return "/:" + dir_ + "/" + name; }
    std::string dir_;
};

/* A 4x2 test pattern: red, green, blue, white / half-transparent black, clear, grey, yellow. */
const uint32_t kPattern[8] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF,
                              0x80000000, 0x00000000, 0xFF808080, 0xFFFFFF00};

lv_img_dsc_t pattern_dsc(lv_img_cf_t cf) {
    lv_img_dsc_t d;
    std::memset(&d, 0, sizeof(d));
    d.header.cf = cf;
    d.header.w = 4;
    d.header.h = 2;
    d.data_size = sizeof(kPattern);
    d.data = reinterpret_cast<const uint8_t *>(kPattern);
    return d;
}

void draw_img(Canvas &c, const void *src, int32_t x, int32_t y, lv_opa_t opa = LV_OPA_COVER,
              uint32_t recolor = 0, lv_opa_t recolor_opa = 0) {
    lv_draw_img_dsc_t d;
    lv_draw_img_dsc_init(&d);
    d.opa = opa;
    d.recolor = lv_color_hex(recolor);
    d.recolor_opa = recolor_opa;
    lv_img_header_t h;
    ASSERT_EQ(lv_img_decoder_get_info(src, &h), LV_RES_OK);
    lv_area_t a = {x, y, x + (int32_t)h.w - 1, y + (int32_t)h.h - 1};
    lv_draw_img(c.ctx, &d, &a, src);
}

bool write_jpeg(const std::string &path, int w, int h) {
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = (JDIMENSION)w;
    cinfo.image_height = (JDIMENSION)h;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row((size_t)w * 3);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            bool left = x < w / 2;
            row[(size_t)x * 3 + 0] = left ? 220 : 20;
            row[(size_t)x * 3 + 1] = 30;
            row[(size_t)x * 3 + 2] = left ? 20 : 220;
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(f);
    return true;
}

std::vector<char> slurp(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

void spit(const std::string &path, const std::vector<char> &data) {
    std::ofstream out(path, std::ios::binary);
    out.write(data.data(), (std::streamsize)data.size());
}

} // namespace

TEST_F(Images, RawTrueColorAlphaBlendsPerPixel) {
    lv_img_dsc_t img = pattern_dsc(LV_IMG_CF_TRUE_COLOR_ALPHA);
    Canvas c(6, 4);
    draw_img(c, &img, 1, 1);
    EXPECT_EQ(c.at(1, 1), 0xFFFF0000u);
    EXPECT_EQ(c.at(4, 1), 0xFFFFFFFFu);
    EXPECT_EQ(c.at(2, 2), 0xFFFFFFFFu) << "fully transparent pixel leaves the background";
    EXPECT_NEAR(ch_r(c.at(1, 2)), 127, 1) << "half-transparent black over white";
    EXPECT_EQ(c.at(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(c.at(5, 3), 0xFFFFFFFFu);
}

TEST_F(Images, RawTrueColorIgnoresAlpha) {
    lv_img_dsc_t img = pattern_dsc(LV_IMG_CF_TRUE_COLOR);
    Canvas c(4, 2);
    draw_img(c, &img, 0, 0);
    EXPECT_EQ(c.at(0, 1), 0xFF000000u);
    EXPECT_EQ(c.at(1, 1), 0xFF000000u);
}

TEST_F(Images, OpacityAndRecolour) {
    lv_img_dsc_t img = pattern_dsc(LV_IMG_CF_TRUE_COLOR_ALPHA);
    Canvas c(4, 2, 0xFF000000);
    draw_img(c, &img, 0, 0, LV_OPA_50);
    EXPECT_EQ(c.at(3, 0), 0xFF7F7F7Fu) << "white at half opacity over black";
    EXPECT_EQ(c.at(0, 0), 0xFF7F0000u);

    Canvas r(4, 2, 0xFF000000);
    draw_img(r, &img, 0, 0, LV_OPA_COVER, 0x0000FF, LV_OPA_COVER);
    EXPECT_EQ(r.at(0, 0), 0xFF0000FFu) << "full recolour replaces the colour";
    EXPECT_EQ(r.at(1, 1), 0xFF000000u) << "and keeps the alpha";

    Canvas h(4, 2, 0xFF000000);
    draw_img(h, &img, 0, 0, LV_OPA_COVER, 0xFFFFFF, LV_OPA_50);
    EXPECT_NEAR(ch_r(h.at(0, 0)), 255, 1);
    EXPECT_NEAR(ch_g(h.at(0, 0)), 127, 1);
}

TEST_F(Images, ClippedAndPartlyOutside) {
    lv_img_dsc_t img = pattern_dsc(LV_IMG_CF_TRUE_COLOR_ALPHA);
    Canvas c(4, 4);
    c.set_clip(1, 0, 2, 3);
    draw_img(c, &img, -1, 1);
    EXPECT_EQ(c.at(0, 1), 0xFFFFFFFFu) << "outside the clip";
    EXPECT_EQ(c.at(1, 1), 0xFF0000FFu) << "third column of the image";
    EXPECT_EQ(c.at(2, 1), 0xFFFFFFFFu);
    EXPECT_EQ(c.at(3, 1), 0xFFFFFFFFu);
}

TEST_F(Images, ShortDataIsRefused) {
    lv_img_dsc_t img = pattern_dsc(LV_IMG_CF_TRUE_COLOR_ALPHA);
    img.data_size = 8;
    Canvas c(4, 2);
    lv_draw_img_dsc_t d;
    lv_draw_img_dsc_init(&d);
    lv_area_t a = {0, 0, 3, 1};
    lv_draw_img(c.ctx, &d, &a, &img);
    EXPECT_EQ(c.count_not(0xFFFFFFFFu), 0u);
}

TEST_F(Images, PngThroughTheRootDriver) {
    std::vector<uint32_t> px(8);
    std::memcpy(px.data(), kPattern, sizeof(kPattern));
    ASSERT_TRUE(write_png(host("p.png"), 4, 2, px.data()));

    lv_img_header_t h;
    ASSERT_EQ(lv_img_decoder_get_info(lv("p.png").c_str(), &h), LV_RES_OK);
    EXPECT_EQ(h.w, 4u);
    EXPECT_EQ(h.h, 2u);
    EXPECT_EQ(h.cf, (uint32_t)LV_IMG_CF_TRUE_COLOR_ALPHA);

    Canvas c(4, 2);
    draw_img(c, lv("p.png").c_str(), 0, 0);
    EXPECT_EQ(c.at(0, 0), 0xFFFF0000u);
    EXPECT_EQ(c.at(2, 0), 0xFF0000FFu);
    EXPECT_EQ(c.at(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(c.at(3, 1), 0xFFFFFF00u);
}

TEST_F(Images, JpegThroughTheRootDriver) {
    ASSERT_TRUE(write_jpeg(host("j.jpg"), 16, 8));
    lv_img_header_t h;
    ASSERT_EQ(lv_img_decoder_get_info(lv("j.jpg").c_str(), &h), LV_RES_OK);
    EXPECT_EQ(h.w, 16u);
    EXPECT_EQ(h.cf, (uint32_t)LV_IMG_CF_RAW) << "a JPEG is raw data for its own decoder";

    Canvas c(16, 8, 0xFF00FF00);
    draw_img(c, lv("j.jpg").c_str(), 0, 0);
    EXPECT_NEAR(ch_r(c.at(2, 4)), 220, 12);
    EXPECT_NEAR(ch_b(c.at(2, 4)), 20, 12);
    EXPECT_NEAR(ch_b(c.at(13, 4)), 220, 12);
    EXPECT_EQ(ch_a(c.at(13, 4)), 0xFF);
}

TEST_F(Images, DamagedFilesDrawNothingAndDoNotCrash) {
    std::vector<uint32_t> px(64 * 64, 0xFF336699);
    ASSERT_TRUE(write_png(host("good.png"), 64, 64, px.data()));
    ASSERT_TRUE(write_jpeg(host("good.jpg"), 64, 64));
    std::vector<char> png = slurp(host("good.png"));
    std::vector<char> jpg = slurp(host("good.jpg"));

    /* Truncated PNG: the header is fine, the data is not. */
    spit(host("cut.png"), std::vector<char>(png.begin(), png.begin() + (long)png.size() / 2));
    /* PNG header claiming a huge size. */
    std::vector<char> huge = png;
    huge[16] = 0x7F;
    spit(host("huge.png"), huge);
    /* Garbage behind a JPEG extension, and a JPEG cut after its header. */
    spit(host("junk.jpg"), std::vector<char>(300, 'x'));
    spit(host("cut.jpg"), std::vector<char>(jpg.begin(), jpg.begin() + 200));
    spit(host("empty.png"), {});

    lv_img_header_t h;
    EXPECT_NE(lv_img_decoder_get_info(lv("huge.png").c_str(), &h), LV_RES_OK);
    EXPECT_NE(lv_img_decoder_get_info(lv("junk.jpg").c_str(), &h), LV_RES_OK);
    EXPECT_NE(lv_img_decoder_get_info(lv("empty.png").c_str(), &h), LV_RES_OK);
    EXPECT_NE(lv_img_decoder_get_info(lv("missing.png").c_str(), &h), LV_RES_OK);
    EXPECT_NE(lv_img_decoder_get_info("no-drive-letter.png", &h), LV_RES_OK);

    for (const char *name : {"cut.png", "huge.png", "junk.jpg", "cut.jpg", "empty.png", "missing.png"}) {
        Canvas c(64, 64);
        lv_draw_img_dsc_t d;
        lv_draw_img_dsc_init(&d);
        lv_area_t a = {0, 0, 63, 63};
        lv_draw_img(c.ctx, &d, &a, lv(name).c_str());
        if (std::strcmp(name, "cut.jpg") != 0) {
            EXPECT_EQ(c.count_not(0xFFFFFFFFu), 0u) << name;
        }
    }

    /* The good files still decode afterwards. */
    Canvas ok(64, 64);
    draw_img(ok, lv("good.png").c_str(), 0, 0);
    EXPECT_EQ(ok.at(10, 10), 0xFF336699u);
}

TEST_F(Images, CacheKeepsDecodedImagesUntilInvalidated) {
    std::vector<uint32_t> px(4, 0xFFFF0000);
    ASSERT_TRUE(write_png(host("c.png"), 2, 2, px.data()));
    Canvas c(2, 2);
    draw_img(c, lv("c.png").c_str(), 0, 0);
    EXPECT_EQ(c.at(0, 0), 0xFFFF0000u);

    /* The file changes: the cached image is drawn until the cache forgets it. */
    px.assign(4, 0xFF0000FF);
    ASSERT_TRUE(write_png(host("c.png"), 2, 2, px.data()));
    draw_img(c, lv("c.png").c_str(), 0, 0);
    EXPECT_EQ(c.at(0, 0), 0xFFFF0000u);
    lv_img_cache_invalidate_src(lv("c.png").c_str());
    draw_img(c, lv("c.png").c_str(), 0, 0);
    EXPECT_EQ(c.at(0, 0), 0xFF0000FFu);

    /* A variable whose pixels change is redrawn after invalidation. */
    uint32_t var_px[1] = {0xFF00FF00};
    lv_img_dsc_t v;
    std::memset(&v, 0, sizeof(v));
    v.header.cf = LV_IMG_CF_TRUE_COLOR;
    v.header.w = 1;
    v.header.h = 1;
    v.data_size = 4;
    v.data = reinterpret_cast<const uint8_t *>(var_px);
    Canvas one(1, 1);
    draw_img(one, &v, 0, 0);
    EXPECT_EQ(one.at(0, 0), 0xFF00FF00u);
    var_px[0] = 0xFF112233;
    lv_img_cache_invalidate_src(&v);
    draw_img(one, &v, 0, 0);
    EXPECT_EQ(one.at(0, 0), 0xFF112233u);
}

TEST_F(Images, FileSystemReadSeekTell) {
    spit(host("f.bin"), {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'});
    lv_fs_file_t f;
    ASSERT_EQ(lv_fs_open(&f, lv("f.bin").c_str(), LV_FS_MODE_RD), LV_FS_RES_OK);
    char buf[8] = {};
    uint32_t br = 0;
    ASSERT_EQ(lv_fs_read(&f, buf, 3, &br), LV_FS_RES_OK);
    EXPECT_EQ(br, 3u);
    EXPECT_EQ(std::string(buf, 3), "012");
    ASSERT_EQ(lv_fs_seek(&f, 7, LV_FS_SEEK_SET), LV_FS_RES_OK);
    uint32_t pos = 0;
    ASSERT_EQ(lv_fs_tell(&f, &pos), LV_FS_RES_OK);
    EXPECT_EQ(pos, 7u);
    ASSERT_EQ(lv_fs_read(&f, buf, 8, &br), LV_FS_RES_OK);
    EXPECT_EQ(br, 3u) << "short read at the end";
    ASSERT_EQ(lv_fs_seek(&f, (uint32_t)-4, LV_FS_SEEK_END), LV_FS_RES_OK);
    ASSERT_EQ(lv_fs_tell(&f, &pos), LV_FS_RES_OK);
    EXPECT_EQ(pos, 6u);
    EXPECT_EQ(lv_fs_close(&f), LV_FS_RES_OK);

    EXPECT_NE(lv_fs_open(&f, lv("nope.bin").c_str(), LV_FS_MODE_RD), LV_FS_RES_OK);
    EXPECT_EQ(lv_fs_open(&f, "Q:/x", LV_FS_MODE_RD), LV_FS_RES_NOT_EX);
    EXPECT_EQ(lv_fs_open(&f, "", LV_FS_MODE_RD), LV_FS_RES_NOT_EX) << "no drive letter";
    EXPECT_EQ(lv_fs_read(&f, buf, 1, &br), LV_FS_RES_INV_PARAM) << "a file that failed to open";

    /* A path too long for the driver is refused, not cut short. */
    std::string long_path = "/:" + dir_ + "/" + std::string(300, 'a');
    EXPECT_NE(lv_fs_open(&f, long_path.c_str(), LV_FS_MODE_RD), LV_FS_RES_OK);
}

TEST_F(Images, FileSystemPathHelpersAndDirectories) {
    EXPECT_STREQ(lv_fs_get_ext("/:/a/b.png"), "png");
    EXPECT_STREQ(lv_fs_get_ext("/:/a.b/c"), "");
    char p[] = "S:a/b/c";
    EXPECT_STREQ(lv_fs_up(p), "S:a/b");
    EXPECT_STREQ(lv_fs_get_last("S:a/b/c"), "c");

    spit(host("x.txt"), {'x'});
    lv_fs_dir_t d;
    ASSERT_EQ(lv_fs_dir_open(&d, ("/:" + dir_).c_str()), LV_FS_RES_OK);
    char fn[LV_FS_MAX_FN_LENGTH];
    bool seen = false;
    for (int i = 0; i < 100; i++) {
        ASSERT_EQ(lv_fs_dir_read(&d, fn), LV_FS_RES_OK);
        if (fn[0] == '\0')
            break;
        seen |= std::strcmp(fn, "x.txt") == 0;
    }
    EXPECT_TRUE(seen);
    EXPECT_EQ(lv_fs_dir_close(&d), LV_FS_RES_OK);
}
