// The add/modify browser dialog of the manager page: a browser typed in or
// picked from the predefined browsers installed here. One instance; OK hides
// it and keeps its predefined list, Cancel destroys it.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/dialog_win.h"
#include "popup/add_browser_frm_ids.h"
#include "popup/pop_manager.h"

namespace ModPop {
class PopupBlocker;
}

class AddBrowserFrm : public tl::Dialog {
 public:
  struct Commands {
    std::function<void()> ShowHelp;          // the online help page
    std::function<void()> ShowSoundOptions;  // Options, "Pop-up blocker" tab
  };

  explicit AddBrowserFrm(ModPop::PopupBlocker& blocker) : blocker_(blocker) {}
  Commands commands;
  // Owner of the dialog (a window of the page's top level).
  void SetOwner(HWND owner) { owner_ = owner; }

  void ShowAddBrowserFrm(const std::string& path);
  // k: row number from 1; entry k - 1 is changed.
  void ShowModifyBrowserFrm(int16_t k);
  // True (after the message) when another entry has this path.
  bool CheckError(const std::string& path);

  void OkBtn_Click();
  void CancelBtn_Click() { End(IDCANCEL); }
  void BrowseBtn_Click();
  void PopDisNotfChk_Click();
  void ChangeSoundFileLbl_Click();

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOk() override { OkBtn_Click(); }
  void OnCancel() override { CancelBtn_Click(); }
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool Ensure();
  void ShowTab(int tab);
  void ShowOptions(bool show);
  void Present();
  std::string Text(int id) const;

  ModPop::PopupBlocker& blocker_;
  HWND owner_ = nullptr;
  bool adding_ = true;
  int16_t k_ = 0;
  int tab_ = 0;
  std::vector<tl::PreDefRow> preDef_;
};
