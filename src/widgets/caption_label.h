#pragma once

#include <QLabel>

#include "rules/text_lines.h"

namespace qlc {

// A label for a name of any length: the name wraps over the lines its height holds, and when
// it needs more the last line ends in "…" and hovering shows the whole name. text() stays the
// whole name, for screen readers too.
class CaptionLabel : public QLabel {
  Q_OBJECT
 public:
  CaptionLabel(QWidget *parent, const char *name, const QFont &font);

  // The lines as painted.
  FittedLines Shown() const;

 protected:
  bool event(QEvent *event) override;
  void paintEvent(QPaintEvent *event) override;
};

}  // namespace qlc
