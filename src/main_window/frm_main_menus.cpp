#include "dialogs/addconvert.h"
#include "dialogs/addtypes.h"
#include "dialogs/frm_about.h"
#include "main_window/frm_main.h"

namespace qlc {

// Each dialog lives for the one modal session the menu entry opens.

void frmMain::AddItem2_Click() {
  addtypes dialog(this);
  dialog.exec();
}

void frmMain::AddItem_Click() {
  addconvert dialog(this);
  dialog.exec();
}

void frmMain::AboutItem_Click() {
  frmAbout dialog(this);
  dialog.exec();
}

}  // namespace qlc
