// The Options and special-program dialogs driven by their control IDs, with
// what they store read back from the registry byte for byte.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/program_win.h"
#include "dialogs/dialogs_res.h"
#include "dialogs/dialogs_win.h"
#include "dialogs_test_util.h"

using namespace dlgtest;
using tltest::Section;

namespace {

class OptionsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    FreshProgram();
    Dialogs::Wire().stopPopupBlocking = [this] { ++stops; };
    Dialogs::Wire().applySystemSettings = [this] { ++applies; return false; };
    stored = Section("Options");
    Dialogs::ShowOptionsDialog(nullptr, 0);
    dlg = Dialogs::OptionsWindow();
    ASSERT_NE(dlg, nullptr);
  }
  void TearDown() override {
    if (Dialogs::OptionsWindow()) Click(Dialogs::OptionsWindow(), IDC_FRMOPTIONS_CMDCANCEL);
  }
  int Tab() const { return int(SendDlgItemMessageA(dlg, IDC_FRMOPTIONS_SSTAB1, TCM_GETCURSEL, 0, 0)); }
  HWND List() const { return GetDlgItem(dlg, IDC_FRMOPTIONS_SPROGSLIST); }
  void SelectRow(int row) {  // -1: every row
    LVITEMA st{};
    st.stateMask = LVIS_SELECTED;
    SendMessageA(List(), LVM_SETITEMSTATE, -1, reinterpret_cast<LPARAM>(&st));
    st.state = LVIS_SELECTED;
    SendMessageA(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&st));
  }
  // A real click on a tab's caption; false when the dialog stays where it was.
  bool PickTab(int tab) {
    HWND tabs = GetDlgItem(dlg, IDC_FRMOPTIONS_SSTAB1);
    RECT r;
    SendMessageA(tabs, TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&r), 2);
    tltest::ClickAt(r);
    return tltest::WaitUntil([&] { return Tab() == tab; }, 2000, /*pump=*/true);
  }

  HWND dlg = nullptr;
  int stops = 0;
  int applies = 0;
  std::map<std::string, std::string> stored;
};

