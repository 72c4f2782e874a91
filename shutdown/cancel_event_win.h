// The countdown form. Hidden from start-up to exit: its 100 ms timer paces
// the main loop, its window is the one handed to the hook library, and it
// turns Windows' session end into the program's orderly exit. Shown, it
// counts down in front of a shutdown command (shutdown_win.h).
#pragma once
#include <functional>
#include <string>

#include "app/form_win.h"
#include "app/window_win.h"

class CancelEvent : public tl::Window {
 public:
  enum ControlId { IDC_CANCELEVENT_LBLCANCEL = 101, IDC_CANCELEVENT_BTNCANCEL };
  static constexpr UINT_PTR kTimer1 = 1;
  static constexpr UINT kTimer1Interval = 100;

  // onSessionEnd runs when Windows ends the session.
  bool Load(std::function<void()> onSessionEnd);
  // Paints the form's background (the program root hands in the gradient);
  // without one the background is plain.
  void SetBackgroundPainter(std::function<void(HWND form, HDC dc)> paint);

  // Shows the form on top of everything, centred on the monitor of `anchor`.
  void ShowCountdown(HWND anchor);
  // The label's caption; a long one is cut.
  void SetCancelLabel(const std::string& caption);
  std::string CancelLabel() const;
  void btnCancel_Click();

  // Set by the Cancel button; cleared when a countdown starts and ends.
  bool CancelRequested = false;
  // True while a countdown runs: a second command then does nothing.
  bool Counting = false;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
  void MakeLabelFont();
  void KeepOnTop();
  void DrawItem(const DRAWITEMSTRUCT& d);

  std::function<void()> onSessionEnd_;
  std::function<void(HWND, HDC)> paintBackground_;
  tl::FormLayout layout_;
  tl::Font labelFont_;
  tl::Brush buttonBrush_, plainBrush_;
};
