// The window and dialog base classes: a window whose creation fails stays
// the caller's to delete (a self-deleting window must not be deleted twice);
// a dialog from a small template, modal and modeless, ended by its buttons
// and by the keyboard through PreTranslate.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>

#include "app/dialog_win.h"
#include "app/window_win.h"
#include "dialog_test.h"
#include "win_test_util.h"

namespace {

class NameDialog : public tl::Dialog {
 public:
  std::string name;  // read at OK
  bool cancelled = false;

 protected:
  bool OnInit() override {
    SetDlgItemTextA(hwnd(), IDC_TESTDLG_NAME, "start");
    return true;
  }
  bool OnCommand(int id, int, HWND) override {
    if (id == IDC_TESTDLG_THROW) throw std::runtime_error("handler failed");
    return false;
  }
  void OnOk() override {
    char buf[64] = {};
    GetDlgItemTextA(hwnd(), IDC_TESTDLG_NAME, buf, sizeof buf);
    name = buf;
    Dialog::OnOk();
  }
  void OnCancel() override {
    cancelled = true;
    Dialog::OnCancel();
  }
};

// Presses buttons of the modal dialog from a second thread, in order.
std::thread Press(std::initializer_list<int> ids, const char* typed = nullptr) {
  return std::thread([ids = std::vector<int>(ids), typed] {
    HWND box = tltest::WaitForMessageBox(GetCurrentProcessId(), "Dialog base test", 10000);
    if (!box) return;
    if (typed) SetDlgItemTextA(box, IDC_TESTDLG_NAME, typed);
    for (int id : ids) SendMessageA(GetDlgItem(box, id), BM_CLICK, 0, 0);
  });
}

bool Key(UINT vk) {
  MSG m = {GetFocus(), WM_KEYDOWN, vk, 1, GetTickCount(), {}};
  return tl::Dialog::PreTranslate(m);
}

TEST(DialogBase, ModalEndsByItsButtonsAndAThrowingHandlerStaysInside) {
  NameDialog d;
  std::thread t = Press({IDC_TESTDLG_THROW, IDOK}, "typed");
  EXPECT_EQ(d.ShowModal(IDD_TESTDLG, nullptr), IDOK);
  t.join();
  EXPECT_EQ(d.name, "typed");
  EXPECT_EQ(d.hwnd(), nullptr);

  t = Press({IDCANCEL});
  EXPECT_EQ(d.ShowModal(IDD_TESTDLG, nullptr), IDCANCEL);
  t.join();
  EXPECT_TRUE(d.cancelled);
  EXPECT_EQ(d.ShowModal(12345, nullptr), -1);  // no such template
}

TEST(DialogBase, ModelessIsDrivenByTheKeyboardThroughPreTranslate) {
  NameDialog d;
  ASSERT_TRUE(d.Create(IDD_TESTDLG, nullptr));
  HWND dlg = d.hwnd();
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
