#include <gtest/gtest.h>

#include "render_util.h"

#include <png.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace render_test {

Canvas::Canvas(int32_t w_, int32_t h_, uint32_t bg, int32_t x0, int32_t y0)
    : w(w_), h(h_), px((size_t)w_ * h_) {
    lv_area_set(&buf_area, x0, y0, x0 + w - 1, y0 + h - 1);
    clip = buf_area;
    lv_disp_drv_t drv;
    lv_disp_drv_init(&drv);
    ctx_mem_.assign((drv.draw_ctx_size + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0);
    ctx = reinterpret_cast<lv_draw_ctx_t *>(ctx_mem_.data());
    drv.draw_ctx_init(&drv, ctx);
    ctx->buf = px.data();
    ctx->buf_area = &buf_area;
    ctx->clip_area = &clip;
    fill(bg);
}

uint32_t Canvas::at(int32_t x, int32_t y) const {
    return px[(size_t)(y - buf_area.y1) * w + (x - buf_area.x1)].full;
}

void Canvas::set_clip(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    lv_area_set(&clip, x1, y1, x2, y2);
}

void Canvas::fill(uint32_t argb) {
    for (auto &p : px)
        p.full = argb;
}

size_t Canvas::count_not(uint32_t argb) const {
    size_t n = 0;
    for (auto &p : px)
        n += p.full != argb;
    return n;
}

bool write_png(const std::string &path, int32_t w, int32_t h, const uint32_t *argb) {
    png_image img;
    std::memset(&img, 0, sizeof(img));
    img.version = PNG_IMAGE_VERSION;
    img.width = (png_uint_32)w;
    img.height = (png_uint_32)h;
    img.format = PNG_FORMAT_BGRA;
    return png_image_write_to_file(&img, path.c_str(), 0, argb, 0, nullptr) != 0;
}

bool read_png(const std::string &path, int32_t &w, int32_t &h, std::vector<uint32_t> &argb) {
    png_image img;
    std::memset(&img, 0, sizeof(img));
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str()))
        return false;
    img.format = PNG_FORMAT_BGRA;
    w = (int32_t)img.width;
    h = (int32_t)img.height;
    argb.resize((size_t)w * h);
    bool ok = png_image_finish_read(&img, nullptr, argb.data(), 0, nullptr) != 0;
    png_image_free(&img);
    return ok;
}

static void mkdirs(const std::string &path) {
    for (size_t i = 1; i <= path.size(); i++) {
        if (i == path.size() || path[i] == '/')
            mkdir(path.substr(0, i).c_str(), 0755);
    }
}

::testing::AssertionResult matches_reference(const std::vector<uint32_t> &argb, int32_t w, int32_t h,
                                             const std::string &name, int tolerance) {
    const char *build = std::getenv("RECORDER_BUILD_DIR");
    std::string out_dir = std::string(build ? build : ".") + "/lvlite_render_out";
    mkdirs(out_dir);
    write_png(out_dir + "/" + name + ".png", w, h, argb.data());

    std::string ref = std::string(LVLITE_RENDER_REF_DIR) + "/" + name + ".png";
    const char *update = std::getenv("LVLITE_UPDATE_REFS");
    if (update && std::strcmp(update, "1") == 0) {
        mkdirs(LVLITE_RENDER_REF_DIR);
        if (!write_png(ref, w, h, argb.data()))
            return ::testing::AssertionFailure() << "cannot write " << ref;
        return ::testing::AssertionSuccess();
    }

    int32_t rw = 0, rh = 0;
    std::vector<uint32_t> expected;
    if (!read_png(ref, rw, rh, expected))
        return ::testing::AssertionFailure() << "no reference " << ref << " (run with LVLITE_UPDATE_REFS=1)";
    if (rw != w || rh != h)
        return ::testing::AssertionFailure()
               << name << ": size " << w << "x" << h << ", reference " << rw << "x" << rh;

    size_t bad = 0;
    int worst = 0;
    int32_t first_x = -1, first_y = -1;
    for (int32_t i = 0; i < w * h; i++) {
        uint32_t a = argb[(size_t)i], b = expected[(size_t)i];
        int d = 0;
        for (int s = 0; s < 32; s += 8)
            d = std::max(d, std::abs((int)((a >> s) & 0xFF) - (int)((b >> s) & 0xFF)));
        if (d > tolerance) {
            if (bad++ == 0) {
                first_x = i % w;
                first_y = i / w;
            }
        }
        worst = std::max(worst, d);
    }
    if (bad)
        return ::testing::AssertionFailure()
               << name << ": " << bad << " pixels differ by more than " << tolerance << " (worst " << worst
               << ", first at " << first_x << "," << first_y << "); rendered image in " << out_dir;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult matches_reference(const Canvas &c, const std::string &name, int tolerance) {
    std::vector<uint32_t> argb(c.px.size());
    for (size_t i = 0; i < c.px.size(); i++)
        argb[i] = c.px[i].full;
    return matches_reference(argb, c.w, c.h, name, tolerance);
}

std::string root_dir() {
    return RECORDER_ROOT;
}

std::string make_scratch_dir(const std::string &name) {
    std::string dir = "/tmp/lvlite_render/" + name;
    mkdirs(root_dir() + dir);
    return dir;
}

void init_draw_layer() {
    _lv_fs_init();
    lv_fs_stdio_init();
    _lv_img_decoder_init();
    lv_png_init();
    lv_split_jpeg_init();
    lv_img_cache_set_size(LV_IMG_CACHE_DEF_SIZE);
}

} // namespace render_test
