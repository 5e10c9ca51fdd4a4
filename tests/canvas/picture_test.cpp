// The picture rule both renderers share: what a drawing export answers, and
// leaves in *bitmap, when it cannot make or take the picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "kestra.h"
#include "support/bitmaps.h"
#include "support/canvas.h"

namespace kestra::test {
namespace {

using Render = std::function<int(HBITMAP* bitmap, unsigned long mode, const RECT& picture)>;

int render_diagram(HBITMAP* bitmap, unsigned long mode, const RECT& picture) {
  double values[] = {1.0, 2.0};
  GRAPH_ELEM series = ReturnGraphElem(RGB(200, 0, 0), 1, const_cast<char*>("A"));
  const DIAG_DISP disp = ReturnDiagDisp(picture, RGB(255, 255, 255), 0, 0, 4, 0, 12, 0, 10, nullptr,
                                        nullptr, nullptr, 0, 1, &series, 2, 0x3FF);
  return CreateDiag(TAB_GR{1, 2, values}, disp, bitmap, mode, KESTRA_KIND_BARS);
}

int render_plot(HBITMAP* bitmap, unsigned long mode, const RECT& picture) {
  const OPTION_RECT options =
      ReturnOptionRect(picture, RGB(255, 255, 255), RGB(200, 0, 0), 0, 0, -10, -10, 10, 10, -10, 10, 0,
                       12, const_cast<char*>("x"), const_cast<char*>("y"), 0x7F);
  return CreateGraph(const_cast<char*>("y=x"), options, bitmap, mode);
}

enum class Given { none, garbage, pen, held_elsewhere, free_bitmap };

struct Case {
  int line;
  Given given;
  unsigned long mode;
  RECT picture;
  int expected;
  bool handle_back;  // *bitmap holds the given handle afterwards (else null)
};

constexpr RECT kPicture{0, 0, 60, 40};

TEST(PictureRule, BothRenderersTreatTheCallersBitmapAlike) {
  const Case cases[] = {
      {__LINE__, Given::free_bitmap, KESTRA_DRAW_OVER, kPicture, KESTRA_OK, true},
      {__LINE__, Given::none, KESTRA_DRAW_OVER, kPicture, KESTRA_NO_CURRENT_BITMAP, false},
      {__LINE__, Given::garbage, KESTRA_DRAW_OVER, kPicture, KESTRA_NO_CURRENT_BITMAP, false},
      {__LINE__, Given::pen, KESTRA_DRAW_OVER, kPicture, KESTRA_NO_CURRENT_BITMAP, false},
      {__LINE__, Given::held_elsewhere, KESTRA_DRAW_OVER, kPicture, KESTRA_NO_CURRENT_BITMAP, false},
      {__LINE__, Given::held_elsewhere, 8 + KESTRA_DRAW_OVER, kPicture, KESTRA_NO_CURRENT_BITMAP, false},
      // Mode 1 ignores what *bitmap held: a picture that cannot be made leaves it null.
      {__LINE__, Given::free_bitmap, KESTRA_DRAW_NEW, {0, 0, 0, 40}, KESTRA_NO_BITMAP, false},
      {__LINE__, Given::free_bitmap, KESTRA_DRAW_NEW, {0, 0, 40000, 10}, KESTRA_NO_BITMAP, false},
  };
  const Render renderers[] = {render_diagram, render_plot};
  for (std::size_t r = 0; r < std::size(renderers); ++r) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << (r == 0 ? "CreateDiag" : "CreateGraph") << " line " << c.line);
      NoLeakedObjects guard;
      Canvas holder(60, 40);  // its bitmap is selected into the holder's context
      HPEN pen = CreatePen(PS_SOLID, 1, 0);
      HBITMAP free_bitmap = solid_bitmap(60, 40, RGB(255, 255, 255));
      HBITMAP given = nullptr;
      switch (c.given) {
        case Given::none: break;
        case Given::garbage: given = reinterpret_cast<HBITMAP>(std::uintptr_t{0xDEAD}); break;
        case Given::pen: given = reinterpret_cast<HBITMAP>(pen); break;
        case Given::held_elsewhere: given = holder.bitmap(); break;
        case Given::free_bitmap: given = free_bitmap; break;
      }
      HBITMAP bitmap = given;
      EXPECT_EQ(renderers[r](&bitmap, c.mode, c.picture), c.expected);
      EXPECT_EQ(bitmap, c.handle_back ? given : nullptr);
      BITMAP still_there{};  // the caller's bitmap is never deleted
      EXPECT_EQ(GetObject(free_bitmap, sizeof still_there, &still_there), static_cast<int>(sizeof still_there));
      DeleteObject(free_bitmap);
      DeleteObject(pen);
    }
  }
}

TEST(PictureRule, WithoutAPlaceForTheHandle) {
  for (const Render& render : {Render(render_diagram), Render(render_plot)}) {
    NoLeakedObjects guard;
    EXPECT_EQ(render(nullptr, KESTRA_DRAW_NEW, kPicture), KESTRA_NO_BITMAP);
    EXPECT_EQ(render(nullptr, KESTRA_DRAW_OVER, kPicture), KESTRA_NO_CURRENT_BITMAP);
  }
}

}  // namespace
}  // namespace kestra::test
