// Font files through fontconfig, with its substitutions ("arial" gives
// Liberation Sans where Arial is missing).
#include "platform/font_match.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace kestra::platform {

using PatternOwner = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;

// fontconfig ranks coverage above the family, so with a character the
// family's own file wins where it covers the character.
std::optional<FontFile> match_font_file(const std::string& family, int weight, bool italic,
                                        std::optional<char32_t> character) {
  PatternOwner pattern(FcPatternCreate(), &FcPatternDestroy);
  if (!pattern) return std::nullopt;
  const std::string name = family.empty() ? "sans-serif" : family;
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  if (character) {
    std::unique_ptr<FcCharSet, decltype(&FcCharSetDestroy)> wanted(FcCharSetCreate(),
                                                                  &FcCharSetDestroy);
    if (!wanted || !FcCharSetAddChar(wanted.get(), *character)) return std::nullopt;
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
  }
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  PatternOwner match(FcFontMatch(nullptr, pattern.get(), &result), &FcPatternDestroy);
  if (!match) return std::nullopt;
  FcCharSet* covered = nullptr;
  if (character && (FcPatternGetCharSet(match.get(), FC_CHARSET, 0, &covered) != FcResultMatch ||
                    !FcCharSetHasChar(covered, *character))) {
    return std::nullopt;
  }
  FcChar8* path = nullptr;
  FcChar8* matched_family = nullptr;
  int index = 0;
  if (FcPatternGetString(match.get(), FC_FILE, 0, &path) != FcResultMatch) return std::nullopt;
  FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
  FcPatternGetString(match.get(), FC_FAMILY, 0, &matched_family);
  return FontFile{reinterpret_cast<const char*>(path), index,
                  matched_family ? reinterpret_cast<const char*>(matched_family) : name};
}

}  // namespace kestra::platform

// Fontconfig leaks a buffer of its own once per process while parsing its
// configuration; the sanitizer build must not fail on it. Defined here so it
// is linked wherever fontconfig is.
#if defined(__SANITIZE_ADDRESS__)
#define KESTRA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)  // clang's spelling
#define KESTRA_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(KESTRA_ADDRESS_SANITIZER)
// Visible, so the sanitizer runtime finds it in a library built hidden.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
#endif
