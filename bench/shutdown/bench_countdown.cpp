// Countdown benchmark helper, run by bench/shutdown/countdown (which reads
// the CPU time from /proc): runs countdowns on the real form, back to back,
// and says on stdout when they start and end.
//   bench_countdown [count]   (default 3)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/program_win.h"
#include "shutdown/cancel_event_win.h"
#include "shutdown/shutdown_win.h"

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 3;
  ModMain::InitProcessValues();
  CancelEvent form;
  if (!form.Load(nullptr)) return 1;
  std::printf("counting\n");
  std::fflush(stdout);
  for (int i = 0; i < count; ++i) ModExitWin::CountDown(form, "System will log off after: ");
  std::printf("done\n");
  std::fflush(stdout);
  return 0;
}
