#include "dialogs/sprog_list_win.h"

#include <commctrl.h>

#include "app/gdi_win.h"
#include "app/list_view_win.h"

namespace SProgList {

namespace {

constexpr int kActiveImage = 0;
constexpr int kOffImage = 1;
const char* const kSortProp = "TarvickSortDown";

// A filled dot: green for an active entry, grey for one switched off.
void AddDot(HIMAGELIST images, int size, COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  tl::GdiObject<HBITMAP> image(CreateCompatibleBitmap(screen, size, size));
  tl::GdiObject<HBITMAP> mask(CreateBitmap(size, size, 1, 1, nullptr));
  ReleaseDC(nullptr, screen);
  tl::Brush fill(CreateSolidBrush(colour));
  RECT all{0, 0, size, size};

  HGDIOBJ old = SelectObject(dc, image);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SelectObject(dc, fill.get());
  SelectObject(dc, GetStockObject(NULL_PEN));
  int inset = size / 5;
  Ellipse(dc, inset, inset, size - inset + 1, size - inset + 1);
  // Mask: white is transparent, black is the dot.
  SelectObject(dc, mask);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  Ellipse(dc, inset, inset, size - inset + 1, size - inset + 1);
  SelectObject(dc, old);
  DeleteDC(dc);
  ImageList_Add(images, image, mask);
}

int ImageOf(int icon) { return icon == 1 ? kActiveImage : kOffImage; }

struct SortArgs {
  HWND list;
  int column;
  bool down;
};

int CALLBACK Compare(LPARAM a, LPARAM b, LPARAM args) {
  auto* s = reinterpret_cast<SortArgs*>(args);
  int r = lstrcmpiA(tl::ListViewText(s->list, static_cast<int>(a), s->column).c_str(),
                    tl::ListViewText(s->list, static_cast<int>(b), s->column).c_str());
  return s->down ? -r : r;
}

}  // namespace

void Setup(HWND list) {
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  RECT r;
  GetClientRect(list, &r);
  int width = r.right - r.left - GetSystemMetrics(SM_CXVSCROLL);
  const char* captions[] = {"Path", "Special Action"};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    c.pszText = const_cast<char*>(captions[i]);
    c.cx = i == 0 ? width * 3 / 5 : width - width * 3 / 5;
    c.iSubItem = i;
    SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
  }
  int size = GetSystemMetrics(SM_CXSMICON);
  HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 2, 0);
  AddDot(images, size, RGB(0, 160, 60));
  AddDot(images, size, RGB(160, 160, 160));
  // The list owns it from here and destroys it with itself.
  HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
      SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)));
  if (old) ImageList_Destroy(old);
}

void Add(HWND list, const tl::SpecialProgramRow& row) {
  LVITEMA it{};
  it.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  it.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  it.pszText = const_cast<char*>(row.path.c_str());
  it.iImage = ImageOf(row.icon);
  it.lParam = row.icon;  // the number itself, whatever the store said
  int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it)));
  if (index < 0) return;
  LVITEMA sub{};
  sub.iSubItem = 1;
  sub.pszText = const_cast<char*>(row.actionCaption.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&sub));
}

std::vector<tl::SpecialProgramRow> Rows(HWND list) {
  std::vector<tl::SpecialProgramRow> rows;
  int n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) rows.push_back({tl::ListViewText(list, i, 0), tl::ListViewText(list, i, 1), Icon(list, i)});
  return rows;
}

int Icon(HWND list, int index) {
  LVITEMA it{};
  it.mask = LVIF_PARAM;
  it.iItem = index;
  if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return 0;
  return static_cast<int>(it.lParam);
}

void SetIcon(HWND list, int index, int icon) {
  LVITEMA it{};
  it.mask = LVIF_PARAM | LVIF_IMAGE;
  it.iItem = index;
  it.iImage = ImageOf(icon);
  it.lParam = icon;
  SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
}

int FirstSelected(HWND list) {
  return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

bool Selected(HWND list, int index) {
  return SendMessageA(list, LVM_GETITEMSTATE, index, LVIS_SELECTED) & LVIS_SELECTED;
}

void SortBy(HWND list, int column) {
  SortArgs args{list, column, GetPropA(list, kSortProp) != nullptr};
  // The compare function gets item indexes: LVM_SORTITEMSEX, not LVM_SORTITEMS.
  SendMessageA(list, LVM_SORTITEMSEX, reinterpret_cast<WPARAM>(&args),
               reinterpret_cast<LPARAM>(Compare));
  if (args.down) RemovePropA(list, kSortProp);
  else SetPropA(list, kSortProp, reinterpret_cast<HANDLE>(1));
}

}  // namespace SProgList
