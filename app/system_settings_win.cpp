#include "app/system_settings_win.h"

#include "app/program_win.h"
#include "app/root_win.h"
#include "app/system_win.h"
#include "inspect/window_query_win.h"
#include "mainwin/interface_frm_win.h"

namespace ModMain {

namespace {

constexpr const char* kHotkeyError =
    "ERROR registering Tarvick hotkey! Some program may be using the same hotkey. You will not be "
    "able to display Tarvick main window by pressing the specified Hotkey. Click yes if you want "
    "to change it form options.";

}  // namespace

bool ApplySystemSettings() {
  Program& p = Prog();
  InterfaceFrm& main = MainForm();
  const tl::SettingsRecord& s = p.Settings;
  ApplyRunAtStartup(s.RunAtStartUp, p.OwnExePath);

  bool changeHotkey = false;
  if (!ApplyHotkey(main.hwnd(), s.AppHKEnabled, s.AppHKModifiers, s.AppHKCharCode, p.RegisteredHK)) {
    if (ShowMessage(main.hwnd(), kHotkeyError, MB_YESNO | MB_ICONINFORMATION) == IDYES) {
      changeHotkey = true;
      if (main.commands.ShowOptions) main.commands.ShowOptions(0);
    }
  }

  // Re-created every time, so it also comes back after Explorer restarted.
  RemoveTrayIcon(main.hwnd());
  AddTrayIcon(main.hwnd(), main.Icon());

  if (p.IsNT) {
    SetMessengerService(s.BlockMessenger);
  } else {
    main.HideMessengerItems();
  }
  main.SetBlockChecks(s.BlockMessenger, s.BlockPopUps);
  return changeHotkey;
}

void ShowForm(HWND form) {
  ShowWindow(form, SW_SHOW);
  if (MainForm().AlwaysOnTop())
    SetWindowPos(form, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  MForceFore::ForceForeground(form, true);
}

}  // namespace ModMain
