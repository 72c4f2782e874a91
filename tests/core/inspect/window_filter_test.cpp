// Which windows the window list holds, for every WndDisplay and HideWnd.
#include <gtest/gtest.h>

#include "inspect/window_query.h"

using tl::WindowFacts;

TEST(WindowFilter, TableForEveryDisplayModeAndHideWnd) {
  const std::vector<std::string> classes = {"RUNDLL", "STUBWINDOW32"};
  const uint32_t tool = tl::kExToolWindow, app = tl::kExAppWindow;
  struct Row {
    const char* what;
    WindowFacts facts;
    bool listed[4];        // WndDisplay 0..3 with HideWnd = 1
    bool listedShown[4];   // the same with HideWnd = 0
  } rows[] = {
      {"application window", {true, 0, false, "Notepad", ""}, {1, 1, 1, 1}, {1, 1, 1, 1}},
      {"tool window", {true, tool, false, "Tip", ""}, {0, 0, 0, 1}, {0, 0, 0, 1}},
      {"invisible window", {false, 0, false, "Worker", ""}, {0, 0, 0, 0}, {1, 1, 1, 1}},
      {"owned app window", {true, app, true, "Frame", "Notepad"}, {1, 1, 1, 1}, {1, 1, 1, 1}},
      {"owned window, no dialog", {true, 0, true, "Frame", "Notepad"}, {0, 0, 0, 1}, {0, 0, 0, 1}},
      {"owned dialog", {true, 0, true, "#32770", "Notepad"}, {0, 0, 1, 1}, {0, 0, 1, 1}},
      {"dialog of RUNDLL", {true, 0, true, "#32770", "RUNDLL"}, {0, 1, 1, 1}, {0, 1, 1, 1}},
      {"dialog of ' RunDll '", {true, 0, true, "#32770", " RunDll  "}, {0, 1, 1, 1}, {0, 1, 1, 1}},
      {"dialog of RUNDLL32", {true, 0, true, "#32770", "RUNDLL32"}, {0, 0, 1, 1}, {0, 0, 1, 1}},
      {"invisible dialog of RUNDLL", {false, 0, true, "#32770", "RUNDLL"}, {0, 0, 0, 0}, {0, 1, 1, 1}},
  };
  for (const Row& r : rows)
    for (int mode = 0; mode < 4; ++mode) {
      EXPECT_EQ(tl::WindowFilter(r.facts, mode, 1, classes), r.listed[mode]) << r.what << ", " << mode;
      EXPECT_EQ(tl::WindowFilter(r.facts, mode, 0, classes), r.listedShown[mode])
          << r.what << ", " << mode << ", HideWnd 0";
    }
  // The stored class text is compared as it is: a lower-case entry never matches.
  EXPECT_FALSE(tl::WindowFilter(rows[6].facts, 1, 1, {"rundll"}));
}
