// The main window. Created hidden at start-up; its page, toolbars and menus
// grow here. It holds the states the settings are applied to.
#pragma once
#include <cstdint>

#include "app/window_win.h"

class InterfaceFrm : public tl::Window {
 public:
  bool Load();  // creates the window, hidden

  // Menu commands the settings invoke.
  void mnuSettingsTop_Click();                // toggles always-on-top
  void mnuSettingsUpdateSpd_Click(int index); // 0..3: 4 s, 20 s, 35 s, paused
  void SetStartupChecks(bool messengerBlock, bool popBlock);

  bool AlwaysOnTop() const { return topChecked_; }
  int UpdateSpeedIndex() const { return speedIndex_; }
  bool MsgBlockChecked() const { return msgBlockChecked_; }
  bool PopBlockChecked() const { return popBlockChecked_; }

  static constexpr int16_t FastInterval = 4;
  static constexpr int kWidth = 420;
  static constexpr int kHeight = 320;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool topChecked_ = false;
  int speedIndex_ = 0;
  bool msgBlockChecked_ = false;
  bool popBlockChecked_ = false;
};
