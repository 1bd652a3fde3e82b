#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "numbers/formats.h"
#include "rules/paging.h"
#include "tray/winproc.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QFrame;
class QToolButton;

namespace qlc {

class AfterFirstFrame;
class CaptionLabel;
class FlexGrid;
class PickCombo;
struct LoadReport;
struct TrayState;

// The main window: the conversion view, the table with its paging buttons, the menus
// and the tray. It owns all shared state of the running program.
class frmMain : public QMainWindow, public TrayWindow {
  Q_OBJECT
 public:
  // Loads the data files from the working directory (start-up); show() then shows it.
  explicit frmMain(QWidget *parent = nullptr);
  ~frmMain() override;

  // Controls, named as the rest of the program names them.
  QLabel *Image2 = nullptr;         // the logo
  QLabel *Label12 = nullptr;        // "UNIT" title
  QLabel *Label8 = nullptr;         // "CONVERTER" title
  FlexGrid *MSFlexGrid1 = nullptr;  // the conversions table shown
  FlexGrid *FG1 = nullptr;          // every record of convert.txt, hidden
  QToolButton *TopBtn = nullptr;
  QToolButton *PrevBtn = nullptr;
  QToolButton *NextBtn = nullptr;
  QToolButton *BtmBtn = nullptr;
  QLabel *Label4 = nullptr;        // "Select Type"
  PickCombo *Combo1 = nullptr;     // group chooser
  QLabel *Label9 = nullptr;        // "Significant Digits"
  PickCombo *Combo2 = nullptr;     // digits chooser
  QLineEdit *Text1 = nullptr;      // "Convert From" value
  QLabel *Label3 = nullptr;        // "="
  QLineEdit *Text2 = nullptr;      // "Convert To" value
  CaptionLabel *Label1 = nullptr;  // unit of the From value
  CaptionLabel *Label2 = nullptr;  // unit of the To value
  QLabel *Label5 = nullptr;        // product-line banner
  QLabel *Label6 = nullptr;        // postal address
  QLabel *Label7 = nullptr;        // telephone and fax
  QLabel *Label14 = nullptr;       // company name
  QLabel *Label10 = nullptr;       // "E-mail:"
  QLabel *Label11 = nullptr;       // sales e-mail link
  QLabel *Label13 = nullptr;       // home page link
  QFrame *Line1 = nullptr;         // rule under the menu bar

  QMenu *FileMenu = nullptr;
  QAction *ExitItem = nullptr;  // "&Minimize"
  QMenu *UtilityMenu = nullptr;
  QAction *AddItem2 = nullptr;  // "&Add Type"
  QAction *AddItem = nullptr;   // "&Add Conversion"
  QMenu *HelpMenu = nullptr;
  QAction *AboutItem = nullptr;
  QMenu *zmnuSysTrayDemo = nullptr;        // the tray icon's menu
  QAction *mFile[2] = {nullptr, nullptr};  // "&Restore", "&Unload QLCNVT"

  // Sort memories of the table's header: 0 never sorted, 1 ascending, 2 descending.
  std::int16_t SortFrom = 0;
  std::int16_t SortTo = 0;
  std::int16_t SortType = 0;

  // Event handlers.
  // Start-up: fills the choosers and the tables from the data files; run once by the
  // constructor (the tray icon follows after the first frame).
  void Form_Load();
  // After any change of the window's state: a window minimised while the tray icon shows is
  // hidden to the tray.
  void Form_Resize();
  // Returns true when the close is cancelled (the window stays).
  bool Form_Unload();
  void ExitItem_Click();  // "&Minimize"
  // Minimises the window as "&Minimize" and the prompt's OK ask: to the tray while its
  // icon is shown, else as usual.
  void MinimiseWindow();
  void AddItem2_Click();  // opens Add Type
  void AddItem_Click();   // opens Add Conversion
  void AboutItem_Click();
  void Label11_Click();             // writes to sales
  void Label13_Click();             // opens the home page
  void Combo1_Click();              // a group was picked: lists its conversions
  void Combo2_Click();              // a digit count was picked: shows the values again
  void Text1_KeyDown(int keyCode);  // 13 (Enter) converts From to To
  void Text2_KeyDown(int keyCode);  // 13 (Enter) converts To back to From
  void MSFlexGrid1_Click();         // a header sorts, a row becomes the current conversion
  void TopBtn_Click();
  void PrevBtn_Click();
  void NextBtn_Click();
  void BtmBtn_Click();
  void mFile_Click(int index);  // the tray menu's entries

  // Start-up loading.
  void LoadTypes();
  void LoadConversions();
  // The re-conversion through the current row after it changed.
  void ReconvertCurrentRow(const PatternSet &set);

  // Tray.
  // Adds the tray icon (TrayIconData); 1 when a tray shows it, 0 when none does yet.
  int ShellTrayAdd();
  // Removes the tray icon; the program goes on.
  void ShellTrayDelete();
  // Sends the icon's mouse actions to WindowProc, from now until UnhookWindow.
  void HookWindow();
  // Stops sending them; nothing when not hooked.
  void UnhookWindow();
  void RestoreWindow() override;
  // Hides the window to the tray, keeping its place and its focus for RestoreWindow.
  void HideToTray();
  QMenu *TrayMenu() const override { return zmnuSysTrayDemo; }
  // True while the tray icon is really shown, so hiding the window cannot lose it.
  bool TrayIconShown() const;

  // What start-up could not load, for the message shown once the window is up; empty
  // when all went well.
  QString StartupProblems() const { return startupProblems_; }

  // The address behind the e-mail link.
  static QString SalesAddress();

 protected:
  void changeEvent(QEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  // Makers of the window's parts, each with its controls' connections.
  void BuildControls();  // the client area, its parts and the tab order
  void BuildTitle(QWidget *client);
  void BuildTable(QWidget *client);  // the tables and the paging buttons
  void BuildChoosers(QWidget *client);
  void BuildValueFields(QWidget *client);  // the two values and their unit captions
  void BuildContacts(QWidget *client);
  void BuildMenus();  // the menu bar and the tray's menu
  void ValueEntry(QLineEdit *from, QLineEdit *to, bool forward);
  void Page(PageButton button, const PatternSet &set);
  // The table's header captions without a sort mark.
  void PlainHeader();
  void NoteProblem(const QString &fileName, const LoadReport &report);
  void ShowStartupProblems();
  // Shows a window hidden to the tray where it was, with its focus as it was.
  void ShowAsKept();
  // Shows the units of a table row in the two captions, or none for row 0.
  void ShowUnits(int row);

  // The record the unit captions were last set from; empty while they show none.
  QStringList captionRecord_;
  QString startupProblems_;
  bool unloading_ = false;
  std::unique_ptr<TrayState> tray_;             // the tray part of the window
  AfterFirstFrame *afterFirstFrame_ = nullptr;  // start-up work done after the first frame
};

}  // namespace qlc
