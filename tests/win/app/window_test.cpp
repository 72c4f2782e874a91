// The window base class: a window whose creation fails stays the caller's
// to delete (a self-deleting window must not be deleted twice).
#include <gtest/gtest.h>

#include "app/window_win.h"

namespace {

class RefusingWindow : public tl::Window {
 public:
  int destroyedCalls = 0;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_NCCREATE) return FALSE;  // as a failed creation would
    return Default(msg, wp, lp);
  }
  void OnDestroyed() override { ++destroyedCalls; }
};

class PlainWindow : public tl::Window {
 public:
  int destroyedCalls = 0;

 protected:
  void OnDestroyed() override { ++destroyedCalls; }
};

TEST(WindowBase, FailedCreationDoesNotReportDestruction) {
  auto* w = new RefusingWindow;
  EXPECT_FALSE(w->Create("TlTestRefusing", "x", WS_POPUP, 0, 0, 0, 10, 10));
  EXPECT_EQ(w->destroyedCalls, 0);
  EXPECT_EQ(w->hwnd(), nullptr);
  delete w;

  PlainWindow p;
  ASSERT_TRUE(p.Create("TlTestPlain", "x", WS_POPUP, 0, 0, 0, 10, 10));
  p.Destroy();
  EXPECT_EQ(p.destroyedCalls, 1);
  EXPECT_EQ(p.hwnd(), nullptr);
}

}  // namespace
