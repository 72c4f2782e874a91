// The about box: the program's title and version, and a button that starts
// the system's information tool where the system has one.
#pragma once
#include "app/dialog_win.h"

class frmAbout : public tl::Dialog {
 public:
  // Opens the box, or brings the open one forward.
  bool Open(HWND owner);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
};
