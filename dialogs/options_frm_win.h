// The Options dialog: edits the settings record on seven tabs and stores it
// on Apply or OK. Every opening starts from the stored settings.
#pragma once
#include <vector>

#include "app/dialog_win.h"
#include "dialogs/add_sprog_frm_win.h"
#include "dialogs/options_rules.h"

class frmOptions : public tl::Dialog {
 public:
  static constexpr int kTabs = 7;
  bool Open(HWND owner, int tab);
  // Shows a tab's controls; also a tab the user cannot pick.
  void SelectTab(int tab);
  int CurrentTab() const { return tab_; }
  bool TabAvailable(int tab) const { return tab >= 0 && tab < kTabs && available_[tab]; }

  void ChkBtnsEnbl();
  // True when an error was found and shown.
  bool CheckErrors();
  // True when the dialog must stay open.
  bool ApplySettings();

  void cmdApply_Click() { ApplySettings(); }
  void cmdOK_Click();
  void cmdCancel_Click() { End(IDCANCEL); }
  void DefaultBtn_Click();
  void HelpBtn_Click();
  void AddBtn_Click();
  void ChangeBtn_Click();
  void RemoveBtn_Click();
  void EnableBtn_Click();
  void ShiftItemBtn_Click(int index);
  void BrowseBtn_Click();
  void Label9_Click();

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOk() override { cmdOK_Click(); }
  void OnCancel() override { cmdCancel_Click(); }
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void OpeningSteps();
  void FillControls(const tl::OptionsValues& v);
  tl::OptionsValues ReadControls() const;
  void ShowControls();
  void txtCharCode_LostFocus(int index);
  void OpenProgramDialog(const char* caption, const std::string& path, int option);
  void ShowError(const char* message);

  int tab_ = 0;
  bool available_[kTabs] = {true, true, true, true, true, true, true};
  std::vector<int> hidden_;  // controls kept hidden whatever the tab
  size_t appColumns_ = 0;
  size_t wndColumns_ = 0;
  AddSProgFrm programForm_;
};
