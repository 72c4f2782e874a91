// The activity reminder, the dial-up connection test and the reminder form.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "app/form_win.h"
#include "app/reminder.h"
#include "app/window_win.h"

namespace IntMod {

extern bool SimulatedConnection;  // "Con"/"Dis" on the main window
extern tl::ReminderState Reminder;
extern POINT LastCursorPos;
extern POINT CurrentCursorPos;
// What the reminder's Settings button opens; set by the program root.
extern std::function<void()> ShowSettings;

void ReminderTick(uint32_t tick);
bool UserWasActive();
bool IsDialUpConnected();
// The system reports a working internet connection (LAN, Wi-Fi or any
// other); now is the tick of the asking pass.
bool IsInternetConnected(uint32_t now);
void ShowFrm(int16_t intMsgType, const std::string& MsgTitle, const std::string& MsgText);

}  // namespace IntMod

class RemindersMsgFrm : public tl::Window {
 public:
  // The open form, or nullptr.
  static RemindersMsgFrm* Current();
  bool Load();
  void Show(int16_t msgType, const std::string& title, const std::string& text);

  void OKButton_Click();
  void SettingsBtn_Click();
  void Form_Unload();

  enum ControlId { IDC_LABEL1 = 101, IDC_DONTSHOWCHK, IDC_SETTINGSBTN, IDC_OKBUTTON, IDC_CLOCKIMG };

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDestroyed() override;

 private:
  void PaintClock(HDC dc, const RECT& r);
  int16_t msgType_ = 0;
  bool unloading_ = false;
  tl::FormLayout layout_;
};
