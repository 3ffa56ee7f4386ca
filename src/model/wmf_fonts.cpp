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

// A metafile may name any number of fonts; the choices kept are bounded, and
// faces are bounded by the font files there are.
constexpr std::size_t kMaxChoices = 1024;
constexpr std::size_t kMaxFaces = 256;

struct Face {
    std::string psName; // the name the SVG device writes
    FT_Face face = nullptr;
};

// What libwmf's choice of a font file depends on.
struct Choice {
    std::string name;
    bool italic = false;
    bool bold = false;
    bool operator<(const Choice &o) const
    {
        return std::tie(name, italic, bold) < std::tie(o.name, o.italic, o.bold);
    }
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

    const Face *Find(const Choice &choice) const
    {
        const auto it = choices_.find(choice);
        return it == choices_.end() ? nullptr : it->second;
    }

    // The face of the font file libwmf chose for psName, opened as libwmf
    // opens it; nullptr when it cannot be opened so or the cache is full.
    const Face *Keep(const Choice &choice, const char *psName, const char *path)
    {
        if (choices_.size() >= kMaxChoices)
            return nullptr;
        const Face *face = faceFor(psName, path);
        if (face)
            choices_.emplace(choice, face);
        return face;
    }

    Counts counts() const { return {int(faces_.size()), choicesByLibwmf_}; }
    void countChoice() { ++choicesByLibwmf_; }

  private:
    const Face *faceFor(const char *psName, const char *path)
    {
        const std::string key = std::string(psName) + '\n' + path;
        if (const auto it = faces_.find(key); it != faces_.end())
            return &it->second;
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
        Face &entry = faces_[key];
        entry.psName = psName;
        entry.face = face;
        return &entry;
    }

    bool openLibrary()
    {
        if (!library_ && !libraryFailed_)
            libraryFailed_ = FT_Init_FreeType(&library_) != 0;
        return library_ != nullptr;
    }

    FT_Library library_ = nullptr;
    bool libraryFailed_ = false;
    std::map<std::string, Face> faces_; // by PostScript name and file
    std::map<Choice, const Face *> choices_;
    int choicesByLibwmf_ = 0;
};

FaceCache &cache()
{
    thread_local FaceCache faces;
    return faces;
}

bool setFace(wmfAPI *api, wmfFont *font, const Face &face)
{
    if (!font->user_data) {
        font->user_data = wmf_malloc(api, sizeof(wmfIPAFont));
        if (!font->user_data)
            return false;
    }
    auto *ipa = static_cast<wmfIPAFont *>(font->user_data);
    // libwmf writes neither; both live as long as the thread.
    ipa->ps_name = const_cast<char *>(face.psName.c_str());
    ipa->ft_face = face.face;
    return true;
}

void mapFont(wmfAPI *api, wmfFont *font)
{
    if (!font || !font->lfFaceName) {
        wmf_ipa_font_map(api, font);
        return;
    }
    const Choice choice{font->lfFaceName, font->lfItalic == 1, font->lfWeight > 550};
    FaceCache &faces = cache();
    if (const Face *face = faces.Find(choice)) {
        if (setFace(api, font, *face))
            return;
    }
    const wmf_error_t before = api->err;
    faces.countChoice();
    wmf_ipa_font_map(api, font);
    if (before != wmf_E_None || api->err != wmf_E_None || !font->user_data)
        return;
    const auto *ipa = static_cast<const wmfIPAFont *>(font->user_data);
    if (!ipa->ps_name || !ipa->ft_face)
        return;
    const char *path = wmf_ipa_font_lookup(api, ipa->ps_name);
    if (!path)
        return;
    // From the first time on the thread's face, so that every player of the
    // thread measures text with the same face.
    if (const Face *face = faces.Keep(choice, ipa->ps_name, path))
        setFace(api, font, *face);
}

} // namespace

void ShareFaces(wmfAPI *api)
{
    if (api && api->font_data)
        wmf_ipa_font_map_set(api, mapFont);
}

Counts ThreadCounts()
{
    return cache().counts();
}

} // namespace wmffonts
