// Recording device contexts: their life as Win32 handles, and what they
// keep of each call: the resolved pen and brush with the background state
// that decides their gaps, and texts laid out, decoded and clipped as the
// layer paints them.
#include <gtest/gtest.h>

#include "platform/recording.h"
#include "support/canvas.h"

namespace kestra::test {
namespace {

using platform::RecordedKind;
using platform::Recording;

// A recording DC, closed into its metafile by close().
class Recorder {
 public:
  Recorder() : dc_(CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr)) {}
  ~Recorder() {
    if (dc_) DeleteDC(dc_);
    if (metafile_) DeleteEnhMetaFile(metafile_);
  }
  HDC dc() const { return dc_; }
  const Recording& close() {
    metafile_ = CloseEnhMetaFile(dc_);
    dc_ = nullptr;
    recording_ = platform::recording_of(metafile_);
    return *recording_;
  }

 private:
  HDC dc_;
  HENHMETAFILE metafile_ = nullptr;
  std::shared_ptr<const Recording> recording_;
};

// Selects a new object for the scope and deletes it afterwards.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), previous_(SelectObject(dc, object)) {}
  ~Selected() {
    SelectObject(dc_, previous_);
    DeleteObject(object_);
  }

 private:
  HDC dc_;
  HGDIOBJ object_, previous_;
};

TEST(RecordingDC, LivesAsAWin32Metafile) {
  EXPECT_EQ(CreateEnhMetaFileA(nullptr, "picture.emf", nullptr, nullptr), nullptr);  // memory only
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 4);
  EXPECT_EQ(SelectObject(dc, bitmap), nullptr);  // it takes no bitmap
  EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  ASSERT_NE(metafile, nullptr);
  EXPECT_EQ(CloseEnhMetaFile(dc), nullptr);  // the DC is gone
  EXPECT_FALSE(DeleteObject(metafile));      // a metafile is no GDI object
  EXPECT_TRUE(DeleteEnhMetaFile(metafile));
  EXPECT_FALSE(DeleteEnhMetaFile(metafile));
  EXPECT_FALSE(DeleteEnhMetaFile(reinterpret_cast<HENHMETAFILE>(bitmap)));
  DeleteObject(bitmap);
  // Deleting an open recording releases it too (the test's leak check).
  HDC open = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  Rectangle(open, 0, 0, 5, 5);
  EXPECT_TRUE(DeleteDC(open));
}

TEST(RecordingDC, KeepsThePenGapsAndTheLatchedHatch) {
  Recorder recorder;
  HDC dc = recorder.dc();
  {
    const Selected dotted(dc, CreatePen(PS_DOT, 1, RGB(1, 2, 3)));
    SetBkColor(dc, RGB(0, 0, 255));
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 10, 0);  // OPAQUE: gaps in blue
    SetBkMode(dc, TRANSPARENT);
    LineTo(dc, 10, 10);  // gaps left alone
    const Selected hatch(dc, CreateHatchBrush(HS_CROSS, RGB(9, 9, 9)));
    Rectangle(dc, 0, 0, 2, 2);  // no inside: no first use
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 0, 0));
    Rectangle(dc, 0, 0, 10, 10);  // first use: red gaps latched
    SetBkColor(dc, RGB(0, 255, 0));
    Rectangle(dc, 20, 10, 10, 0);  // still red; corners normalised
  }
  {
    const Selected wide(dc, CreatePen(PS_DOT, 3, RGB(4, 5, 6)));
    LineTo(dc, 0, 0);  // wide pens are solid: no gaps
  }
  const Recording& recording = recorder.close();
  ASSERT_EQ(recording.ops.size(), 6u);
  const auto style = [&](std::size_t op) { return recording.styles[recording.ops[op].index]; };
  EXPECT_EQ(style(0).pen_gaps, RGB(0, 0, 255));
  EXPECT_EQ(style(1).pen_gaps, std::nullopt);
  EXPECT_EQ(style(1).pen_style, PS_DOT);
  EXPECT_EQ(recording.ops[1].a, 10);  // from the current position
  EXPECT_EQ(recording.ops[1].d, 10);
  EXPECT_EQ(style(2).hatch_gaps, std::nullopt);
  EXPECT_EQ(style(3).hatch_gaps, RGB(255, 0, 0));
  EXPECT_EQ(style(4).hatch_gaps, RGB(255, 0, 0));
  EXPECT_EQ(style(4).hatch, HS_CROSS);
  EXPECT_EQ(recording.ops[4].a, 10);
  EXPECT_EQ(recording.ops[4].c, 20);
  EXPECT_EQ(style(5).pen_width, 3);
  EXPECT_EQ(style(5).pen_gaps, std::nullopt);
}

TEST(RecordingDC, KeepsTextsAsTheLayerLaysThemOut) {
  Recorder recorder;
  HDC dc = recorder.dc();
  const Selected font(dc, CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0,
                                      VARIABLE_PITCH, "arial"));
  SetTextColor(dc, RGB(10, 20, 30));
  RECT box{10, 20, 110, 60};
  DrawTextA(dc, "\xC4\xE0 &1<", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SIZE extent{};
  GetTextExtentPoint32A(dc, "\xC4\xE0 1<", 5, &extent);
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, -3, 4, "Q", 1);
  DrawTextA(dc, "", 0, &box, 0);  // nothing to keep
  const Recording& recording = recorder.close();
  ASSERT_EQ(recording.texts.size(), 2u);
  const platform::RecordedText& centred = recording.texts[0];
  EXPECT_EQ(centred.utf8, "\xD0\x94\xD0\xB0 1<");  // cp1251 read as Unicode
  EXPECT_EQ(centred.width, extent.cx);
  EXPECT_EQ(centred.x, (10 + 110 - extent.cx) / 2);  // DrawTextA's own formula
  EXPECT_EQ(centred.y, 20 + 20 - extent.cy / 2);
  EXPECT_EQ(centred.advances.size(), 5u);
  EXPECT_EQ(centred.align, static_cast<UINT>(DT_CENTER));
  EXPECT_EQ(centred.color, RGB(10, 20, 30));
  EXPECT_EQ(centred.background, RGB(255, 255, 255));  // OPAQUE
  ASSERT_TRUE(centred.clip);
  EXPECT_EQ(centred.clip->right, 110);
  ASSERT_TRUE(centred.underline);  // the '1' after the prefix
  EXPECT_EQ(centred.underline->bottom - centred.underline->top, 1);
  const platform::RecordedText& plain = recording.texts[1];
  EXPECT_EQ(plain.utf8, "Q");
  EXPECT_EQ(plain.x, -3);
  EXPECT_EQ(plain.background, std::nullopt);
  EXPECT_EQ(plain.clip, std::nullopt);
  ASSERT_EQ(recording.fonts.size(), 1u);
  EXPECT_EQ(recording.fonts[0].metrics.tmHeight, extent.cy);
  EXPECT_FALSE(recording.fonts[0].file.empty());
  EXPECT_EQ(recording.ops.back().kind, RecordedKind::text);
}

}  // namespace
}  // namespace kestra::test
