// The hooks' hand-off values as any program that can write the key leaves
// them: numbers, menu texts and addresses, judged as detection judges them.
#include "fuzz_check.h"
#include "app/conversions.h"
#include "popup/pop_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  std::vector<std::string> v = FuzzLines(data, size);
  v.resize(8);
  uint32_t now = static_cast<uint32_t>(tl::HandoffNumber(v[0])) * 2654435761u;
  int32_t menuTime = tl::HandoffNumber(v[1]);
  tl::MenuClickFresh(now, menuTime);
  FUZZ_CHECK(tl::MenuClickFresh(static_cast<uint32_t>(menuTime), menuTime));

  std::string menu = tl::ToLower(tl::StripAccessKey(v[2]));
  FUZZ_CHECK(menu.size() + 1 == v[2].size() || menu.empty());
  tl::BrowserEntry b;
  b.MenuName[0] = v[3];
  b.MenuName[1] = v[4];
  FUZZ_CHECK(!tl::MenuRuleAllows("", b));
  if (!menu.empty() && !v[3].empty() && menu.find(tl::ToLower(v[3])) != std::string::npos)
    FUZZ_CHECK(tl::MenuRuleAllows(menu, b));

  tl::ClickEvidence e;
  e.WinTime = tl::HandoffNumber(v[5]);
  e.MouseTime = tl::HandoffNumber(v[6]);
  e.ClickedClass = "Internet Explorer_Server";
  e.MouseTimeD = v[7];
  e.CurrentAddress = v[2];
  bool may = tl::ClickMayAllow(e, tl::kDefaultClickInterval);
  FUZZ_CHECK(!tl::ClickInPageAllows(e, tl::kDefaultClickInterval) || may);
  tl::RunDialogJustClosed(now, static_cast<uint32_t>(e.MouseTime));
  tl::IsWebPageDialogTitle(v[7]);
  return 0;
}
