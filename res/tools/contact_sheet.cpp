// res_contact_sheet: draws the resource tree into PNG files for review.
//
//   pictures.png      every picture of pic/ at its own size, with its path
//   animations.png    every frame of every animation of gif/, in order
//   texts_<CODE>.png  every text of one language at 22 px, wrapped at the width of a tip
//                     (90 % of the 320-pixel screen), with its id
#include "font_chain.h"

#include <cjson/cJSON.h>
#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kGround = 0xFF1B1F27;
constexpr uint32_t kPanel = 0xFF252A34;
constexpr uint32_t kText = 0xFFF2F4F7;
constexpr uint32_t kNote = 0xFF8A91A0;

struct Canvas {
    int w = 0, h = 0;
    std::vector<uint32_t> px; // ARGB

    Canvas(int width, int height, uint32_t fill) : w(width), h(height), px(size_t(width) * height, fill) {}

    void Blend(int x, int y, uint32_t argb, unsigned cover = 255) {
        if (x < 0 || y < 0 || x >= w || y >= h) {
            return;
        }
        const unsigned a = ((argb >> 24) & 0xFF) * cover / 255;
        uint32_t &d = px[size_t(y) * w + x];
        auto mix = [a](uint32_t s, uint32_t t, int shift) {
            const unsigned cs = (s >> shift) & 0xFF;
            const unsigned ct = (t >> shift) & 0xFF;
            return ((cs * a + ct * (255 - a)) / 255) << shift;
        };
        d = 0xFF000000 | mix(argb, d, 16) | mix(argb, d, 8) | mix(argb, d, 0);
    }

    void Fill(int x0, int y0, int x1, int y1, uint32_t argb) {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                Blend(x, y, argb);
            }
        }
    }

    bool Save(const std::string &path) const {
        png_image img{};
        img.version = PNG_IMAGE_VERSION;
        img.width = static_cast<png_uint_32>(w);
        img.height = static_cast<png_uint_32>(h);
        img.format = PNG_FORMAT_BGRA; // little-endian ARGB words are B, G, R, A in memory
        return png_image_write_to_file(&img, path.c_str(), 0, px.data(), 0, nullptr) != 0;
    }
};

// Text drawn along a font chain.
class Writer {
  public:
    explicit Writer(const res::FontChain &chain) : chain_(chain) {}

    // Draws text at (x, baseline y) and returns the advance in pixels; with canvas null only
    // measures.
    int Draw(Canvas *c, int x, int y, const std::vector<uint32_t> &cps, int size, uint32_t color) {
        int pen = x;
        for (uint32_t cp : cps) {
            const auto known = advance_.find({cp, size});
            if (c == nullptr && known != advance_.end()) {
                pen += known->second;
                continue;
            }
            FT_UInt glyph = 0;
            FT_Face face = chain_.Find(cp, &glyph);
            if (face == nullptr) {
                if (c != nullptr) { // a missing glyph shows as an empty box
                    c->Fill(pen, y - size * 3 / 4, pen + size / 2, y, 0x80E5484D);
                }
                pen += size / 2 + 1;
                continue;
            }
            FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
            if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER) != 0) {
                continue;
            }
            const FT_GlyphSlot g = face->glyph;
            if (c != nullptr) {
                for (unsigned r = 0; r < g->bitmap.rows; ++r) {
                    for (unsigned k = 0; k < g->bitmap.width; ++k) {
                        const unsigned cover = g->bitmap.buffer[r * g->bitmap.pitch + k];
                        if (cover != 0) {
                            c->Blend(pen + g->bitmap_left + int(k), y - g->bitmap_top + int(r), color, cover);
                        }
                    }
                }
            }
            advance_[{cp, size}] = int(g->advance.x >> 6);
            pen += int(g->advance.x >> 6);
        }
        return pen - x;
    }

    // Breaks cps into lines no wider than width: at the last blank that fits, else anywhere.
    std::vector<std::vector<uint32_t>> Wrap(const std::vector<uint32_t> &cps, int size, int width) {
        std::vector<std::vector<uint32_t>> lines(1);
        for (uint32_t cp : cps) {
            if (cp == '\n') {
                lines.emplace_back();
                continue;
            }
            std::vector<uint32_t> &line = lines.back();
            line.push_back(cp);
            if (Draw(nullptr, 0, 0, line, size, 0) <= width || line.size() == 1) {
                continue;
            }
            auto blank = std::find(line.rbegin(), line.rend(), uint32_t(' '));
            std::vector<uint32_t> rest;
            if (blank != line.rend() && blank != line.rbegin()) {
                const size_t at = size_t(line.rend() - blank) - 1;
                rest.assign(line.begin() + long(at) + 1, line.end());
                line.resize(at);
            } else {
                rest.push_back(line.back());
                line.pop_back();
            }
            lines.push_back(rest);
        }
        return lines;
    }

    int Text(Canvas *c, int x, int y, const std::string &utf8, int size, uint32_t color) {
        std::vector<uint32_t> cps;
        res::DecodeUtf8(utf8, cps);
        return Draw(c, x, y, cps, size, color);
    }

  private:
    const res::FontChain &chain_;
    std::map<std::pair<uint32_t, int>, int> advance_; // (code point, size) -> advance
};

