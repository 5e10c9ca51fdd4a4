// The library's own memory surface (Linux), and surfaces that cannot lend a
// device context.
#include <gtest/gtest.h>

#include "diagram/diagram_fixture.h"
#include "output/target_checks.h"

namespace kestra::test {
namespace {

// A surface that never lends a device context.
struct RefusingSurface final : IDirectDrawSurface {
  HRESULT GetDC(HDC* dc) override {
    *dc = nullptr;
    return DDERR_GENERIC;
  }
  HRESULT ReleaseDC(HDC) override { return DDERR_GENERIC; }
};

TEST(DiagramSurface, NoDeviceContextFromTheSurface) {
  DiagramInput input(1, 2, {1, 2}, 0x3FF);
  RefusingSurface refusing;
  FilledSurface busy(300, 200);
  HDC held = nullptr;
  ASSERT_EQ(busy.get()->GetDC(&held), S_OK);  // a memory surface lends one context at a time
  {
    NoLeakedObjects no_leaks;
    EXPECT_EQ(CreateDiag(input.table, input.disp, &refusing, 2, 1), KESTRA_SURFACE_DC);
    EXPECT_EQ(CreateDiag(input.table, input.disp, busy.get(), 2, 1), KESTRA_SURFACE_DC);
    EXPECT_EQ(CreateDiag(input.table, input.disp, static_cast<IDirectDrawSurface*>(nullptr), 2, 1),
              KESTRA_SURFACE_DC);
  }
  EXPECT_EQ(busy.get()->ReleaseDC(held), S_OK);
  EXPECT_TRUE(busy.untouched());
}

TEST(MemorySurface, LendsOneContextAndTakesBackOnlyThatOne) {
  const std::size_t before = live_gdi_objects();
  IDirectDrawSurface* surface = CreateMemorySurface(4, 3);
  ASSERT_NE(surface, nullptr);
  HDC first = nullptr, second = nullptr;
  ASSERT_EQ(surface->GetDC(&first), S_OK);
  EXPECT_EQ(GetCurrentObject(first, OBJ_BITMAP), MemorySurfaceBitmap(surface));
  EXPECT_NE(surface->GetDC(&second), S_OK);
  EXPECT_EQ(second, nullptr);
  EXPECT_NE(surface->ReleaseDC(nullptr), S_OK);
  EXPECT_EQ(surface->ReleaseDC(first), S_OK);
  EXPECT_NE(surface->ReleaseDC(first), S_OK);
  EXPECT_EQ(surface->GetDC(&first), S_OK);  // deleted while lent: the context goes too
  DeleteMemorySurface(surface);
  EXPECT_EQ(live_gdi_objects(), before);
}

TEST(MemorySurface, RefusesWhatIsNotOne) {
  RefusingSurface refusing;
  EXPECT_EQ(CreateMemorySurface(0, 10), nullptr);
  EXPECT_EQ(CreateMemorySurface(10, -1), nullptr);
  EXPECT_EQ(MemorySurfaceBitmap(&refusing), nullptr);
  EXPECT_EQ(MemorySurfaceBitmap(nullptr), nullptr);
  DeleteMemorySurface(&refusing);  // not a memory surface: left alone
  DeleteMemorySurface(nullptr);
}

}  // namespace
}  // namespace kestra::test
