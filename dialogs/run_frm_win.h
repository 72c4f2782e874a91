// The "Run Program" dialog: runs a typed or picked command through the
// shell and keeps the last commands in "prog.ini".
#pragma once
#include <string>
#include <vector>

#include "app/dialog_win.h"

class RunFrm : public tl::Dialog {
 public:
  // Opens the dialog, or brings the open one forward.
  bool Open(HWND owner);

  void OkBtn_Click();
  void CancelBtn_Click() { End(IDCANCEL); }
  void BrowseBtn_Click();

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  // Enter in the command box runs the command even while Ok is disabled.
  void OnOk() override { OkBtn_Click(); }
  void OnCancel() override { CancelBtn_Click(); }
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Combo1_Change();
  void SetCommand(const std::string& text);
  std::vector<std::string> history_;  // what Combo1's list holds, oldest first
};
