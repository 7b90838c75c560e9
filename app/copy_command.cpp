// The copy command (cmdCopy and mnuEditCopy, enabled only while a preview is
// paused): hands the frame on display to the frame list window.
#include "app/frm_main.h"

namespace app {

void frmMain::cmdCopy_Click() {
  // Wired to the frame list by its own change.
}

}  // namespace app
