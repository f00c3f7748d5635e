// The font set of the resource tree and its fallback chain, as written in res/fonts.txt.
#ifndef RES_FONT_CHAIN_H
#define RES_FONT_CHAIN_H

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <string>
#include <vector>

namespace res {

struct FontEntry {
    std::string role;    // "body", "digits" or "fallback"
    std::string file;    // below the font folder of the resource tree
    long face = 0;       // face index in a collection
    std::string package; // Debian package the file comes from
    std::string source;  // file the build copies
};

// Reads fonts.txt. Returns false with a message in err on a malformed line or a missing role.
bool ReadFontList(const std::string &path, std::vector<FontEntry> &out, std::string &err);

// Decodes UTF-8 into code points. Returns false (and stops) at a malformed sequence.
bool DecodeUtf8(const std::string &text, std::vector<uint32_t> &out);

// The faces of one chain: the named font first, then its fallbacks in order.
class FontChain {
  public:
    FontChain() = default;
    ~FontChain();
    FontChain(const FontChain &) = delete;
    FontChain &operator=(const FontChain &) = delete;

    // Opens the chain of role ("body" or "digits") from the font folder fontDir.
    bool Open(const std::vector<FontEntry> &fonts, const std::string &role, const std::string &fontDir,
              std::string &err);
    // Face that has a glyph for cp, or nullptr; glyph receives its index.
    FT_Face Find(uint32_t cp, FT_UInt *glyph) const;
    const std::vector<std::string> &Files() const { return files_; }

  private:
    FT_Library lib_ = nullptr;
    std::vector<FT_Face> faces_;
    std::vector<std::string> files_;
};

} // namespace res

#endif
