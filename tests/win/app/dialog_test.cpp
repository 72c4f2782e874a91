// The window and dialog base classes: a window whose creation fails stays
// the caller's to delete (a self-deleting window must not be deleted twice);
// a dialog from a small template driven by the keyboard through PreTranslate,
// a throwing handler kept inside it.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/dialog_win.h"
#include "app/window_win.h"
#include "dialog_test.h"
#include "win_test_util.h"

namespace {

class NameDialog : public tl::Dialog {
 public:
  bool cancelled = false;

 protected:
  bool OnCommand(int id, int, HWND) override {
    if (id == IDC_TESTDLG_THROW) throw std::runtime_error("handler failed");
    return false;
  }
  void OnCancel() override {
    cancelled = true;
    Dialog::OnCancel();
  }
};

bool Key(UINT vk) {
  MSG m = {GetFocus(), WM_KEYDOWN, vk, 1, GetTickCount(), {}};
  return tl::Dialog::PreTranslate(m);
}

// The program's dialogs are all modeless: the base's modal run is none of theirs.
TEST(DialogBase, ModelessIsDrivenByTheKeyboardAndAThrowingHandlerStaysInside) {
  NameDialog d;
  ASSERT_TRUE(d.Create(IDD_TESTDLG, nullptr));
  HWND dlg = d.hwnd();
  SendMessageA(GetDlgItem(dlg, IDC_TESTDLG_THROW), BM_CLICK, 0, 0);
  ASSERT_TRUE(IsWindow(dlg));
  SetFocus(GetDlgItem(dlg, IDC_TESTDLG_NAME));
  EXPECT_TRUE(Key(VK_TAB));
  EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_TESTDLG_REMEMBER));
  // Keys of a window that is no dialog's are left to the loop.
  HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                               nullptr, nullptr, nullptr);
  MSG m = {other, WM_KEYDOWN, VK_TAB, 1, 0, {}};
  EXPECT_FALSE(tl::Dialog::PreTranslate(m));
  DestroyWindow(other);

  // Enter on the default button: the Run dialog's test.
  SetFocus(GetDlgItem(dlg, IDC_TESTDLG_NAME));
  EXPECT_TRUE(Key(VK_ESCAPE));
  EXPECT_TRUE(d.cancelled);
  EXPECT_EQ(d.hwnd(), nullptr);
  EXPECT_FALSE(IsWindow(dlg));
}

class PlainWindow : public tl::Window {
 public:
  int destroyedCalls = 0;

 protected:
  void OnDestroyed() override { ++destroyedCalls; }
};

class RefusingWindow : public PlainWindow {
 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_NCCREATE) return FALSE;  // as a failed creation would
    return Default(msg, wp, lp);
  }
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
