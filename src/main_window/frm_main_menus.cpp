// The menu bar and the tray's menu, and the handlers of the menu bar's entries.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "dialogs/addconvert.h"
#include "dialogs/addtypes.h"
#include "dialogs/frm_about.h"
#include "main_window/frm_main.h"

namespace qlc {

void frmMain::BuildMenus() {
  menuBar()->setObjectName(QStringLiteral("MenuBar"));
  FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  FileMenu->setObjectName(QStringLiteral("FileMenu"));
  ExitItem = FileMenu->addAction(QStringLiteral("&Minimize"));
  ExitItem->setObjectName(QStringLiteral("ExitItem"));
  connect(ExitItem, &QAction::triggered, this, [this] { ExitItem_Click(); });

  UtilityMenu = menuBar()->addMenu(QStringLiteral("&Utilities"));
  UtilityMenu->setObjectName(QStringLiteral("UtilityMenu"));
  AddItem2 = UtilityMenu->addAction(QStringLiteral("&Add Type"));
  AddItem2->setObjectName(QStringLiteral("AddItem2"));
  AddItem = UtilityMenu->addAction(QStringLiteral("&Add Conversion"));
  AddItem->setObjectName(QStringLiteral("AddItem"));
  connect(AddItem2, &QAction::triggered, this, [this] { AddItem2_Click(); });
  connect(AddItem, &QAction::triggered, this, [this] { AddItem_Click(); });

  HelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
  HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
  AboutItem = HelpMenu->addAction(QStringLiteral("&About"));
  AboutItem->setObjectName(QStringLiteral("AboutItem"));
  connect(AboutItem, &QAction::triggered, this, [this] { AboutItem_Click(); });

  // The tray's pop-up menu is a menu of the window that the bar does not show.
  zmnuSysTrayDemo = new QMenu(QStringLiteral("&SysTray"), this);
  zmnuSysTrayDemo->setObjectName(QStringLiteral("zmnuSysTrayDemo"));
  mFile[0] = zmnuSysTrayDemo->addAction(QStringLiteral("&Restore"));
  mFile[0]->setObjectName(QStringLiteral("mFile_0"));
  mFile[1] = zmnuSysTrayDemo->addAction(QStringLiteral("&Unload QLCNVT"));
  mFile[1]->setObjectName(QStringLiteral("mFile_1"));
  connect(mFile[0], &QAction::triggered, this, [this] { mFile_Click(0); });
  connect(mFile[1], &QAction::triggered, this, [this] { mFile_Click(1); });
}

void frmMain::ExitItem_Click() {
  MinimiseWindow();
}

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