// The order of the checks is the core's; here one on each tab, its box read for real.
TEST_F(OptionsDialog, EachCheckShowsItsMessageOnItsTabAndStoresNothing) {
  auto expectError = [&](int button, const char* message, int tab) {
    tltest::MessageBoxInfo seen = tltest::AnsweringBoxes("OK", [&] { Click(dlg, button); });
    EXPECT_EQ(seen.text, message);
    EXPECT_EQ(seen.buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(seen.icon, LoadIconA(nullptr, IDI_HAND));
    EXPECT_EQ(Tab(), tab);
    EXPECT_TRUE(IsWindow(dlg));  // OK kept it open
  };
  Click(dlg, IDC_FRMOPTIONS_CHECK2);  // the restart hotkey on, with no modifier
  expectError(IDC_FRMOPTIONS_CMDOK,
              "Please select ALT or CTRL or SHIFT in the Hot Key of 'Terminate and restart a program'", 0);
  CheckDlgButton(dlg, IDC_FRMOPTIONS_CHECK2, BST_UNCHECKED);
  for (int i = 0; i < 12; ++i) CheckDlgButton(dlg, IDC_FRMOPTIONS_APPLISTCHK0 + i, BST_UNCHECKED);
  expectError(IDC_FRMOPTIONS_CMDAPPLY, "You must select at least one column in programs list", 3);
  EXPECT_EQ(Section("Options"), stored);
  EXPECT_EQ(applies, 0);
}

TEST_F(OptionsDialog, HotkeyCharacterStoresTheUpperCaseCodeAndAnEmptyBoxPutsItsDefaultBack) {
  HWND box = GetDlgItem(dlg, IDC_FRMOPTIONS_TXTCHARCODE0);
  SetFocus(box);
  SetWindowTextA(box, "");
  SetFocus(GetDlgItem(dlg, IDC_FRMOPTIONS_CHKSTARTUP));
  EXPECT_EQ(Text(dlg, IDC_FRMOPTIONS_TXTCHARCODE0), "E");

  SetWindowTextA(box, "q");
  CheckDlgButton(dlg, IDC_FRMOPTIONS_CHKCTRL0, BST_UNCHECKED);
  Click(dlg, IDC_FRMOPTIONS_CHKSHIFT0);
  Click(dlg, IDC_FRMOPTIONS_CHKSTARTUP);  // was ticked
  Click(dlg, IDC_FRMOPTIONS_CMDOK);
  EXPECT_FALSE(IsWindow(dlg));
  auto now = Section("Options");
  EXPECT_EQ(now["AppHK.CharCode"], tltest::RegSz("81"));
  EXPECT_EQ(now["AppHK.Modifiers"], tltest::RegSz("5"));  // ALT + SHIFT
  EXPECT_EQ(now["RunAtStartUp"], tltest::RegSz("0"));
  EXPECT_EQ(applies, 1);
}

TEST_F(OptionsDialog, DefaultAskedAndCancelledChangesNothingConfirmedStoresTheResetValues) {
  Click(dlg, IDC_FRMOPTIONS_CHKSPLASHATSTARTUP);
  Click(dlg, IDC_FRMOPTIONS_CMDAPPLY);
  auto changed = Section("Options");
  ASSERT_NE(changed, stored);

  Click(dlg, IDC_FRMOPTIONS_POPPLAYSNDCHK);  // an unsaved change in the controls
  auto reset = [&] { Click(dlg, IDC_FRMOPTIONS_DEFAULTBTN); };
  tltest::MessageBoxInfo seen = tltest::AnsweringBoxes("Cancel", reset);
  EXPECT_EQ(seen.text, "Are you sure you want set all options to default settings?");
  EXPECT_EQ(seen.buttons, (std::vector<std::string>{"OK", "Cancel"}));
  EXPECT_EQ(seen.defaultButton, "Cancel");
  EXPECT_EQ(seen.icon, LoadIconA(nullptr, IDI_QUESTION));
  EXPECT_EQ(Section("Options"), changed);
  EXPECT_FALSE(Ticked(dlg, IDC_FRMOPTIONS_POPPLAYSNDCHK));

  ASSERT_EQ(tltest::AnsweringBoxes("OK", reset).text, seen.text);
  EXPECT_EQ(Section("Options"), stored);
  EXPECT_TRUE(Ticked(dlg, IDC_FRMOPTIONS_CHKSPLASHATSTARTUP));  // shown at once
  EXPECT_TRUE(Ticked(dlg, IDC_FRMOPTIONS_POPPLAYSNDCHK));
  Click(dlg, IDC_FRMOPTIONS_CMDCANCEL);
  EXPECT_EQ(Section("Options"), stored);
}

TEST_F(OptionsDialog, RemovedRowsAreStoredOnlyByOk) {
  ASSERT_EQ(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_FRMOPTIONS_REMOVEBTN)));
  SelectRow(-1);  // all
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDC_FRMOPTIONS_REMOVEBTN)));
  Click(dlg, IDC_FRMOPTIONS_REMOVEBTN);
  EXPECT_EQ(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_FRMOPTIONS_REMOVEBTN)));
  Click(dlg, IDC_FRMOPTIONS_CMDCANCEL);
  EXPECT_EQ(Section("Options"), stored);

  Dialogs::ShowOptionsDialog(nullptr, 0);
  dlg = Dialogs::OptionsWindow();
  ASSERT_EQ(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0), 2);
  SelectRow(-1);
  Click(dlg, IDC_FRMOPTIONS_REMOVEBTN);
  Click(dlg, IDC_FRMOPTIONS_CMDOK);
  auto now = Section("Options");
  EXPECT_EQ(now["SProgCount"], tltest::RegSz("0"));
  EXPECT_EQ(now.count("SProg1") + now.count("SProg2"), 0u);
}

