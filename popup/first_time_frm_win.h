// The first-use notice: a small always-on-top message that explains a
// feature once, with a box to suppress it for good.
#pragma once
#include <windows.h>

#include <cstdint>

#include "app/form_win.h"

// Shows notice intMsgID modally, owned by OwnerFrm; false at once when the
// user suppressed it earlier.
bool ShowFirstTime(int16_t intMsgID, HWND OwnerFrm);

class FirstTimeFrm {
 public:
  enum ControlId {
    IDC_FIRSTTIMEFRM_MSGBODYLBL = 201,
    IDC_FIRSTTIMEFRM_DONTDISPLAYCHK,
    IDC_FIRSTTIMEFRM_OKBUTTON,
    IDC_FIRSTTIMEFRM_IMAGE1,
    IDC_FIRSTTIMEFRM_LINE1,
    IDC_FIRSTTIMEFRM_LINE2,
  };

  explicit FirstTimeFrm(int16_t msgId) : msgId_(msgId) {}
  FirstTimeFrm(const FirstTimeFrm&) = delete;
  FirstTimeFrm& operator=(const FirstTimeFrm&) = delete;

  // Runs the modal loop; returns when the form is closed.
  void ShowModal(HWND owner);
  void OKButton_Click();

 private:
  static INT_PTR CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  void Form_Load();
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  int16_t msgId_;
  tl::FormLayout layout_;
};
