// The pop-up blocker's page of the main window: the pop-ups blocked in this
// run with the running total, the white list and the browsers watched. A
// child window with no title of its own; the main window places and shows it.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/form_win.h"
#include "app/gdi_win.h"
#include "app/window_win.h"
#include "popup/add_browser_frm_win.h"
#include "popup/pop_manager.h"

namespace ModPop {
class PopupBlocker;
}

class PopUpFrm : public tl::Window {
 public:
  struct Commands {
    std::function<void(const std::string&)> ShowHint;  // the main window's hint line
    std::function<void()> ShowHelp;                    // the online help page
    std::function<void()> ShowSoundOptions;            // Options, "Pop-up blocker" tab
  };
  enum ControlId {
    IDC_POPUPFRM_SSTAB1 = 301,
    IDC_POPUPFRM_BLOCKEDWNDLST,
    IDC_POPUPFRM_LABEL2,
    IDC_POPUPFRM_TOTALBLOCKSINCELBL,
    IDC_POPUPFRM_LABEL4,
    IDC_POPUPFRM_TOTALBLOCKCNTLBL,
    IDC_POPUPFRM_RESETBTN,
    IDC_POPUPFRM_LABEL1_1,
    IDC_POPUPFRM_WHITEWNDLST,
    IDC_POPUPFRM_WHITEADDBTN,
    IDC_POPUPFRM_WHITEMODIBTN,
    IDC_POPUPFRM_WHITEDELBTN,
    IDC_POPUPFRM_LABEL1_3,
    IDC_POPUPFRM_BROWSERSLST,
    IDC_POPUPFRM_BROWSERSADDBTN,
    IDC_POPUPFRM_BROWSERSMODIBTN,
    IDC_POPUPFRM_BROWSERSDELBTN,
  };
  enum MenuId {
    IDM_POPUPFRM_MNUBLOCKEDCOPY = 351,
    IDM_POPUPFRM_MNUBLOCKEDGOTO,
    IDM_POPUPFRM_MNUBLOCKEDSEND,
    IDM_POPUPFRM_MNUWHITEREMOVE,
    IDM_POPUPFRM_MNUWHITEMODIFY,
    IDM_POPUPFRM_MNUWHITECOPY,
  };
  static constexpr int kWidth = 420, kHeight = 270;  // 96-DPI units

  PopUpFrm() = default;
  ~PopUpFrm() override;
  Commands commands;

  // Creates the page hidden in `parent`, showing (and editing) the blocker's lists.
  bool Create(HWND parent, ModPop::PopupBlocker& blocker);
  // The counters as they stand: since-date and total.
  void RefreshMe();
  // Selects a tab (0 blocked, 2 browsers); the white list stays unavailable.
  void SelectTab(int tab);
  AddBrowserFrm* BrowserDialog() { return addBrowser_.get(); }

  void ResetBtn_Click();
  void BrowsersDelBtn_Click();
  void BrowsersModiBtn_Click();
  void BrowsersAddBtn_Click();
  void mnuBlockedCopy_Click();
  void mnuBlockedGoto_Click();
  void mnuWhiteCopy_Click();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct ReportList {
    int id;
    tl::ListSort sort;
  };
  void Form_Load();
  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
  ReportList* ListOf(int id);
  HWND MakeList(int id, const RECT& units, std::initializer_list<const char*> columns,
                bool single);
  void AddRow(HWND list, const std::string* texts, size_t n, LPARAM param);
  std::string CellText(HWND list, int row, int col) const;
  void ApplySort(ReportList& l);
  void FillBrowsers();
  void SyncBlocked();
  void ShowTab(int tab);
  void FlowCounterLine();
  void Keys(WORD key);
  void ShowContextMenu(int listId);
  void CopyRows(int listId, bool withAddress);
  int SelectedRow(int listId) const;
  std::optional<size_t> SelectedEntry() const;
  void OnNotify(const NMHDR& n);
  void TabPressed();
  static LRESULT CALLBACK TabProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);

  ModPop::PopupBlocker* blocker_ = nullptr;
  std::unique_ptr<AddBrowserFrm> addBrowser_;
  ReportList lists_[3] = {{IDC_POPUPFRM_BLOCKEDWNDLST, {}},
                          {IDC_POPUPFRM_WHITEWNDLST, {}},
                          {IDC_POPUPFRM_BROWSERSLST, {}}};
  size_t blockedShown_ = 0;  // rows of the blocker's blocked list on show
  std::vector<std::string> shownPaths_;  // the browsers on show, in entry order
  bool browsersShown_ = false;
  int tab_ = 0;
  tl::FormLayout layout_;
  COLORREF backColour_ = RGB(233, 233, 233);  // the first interface colour
  tl::Brush back_;
  HMENU mnuBlocked_ = nullptr;
  HMENU mnuWhite_ = nullptr;
};
