// The cheapest hook there is: it passes every event on and does nothing
// else. The benchmark sets it for the same three hook types as corvel.dll.
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK EmptyProc(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
