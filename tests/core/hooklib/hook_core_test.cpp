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

TEST(HookInstall, AllThreeStoredThenPublishedInOrder) {
  FakeHooks h;
  EXPECT_EQ(InstallHooks(h), 0);
  EXPECT_EQ(h.log, (Log{"install 0", "store 0=100", "publish 0=100", "install 1", "store 1=101",
                        "publish 1=101", "install 2", "store 2=102", "publish 2=102"}));
}

TEST(HookInstall, RefusalStopsWithItsCodeAndKeepsTheEarlierHooks) {
  FakeHooks mouse;
  mouse.refuse[kMouseHook] = true;
  EXPECT_EQ(InstallHooks(mouse), 3);
  EXPECT_EQ(mouse.log, (Log{"install 0", "store 0=100", "publish 0=100", "install 1", "store 1=101",
                            "publish 1=101", "install 2", "store 2=0"}));

  FakeHooks msg;
  msg.refuse[kMsgHook] = true;
  EXPECT_EQ(InstallHooks(msg), 2);
  EXPECT_EQ(msg.log.back(), "store 1=0");
  EXPECT_EQ(msg.stored[kMouseHook], 7u) << "the mouse hook is not tried";

  FakeHooks shell;
  shell.refuse[kShellHook] = true;
  EXPECT_EQ(InstallHooks(shell), 1);
  EXPECT_EQ(shell.log, (Log{"install 0", "store 0=0"}));
}

TEST(HookRemove, TriesAllThreeAndTheLastFailureWins) {
  FakeHooks none;
  EXPECT_EQ(RemoveHooks(none), 0);
  EXPECT_EQ(none.log, (Log{"remove 0", "remove 1", "remove 2"}));

  FakeHooks all;  // nothing was installed: every removal fails
  for (bool& f : all.failRemove) f = true;
  EXPECT_EQ(RemoveHooks(all), 3);
  EXPECT_EQ(all.log.size(), 3u);

  FakeHooks firstTwo;
  firstTwo.failRemove[kShellHook] = firstTwo.failRemove[kMsgHook] = true;
  EXPECT_EQ(RemoveHooks(firstTwo), 2);

  FakeHooks first;
  first.failRemove[kShellHook] = true;
  EXPECT_EQ(RemoveHooks(first), 1);
}

TEST(HookText, Signed32DecimalOfTheBitPattern) {
  struct Case {
    std::uint32_t bits;
    const char* text;
  } cases[] = {{0, "0"},
               {7, "7"},
               {2147483647u, "2147483647"},
               {2147483648u, "-2147483648"},  // the longest text: fills the buffer
               {3000000000u, "-1294967296"},  // a tick count after 35 days
               {0xFFFFFFFFu, "-1"},
               {0x000A0B2Cu, "658220"}};
  for (const Case& c : cases) {
    char out[kDecimalChars];
    std::size_t n = FormatSigned32(out, c.bits);
    EXPECT_STREQ(out, c.text) << c.bits;
    EXPECT_EQ(n, std::string(c.text).size());
  }
}

TEST(HookText, CopyBoundedStopsShortOfTheEndAndTerminates) {
  // Exact-size heap buffers, so one byte too many is an ASan error.
  std::string longText(1500, 'a');
  longText[3] = ':';
  auto buf = std::make_unique<char[]>(1024);
  EXPECT_EQ(CopyBounded(buf.get(), 1024, longText.c_str()), 1023u);
  EXPECT_EQ(std::string(buf.get()), longText.substr(0, 1023));

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
