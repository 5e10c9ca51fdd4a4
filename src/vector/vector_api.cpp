// The front-end calls of kestra_vector.h: the records' checks and the
// recording in the order of the bitmap forms, the scale, the writer of the
// format, and the file replaced whole.
#include <cmath>
#include <functional>
#include <vector>

#include "diagram/diagram.h"
#include "exports/contract.h"
#include "output/output.h"
#include "platform/bitmap_limits.h"
#include "plot/plot.h"
#include "vector/vector.h"

namespace kestra::vector {
namespace {

using Record = std::function<int(canvas::RecordedPicture&)>;
using DrawBitmap = std::function<int(HBITMAP*)>;

// The picture times the scale must be a size a new bitmap may have.
bool scale_fits(double scale, canvas::PictureSize size) {
  if (!std::isfinite(scale) || scale <= 0) return false;
  const double width = std::ceil(static_cast<double>(size.width) * scale);
  const double height = std::ceil(static_cast<double>(size.height) * scale);
  return width >= 1 && height >= 1 && width <= platform::max_bitmap_side &&
         height <= platform::max_bitmap_side &&
         width * height <= static_cast<double>(platform::max_bitmap_pixels);
}

bool is_exact(const PictureOptions& options) {
  return (options.format == PictureFormat::png || options.format == PictureFormat::bmp) &&
         !options.smooth && options.scale == 1.0;
}

// The export's own bitmap of a new picture, encoded.
PictureBytes exact_picture(const DrawBitmap& draw, PictureFormat format) {
  HBITMAP bitmap = nullptr;
  if (const int status = draw(&bitmap)) return {status, {}};
  const canvas::UniqueObject owned(bitmap);
  BITMAP size{};
  if (GetObjectA(bitmap, sizeof size, &size) != sizeof size) return {KESTRA_INTERNAL, {}};
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size.bmWidth) *
                                    static_cast<std::size_t>(size.bmHeight));
  BITMAPINFO top_down{};
  top_down.bmiHeader = {sizeof(BITMAPINFOHEADER), size.bmWidth, -size.bmHeight, 1, 32, BI_RGB,
                        0, 0, 0, 0, 0};
  const canvas::UniqueDC dc(CreateCompatibleDC(nullptr));
  if (GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(size.bmHeight), pixels.data(), &top_down,
                DIB_RGB_COLORS) != size.bmHeight) {
    return {KESTRA_INTERNAL, {}};
  }
  return {KESTRA_OK, encode_pixels(pixels.data(), size.bmWidth, size.bmHeight, format)};
}

PictureBytes written(const canvas::RecordedPicture& recorded, const PictureOptions& options) {
  if (!scale_fits(options.scale, recorded.size)) return {KESTRA_NO_BITMAP, {}};
  const auto recording = platform::recording_of(recorded.metafile.get());
  if (!recording) return {KESTRA_INTERNAL, {}};
  if (options.format == PictureFormat::svg) {
    return {KESTRA_OK, write_svg(*recording, recorded.size, options.scale)};
  }
  return {KESTRA_OK, write_with_cairo(*recording, recorded.size, options)};
}

// Records the picture and writes it in the format; the exact pixels come
// from the bitmap form itself, with its statuses.
PictureBytes draw_picture(const Record& record, const DrawBitmap& draw,
                          const PictureOptions& options) {
  if (is_exact(options)) return exact_picture(draw, options.format);
  canvas::RecordedPicture recorded;
  if (const int status = record(recorded)) return {status, {}};
  return written(recorded, options);
}

PictureBytes guarded_bytes(const std::function<PictureBytes()>& body) noexcept {
  try {
    return body();
  } catch (...) {
    return {KESTRA_INTERNAL, {}};
  }
}

int save(const std::string& path, const PictureBytes& picture) {
  if (picture.status != KESTRA_OK) return picture.status;
  if (path.empty()) return KESTRA_FILE_WRITE;
  output::ReplacingFile file(path);
  if (!file.write(picture.bytes.data(), picture.bytes.size()) || !file.commit()) {
    return KESTRA_FILE_WRITE;
  }
  return KESTRA_OK;
}

}  // namespace
}  // namespace kestra::vector

namespace kestra {

PictureBytes draw_diagram(const TAB_GR& table, const DIAG_DISP& disp, unsigned long kind,
                          const PictureOptions& options) noexcept {
  return vector::guarded_bytes([&] {
    return vector::draw_picture(
        [&](canvas::RecordedPicture& recorded) {
          return diagram::record_diag(table, disp, kind, recorded);
        },
        [&](HBITMAP* bitmap) { return CreateDiag(table, disp, bitmap, KESTRA_DRAW_NEW, kind); },
        options);
  });
}

// CreateGraph checks the font height between the mode and the records.
PictureBytes draw_plot(const char* expression, const OPTION_RECT& plot,
                       const PictureOptions& options) noexcept {
  return vector::guarded_bytes([&]() -> PictureBytes {
    if (const int status = exports::font_height_status(plot.fontHeight)) return {status, {}};
    return vector::draw_picture(
        [&](canvas::RecordedPicture& recorded) {
          return plot::record_graph(expression, plot, recorded);
        },
        [&](HBITMAP* bitmap) {
          return CreateGraph(const_cast<char*>(expression), plot, bitmap, KESTRA_DRAW_NEW);
        },
        options);
  });
}

int save_diagram(const std::string& path, const TAB_GR& table, const DIAG_DISP& disp,
                 unsigned long kind, const PictureOptions& options) noexcept {
  return exports::guarded([&] { return vector::save(path, draw_diagram(table, disp, kind, options)); });
}

int save_plot(const std::string& path, const char* expression, const OPTION_RECT& plot,
              const PictureOptions& options) noexcept {
  return exports::guarded([&] { return vector::save(path, draw_plot(expression, plot, options)); });
}

}  // namespace kestra
