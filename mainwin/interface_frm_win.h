// The main window: the command toolbar, the page toolbar, the page area and
// the hint line; the pop-up menus and every command the user gives here; the
// notification-area icon's mouse messages. Created hidden at start-up and
// kept until the exit sequence; closing it only hides it.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "app/form_win.h"
#include "app/window_win.h"
#include "mainwin/gradient.h"

class InterfaceFrm : public tl::Window {
 public:
  // Operations of other parts, wired by the program root. A command whose
  // operation is not set does nothing.
  struct Commands {
    std::function<void()> ShowMainWindow;
    std::function<void(int tab)> ShowOptions;  // tab < 0: the dialog's own choice
    std::function<void()> ShowRun;
    std::function<void()> ShowAbout;
    std::function<void(int index)> ShutDown;   // index of the mnuShutDown item
    std::function<void()> StartDetection;      // the blocker was switched on
    std::function<void()> RefreshPage;         // the manager page's RefreshMe
    // Opens a help page or web address; ShellExecuteA when not set.
    std::function<void(const std::string& address)> OpenAddress;
  };
  Commands commands;

  bool Load();  // creates the window, hidden
  HICON Icon() const { return icon_; }  // Image1: the tray icon's picture

  // Page toolbar.
  void TlbButtons(const std::string& key);
  void RefreshNow();
  void DoRefresh();
  // The manager page hosted by the "PopUp" button; an empty page until set.
  void SetPage(HWND page);
  HWND Page() const { return page_; }

  // Command toolbar: the action of a button by its key ("Shut", "Run", ...).
  void MainTbl_ButtonClick(const std::string& key);
  void SetHint(const std::string& text);

  void mnuFileOpen_Click();
  void mnuFileBlock_Click();
  void mnuFileBlockMsg_Click();
  void mnuFileOptions_Click();
  void mnuFileAbout_Click();
  void mnuFileExit_Click();
  void mnuSettingsTop_Click();
  void mnuSettingsUpdateSpd_Click(int index);  // 0..3: 4 s, 20 s, 35 s, paused
  void mnuSettingsPopBlock_Click();
  void mnuSettingsMsgBlock_Click();
  void mnuShutDown_Click(int index);
  void mnuhelp_Click(int index);
  void OpenHelp();

  // Check marks the settings are applied to.
  void SetStartupChecks(bool messengerBlock, bool popBlock);
  void SetBlockChecks(bool messengerBlock, bool popBlock);
  void HideMessengerItems();  // platforms without the messenger service

  void BringForward();
  // Puts the window on top or not, as the always-on-top item says.
  void ApplyAlwaysOnTop();

  void Command1_Click();  // "Con": act as if a dial-up connection were up
  void Command2_Click();  // "Dis"

  bool AlwaysOnTop() const { return Checked(IDC_INTERFACEFRM_MNUSETTINGSTOP); }
  int UpdateSpeedIndex() const { return speedIndex_; }
  bool MsgBlockChecked() const { return Checked(IDC_INTERFACEFRM_MNUSETTINGSMSGBLOCK); }
  bool PopBlockChecked() const { return Checked(IDC_INTERFACEFRM_MNUSETTINGSPOPBLOCK); }
  uint32_t RefreshCount() const { return refreshCount_; }
  // Seconds between refreshes at the chosen update speed; 0 = paused.
  int16_t RefreshIntervalSeconds() const { return refreshInterval_; }

  // The pop-up menus, as shown.
  HMENU FileMenu() const { return mnuFile_; }
  HMENU SettingsMenu() const { return mnuSettings_; }
  HMENU ShutDownMenu() const { return mnuShutDownHeader_; }
  HMENU HelpMenu() const { return mnuHelpHeader_; }
  HMENU UpdateSpeedMenu() const { return mnuSettingsUpdate_; }  // kept, never shown
  HWND CommandToolbar() const { return mainTbl_; }
  HWND PageToolbar() const { return toolbar1_; }

  static constexpr int16_t FastInterval = 4;
  static constexpr const char* kHelpFile = "Help.html";
  static constexpr const char* kWebsite = "https://tarvick.com/";

  enum ControlId {
    IDC_INTERFACEFRM_COMMAND1 = 201,
    IDC_INTERFACEFRM_COMMAND2,
    IDC_INTERFACEFRM_MAINTBL,
    IDC_INTERFACEFRM_TOOLBAR1,
    IDC_INTERFACEFRM_LBLONLINEHELP,
    IDC_INTERFACEFRM_PAGE,
    // Menu items.
    IDC_INTERFACEFRM_MNUFILEOPEN = 1001,
    IDC_INTERFACEFRM_MNUFILEBLOCK,
    IDC_INTERFACEFRM_MNUFILEBLOCKMSG,
    IDC_INTERFACEFRM_MNUFILEOPTIONS,
    IDC_INTERFACEFRM_MNUFILEABOUT,
    IDC_INTERFACEFRM_MNUFILEEXIT,
    IDC_INTERFACEFRM_MNUSETTINGSTOP,
    IDC_INTERFACEFRM_MNUSETTINGSPOPBLOCK,
    IDC_INTERFACEFRM_MNUSETTINGSMSGBLOCK,
    IDC_INTERFACEFRM_MNUSETTINGSUPDATESPD0 = 1100,  // + index 0..3
    IDC_INTERFACEFRM_MNUSHUTDOWN0 = 1200,           // + index 0..9
    IDC_INTERFACEFRM_MNUHELP0 = 1300,               // + index 0..4
    // Toolbar buttons.
    IDC_INTERFACEFRM_TBSHUT = 1400,
    IDC_INTERFACEFRM_TBRUN,
    IDC_INTERFACEFRM_TBSETTINGS,
    IDC_INTERFACEFRM_TBOPTIONS,
    IDC_INTERFACEFRM_TBHELP,
    IDC_INTERFACEFRM_TBEXIT,
    IDC_INTERFACEFRM_TBPOPUP,
  };

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void BuildMenus();
  void BuildToolbars();
  void SizeToolbars();
  void PlacePage();
  RECT PageRect() const;
  void OnCommand(int id);
  bool OnNotify(const NMHDR& n, LRESULT& result);
  void OnTrayMessage(UINT mouseMsg);
  void DropDown(HMENU menu, int buttonId);
  void PopUp(HMENU menu, POINT screen);
  bool Checked(int id) const;
  void SetChecked(int id, bool on);
  void SaveMoreTools(const char* key, bool on);
  void Open(const std::string& address);

  tl::FormLayout layout_;
  HICON icon_ = nullptr;
  HWND mainTbl_ = nullptr, toolbar1_ = nullptr, hint_ = nullptr;
  HWND page_ = nullptr;       // the page shown for "PopUp"
  HWND emptyPage_ = nullptr;  // ours, until the manager page is set
  HMENU mnuFile_ = nullptr, mnuSettings_ = nullptr, mnuShutDownHeader_ = nullptr,
        mnuHelpHeader_ = nullptr, mnuSettingsUpdate_ = nullptr;
  std::string selectedPage_;
  std::string hintText_;
  int speedIndex_ = 0;
  int16_t refreshInterval_ = 0;
  uint32_t refreshCount_ = 0;
  POINT dragStart_{};  // DragStartX, DragStartY
  bool dragging_ = false;
  UINT taskbarCreated_ = 0;
  tl::Brush hintBrush_;
};
