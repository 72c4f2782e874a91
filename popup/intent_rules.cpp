#include "popup/intent_rules.h"

#include "app/ticks.h"

namespace tl {

namespace {

// The moment was into `pid` at most the interval before `appeared`. The same
// tick counts: GetTickCount moves in steps of 10-16 ms.
bool WithinBefore(const InputMoment& m, uint32_t pid, uint32_t appeared, int32_t intervalMs) {
  if (m.pid == 0 || m.pid != pid) return false;
  int32_t gap = TickDiff(appeared, m.tick);
  return gap >= 0 && gap < intervalMs;
}

bool CtrlOrShift(const InputMoment& m) { return (m.mods & (kModCtrl | kModShift)) != 0; }

// A tab dragged out: the left button went down on the browser's own strip
// (not its page: a page may open windows on a press) before the window
// appeared, and was still down then or let go just before.
bool DraggedOut(const InputEvidence& in, uint32_t pid, uint32_t appeared) {
  const InputMoment& p = in.press;
  if (!p.left || p.inPage || p.pid == 0 || p.pid != pid) return false;
  if (TickDiff(appeared, p.tick) < 0) return false;
  if (in.leftDown) return true;
  // Let go after the window appeared (a negative gap) or just before it.
  return TickDiff(in.release.tick, p.tick) >= 0 && TickDiff(appeared, in.release.tick) < kDragReleaseMs;
}

}  // namespace

bool IsPageClass(std::string_view cls) {
  return cls == "Chrome_RenderWidgetHostHWND" || cls == "Internet Explorer_Server";
}

bool RecordedModifierAsks(const InputEvidence& in, uint32_t pid, uint32_t appeared,
                          int32_t intervalMs) {
  for (const InputMoment* m : {&in.press, &in.release, &in.key})
    if (CtrlOrShift(*m) && WithinBefore(*m, pid, appeared, intervalMs)) return true;
  return false;
}

bool InputAsksForWindow(const InputEvidence& in, uint32_t pid, uint32_t appeared,
                        int32_t intervalMs, int blockMode) {
  if (DraggedOut(in, pid, appeared)) return true;
  if (WithinBefore(in.key, pid, appeared, intervalMs)) return true;
  // Aggressive mode trusts the browser's own menus and toolbar, not the page.
  if (WithinBefore(in.release, pid, appeared, intervalMs) && (blockMode == 1 || !in.release.inPage))
    return true;
  return RecordedModifierAsks(in, pid, appeared, intervalMs);
}

}  // namespace tl
