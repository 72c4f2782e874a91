// The main window. Created hidden at start-up; its page, toolbars and menus
// grow here. It holds the states the settings are applied to.
#pragma once
#include <cstdint>
#include <string>

#include "app/window_win.h"

class InterfaceFrm : public tl::Window {
 public:
  bool Load();  // creates the window, hidden

  // Menu commands the settings invoke.
  void mnuSettingsTop_Click();                // toggles always-on-top
  void mnuSettingsUpdateSpd_Click(int index); // 0..3: 4 s, 20 s, 35 s, paused
  void SetStartupChecks(bool messengerBlock, bool popBlock);

  // Refreshes the page shown (the main loop calls it at the update speed).
  void DoRefresh();
  // Selects a page by its Toolbar1 key ("PopUp").
  void TlbButtons(const std::string& key);
  // Runs the action of a MainTbl button by its key ("MoreTools").
  void MainTbl_ButtonClick(const std::string& key);
  void BringForward();
  // Puts the window on top or not, as the always-on-top item says.
  void ApplyAlwaysOnTop();

  void Command1_Click();  // "Con": act as if a dial-up connection were up
  void Command2_Click();  // "Dis"

  bool AlwaysOnTop() const { return topChecked_; }
  int UpdateSpeedIndex() const { return speedIndex_; }
  bool MsgBlockChecked() const { return msgBlockChecked_; }
  bool PopBlockChecked() const { return popBlockChecked_; }
  uint32_t RefreshCount() const { return refreshCount_; }
  // Seconds between refreshes at the chosen update speed; 0 = paused.
  int16_t RefreshIntervalSeconds() const { return refreshInterval_; }

  static constexpr int16_t FastInterval = 4;
  static constexpr int kWidth = 420;
  static constexpr int kHeight = 320;
  enum ControlId { IDC_INTERFACEFRM_COMMAND1 = 201, IDC_INTERFACEFRM_COMMAND2 };

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool topChecked_ = false;
  int speedIndex_ = 0;
  int16_t refreshInterval_ = 0;
  bool msgBlockChecked_ = false;
  bool popBlockChecked_ = false;
  uint32_t refreshCount_ = 0;
  std::string page_;
};
