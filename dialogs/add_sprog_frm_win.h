// The special-program dialog: adds a row to, or changes one in, the Options
// dialog's special-program list. Opened over the Options dialog, which stays
// disabled until this one closes.
#pragma once
#include <string>

#include "app/dialog_win.h"

inline constexpr const char* kAddProgramCaption = "Add new program";
inline constexpr const char* kChangeProgramCaption = "Change program Properties";

class AddSProgFrm : public tl::Dialog {
 public:
  struct Request {
    HWND options = nullptr;  // disabled while this dialog is open
    HWND list = nullptr;     // the rows edited
    std::string caption;     // kAddProgramCaption or kChangeProgramCaption
    std::string path;
    int option = 2;
  };
  bool Open(const Request& r);
  std::string GetSelectedOptText() const;

  void cmdApply_Click();
  void cmdOK_Click();
  void cmdCancel_Click() { End(IDCANCEL); }
  void BrowseBtn_Click();

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOk() override { cmdOK_Click(); }
  void OnCancel() override { cmdCancel_Click(); }
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool ChangeMode() const { return req_.caption == kChangeProgramCaption; }
  Request req_;
};
