// The pop-up detector screen: the small always-on-top notification that
// announces a blocked pop-up. Loaded hidden at start-up; one pop-up at a time.
#pragma once
#include <cstdint>
#include <string>

#include "app/form_win.h"
#include "app/window_win.h"
#include "popup/detector_rules.h"

namespace ModPop {
class PopupBlocker;
}

class PopUpDetectorScrFrm : public tl::Window {
 public:
  enum ControlId {
    IDC_POPUPDETECTORSCRFRM_SCREENLABEL = 101,
    IDC_POPUPDETECTORSCRFRM_TOPIMG,
    IDC_POPUPDETECTORSCRFRM_WNNAMELBL,
    IDC_POPUPDETECTORSCRFRM_URLLBL,
    IDC_POPUPDETECTORSCRFRM_PICTURE1,
    IDC_POPUPDETECTORSCRFRM_LBLSHOWWIN,
    IDC_POPUPDETECTORSCRFRM_INFOPIC,
    IDC_POPUPDETECTORSCRFRM_APPROVEWNDBTN,
    IDC_POPUPDETECTORSCRFRM_CLOSEBTN,
    IDC_POPUPDETECTORSCRFRM_COMMAND1,
    IDC_POPUPDETECTORSCRFRM_ASXTOOLBAR1_BUTTON1,
    IDC_POPUPDETECTORSCRFRM_ASXTOOLBAR1_BUTTON3,
    IDC_POPUPDETECTORSCRFRM_ASXTOOLBARCLOSE,
    // The labels on InfoPic: captions and the closed pop-up's name and address.
    IDC_POPUPDETECTORSCRFRM_INFOPIC_WNNAMECAP,
    IDC_POPUPDETECTORSCRFRM_INFOPIC_WNNAME,
    IDC_POPUPDETECTORSCRFRM_INFOPIC_URLCAP,
    IDC_POPUPDETECTORSCRFRM_INFOPIC_URL,
  };

  ~PopUpDetectorScrFrm() override;
  // The screen works on the blocker's lists and logs into them.
  bool Load(ModPop::PopupBlocker& blocker);

  // Announces a pop-up found by the detection pass.
  void ShowPop(const std::string& windowName, int16_t browserIndex, HWND window,
               int16_t recordIndex, DWORD threadId, bool isDialog);
  // One step of the slide, the countdown and the re-check; the detection
  // pass calls it while the screen is visible.
  void Timer1_Timer();
  void CloseDetector(bool approveWnd = false, bool dontHideForm = false);
  // Refreshes the labels; true when the pop-up is white-listed.
  bool Check_URL();

  HWND PendingWindow() const { return pending_; }
  bool Peeking() const { return peeking_; }
  int32_t TargetHeightTwips() const { return slide_.TargetHeight; }

  void ApproveWndBtn_Click() { CloseDetector(true); }
  void CloseBtn_Click() { CloseDetector(); }
  void Picture1_MouseMove();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
  RECT ClientRectOf(int id) const;
  void SetLabel(int id, const std::string& text);
  void ShowMode(bool hidePop);
  void Measure();
  int32_t TargetHeightFor(int panelId) const;
  void OnDpiChanged(WPARAM wp, LPARAM lp);
  void ApplyGeometry();
  void BeginDrag(POINT client);
  void DragTo();
  void DrawItem(const DRAWITEMSTRUCT& d);
  const std::string& BrowserPath() const;

  ModPop::PopupBlocker* blocker_ = nullptr;
  // The pop-up being announced.
  HWND pending_ = nullptr;
  int16_t recordIndex_ = 0;
  DWORD threadId_ = 0;
  int16_t browserIndex_ = 0;
  std::string windowName_;
  bool isDialog_ = false;
  // Re-check state.
  std::string lastNameChecked_;
  bool addressChecked_ = false;
  uint32_t countdownStart_ = 0;
  // Geometry in twips.
  int32_t tpp_ = 15;
  int32_t left_ = 0;
  int32_t widthPx_ = 0;
  int32_t borderPx_ = 0;  // outer minus inner height
  tl::ScreenSlide slide_;
  bool firstTimeAsked_ = false;  // the notice is asked once per run
  bool peeking_ = false;
  RECT picture1Rect_ = {};
  // Drag: the press point inside the control and the control's place, twips.
  bool dragging_ = false;
  POINT dragPress_ = {};
  POINT dragControl_ = {};

  tl::FormLayout layout_;
  tl::Brush stripBrush_;
  tl::Brush bodyBrush_;
  tl::Brush stripHoverBrush_;
  HWND tooltip_ = nullptr;
};
