#include "font_chain.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace res {

bool ReadFontList(const std::string &path, std::vector<FontEntry> &out, std::string &err) {
    std::ifstream in(path);
    if (!in) {
        err = "cannot open " + path;
        return false;
    }
    out.clear();
    std::string line;
    int lineno = 0;
    while (std::getline(in, line)) {
        ++lineno;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        FontEntry e;
        std::string face;
        if (!(fields >> e.role >> e.file >> face >> e.package >> e.source)) {
            err = path + ":" + std::to_string(lineno) + ": expected five fields";
            return false;
        }
        if (e.role != "body" && e.role != "digits" && e.role != "fallback") {
            err = path + ":" + std::to_string(lineno) + ": unknown role " + e.role;
            return false;
        }
        char *end = nullptr;
        e.face = std::strtol(face.c_str(), &end, 10);
        if (*end != '\0' || e.face < 0) {
            err = path + ":" + std::to_string(lineno) + ": bad face index " + face;
            return false;
        }
        out.push_back(e);
    }
    int body = 0;
    int digits = 0;
    for (const FontEntry &e : out) {
        body += e.role == "body";
        digits += e.role == "digits";
    }
    if (body != 1 || digits != 1) {
        err = path + ": needs exactly one body and one digits font";
        return false;
    }
    return true;
}

bool DecodeUtf8(const std::string &text, std::vector<uint32_t> &out) {
    out.clear();
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        int extra;
        uint32_t cp;
        if (c < 0x80) {
            extra = 0;
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(extra) >= text.size()) {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        static const uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        out.push_back(cp);
        i += extra + 1;
    }
    return true;
}

FontChain::~FontChain() {
    for (FT_Face f : faces_) {
        FT_Done_Face(f);
    }
    if (lib_ != nullptr) {
        FT_Done_FreeType(lib_);
    }
}

bool FontChain::Open(const std::vector<FontEntry> &fonts, const std::string &role, const std::string &fontDir,
                     std::string &err) {
    if (lib_ == nullptr && FT_Init_FreeType(&lib_) != 0) {
        err = "FreeType does not start";
        return false;
    }
    std::vector<const FontEntry *> order;
    for (const FontEntry &e : fonts) {
        if (e.role == role) {
            order.push_back(&e);
        }
    }
    if (order.empty()) {
        err = "no font with role " + role;
        return false;
    }
    if (role == "digits") {
        for (const FontEntry &e : fonts) {
            if (e.role == "body") {
                order.push_back(&e);
            }
        }
    }
    for (const FontEntry &e : fonts) {
        if (e.role == "fallback") {
            order.push_back(&e);
        }
    }
    for (const FontEntry *e : order) {
        const std::string path = fontDir + "/" + e->file;
        FT_Face face = nullptr;
        if (FT_New_Face(lib_, path.c_str(), e->face, &face) != 0) {
            err = "cannot open font " + path;
            return false;
        }
        faces_.push_back(face);
        files_.push_back(e->file);
    }
    return true;
}

FT_Face FontChain::Find(uint32_t cp, FT_UInt *glyph) const {
    for (FT_Face f : faces_) {
        const FT_UInt g = FT_Get_Char_Index(f, cp);
        if (g != 0) {
            if (glyph != nullptr) {
                *glyph = g;
            }
            return f;
        }
    }
    return nullptr;
}

} // namespace res
