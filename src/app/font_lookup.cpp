#include "app/font_lookup.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace qv {

namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

Pattern bestMatch(const std::string& family) {
    Pattern wanted(FcPatternCreate());
    if (!wanted) {
        return nullptr;
    }
    FcPatternAddString(wanted.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(wanted.get(), FC_SPACING, FC_MONO);
    FcPatternAddBool(wanted.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, wanted.get(), FcMatchPattern);
    FcDefaultSubstitute(wanted.get());
    FcResult result = FcResultNoMatch;
    return Pattern(FcFontMatch(nullptr, wanted.get(), &result));
}

// fontconfig always offers something; a named face counts only when the offer is that face.
bool isFamily(const FcPattern& match, const std::string& family) {
    FcChar8* found = nullptr;
    for (int i = 0; FcPatternGetString(&match, FC_FAMILY, i, &found) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(found, reinterpret_cast<const FcChar8*>(family.c_str())) == 0) {
            return true;
        }
    }
    return false;
}

std::string fileOf(const FcPattern& match) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(&match, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
        return {};
    }
    return reinterpret_cast<const char*>(file);
}

}  // namespace

std::string findFixedPitchFontFile(std::string_view face) {
    const std::string family(face);
    if (!family.empty()) {
        if (Pattern match = bestMatch(family); match && isFamily(*match, family)) {
            return fileOf(*match);
        }
    }
    if (Pattern fallback = bestMatch("monospace")) {
        return fileOf(*fallback);
    }
    return {};
}

}  // namespace qv
