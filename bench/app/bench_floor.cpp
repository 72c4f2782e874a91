// The floor of the idle benchmark: a hidden window with a 100 ms timer and
// a plain message loop, nothing else.
#include <windows.h>

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = inst;
  wc.lpszClassName = "BenchFloor";
  RegisterClassA(&wc);
  HWND w = CreateWindowA("BenchFloor", "floor", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                         inst, nullptr);
  SetTimer(w, 1, 100, nullptr);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  return 0;
}
