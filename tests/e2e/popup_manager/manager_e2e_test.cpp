// A pop-up blocked by the running program shows on its manager page: the
// page's own list read across processes, its counter refreshed with F5.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "popup/pop_up_frm_win.h"
#include "popup_bed.h"

using namespace tltest;

namespace {

// A cell of a list view in another process, through a buffer placed there.
std::string RemoteCell(HWND list, DWORD pid, int row, int col) {
  HANDLE p = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!p) return "<no access>";
  char* mem = static_cast<char*>(VirtualAllocEx(p, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
  char buf[1024] = {};
  if (mem) {
    LVITEMA it{};
    it.iSubItem = col;
    it.pszText = mem + 512;
    it.cchTextMax = sizeof buf;
    WriteProcessMemory(p, mem, &it, sizeof it, nullptr);
    SendMessageTimeoutA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(mem), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    ReadProcessMemory(p, mem + 512, buf, sizeof buf - 1, nullptr);
    VirtualFreeEx(p, mem, 0, MEM_RELEASE);
  }
  CloseHandle(p);
  return buf;
}

}  // namespace

TEST(PopupManagerE2E, BlockedPopupIsListedWithNameAndAddressAndCounted) {
  PopupBed bed;
  bed.Install(1, 1);
  ASSERT_TRUE(bed.StartBoth());
  HWND main = FindProcessWindow(bed.program.pid(), "TarvickLiteMain", nullptr, 5000);
  HWND page = FindWindowExA(main, nullptr, "TarvickLitePopUpPage", nullptr);
  ASSERT_TRUE(page);
  HWND list = GetDlgItem(page, PopUpFrm::IDC_POPUPFRM_BLOCKEDWNDLST);
  HWND count = GetDlgItem(page, PopUpFrm::IDC_POPUPFRM_TOTALBLOCKCNTLBL);
  EXPECT_EQ(TextOf(count), "0");

  PostMessageA(bed.browserMain, WM_COMMAND, kOpenByItself, 0);
  HWND pop = FindProcessWindow(bed.browser.pid(), "PopFixtureFrame", "Popup Ad", 5000);
  ASSERT_TRUE(pop);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(pop); }, 10000)) << "the pop-up was not closed";

  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1; }, 2000));
  EXPECT_EQ(RemoteCell(list, bed.program.pid(), 0, 0), "Popup Ad");
  EXPECT_EQ(RemoteCell(list, bed.program.pid(), 0, 1), "http://ads.test/popup");
  EXPECT_FALSE(RemoteCell(list, bed.program.pid(), 0, 3).empty());  // when it was closed
  // The total shows on the next refresh: F5 in the list.
  PostMessageA(list, WM_KEYDOWN, VK_F5, 0);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(count) == "1"; }, 2000)) << TextOf(count);
  EXPECT_EQ(bed.BlockCount(), "1");
}
