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
  // An entry named as the design names it, running its handler.
  const auto entry = [this](QMenu *menu, const char *name, const char *caption, auto handler) {
    QAction *action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  const auto menu = [this](const char *name, const char *caption) {
    QMenu *made = menuBar()->addMenu(QString::fromUtf8(caption));
    made->setObjectName(QString::fromLatin1(name));
    return made;
  };
  menuBar()->setObjectName(QStringLiteral("MenuBar"));
  FileMenu = menu("FileMenu", "&File");
  ExitItem = entry(FileMenu, "ExitItem", "&Minimize", [this] { ExitItem_Click(); });
  UtilityMenu = menu("UtilityMenu", "&Utilities");
  AddItem2 = entry(UtilityMenu, "AddItem2", "&Add Type", [this] { AddItem2_Click(); });
  AddItem = entry(UtilityMenu, "AddItem", "&Add Conversion", [this] { AddItem_Click(); });
  HelpMenu = menu("HelpMenu", "&Help");
  AboutItem = entry(HelpMenu, "AboutItem", "&About", [this] { AboutItem_Click(); });

  // The tray's pop-up menu is a menu of the window that the bar does not show.
  zmnuSysTrayDemo = new QMenu(QStringLiteral("&SysTray"), this);
  zmnuSysTrayDemo->setObjectName(QStringLiteral("zmnuSysTrayDemo"));
  mFile[0] = entry(zmnuSysTrayDemo, "mFile_0", "&Restore", [this] { mFile_Click(0); });
  mFile[1] = entry(zmnuSysTrayDemo, "mFile_1", "&Unload QLCNVT", [this] { mFile_Click(1); });
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
