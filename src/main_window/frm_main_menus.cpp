#include "main_window/frm_main.h"

namespace qlc {

void frmMain::AddItem2_Click() {}
void frmMain::AddItem_Click() {}
void frmMain::AboutItem_Click() {}

}  // namespace qlc