TEST_F(OptionsDialog, ChangingTheConnectionKindStopsBlockingOnce) {
  EXPECT_FALSE(PickTab(1));  // not offered
  ASSERT_TRUE(PickTab(5));
  ASSERT_TRUE(Ticked(dlg, IDC_FRMOPTIONS_LANCONOPT0));
  Click(dlg, IDC_FRMOPTIONS_LANCONOPT1);
  Click(dlg, IDC_FRMOPTIONS_CMDAPPLY);
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(tltest::Setting("Options", "LANCon"), "1");
  Click(dlg, IDC_FRMOPTIONS_CMDAPPLY);
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(applies, 2);
}

TEST_F(OptionsDialog, SpecialProgramsAreAddedChangedSwitchedOffAndStored) {
  std::string folder = tltest::MakeTempDir("sprog");
  std::string tool = folder + "\\Tool.EXE";
  CloseHandle(CreateFileA(tool.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  auto lower = [](std::string s) { CharLowerBuffA(s.data(), DWORD(s.size())); return s; };

  Click(dlg, IDC_FRMOPTIONS_ADDBTN);
  HWND add = tltest::FindProcessWindow(GetCurrentProcessId(), "#32770", "Add new program", 5000);
  ASSERT_NE(add, nullptr);
  EXPECT_FALSE(IsWindowEnabled(dlg));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(add, IDC_ADDSPROGFRM_CMDAPPLY)));
  // A path that does not exist needs a yes; No adds nothing.
  SetDlgItemTextA(add, IDC_ADDSPROGFRM_SPROGTXT, "C:\\No\\Such.exe");
  tltest::MessageBoxInfo seen = tltest::AnsweringBoxes("&No", [&] { Click(add, IDC_ADDSPROGFRM_CMDAPPLY); });
  EXPECT_EQ(seen.text, "The file C:\\No\\Such.exe wasn't found, Are you still sure you want to add it?");
  EXPECT_EQ(seen.defaultButton, "&No");
  EXPECT_EQ(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(add, IDC_ADDSPROGFRM_CMDAPPLY)));
  // An existing file goes in without a question, in lower case.
  SetDlgItemTextA(add, IDC_ADDSPROGFRM_SPROGTXT, tool.c_str());
  Click(add, IDC_ADDSPROGFRM_SPROGOPT0);
  Click(add, IDC_ADDSPROGFRM_CMDOK);
  EXPECT_FALSE(IsWindow(add));
  EXPECT_TRUE(IsWindowEnabled(dlg));
  ASSERT_EQ(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0), 3);

  // Switch the first row off, then change it: it moves to the end, still off.
  SelectRow(0);
  Click(dlg, IDC_FRMOPTIONS_ENABLEBTN);
  Click(dlg, IDC_FRMOPTIONS_CHANGEBTN);
  HWND change = tltest::FindProcessWindow(GetCurrentProcessId(), "#32770", "Change program Properties", 5000);
  ASSERT_NE(change, nullptr);
  std::string explorer = Text(change, IDC_ADDSPROGFRM_SPROGTXT);
  EXPECT_TRUE(Ticked(change, IDC_ADDSPROGFRM_SPROGOPT0 + 2));
  Click(change, IDC_ADDSPROGFRM_SPROGOPT0 + 1);
  Click(change, IDC_ADDSPROGFRM_CMDOK);
  Click(dlg, IDC_FRMOPTIONS_CMDOK);

  auto now = Section("Options");
  std::string kernel = lower(ModMain::Prog().Env().dirs.systemDir + "\\kernel32.dll");
  EXPECT_EQ(now["SProgCount"], tltest::RegSz("3"));
  EXPECT_EQ(now["SProg1"], tltest::RegSz(kernel + ",0;1"));
  EXPECT_EQ(now["SProg2"], tltest::RegSz(lower(tool) + ",0;1"));
  EXPECT_EQ(now["SProg3"], tltest::RegSz(explorer + ",1;2"));
}

}  // namespace
