// The recording device context of CreateEnhMetaFileA: every drawing call
// made on it is kept in order, with the state the layer resolves it with
// (pen, brush, background mode and colour, font, and the text layout and
// clip the layer computes), instead of painting pixels. Writers (src/vector)
// turn a closed recording into SVG, PDF or smooth PNG with the same layout
// as the bitmap the same calls paint.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi_objects.h"
#include "platform/text_render.h"

namespace kestra::platform {

// The pen and brush of a line or rectangle as GDI draws them, with the
// background state that decides their gaps.
struct RecordedStyle {
  int pen_style = PS_SOLID;  // PS_SOLID ... PS_NULL
  int pen_width = 1;         // 0 and 1 are cosmetic; 2 and more are wide (always solid)
  COLORREF pen_color = 0;
  // The colour the gaps of a styled cosmetic pen are painted with (OPAQUE
  // background mode at the call), or nothing when they are left alone.
  std::optional<COLORREF> pen_gaps;
  Brush::Fill fill = Brush::Fill::hollow;
  int hatch = 0;  // HS_* of a hatch brush
  COLORREF brush_color = 0;
  // The colour a hatch brush paints its gaps with, latched at its first use
  // after selection as GDI does, or nothing when the gaps are left alone.
  std::optional<COLORREF> hatch_gaps;

  bool operator==(const RecordedStyle&) const = default;
};

// A sized face as the text of a recording uses it.
struct RecordedFont {
  std::string family;
  std::string file;  // the font file, and the face's index in it
  int file_index = 0;
  int ppem = 0;      // the em size in pixels
  TEXTMETRICA metrics{};
};

// One line of text as the layer laid it out.
struct RecordedText {
  Coord x = 0, y = 0;  // the cell's top-left corner
  Coord width = 0;     // the measured extent (GetTextExtentPoint32A's)
  std::string utf8;    // the characters drawn: the code page's, or UTF-8 in the text mode
  // How far drawing moves the pen after each character, in pixels.
  std::vector<int> advances;
  std::size_t font = 0;  // index into Recording::fonts
  COLORREF color = 0;
  std::optional<COLORREF> background;  // OPAQUE mode: the cell is filled first
  std::optional<ClipBox> clip;         // nothing outside changes (DrawTextA without DT_NOCLIP)
  std::optional<ClipBox> underline;    // the prefix underline's pixels, before clipping
  UINT align = DT_LEFT;  // DT_CENTER or DT_RIGHT: the point the layout was placed by
};

enum class RecordedKind : std::uint8_t { line, rectangle, pixel, text };

// One call. line: from (a, b) to (c, d), the end point left out as LineTo
// does; rectangle: the normalised corners a, b, c, d as Rectangle takes
// them; pixel: (a, b) set to the colour in `index`; text: texts[index].
// Lines and rectangles draw with styles[index].
struct RecordedOp {
  RecordedKind kind;
  std::uint32_t index;
  std::int32_t a, b, c, d;
};

class Recording {
 public:
  Recording();
  ~Recording();
  Recording(const Recording&) = delete;
  Recording& operator=(const Recording&) = delete;

  std::vector<RecordedOp> ops;
  std::vector<RecordedStyle> styles;
  std::vector<RecordedText> texts;
  std::vector<RecordedFont> fonts;

  // The index of a style or a font, each kept once.
  std::uint32_t style_index(const RecordedStyle& style);
  std::size_t font_index(const FontFace& face);
  // Ends the recording: its device context no longer draws into it.
  void close();

 private:
  bool open_ = true;
};

// A closed recording behind an HENHMETAFILE.
struct Metafile final : GdiObject {
  static constexpr ObjectKind object_kind = ObjectKind::metafile;
  explicit Metafile(std::shared_ptr<const Recording> r)
      : GdiObject(object_kind), recording(std::move(r)) {}
  std::shared_ptr<const Recording> recording;
};

// The device context behind `dc` when it is an open recording, else null.
// Costs one atomic load while no recording is open anywhere.
std::shared_ptr<DeviceContext> recording_dc(HDC dc);

// The drawing calls on a recording DC, as the Win32 entry points answer them.
BOOL record_line_to(DeviceContext& dc, POINT to);
BOOL record_rectangle(DeviceContext& dc, int left, int top, int right, int bottom);
COLORREF record_pixel(DeviceContext& dc, int x, int y, COLORREF color);
// A text the layer placed with its cell's top-left corner at (x, y), as
// TextOutA and DrawTextA lay it out; `underlined` indexes the prefix
// underline's character or is -1.
void record_text(DeviceContext& dc, const FontFace& face, Coord x, Coord y, std::string_view text,
                 std::optional<ClipBox> clip, int underlined, UINT align);

// The recording behind a closed metafile, or null.
std::shared_ptr<const Recording> recording_of(HENHMETAFILE metafile);

}  // namespace kestra::platform
