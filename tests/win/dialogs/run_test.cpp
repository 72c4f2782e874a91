// The Run dialog driven by its control IDs; its history read back from
// prog.ini as bytes.
#include <gtest/gtest.h>

#include "app/dialog_win.h"
#include "app/program_win.h"
#include "dialogs/dialogs_res.h"
#include "dialogs/dialogs_win.h"
#include "dialogs_test_util.h"

using namespace dlgtest;

namespace {

std::string Key(int i) { return std::string("App").append(std::to_string(i)); }
std::string Cmd(int i) { return std::string("c").append(std::to_string(i)).append(".exe"); }

class RunDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    FreshProgram();
    ini = ModMain::Prog().IniPath;
  }
  void TearDown() override {
    if (Dialogs::RunWindow()) Click(Dialogs::RunWindow(), IDC_RUNFRM_CANCELBTN);
  }
  HWND Open() {
    Dialogs::ShowRunDialog(nullptr);
    return Dialogs::RunWindow();
  }
  // Typed into the combo box's edit field over what it held.
  void Type(HWND dlg, const char* text) {
    HWND edit = GetWindow(GetDlgItem(dlg, IDC_RUNFRM_COMBO1), GW_CHILD);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 0);
    for (const char* c = text; *c; ++c) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*c), 0);
  }
  // Runs the command and answers the "File not found" box.
  void RunNotFound(HWND dlg, bool byEnter) {
    tltest::MessageBoxInfo seen = tltest::AnsweringBoxes("OK", [&] {
      if (byEnter) {
        MSG m = {GetWindow(GetDlgItem(dlg, IDC_RUNFRM_COMBO1), GW_CHILD), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
        EXPECT_TRUE(tl::Dialog::PreTranslate(m));
      } else {
        Click(dlg, IDC_RUNFRM_OKBTN);
      }
    });
    EXPECT_EQ(seen.text, "File not found");
    EXPECT_EQ(seen.icon, LoadIconA(nullptr, IDI_HAND));
    EXPECT_TRUE(IsWindow(dlg));
  }
  std::string File() { return tltest::ReadFileBytes(ini); }
  std::string ini;
};

TEST_F(RunDialog, HistoryKeepsTheLastTwentyCommandsAndIsSavedOnClose) {
  WritePrivateProfileStringA("RunApp", "Number", "18", ini.c_str());
  for (int i = 0; i <= 18; ++i) {
    WritePrivateProfileStringA("RunApp", Key(i).c_str(), Cmd(i).c_str(), ini.c_str());
  }
  HWND dlg = Open();
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(Text(dlg, IDC_RUNFRM_COMBO1), "c0.exe");  // the oldest
  EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_RUNFRM_COMBO1, CB_GETCOUNT, 0, 0), 19);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDC_RUNFRM_OKBTN)));
  Type(dlg, "");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_RUNFRM_OKBTN)));

  RunNotFound(dlg, true);  // Enter with an empty box: ".exe", the 20th entry
  Type(dlg, "missing.txt");  // has a dot: kept as typed
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDC_RUNFRM_OKBTN)));
  RunNotFound(dlg, false);
  EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_RUNFRM_COMBO1, CB_GETCOUNT, 0, 0), 20);
  Click(dlg, IDC_RUNFRM_CANCELBTN);
  EXPECT_FALSE(IsWindow(dlg));

  std::string expected = "[RunApp]\r\nNumber=19\r\n";
  for (int i = 0; i < 18; ++i) expected.append(Key(i)).append("=").append(Cmd(i + 1)).append("\r\n");
  expected += "App18=.exe\r\nApp19=missing.txt\r\n";
  EXPECT_EQ(File(), expected);
}

TEST_F(RunDialog, ABareNameFoundInTheSystemFolderRunsWithExeAdded) {
  HWND dlg = Open();
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(Text(dlg, IDC_RUNFRM_COMBO1), "");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_RUNFRM_OKBTN)));
  Type(dlg, "hostname");
  Click(dlg, IDC_RUNFRM_OKBTN);
  EXPECT_FALSE(IsWindow(dlg));
  EXPECT_EQ(File(), "[RunApp]\r\nNumber=0\r\nApp0=hostname.exe\r\n");
}

TEST_F(RunDialog, AnUnwritableHistoryFileClosesQuietlyAndKeepsItsContent) {
  const std::string before = "[Classes]\r\nNumber=1\r\nClass1=RUNDLL\r\n[RunApp]\r\nNumber=0\r\nApp0=old.exe\r\n";
  tltest::WriteFileBytes(ini, before);
  // Held open by another program that lets nobody write (Wine, run as root,
  // would write past a read-only attribute).
  HANDLE lock = CreateFileA(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  HWND dlg = Open();
  ASSERT_NE(dlg, nullptr);
  Type(dlg, "gone.txt");
  RunNotFound(dlg, false);
  Click(dlg, IDC_RUNFRM_CANCELBTN);
  EXPECT_FALSE(IsWindow(dlg));
  EXPECT_EQ(File(), before);
  CloseHandle(lock);
}

}  // namespace

// The about box: made from its template, the system information button
// greyed where the system has no such tool (Wine has none), OK closes it.
TEST(AboutBox, OpensFromItsTemplateAndClosesWithOk) {
  FreshProgram();
  Dialogs::ShowAboutDialog(nullptr);
  HWND dlg = Dialogs::AboutWindow();
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(IsWindowVisible(dlg));
  char found[MAX_PATH];
  bool tool = SearchPathA(nullptr, "msinfo32.exe", nullptr, MAX_PATH, found, nullptr) != 0;
  EXPECT_EQ(IsWindowEnabled(GetDlgItem(dlg, IDC_FRMABOUT_SYSINFO)) != FALSE, tool);
  Click(dlg, IDOK);
  EXPECT_EQ(Dialogs::AboutWindow(), nullptr);
}