struct Rgba {
    unsigned w = 0, h = 0;
    std::vector<uint32_t> px; // ARGB
};

bool ReadPng(const std::string &path, Rgba &out) {
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&img, path.c_str()) == 0) {
        return false;
    }
    img.format = PNG_FORMAT_BGRA;
    out.w = img.width;
    out.h = img.height;
    out.px.assign(size_t(out.w) * out.h, 0);
    const bool ok = png_image_finish_read(&img, nullptr, out.px.data(), 0, nullptr) != 0;
    png_image_free(&img);
    return ok;
}

void Paste(Canvas &c, int x, int y, const Rgba &img) {
    for (unsigned r = 0; r < img.h; ++r) {
        for (unsigned k = 0; k < img.w; ++k) {
            c.Blend(x + int(k), y + int(r), img.px[size_t(r) * img.w + k]);
        }
    }
}

// Every frame of a GIF as a full picture (each frame drawn over the previous one).
bool ReadGif(const std::string &path, std::vector<Rgba> &frames) {
    int error = 0;
    GifFileType *gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr) {
        return false;
    }
    if (DGifSlurp(gif) != GIF_OK || gif->SColorMap == nullptr) {
        DGifCloseFile(gif, &error);
        return false;
    }
    Rgba cur;
    cur.w = unsigned(gif->SWidth);
    cur.h = unsigned(gif->SHeight);
    cur.px.assign(size_t(cur.w) * cur.h, 0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage &si = gif->SavedImages[i];
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, i, &gcb);
        const ColorMapObject *map = si.ImageDesc.ColorMap != nullptr ? si.ImageDesc.ColorMap : gif->SColorMap;
        for (int r = 0; r < si.ImageDesc.Height; ++r) {
            for (int k = 0; k < si.ImageDesc.Width; ++k) {
                const int idx = si.RasterBits[r * si.ImageDesc.Width + k];
                const int x = si.ImageDesc.Left + k;
                const int y = si.ImageDesc.Top + r;
                if (idx == gcb.TransparentColor || idx >= map->ColorCount || x >= int(cur.w) ||
                    y >= int(cur.h)) {
                    continue;
                }
                const GifColorType col = map->Colors[idx];
                cur.px[size_t(y) * cur.w + x] =
                    0xFF000000u | (uint32_t(col.Red) << 16) | (uint32_t(col.Green) << 8) | col.Blue;
            }
        }
        frames.push_back(cur);
    }
    DGifCloseFile(gif, &error);
    return true;
}

int Fail(const std::string &msg) {
    std::fprintf(stderr, "res_contact_sheet: %s\n", msg.c_str());
    return 1;
}

int Pictures(const std::string &res, const std::string &out, Writer &wr) {
    std::vector<std::string> names;
    for (const auto &e : fs::recursive_directory_iterator(res + "/pic")) {
        if (e.path().extension() == ".png") {
            names.push_back(fs::relative(e.path(), res + "/pic").string());
        }
    }
    std::sort(names.begin(), names.end());
    constexpr int kCols = 6, kCellW = 200, kCellH = 140;
    const int rows = int(names.size() + kCols - 1) / kCols;
    Canvas c(kCols * kCellW, rows * kCellH, kGround);
    for (size_t i = 0; i < names.size(); ++i) {
        Rgba img;
        if (!ReadPng(res + "/pic/" + names[i], img)) {
            return Fail("cannot read pic/" + names[i]);
        }
        const int x = int(i % kCols) * kCellW;
        const int y = int(i / kCols) * kCellH;
        c.Fill(x + 4, y + 4, x + kCellW - 4, y + kCellH - 4, kPanel);
        Paste(c, x + (kCellW - int(img.w)) / 2, y + 10 + (100 - int(std::min(img.h, 100u))) / 2, img);
        const std::string label = names[i] + " " + std::to_string(img.w) + "x" + std::to_string(img.h);
        wr.Text(&c, x + 10, y + kCellH - 14, label, 11, kNote);
    }
    const std::string path = out + "/pictures.png";
    if (!c.Save(path)) {
        return Fail("cannot write " + path);
    }
    std::printf("%s: %zu pictures\n", path.c_str(), names.size());
    return 0;
}

