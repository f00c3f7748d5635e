// Checks the built resource tree against what the program and its pages name: every path exists
// and loads, every text id used in code has a text in every language, and every character of
// every text is covered by the font set along its fallback chain.
#include "font_chain.h"
#include "res_fonts.h"

#include <cjson/cJSON.h>
#include <gif_lib.h>
#include <png.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char *const kCodes[] = {"CN", "TW", "US", "RU", "ES", "HL", "TH", "PL",
                              "AR", "VN", "JP", "PT", "GE", "FR", "SK", "TU"};

std::string Env(const char *name) {
    const char *v = std::getenv(name);
    return v != nullptr ? v : "";
}

std::string ResDir() {
    return Env("RECORDER_ROOT") + "/app/bin/res";
}
std::string SourceDir() {
    return Env("RECORDER_SOURCE_DIR");
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> ManifestPaths() {
    std::vector<std::string> out;
    std::istringstream in(ReadFile(SourceDir() + "/res/manifest.txt"));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] != '#') {
            out.push_back(line);
        }
    }
    return out;
}

// The language file as id -> code -> text.
using Texts = std::map<std::string, std::map<std::string, std::string>>;

bool LoadTexts(Texts &texts, std::string &err) {
    const std::string raw = ReadFile(ResDir() + "/lang/lang.json");
    cJSON *doc = cJSON_Parse(raw.c_str());
    if (doc == nullptr || !cJSON_IsObject(doc)) {
        err = "lang.json is not a JSON object";
        cJSON_Delete(doc);
        return false;
    }
    for (cJSON *id = doc->child; id != nullptr; id = id->next) {
        if (!cJSON_IsObject(id)) {
            err = std::string(id->string) + " is not an object";
            cJSON_Delete(doc);
            return false;
        }
        for (cJSON *t = id->child; t != nullptr; t = t->next) {
            if (cJSON_IsString(t)) {
                texts[id->string][t->string] = t->valuestring;
            }
        }
    }
    cJSON_Delete(doc);
    return true;
}

// Source files of the program (not its tests).
std::vector<fs::path> ProgramSources() {
    std::vector<fs::path> out;
    for (const char *dir : {"UI", "common"}) {
        const fs::path root = fs::path(SourceDir()) / dir;
        if (!fs::exists(root)) {
            continue;
        }
        for (const auto &e : fs::recursive_directory_iterator(root)) {
            const std::string p = e.path().string();
            const std::string ext = e.path().extension().string();
            if (e.is_regular_file() && p.find("/tests/") == std::string::npos &&
                (ext == ".c" || ext == ".cpp" || ext == ".h" || ext == ".hpp")) {
                out.push_back(e.path());
            }
        }
    }
    return out;
}

// The printf conversions of a text ("%d", "%02u", "%s" ...), "%%" left out.
std::vector<std::string> FormatParts(const std::string &text) {
    std::vector<std::string> out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            continue;
        }
        size_t j = i + 1;
        while (j < text.size() && std::strchr("-+ 0#", text[j]) != nullptr) {
            ++j;
        }
        while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])) != 0) {
            ++j;
        }
        if (j < text.size() && text[j] == '.') {
            ++j;
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])) != 0) {
                ++j;
            }
        }
        while (j < text.size() && std::strchr("hlz", text[j]) != nullptr) {
            ++j;
        }
        if (j < text.size() && std::strchr("diouxXcsfp%", text[j]) != nullptr) {
            if (text[j] != '%') {
                out.push_back(text.substr(i, j - i + 1));
            }
            i = j;
        }
    }
    return out;
}

// A string literal of a source file: its text and the offsets of its quotes.
struct Literal {
    std::string text;
    size_t begin; // offset of the opening quote
    size_t end;   // offset just past the closing quote
};

