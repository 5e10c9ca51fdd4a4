// Copying a rendered picture onto a surface the host passes in.
#include <algorithm>
#include <limits>

#include "output/output.h"
#include "platform/platform.h"

namespace kestra::output {
namespace {

using platform::ScopedSelect;
using platform::UniqueDC;
using platform::UniqueObject;

// A device context lent by a surface, given back at the end of the scope.
class SurfaceDC {
 public:
  explicit SurfaceDC(IDirectDrawSurface* surface) : surface_(surface) {
    if (surface_ && surface_->GetDC(&dc_) < 0) dc_ = nullptr;
  }
  ~SurfaceDC() {
    if (dc_) surface_->ReleaseDC(dc_);
  }
  SurfaceDC(const SurfaceDC&) = delete;
  SurfaceDC& operator=(const SurfaceDC&) = delete;

  HDC get() const { return dc_; }

 private:
  IDirectDrawSurface* surface_;
  HDC dc_ = nullptr;
};

int side(std::int64_t from, std::int64_t to) {
  return static_cast<int>(std::clamp<std::int64_t>(to - from, 0, std::numeric_limits<int>::max()));
}

}  // namespace

int copy_to_surface(const Renderer& render, const RECT& plot, IDirectDrawSurface* surface) {
  HBITMAP drawn = nullptr;
  if (const int status = render(&drawn, KESTRA_DRAW_NEW)) return status;
  const UniqueObject picture(drawn);

  const SurfaceDC target(surface);
  if (!target.get()) return KESTRA_SURFACE_DC;
  const UniqueDC source(CreateCompatibleDC(nullptr));
  if (!source) return KESTRA_NO_DC;
  const ScopedSelect selected(source.get(), drawn);
  if (!selected.selected()) return KESTRA_INTERNAL;

  // An empty or inverted plot rectangle copies nothing (StretchBlt would
  // mirror a negative size); beyond the picture there is nothing to copy.
  BITMAP size{};
  if (GetObject(drawn, sizeof size, &size) != sizeof size) return KESTRA_INTERNAL;
  const int width = std::min<int>(side(plot.left, plot.right), size.bmWidth);
  const int height = std::min<int>(side(plot.top, plot.bottom), size.bmHeight);
  if (width == 0 || height == 0) return KESTRA_OK;
  // A context that cannot take the copy is as good as none.
  if (!StretchBlt(target.get(), 0, 0, width, height, source.get(), 0, 0, width, height,
                  SRCCOPY)) {
    return KESTRA_SURFACE_DC;
  }
  return KESTRA_OK;
}

}  // namespace kestra::output
