// The pop-up detector screen: the small always-on-top notification that
// announces a blocked pop-up. Loaded hidden at start-up.
#pragma once
#include "app/window_win.h"

class PopUpDetectorScrFrm : public tl::Window {
 public:
  bool Load();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};