// The string literals of a C or C++ source; comments and character literals are skipped.
std::vector<Literal> StringLiterals(const std::string &src) {
    std::vector<Literal> out;
    size_t i = 0;
    while (i < src.size()) {
        if (src.compare(i, 2, "//") == 0) {
            i = src.find('\n', i);
            i = i == std::string::npos ? src.size() : i;
        } else if (src.compare(i, 2, "/*") == 0) {
            i = src.find("*/", i + 2);
            i = i == std::string::npos ? src.size() : i + 2;
        } else if (src[i] == '"' || src[i] == '\'') {
            const char quote = src[i];
            std::string text;
            size_t j = i + 1;
            while (j < src.size() && src[j] != quote && src[j] != '\n') {
                if (src[j] == '\\' && j + 1 < src.size()) {
                    text += src[j++];
                }
                text += src[j++];
            }
            if (quote == '"') {
                out.push_back({text, i, j + 1});
            }
            i = j + 1;
        } else {
            ++i;
        }
    }
    return out;
}

bool IsTextId(const std::string &s) {
    const std::string prefix = "LANG_RES_ID_";
    return s.size() > prefix.size() && s.compare(0, prefix.size(), prefix) == 0 &&
           std::all_of(s.begin() + long(prefix.size()), s.end(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'; });
}

bool IsResourceName(const std::string &s) {
    const bool pic_or_gif =
        s.size() > 4 && (s.compare(s.size() - 4, 4, ".png") == 0 || s.compare(s.size() - 4, 4, ".gif") == 0);
    return pic_or_gif && std::all_of(s.begin(), s.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '.' || c == '/' ||
                      c == '-';
           });
}

// Root named right after a literal that is the first argument of UI_ResPath: "pic/", "gif/" or
// empty when the literal is not such an argument.
std::string ResPathRoot(const std::string &src, const Literal &lit) {
    if (lit.begin == 0) {
        return "";
    }
    const size_t paren = src.find_last_not_of(" \t\n", lit.begin - 1);
    if (paren == std::string::npos || paren == 0 || src[paren] != '(') {
        return "";
    }
    const size_t name_end = src.find_last_not_of(" \t\n", paren - 1);
    if (name_end == std::string::npos || name_end < 9 || src.compare(name_end - 9, 10, "UI_ResPath") != 0) {
        return "";
    }
    const size_t comma = src.find_first_not_of(" \t\n", lit.end);
    if (comma == std::string::npos || src[comma] != ',') {
        return "";
    }
    const size_t root = src.find_first_not_of(" \t\n", comma + 1);
    if (root != std::string::npos && src.compare(root, 15, "UI_RES_PIC_ROOT") == 0) {
        return "pic/";
    }
    if (root != std::string::npos && src.compare(root, 15, "UI_RES_GIF_ROOT") == 0) {
        return "gif/";
    }
    return "";
}

struct Image {
    bool ok = false;
    unsigned w = 0, h = 0;
};

Image ReadPng(const std::string &path) {
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    Image out;
    if (png_image_begin_read_from_file(&img, path.c_str()) == 0) {
        return out;
    }
    img.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> buf(PNG_IMAGE_SIZE(img));
    if (png_image_finish_read(&img, nullptr, buf.data(), 0, nullptr) != 0) {
        out = {true, img.width, img.height};
    }
    png_image_free(&img);
    return out;
}

TEST(ResourceTree, EveryPathOfTheManifestExists) {
    const std::vector<std::string> paths = ManifestPaths();
    ASSERT_GT(paths.size(), 100u);
    for (const std::string &p : paths) {
        const std::string full = ResDir() + "/" + p;
        EXPECT_TRUE(fs::is_regular_file(full) && fs::file_size(full) > 0) << full;
    }
}

TEST(ResourceTree, PicturesDecodeAndFitTheirPlaces) {
    int count = 0;
    for (const auto &e : fs::recursive_directory_iterator(ResDir() + "/pic")) {
        if (e.path().extension() != ".png") {
            continue;
        }
        const std::string rel = fs::relative(e.path(), ResDir() + "/pic").string();
        const Image img = ReadPng(e.path().string());
        ASSERT_TRUE(img.ok) << rel << " does not decode";
        ++count;
        const bool record_icon = rel.rfind("statusbar/rec_", 0) == 0;
        if (rel.rfind("statusbar/", 0) == 0) {
            // Status-bar slots are 35 wide in a 32-high bar; the record icon stands before the
            // left slots, which start 70 pixels in.
            EXPECT_LE(img.h, 32u) << rel;
            EXPECT_LE(img.w, record_icon ? 60u : 35u) << rel;
        } else if (rel.rfind("setmenu/navibar/", 0) == 0 || rel == "album/del_icon.png" ||
                   (rel.rfind("home/", 0) == 0 && rel.find("_icon") != std::string::npos)) {
            EXPECT_LE(img.h, 40u) << rel << " is higher than the 40-pixel bar";
        } else if (rel.rfind("setmenu/main/", 0) == 0) {
            EXPECT_LE(img.w, 90u) << rel << " is wider than a 90-pixel tile";
        }
        EXPECT_LE(img.w, 320u) << rel;
        EXPECT_LE(img.h, 170u) << rel;
    }
    EXPECT_GT(count, 80);
}

TEST(ResourceTree, AnimationsDecodeWithAllFramesOnTheirCanvas) {
    int count = 0;
    for (const auto &e : fs::directory_iterator(ResDir() + "/gif")) {
        if (e.path().extension() != ".gif") {
            continue;
        }
        int error = 0;
        GifFileType *gif = DGifOpenFileName(e.path().c_str(), &error);
        ASSERT_NE(gif, nullptr) << e.path();
        EXPECT_EQ(DGifSlurp(gif), GIF_OK) << e.path();
        EXPECT_GE(gif->ImageCount, 2) << e.path() << " is not animated";
        EXPECT_LE(gif->SWidth, 320);
        EXPECT_LE(gif->SHeight, 170);
        for (int i = 0; i < gif->ImageCount; ++i) {
            const GifImageDesc &d = gif->SavedImages[i].ImageDesc;
            EXPECT_LE(d.Left + d.Width, gif->SWidth) << e.path() << " frame " << i;
            EXPECT_LE(d.Top + d.Height, gif->SHeight) << e.path() << " frame " << i;
        }
        DGifCloseFile(gif, &error);
        ++count;
    }
    EXPECT_EQ(count, 35);
}

TEST(LanguageFile, EveryTextHasEveryLanguageWithTheSameFormatParts) {
    Texts texts;
    std::string err;
    ASSERT_TRUE(LoadTexts(texts, err)) << err;
    EXPECT_GT(texts.size(), 220u);
    for (const auto &[id, row] : texts) {
        EXPECT_EQ(id.rfind("LANG_RES_ID_", 0), 0u) << id;
        const auto us = row.find("US");
        ASSERT_NE(us, row.end()) << id;
        for (const char *code : kCodes) {
            const auto t = row.find(code);
            ASSERT_NE(t, row.end()) << id << " has no " << code;
            EXPECT_FALSE(t->second.empty()) << id << " " << code;
            EXPECT_EQ(FormatParts(t->second), FormatParts(us->second)) << id << " " << code;
        }
        EXPECT_EQ(row.size(), 16u) << id;
    }
}

TEST(LanguageFile, EveryTextIdNamedInTheProgramExists) {
    Texts texts;
    std::string err;
    ASSERT_TRUE(LoadTexts(texts, err)) << err;
    // Every quoted id in the program's sources (its tests are left out: they name missing ids on
    // purpose).
    std::set<std::string> missing;
    for (const fs::path &src : ProgramSources()) {
        for (const Literal &lit : StringLiterals(ReadFile(src.string()))) {
            if (!IsTextId(lit.text)) {
                continue;
            }
            const std::string &id = lit.text;
            const auto row = texts.find(id);
            if (row == texts.end() || row->second.size() != 16) {
                missing.insert(id + " (" + src.filename().string() + ")");
            }
        }
    }
    std::string list;
    for (const std::string &m : missing) {
        list += "\n  " + m;
    }
    EXPECT_TRUE(missing.empty()) << "text ids without a full row:" << list;
}

TEST(ResourceTree, EveryResourcePathNamedInTheProgramExists) {
    const std::string res = ResDir();
    // Absolute resource paths, paths built with UI_ResPath and bare picture or animation names
    // (status-bar items name their file below statusbar/).
    std::set<std::string> missing;
    for (const fs::path &src : ProgramSources()) {
        const std::string body = ReadFile(src.string());
        const std::string where = " (" + src.filename().string() + ")";
        for (const Literal &lit : StringLiterals(body)) {
            std::string rel = lit.text;
            if (rel.compare(0, 2, "/:") == 0) {
                rel.erase(0, 2);
            }
            if (rel.compare(0, 13, "/app/bin/res/") == 0) {
                rel.erase(0, 13);
                if (!rel.empty() && rel.back() != '/' && rel.find('%') == std::string::npos &&
                    !fs::exists(res + "/" + rel)) {
                    missing.insert(rel + where);
                }
                continue;
            }
            if (!IsResourceName(rel)) {
                continue;
            }
            const std::string root = ResPathRoot(body, lit);
            if (!root.empty()) {
                if (!fs::exists(res + "/" + root + rel)) {
                    missing.insert(root + rel + where);
                }
            } else if (!fs::exists(res + "/pic/" + rel) && !fs::exists(res + "/pic/statusbar/" + rel) &&
                       !fs::exists(res + "/gif/" + rel)) {
                missing.insert(rel + where);
            }
        }
    }
    std::string list;
    for (const std::string &m : missing) {
        list += "\n  " + m;
    }
    EXPECT_TRUE(missing.empty()) << "resources the program names but the tree lacks:" << list;
}

TEST(Fonts, EveryCharacterOfEveryTextIsCoveredByTheBodyChain) {
    std::vector<res::FontEntry> fonts;
    std::string err;
    ASSERT_TRUE(res::ReadFontList(SourceDir() + "/res/fonts.txt", fonts, err)) << err;
    res::FontChain body;
    ASSERT_TRUE(body.Open(fonts, "body", ResDir() + "/font", err)) << err;
    Texts texts;
    ASSERT_TRUE(LoadTexts(texts, err)) << err;
    std::map<std::string, std::set<uint32_t>> uncovered;
    size_t checked = 0;
    for (const auto &[id, row] : texts) {
        for (const auto &[code, text] : row) {
            std::vector<uint32_t> cps;
            ASSERT_TRUE(res::DecodeUtf8(text, cps)) << id << " " << code << " is not UTF-8";
            for (uint32_t cp : cps) {
                ++checked;
                if (cp != '\n' && body.Find(cp, nullptr) == nullptr) {
                    uncovered[code].insert(cp);
                }
            }
        }
    }
    EXPECT_GT(checked, 50000u);
    for (const auto &[code, cps] : uncovered) {
        std::string list;
        for (uint32_t cp : cps) {
            char buf[16];
            std::snprintf(buf, sizeof buf, " U+%04X", static_cast<unsigned>(cp));
            list += buf;
        }
        ADD_FAILURE() << code << " has characters no font of the chain draws:" << list;
    }
}

TEST(Fonts, DigitsFontDrawsDigitsItselfAndTheRestThroughTheChain) {
    std::vector<res::FontEntry> fonts;
    std::string err;
    ASSERT_TRUE(res::ReadFontList(SourceDir() + "/res/fonts.txt", fonts, err)) << err;
    res::FontChain digits;
    ASSERT_TRUE(digits.Open(fonts, "digits", ResDir() + "/font", err)) << err;
    ASSERT_GE(digits.Files().size(), 2u);
    EXPECT_EQ(digits.Files()[0], "D-DINCondensed-Bold.otf");
    EXPECT_EQ(digits.Files()[1], "arial.ttf");
    for (const char *s = "0123456789:-/ "; *s != '\0'; ++s) {
        FT_UInt glyph = 0;
        FT_Face face = digits.Find(static_cast<unsigned char>(*s), &glyph);
        ASSERT_NE(face, nullptr) << *s;
        EXPECT_STREQ(face->family_name, "Liberation Sans Narrow") << "'" << *s << "'";
    }
    // A Han character is not in the digits font and comes from the CJK fallback.
    FT_Face han = digits.Find(0x65F6, nullptr);
    ASSERT_NE(han, nullptr);
    EXPECT_NE(std::string(han->family_name).find("CJK"), std::string::npos);
}

TEST(Fonts, ProgramFallbackListFollowsTheFontList) {
    std::vector<res::FontEntry> fonts;
    std::string err;
    ASSERT_TRUE(res::ReadFontList(SourceDir() + "/res/fonts.txt", fonts, err)) << err;
    res::FontChain body;
    ASSERT_TRUE(body.Open(fonts, "body", ResDir() + "/font", err)) << err;
    const char *const fallbacks[] = RES_FONT_FALLBACKS;
    ASSERT_EQ(RES_FONT_FALLBACK_COUNT, int(body.Files().size()) - 1);
    for (int i = 0; i < RES_FONT_FALLBACK_COUNT; ++i) {
        EXPECT_EQ(std::string(fallbacks[i]), "/app/bin/res/font/" + body.Files()[size_t(i) + 1]);
        EXPECT_TRUE(fs::exists(ResDir() + "/font/" + body.Files()[size_t(i) + 1]));
    }
}

// The helpers the test and the contact sheet share.
class FontListFile : public ::testing::Test {
  protected:
    std::string Write(const std::string &body) {
        const std::string path = testing::TempDir() + "/fonts_" +
                                 testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
        std::ofstream(path) << body;
        return path;
    }
};

TEST_F(FontListFile, RejectsMalformedLinesAndIncompleteSets) {
    std::vector<res::FontEntry> fonts;
    std::string err;
    const std::string good = "# comment\nbody a.ttf 0 pkg /x/a.ttf\ndigits b.otf 0 pkg /x/b.ttf\n";
    EXPECT_TRUE(res::ReadFontList(Write(good), fonts, err)) << err;
    EXPECT_EQ(fonts.size(), 2u);

    EXPECT_FALSE(res::ReadFontList(Write(good + "fallback c.ttf 0 pkg\n"), fonts, err));
    EXPECT_NE(err.find(":4:"), std::string::npos) << err;
    EXPECT_FALSE(res::ReadFontList(Write(good + "extra c.ttf 0 pkg /x/c.ttf\n"), fonts, err));
    EXPECT_NE(err.find("unknown role"), std::string::npos) << err;
    EXPECT_FALSE(res::ReadFontList(Write(good + "fallback c.ttc x1 pkg /x/c.ttc\n"), fonts, err));
    EXPECT_NE(err.find("face index"), std::string::npos) << err;
    EXPECT_FALSE(res::ReadFontList(Write(good + "body c.ttf 0 pkg /x/c.ttf\n"), fonts, err));
    EXPECT_FALSE(res::ReadFontList(Write("digits b.otf 0 pkg /x/b.ttf\n"), fonts, err));
    EXPECT_FALSE(res::ReadFontList(testing::TempDir() + "/no_such_fonts.txt", fonts, err));
}

TEST(Utf8, DecodesAllLengthsAndRejectsBrokenSequences) {
    std::vector<uint32_t> cps;
    ASSERT_TRUE(res::DecodeUtf8("A\xC3\xA9\xE6\x97\xB6\xF0\x9F\x98\x80", cps));
    EXPECT_EQ(cps, (std::vector<uint32_t>{0x41, 0xE9, 0x65F6, 0x1F600}));
    EXPECT_FALSE(res::DecodeUtf8("\xE6\x97", cps));         // cut off at the end
    EXPECT_FALSE(res::DecodeUtf8("\xC3", cps));             // lead byte alone
    EXPECT_FALSE(res::DecodeUtf8("\xC3\x41", cps));         // bad continuation
    EXPECT_FALSE(res::DecodeUtf8("\xC0\xAF", cps));         // overlong
    EXPECT_FALSE(res::DecodeUtf8("\xED\xA0\x80", cps));     // surrogate
    EXPECT_FALSE(res::DecodeUtf8("\xF4\x90\x80\x80", cps)); // above U+10FFFF
    EXPECT_FALSE(res::DecodeUtf8("\xFF", cps));
    EXPECT_TRUE(res::DecodeUtf8("", cps));
    EXPECT_TRUE(cps.empty());
}

} // namespace
