#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "platform/object_table.h"
#include "support/canvas.h"

using kestra::platform::live_objects;
using kestra::platform::ObjectKind;

TEST(ObjectTable, CountsLiveObjectsPerKind) {
  const auto pens = live_objects(ObjectKind::pen);
  const auto brushes = live_objects(ObjectKind::brush);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HBRUSH brush = CreateHatchBrush(HS_CROSS, RGB(1, 2, 3));
  EXPECT_EQ(live_objects(ObjectKind::pen), pens + 1);
  EXPECT_EQ(live_objects(ObjectKind::brush), brushes + 1);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_EQ(live_objects(ObjectKind::pen), pens);
  EXPECT_EQ(live_objects(ObjectKind::brush), brushes);
}

TEST(ObjectTable, StaleAndGarbageHandlesFailWithoutCrashing) {
  kestra::test::NoLeakedObjects guard;
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  ASSERT_TRUE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(pen));
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(dc, pen), nullptr);
  EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(0xDEADBEEF)), nullptr);
  EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(0x1234), GetStockObject(BLACK_PEN)), nullptr);
  EXPECT_EQ(GetCurrentObject(reinterpret_cast<HDC>(0x42), OBJ_BITMAP), nullptr);
  EXPECT_EQ(SetPixel(reinterpret_cast<HDC>(0x42), 0, 0, 0), CLR_INVALID);
  EXPECT_FALSE(DeleteObject(dc)) << "a DC is released with DeleteDC";
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
}

// A looked-up object must not outlive its deletion: a picture's pixels are
// tens of megabytes.
TEST(ObjectTable, DeletedObjectIsFreedAtOnceAfterUse) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 64);
  ReleaseDC(nullptr, screen);
  const std::weak_ptr<kestra::platform::GdiObject> object =
      kestra::platform::ObjectTable::instance().find(bitmap);
  BITMAP info{};
  ASSERT_EQ(GetObject(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
  ASSERT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(object.expired());
}

TEST(ObjectTable, StockObjectsAreNeverDeleted) {
  HGDIOBJ brush = GetStockObject(NULL_BRUSH);
  ASSERT_NE(brush, nullptr);
  EXPECT_TRUE(DeleteObject(brush));
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_NE(SelectObject(dc, brush), nullptr);
  DeleteDC(dc);
  EXPECT_EQ(GetStockObject(12345), nullptr);
}

TEST(ObjectTable, SelectedBitmapCannotBeDeletedOrSelectedTwice) {
  kestra::test::NoLeakedObjects guard;
  kestra::test::Canvas canvas(4, 4);
  EXPECT_FALSE(DeleteObject(canvas.bitmap()));
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, canvas.bitmap()), nullptr);
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_BITMAP), canvas.bitmap());
  DeleteDC(other);
}

TEST(ObjectTable, ThreadsCreateAndDeleteConcurrently) {
  kestra::test::NoLeakedObjects guard;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 2000; ++i) {
        kestra::test::Canvas canvas(3, 3);
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(i & 255, 0, 0));
        DeleteObject(SelectObject(canvas.dc(), pen));
        SetPixel(canvas.dc(), 1, 1, RGB(i & 255, 0, 0));
        EXPECT_EQ(canvas.at(1, 1), RGB(i & 255, 0, 0));
        SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
        DeleteObject(pen);
      }
    });
  }
  for (auto& thread : threads) thread.join();
}
