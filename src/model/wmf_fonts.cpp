#include "model/wmf_fonts.h"

#include <libwmf/api.h>
#include <libwmf/font.h>
#include <libwmf/ipa.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <sys/stat.h>

#include <map>
#include <string>
#include <tuple>

namespace wmffonts
{

namespace
{

// Faces are bounded by the font files there are; the bound only guards
// against a font configuration gone wild.
constexpr std::size_t kMaxFaces = 256;

struct Face {
    std::string psName; // the name libwmf knows the font by
    std::string path;   // its glyph file
    FT_Face face = nullptr;
};

bool fileExists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

class FaceCache
{
  public:
    FaceCache() = default;
    FaceCache(const FaceCache &) = delete;
    FaceCache &operator=(const FaceCache &) = delete;
    ~FaceCache()
    {
        for (auto &entry : faces_)
            FT_Done_Face(entry.second.face);
        if (library_)
            FT_Done_FreeType(library_);
    }

    const std::map<std::string, Face> &Faces() const { return faces_; }

    bool Holds(FT_Face face) const
    {
        for (const auto &entry : faces_)
            if (entry.second.face == face)
                return true;
        return false;
    }

    // The face of psName's glyph file, opened as libwmf opens it; nullptr
    // when it cannot be opened so or the cache is full.
    const Face *FaceFor(const char *psName, const char *path)
    {
        if (const auto it = faces_.find(psName); it != faces_.end())
            return it->second.path == path ? &it->second : nullptr;
        if (faces_.size() >= kMaxFaces || !openLibrary())
            return nullptr;
        FT_Face face = nullptr;
        if (FT_New_Face(library_, path, 0, &face) != 0)
            return nullptr;
        // Type 1 glyphs come with their metrics beside them.
        const std::string glyphs(path);
        const std::size_t n = glyphs.size();
        if (n > 4 && (glyphs.compare(n - 4, 4, ".pfa") == 0 || glyphs.compare(n - 4, 4, ".pfb") == 0)) {
            const std::string metrics = glyphs.substr(0, n - 4) + ".afm";
            if (fileExists(metrics))
                (void)FT_Attach_File(face, metrics.c_str());
        }
        // The encodings in libwmf's order of preference.
        if (FT_Select_Charmap(face, FT_ENCODING_ADOBE_STANDARD) != 0 &&
            FT_Select_Charmap(face, FT_ENCODING_ADOBE_CUSTOM) != 0 &&
            FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) != 0 &&
            FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
            FT_Done_Face(face);
            return nullptr;
        }
        Face &entry = faces_[psName];
        entry.psName = psName;
        entry.path = glyphs;
        entry.face = face;
        return &entry;
    }

    int libwmfOpened = 0;

  private:
    bool openLibrary()
    {
        if (!library_ && !libraryFailed_)
            libraryFailed_ = FT_Init_FreeType(&library_) != 0;
        return library_ != nullptr;
    }

    FT_Library library_ = nullptr;
    bool libraryFailed_ = false;
    std::map<std::string, Face> faces_; // by PostScript name
};

FaceCache &cache()
{
    thread_local FaceCache faces;
    return faces;
}

wmfFontmapData *fontmapData(wmfAPI *api)
{
    auto *fontData = static_cast<wmfFontData *>(api->font_data);
    return fontData ? static_cast<wmfFontmapData *>(fontData->user_data) : nullptr;
}

// libwmf chooses the font file as always; a face it had to open itself is
// opened once more for the thread, and the font gets the thread's face, so
// that every player of the thread measures text with the same face.
void mapFont(wmfAPI *api, wmfFont *font)
{
    const wmf_error_t before = api->err;
    wmf_ipa_font_map(api, font);
    if (before != wmf_E_None || api->err != wmf_E_None || !font || !font->user_data)
        return;
    auto *ipa = static_cast<wmfIPAFont *>(font->user_data);
    FaceCache &faces = cache();
    if (!ipa->ps_name || !ipa->ft_face || faces.Holds(ipa->ft_face))
        return;
    ++faces.libwmfOpened;
    const char *path = wmf_ipa_font_lookup(api, ipa->ps_name);
    if (!path)
        return;
    const Face *face = faces.FaceFor(ipa->ps_name, path);
    if (!face)
        return;
    // The player's own list hands out the thread's face from now on too.
    if (wmfFontmapData *data = fontmapData(api)) {
        for (wmfFT_CacheEntry *entry = data->cache; entry && entry->name; ++entry)
            if (entry->face == ipa->ft_face)
                entry->face = face->face;
    }
    ipa->ft_face = face->face;
}

} // namespace

void ShareFaces(wmfAPI *api)
{
    wmfFontmapData *data = api ? fontmapData(api) : nullptr;
    if (!data || !data->cache || data->cache[0].name)
        return; // not a fresh player
    // libwmf looks a font up in its list of open faces before it opens a
    // file: the list starts with the thread's faces. The list grows by 16
    // entries whenever its count reaches 15 more than a multiple of 16, so
    // it is made as large as that expects for its count.
    const auto &known = cache().Faces();
    const std::size_t capacity = (known.size() | 0x0f) + 1;
    auto *list = static_cast<wmfFT_CacheEntry *>(wmf_malloc(api, capacity * sizeof(wmfFT_CacheEntry)));
    if (!list)
        return;
    std::size_t i = 0;
    for (const auto &entry : known) {
        // libwmf only reads these; they live as long as the thread.
        list[i].name = const_cast<char *>(entry.second.psName.c_str());
        list[i].path = const_cast<char *>(entry.second.path.c_str());
        list[i].face = entry.second.face;
        ++i;
    }
    list[i].name = nullptr;
    data->cache = list;
    wmf_ipa_font_map_set(api, mapFont);
}

Counts ThreadCounts()
{
    const FaceCache &faces = cache();
    return {int(faces.Faces().size()), faces.libwmfOpened};
}

} // namespace wmffonts
