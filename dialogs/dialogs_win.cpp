#include "dialogs/dialogs_win.h"

#include "dialogs/about_frm_win.h"
#include "dialogs/options_frm_win.h"
#include "dialogs/run_frm_win.h"

namespace Dialogs {

namespace {
// Kept for the life of the process: a closed dialog is only its window gone,
// and the next opening starts again from the template.
frmOptions& Options() {
  static frmOptions form;
  return form;
}
RunFrm& Run() {
  static RunFrm form;
  return form;
}
frmAbout& About() {
  static frmAbout form;
  return form;
}
}  // namespace

void ShowOptionsDialog(HWND owner, int tab) { Options().Open(owner, tab); }
void ShowRunDialog(HWND owner) { Run().Open(owner); }
HWND OptionsWindow() { return Options().hwnd(); }
HWND RunWindow() { return Run().hwnd(); }
void ShowAboutDialog(HWND owner) { About().Open(owner); }
HWND AboutWindow() { return About().hwnd(); }

}  // namespace Dialogs
