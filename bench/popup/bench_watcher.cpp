// The input watcher's low-level hooks under input while the UI thread is
// stalled: the cost of a callback per event and the longest one, and how
// long each SendInput takes (Wine's sender waits until the low-level hooks
// have answered), without the watcher and with it while the main thread
// sleeps (the start pause) or holds a modal message box open.
// usage: bench_watcher [rounds]   (each round: a move, a middle click, a key)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "popup/input_watcher_win.h"

namespace {

constexpr const char* kBoxCaption = "Watcher bench";

struct Sends {
  double meanUs = 0, maxUs = 0;
};

void Send(DWORD type, DWORD flags, WORD vk, std::vector<double>& us, double perTick) {
  INPUT in = {};
  in.type = type;
  if (type == INPUT_MOUSE) {
    in.mi.dwFlags = flags;
    in.mi.dx = in.mi.dy = flags & MOUSEEVENTF_MOVE ? 1 : 0;
  } else {
    in.ki.wVk = vk;
    in.ki.dwFlags = flags;
  }
  LARGE_INTEGER a, b;
  QueryPerformanceCounter(&a);
  SendInput(1, &in, sizeof in);
  QueryPerformanceCounter(&b);
  us.push_back(static_cast<double>(b.QuadPart - a.QuadPart) * perTick);
}

Sends SendRounds(int rounds) {
  LARGE_INTEGER hz;
  QueryPerformanceFrequency(&hz);
  double perTick = 1e6 / static_cast<double>(hz.QuadPart);
  std::vector<double> us;
  for (int i = 0; i < rounds; ++i) {
    Send(INPUT_MOUSE, MOUSEEVENTF_MOVE, 0, us, perTick);
    Send(INPUT_MOUSE, MOUSEEVENTF_MIDDLEDOWN, 0, us, perTick);
    Send(INPUT_MOUSE, MOUSEEVENTF_MIDDLEUP, 0, us, perTick);
    Send(INPUT_KEYBOARD, 0, VK_F24, us, perTick);
    Send(INPUT_KEYBOARD, KEYEVENTF_KEYUP, VK_F24, us, perTick);
  }
  Sends s;
  for (double u : us) s.meanUs += u;
  s.meanUs /= static_cast<double>(us.size());
  s.maxUs = *std::max_element(us.begin(), us.end());
  return s;
}

struct Job {
  int rounds;
  bool closeBox;
  Sends sends;
};

DWORD WINAPI Sender(void* p) {
  auto* job = static_cast<Job*>(p);
  Sleep(300);  // the main thread is stalled by then
  job->sends = SendRounds(job->rounds);
  if (job->closeBox) {
    HWND box = nullptr;
    for (int i = 0; i < 100 && !box; ++i, Sleep(20)) box = FindWindowA("#32770", kBoxCaption);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
  return 0;
}

// Input from another thread while this one sleeps or shows a modal box.
Sends WhileStalled(int rounds, bool modalBox) {
  Job job{rounds, modalBox, {}};
  HANDLE t = CreateThread(nullptr, 0, Sender, &job, 0, nullptr);
  if (modalBox) {
    MessageBoxA(nullptr, "The main thread waits here.", kBoxCaption, MB_OK);
  } else {
    Sleep(300);
    while (WaitForSingleObject(t, 0) == WAIT_TIMEOUT) Sleep(500);
  }
  WaitForSingleObject(t, INFINITE);
  CloseHandle(t);
  return job.sends;
}

void Print(const char* what, const Sends& s) {
  std::printf("  %-42s SendInput mean %7.1f us, max %7.1f us\n", what, s.meanUs, s.maxUs);
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
  if (rounds <= 0) rounds = 200;
  std::printf("%d rounds of 5 input events each\n", rounds);
  Print("no watcher, main thread stalled (Sleep)", WhileStalled(rounds, false));
  ModPop::InputWatcher watcher;
  if (!watcher.Start()) {
    std::fprintf(stderr, "the watcher's hooks could not be installed\n");
    return 1;
  }
  Print("watcher, main thread stalled (Sleep)", WhileStalled(rounds, false));
  Print("watcher, main thread in a modal message box", WhileStalled(rounds, true));
  ModPop::InputWatcher::Costs c = watcher.CallbackCosts();
  std::printf("watcher callbacks: %llu events, mean %.1f us, longest %.1f us\n",
              static_cast<unsigned long long>(c.events), c.meanUs, c.maxUs);
  watcher.Stop();
  return 0;
}
