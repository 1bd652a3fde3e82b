// The conversion view: value entry, the group change and the digits change.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cmath>

#include "data/conversion_data.h"
#include "main_window/frm_main.h"
#include "rules/conversion.h"
#include "table/flex_grid.h"
#include "widgets/caption_label.h"
#include "widgets/pick_combo.h"

namespace qlc {

namespace {

// The busy pointer for the length of one handler, restored on every path.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor &) = delete;
  BusyCursor &operator=(const BusyCursor &) = delete;
};

// The multiplier and adder of one table row; empty when either is not a number.
struct RowFactors {
  bool ok = false;
  double m = 0.0, a = 0.0;
};

RowFactors ReadFactors(const FlexGrid &grid, int row, const NumberSeparators &sep) {
  RowFactors f;
  if (row < 1 || row >= grid.Rows()) return f;
  const ReadResult m = ReadNumber(grid.TextMatrix(row, 3), sep);
  const ReadResult a = ReadNumber(grid.TextMatrix(row, 4), sep);
  f.ok = m.ok() && a.ok();
  f.m = m.value;
  f.a = a.value;
  return f;
}

// The five cells of one table row: the record it holds.
QStringList RowRecord(const FlexGrid &grid, int row) {
  QStringList cells;
  for (int col = 0; col < grid.Cols(); ++col) cells << grid.TextMatrix(row, col);
  return cells;
}

// A value the program writes into a field shows from its first digit: setText() leaves the
// cursor at the end, and a number longer than the field would show only its last digits.
void ShowValue(QLineEdit *field, const QString &text) {
  field->setText(text);
  field->setCursorPosition(0);
}

}  // namespace

void frmMain::Text1_KeyDown(int keyCode) {
  if (keyCode == 13) ValueEntry(Text1, Text2, true);
}

void frmMain::Text2_KeyDown(int keyCode) {
  if (keyCode == 13) ValueEntry(Text2, Text1, false);
}

void frmMain::ValueEntry(QLineEdit *from, QLineEdit *to, bool forward) {
  const QString typed = from->text();
  if (typed.isEmpty()) return;
  const NumberSeparators sep = CurrentSeparators();
  const QString digits = Combo2->currentText();
  const std::optional<int> choice = DigitsChoice(digits, sep);
  if (!choice) {
    // A number outside 0..6 selects no pattern and does nothing; a word is a mistake.
    if (!ReadNumber(digits, sep).ok()) QApplication::beep();
    return;
  }
  const RowFactors f = ReadFactors(*MSFlexGrid1, MSFlexGrid1->Row(), sep);
  const ReadResult v = ReadNumber(typed, sep);
  if (!f.ok || !v.ok()) {
    QApplication::beep();
    return;
  }
  const std::optional<double> r = Convert(v.value, f.m, f.a, forward);
  if (!r) {
    QApplication::beep();
    return;
  }
  const PatternSet &set = forward ? FromEntryFormats : ToEntryFormats;
  ShowValue(to, FormatValue(*r, set[size_t(*choice)], sep));
  // The captions name the units this value went through: the current row may hold another
  // record than they were set from (the table's own keys move it, a sort reorders the rows).
  // Captions that name none yet stay empty.
  const int row = MSFlexGrid1->Row();
  if (!captionRecord_.isEmpty() && captionRecord_ != RowRecord(*MSFlexGrid1, row)) ShowUnits(row);
}

void frmMain::ShowUnits(int row) {
  const bool hasRow = row >= 1 && row < MSFlexGrid1->Rows();
  captionRecord_ = hasRow ? RowRecord(*MSFlexGrid1, row) : QStringList();
  Label1->setText(hasRow ? captionRecord_[0] : QString());
  Label2->setText(hasRow ? captionRecord_[1] : QString());
}

void frmMain::ReconvertCurrentRow(const PatternSet &set) {
  const int row = MSFlexGrid1->Row();
  const bool hasRow = row >= 1 && row < MSFlexGrid1->Rows();
  if (!Text1->text().isEmpty() && hasRow) {
    const NumberSeparators sep = CurrentSeparators();
    const RowFactors f = ReadFactors(*MSFlexGrid1, row, sep);
    const ReadResult v = ReadNumber(Text1->text(), sep);
    const std::optional<double> r =
        f.ok && v.ok() ? Convert(v.value, f.m, f.a, true) : std::nullopt;
    if (!r) {
      // Nothing that was not computed from the inputs may appear in the fields.
      QApplication::beep();
    } else {
      QString text1 = Text1->text();
      QString text2 = GeneralText(*r, sep);
      RenderValueFields(text1, text2, Combo2->currentText(), set, sep);
      ShowValue(Text2, text2);
      ShowValue(Text1, text1);
    }
  }
  ShowUnits(hasRow ? row : 0);
}

void frmMain::Combo1_Click() {
  BusyCursor busy;
  const QString group = Combo1->currentText();
  const bool all = group == QLatin1String(kAllTypes);
  MSFlexGrid1->SetRedraw(false);
  MSFlexGrid1->ClearBody();
  // The master table's last row is the empty one after the records.
  const int records = FG1->Rows() - 2;
  bool added = false;
  if (all) {
    // Every record in file order: the master table's cells, shared rather than copied.
    MSFlexGrid1->ShareRows(*FG1, records);
    added = records > 0;
  } else {
    for (int r = 1; r <= records; ++r) {
      if (FG1->TextMatrix(r, 2).contains(group, Qt::CaseSensitive)) {
        MSFlexGrid1->AddRowOf(*FG1, r);
        added = true;
      }
    }
  }
  if (added) {
    PlainHeader();
  }
  MSFlexGrid1->SetRedraw(true);
  if (MSFlexGrid1->Rows() > 1) {
    MSFlexGrid1->SetRow(1);
    MSFlexGrid1->SetCol(0);
    MSFlexGrid1->SetTopRow(1);
  }
  ReconvertCurrentRow(TableFormats);
}

void frmMain::Combo2_Click() {
  if (Text1->text().isEmpty()) return;
  QString text1 = Text1->text(), text2 = Text2->text();
  RenderValueFields(text1, text2, Combo2->currentText(), DigitsChangeFormats, CurrentSeparators());
  ShowValue(Text2, text2);
  ShowValue(Text1, text1);
}

}  // namespace qlc
