// The GDI and USER text calls: CreateFontA, TextOutA, DrawTextA and the
// measuring calls, on the faces of font_face.h. Text bytes are read in the
// thread's text mode (glyph_run.h).
#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

#include "platform/font_face.h"
#include "platform/gdi_objects.h"
#include "platform/no_throw.h"
#include "platform/recording.h"
#include "platform/text_render.h"

namespace kestra::platform {
namespace {

// LOGFONT's face name holds 31 characters and a terminator.
constexpr std::size_t max_face_name = 31;

// The face a device context draws with: its font's, or the system font's
// for the stock font.
std::shared_ptr<const FontFace> face_of(const DeviceContext& dc) {
  if (dc.font && dc.font->face) return dc.font->face;
  static const std::shared_ptr<const FontFace> system_face = default_font_face();
  return system_face;
}

// The bytes of a text argument: count < 0 means NUL-terminated.
std::string_view text_bytes(LPCSTR text, int count) {
  return count < 0 ? std::string_view(text) : std::string_view(text, static_cast<std::size_t>(count));
}

TextStyle style_of(const DeviceContext& dc) {
  return {dc.text_color, dc.bk_color, dc.bk_mode == OPAQUE};
}

// DrawTextA's clip: the normalised rectangle, whichever way it is given.
ClipBox normalised(const RECT& rect) {
  return {std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
          std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
}

// Where DrawTextA puts the cell of a single line, by GDI's formulas: the
// centred forms halve whole sums and truncate toward zero, and they use the
// rectangle as given, even when inverted.
struct Origin {
  Coord x, y;
};

Origin single_line_origin(const RECT& rect, Coord width, Coord height, UINT format) {
  const Coord left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
  Origin origin{left, top};
  if (format & DT_CENTER) {
    origin.x = (left + right - width) / 2;
  } else if (format & DT_RIGHT) {
    origin.x = right - width;
  }
  if (format & DT_VCENTER) {
    origin.y = top + (bottom - top) / 2 - height / 2;
  } else if (format & DT_BOTTOM) {
    origin.y = bottom - height;
  }
  return origin;
}

int clamp_to_int(Coord value) {
  return static_cast<int>(std::clamp<Coord>(value, std::numeric_limits<int>::min(),
                                            std::numeric_limits<int>::max()));
}

}  // namespace
}  // namespace kestra::platform

using namespace kestra::platform;

HFONT CreateFontA(int height, int, int, int, int weight, DWORD italic, DWORD, DWORD,
                  DWORD charset, DWORD, DWORD, DWORD, DWORD, LPCSTR face) {
  return or_failure<HFONT>(nullptr, [&]() -> HFONT {
    FontRequest request;
    request.height = height;
    request.weight = weight <= 0 ? FW_NORMAL : std::min(weight, 1000);  // 0 is FW_DONTCARE
    request.italic = italic != 0;
    request.charset = charset;
    if (face) request.face_name.assign(face, strnlen(face, max_face_name));
    std::shared_ptr<const FontFace> resolved = resolve_font(request);
    if (!resolved) return nullptr;
    return static_cast<HFONT>(ObjectTable::instance().add(std::make_shared<Font>(std::move(resolved))));
  });
}

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics) {
  return or_failure<BOOL>(FALSE, [&]() -> BOOL {
    auto context = dc_of(dc);
    auto face = context ? face_of(*context) : nullptr;
    if (!face || !metrics) return FALSE;
    *metrics = face->metrics();
    return TRUE;
  });
}

int GetTextFaceA(HDC dc, int count, LPSTR name) {
  return or_failure<int>(0, [&]() -> int {
    auto context = dc_of(dc);
    auto face = context ? face_of(*context) : nullptr;
    if (!face) return 0;
    const std::string& family = face->family();
    if (!name) return static_cast<int>(family.size()) + 1;
    if (count <= 0) return 0;
    const std::size_t copied = std::min(family.size(), static_cast<std::size_t>(count) - 1);
    std::memcpy(name, family.data(), copied);
    name[copied] = '\0';
    return static_cast<int>(copied);
  });
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size) {
  return or_failure<BOOL>(FALSE, [&]() -> BOOL {
    auto context = dc_of(dc);
    auto face = context ? face_of(*context) : nullptr;
    if (!face || !size || count < 0 || (!text && count > 0)) return FALSE;
    size->cx = text ? clamp_to_int(text_width(GlyphRun(*face, text_bytes(text, count)))) : 0;
    size->cy = face->metrics().tmHeight;
    return TRUE;
  });
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
  return or_failure<BOOL>(FALSE, [&]() -> BOOL {
    auto context = dc_of(dc);
    auto face = context ? face_of(*context) : nullptr;
    if (!face || count < 0 || (!text && count > 0)) return FALSE;
    if (context->bitmap && text)
      paint_text(*context->bitmap, *face, x, y, GlyphRun(*face, text_bytes(text, count)),
                 style_of(*context), unclipped);
    if (context->recording && text)
      record_text(*context, *face, x, y, text_bytes(text, count), std::nullopt, -1, DT_LEFT);
    return TRUE;
  });
}

// Lays out one line: DT_SINGLELINE's rules are applied to every text (line
// breaks are not split into lines), with DT_VCENTER and DT_BOTTOM effective
// only together with DT_SINGLELINE as in GDI.
int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
  return or_failure<int>(0, [&]() -> int {
    auto context = dc_of(dc);
    auto face = context ? face_of(*context) : nullptr;
    if (!face || !text || !rect) return 0;
    const std::string_view bytes = text_bytes(text, count);
    const PrefixedText shown = (format & DT_NOPREFIX) ? PrefixedText{std::string(bytes), -1}
                                                      : strip_prefixes(bytes);
    const int height = face->metrics().tmHeight;
    if (!(format & DT_SINGLELINE)) format &= ~static_cast<UINT>(DT_VCENTER | DT_BOTTOM);
    const GlyphRun run(*face, shown.text, shown.underlined);
    const Origin origin = single_line_origin(*rect, text_width(run), height, format);
    if (context->bitmap) {
      const ClipBox clip = (format & DT_NOCLIP) ? unclipped : normalised(*rect);
      paint_text(*context->bitmap, *face, origin.x, origin.y, run, style_of(*context), clip);
    }
    if (context->recording)
      record_text(*context, *face, origin.x, origin.y, shown.text,
                  (format & DT_NOCLIP) ? std::nullopt : std::optional(normalised(*rect)),
                  shown.underlined, format);
    return clamp_to_int(origin.y - rect->top + height);
  });
}