int Animations(const std::string &res, const std::string &out, Writer &wr) {
    std::vector<std::string> names;
    for (const auto &e : fs::directory_iterator(res + "/gif")) {
        if (e.path().extension() == ".gif") {
            names.push_back(e.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    std::vector<std::vector<Rgba>> all;
    int width = 0, height = 0;
    for (const std::string &n : names) {
        std::vector<Rgba> frames;
        if (!ReadGif(res + "/gif/" + n, frames) || frames.empty()) {
            return Fail("cannot read gif/" + n);
        }
        int w = 10;
        for (const Rgba &f : frames) {
            w += int(f.w) + 6;
        }
        width = std::max(width, w);
        height += int(frames[0].h) + 30;
        all.push_back(std::move(frames));
    }
    Canvas c(std::max(width, 400), height + 10, kGround);
    int y = 6;
    for (size_t i = 0; i < names.size(); ++i) {
        wr.Text(&c, 10, y + 14, names[i] + " (" + std::to_string(all[i].size()) + " frames)", 13, kText);
        int x = 10;
        for (const Rgba &f : all[i]) {
            Paste(c, x, y + 22, f);
            x += int(f.w) + 6;
        }
        y += int(all[i][0].h) + 30;
    }
    const std::string path = out + "/animations.png";
    if (!c.Save(path)) {
        return Fail("cannot write " + path);
    }
    std::printf("%s: %zu animations\n", path.c_str(), names.size());
    return 0;
}

int Texts(const std::string &res, const std::string &out, Writer &wr) {
    std::ifstream in(res + "/lang/lang.json", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    cJSON *doc = cJSON_Parse(ss.str().c_str());
    if (doc == nullptr) {
        return Fail("cannot parse lang/lang.json");
    }
    static const char *const kCodes[] = {"CN", "TW", "US", "RU", "ES", "HL", "TH", "PL",
                                         "AR", "VN", "JP", "PT", "GE", "FR", "SK", "TU"};
    constexpr int kScreenW = 320, kTipW = 288, kSize = 22, kLine = 28;
    for (const char *code : kCodes) {
        struct Row {
            std::string id;
            std::vector<std::vector<uint32_t>> lines;
        };
        std::vector<Row> rows;
        int height = 10;
        for (cJSON *id = doc->child; id != nullptr; id = id->next) {
            const cJSON *t = cJSON_GetObjectItemCaseSensitive(id, code);
            std::vector<uint32_t> cps;
            if (!cJSON_IsString(t) || !res::DecodeUtf8(t->valuestring, cps)) {
                cJSON_Delete(doc);
                return Fail(std::string(id->string) + " has no " + code + " text");
            }
            rows.push_back({id->string, wr.Wrap(cps, kSize, kTipW)});
            height += 18 + int(rows.back().lines.size()) * kLine + 8;
        }
        Canvas c(kScreenW + 20, height, kGround);
        int y = 10;
        for (const Row &r : rows) {
            wr.Text(&c, 10, y + 12, r.id, 11, kNote);
            y += 18;
            const int h = int(r.lines.size()) * kLine + 4;
            c.Fill(10, y - 2, 10 + kScreenW, y + h, kPanel);
            for (const auto &line : r.lines) {
                const int w = wr.Draw(nullptr, 0, 0, line, kSize, kText);
                wr.Draw(&c, 10 + (kScreenW - w) / 2, y + kSize, line, kSize, kText);
                y += kLine;
            }
            y += 12;
        }
        const std::string path = out + "/texts_" + code + ".png";
        if (!c.Save(path)) {
            cJSON_Delete(doc);
            return Fail("cannot write " + path);
        }
        std::printf("%s: %zu texts\n", path.c_str(), rows.size());
    }
    cJSON_Delete(doc);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    std::string res, fonts, out;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--res" || a == "--fonts" || a == "--out") && i + 1 < argc) {
            (a == "--res" ? res : a == "--fonts" ? fonts : out) = argv[++i];
        } else if (a == "--help" || a == "-h") {
            std::printf("usage: %s --res <.../app/bin/res> --fonts <fonts.txt> --out <folder>\n"
                        "Draws every picture, every animation frame and every text of every\n"
                        "language of the resource tree into PNG files in <folder>.\n",
                        argv[0]);
            return 0;
        } else {
            return Fail("unknown argument " + a + " (see --help)");
        }
    }
    if (res.empty() || fonts.empty() || out.empty()) {
        return Fail("--res, --fonts and --out are required (see --help)");
    }
    std::vector<res::FontEntry> list;
    std::string err;
    res::FontChain body;
    if (!res::ReadFontList(fonts, list, err) || !body.Open(list, "body", res + "/font", err)) {
        return Fail(err);
    }
    std::error_code ec;
    fs::create_directories(out, ec);
    if (ec) {
        return Fail("cannot create " + out + ": " + ec.message());
    }
    for (const char *sub : {"/pic", "/gif", "/lang/lang.json"}) {
        if (!fs::exists(res + sub)) {
            return Fail(res + sub + " is missing (build the target resources first)");
        }
    }
    Writer wr(body);
    if (Pictures(res, out, wr) != 0 || Animations(res, out, wr) != 0 || Texts(res, out, wr) != 0) {
        return 1;
    }
    return 0;
}
