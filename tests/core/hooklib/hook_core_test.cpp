// The result codes of installing and removing the hooks, and the fixed-size
// text helpers of the hook procedures (run under AddressSanitizer, so a
// write past a buffer fails the test).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "hooklib/hook_core.h"

using namespace Corvel;

namespace {

// Records every step; refuses the kinds it is told to.
class FakeHooks final : public HookHost {
 public:
  bool refuse[kHookKinds] = {};
  bool failRemove[kHookKinds] = {};
  std::vector<std::string> log;
  std::uintptr_t stored[kHookKinds] = {7, 7, 7};

  std::uintptr_t Install(HookKind k) override {
    log.push_back("install " + std::to_string(k));
    return refuse[k] ? 0 : 100 + k;
  }
  void Store(HookKind k, std::uintptr_t h) override {
    log.push_back("store " + std::to_string(k) + "=" + std::to_string(h));
    stored[k] = h;
  }
  void Publish(HookKind k, std::uintptr_t h) override {
    log.push_back("publish " + std::to_string(k) + "=" + std::to_string(h));
  }
  bool Remove(HookKind k) override {
    log.push_back("remove " + std::to_string(k));
    return !failRemove[k];
  }
};

using Log = std::vector<std::string>;

}  // namespace

// A refused kind ends the install with its code (shell 1, filter 2, mouse
// 3); the hooks before it stay, the ones after it are not tried.
TEST(HookInstall, RefusalStopsWithItsCodeAndKeepsTheEarlierHooks) {
  for (HookKind k : {kShellHook, kMsgHook, kMouseHook}) {
    FakeHooks h;
    h.refuse[k] = true;
    EXPECT_EQ(InstallHooks(h), k + 1);
    EXPECT_EQ(h.log.back(), "store " + std::to_string(k) + "=0");
    for (int later = k + 1; later < kHookKinds; ++later) EXPECT_EQ(h.stored[later], 7u) << later;
  }
}

// Removal tries all three whatever fails; the code names the last failure.
TEST(HookRemove, TriesAllThreeAndTheLastFailureWins) {
  const std::pair<std::vector<HookKind>, int> cases[] = {
      {{}, 0}, {{kShellHook}, 1}, {{kShellHook, kMsgHook}, 2}, {{kShellHook, kMsgHook, kMouseHook}, 3}};
  for (const auto& [failing, code] : cases) {
    FakeHooks h;
    for (HookKind k : failing) h.failRemove[k] = true;
    EXPECT_EQ(RemoveHooks(h), code);
    EXPECT_EQ(h.log, (Log{"remove 0", "remove 1", "remove 2"}));
  }
}

TEST(HookText, Signed32DecimalOfTheBitPattern) {
  struct Case {
    std::uint32_t bits;
    const char* text;
  } cases[] = {{0, "0"},
               {2147483647u, "2147483647"},
               {2147483648u, "-2147483648"},  // the longest text: fills the buffer
               {0xFFFFFFFFu, "-1"}};
  for (const Case& c : cases) {
    char out[kDecimalChars];
    std::size_t n = FormatSigned32(out, c.bits);
    EXPECT_STREQ(out, c.text) << c.bits;
    EXPECT_EQ(n, std::string(c.text).size());
  }
}

TEST(HookText, CopyBoundedStopsShortOfTheEndAndTerminates) {
  // Exact-size heap buffers, so one byte too many is an ASan error (the
  // real buffers' ends are proved in the hook library under load).
  auto exact = std::make_unique<char[]>(4);
  EXPECT_EQ(CopyBounded(exact.get(), 4, "abc"), 3u);
  EXPECT_STREQ(exact.get(), "abc");
  EXPECT_EQ(CopyBounded(exact.get(), 4, ""), 0u);
  EXPECT_STREQ(exact.get(), "");

  auto one = std::make_unique<char[]>(1);
  EXPECT_EQ(CopyBounded(one.get(), 1, "abc"), 0u);
  EXPECT_EQ(one[0], '\0');
  EXPECT_EQ(CopyBounded(nullptr, 0, "abc"), 0u);

  char menu[256];
  std::fill(menu, menu + 256, 'x');  // what a system call might leave
  TerminateWithin(menu, sizeof menu);
  EXPECT_EQ(std::string(menu).size(), 255u);
}
