#include "widgets/caption_label.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

#include "widgets/design.h"

namespace qlc {

CaptionLabel::CaptionLabel(QWidget *parent, const char *name, const QFont &font) : QLabel(parent) {
  setObjectName(QString::fromLatin1(name));
  setFont(font);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // A name is shown as it is, never as markup.
  setTextFormat(Qt::PlainText);
}

FittedLines CaptionLabel::Shown() const {
  const QFontMetrics metrics = fontMetrics();
  const QRect box = contentsRect();
  // Lines that fit whole: every one but the last takes the line spacing.
  const int lines = 1 + std::max(0, box.height() - metrics.height()) / metrics.lineSpacing();
  return FitLines(text(), box.width(), lines,
                  [&metrics](const QString &s) { return metrics.horizontalAdvance(s); });
}

bool CaptionLabel::event(QEvent *event) {
  if (event->type() == QEvent::ToolTip && Shown().cut) {
    const auto *help = static_cast<QHelpEvent *>(event);
    QToolTip::showText(help->globalPos(), PlainTip(text()), this, rect());
    return true;
  }
  return QLabel::event(event);
}

void CaptionLabel::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  const QFontMetrics metrics = fontMetrics();
  QRect line = contentsRect();
  line.setHeight(metrics.height());
  const int align =
      int(QStyle::visualAlignment(layoutDirection(), alignment()) & Qt::AlignHorizontal_Mask);
  for (const QString &text : Shown().lines) {
    style()->drawItemText(&painter, line, align | Qt::AlignTop | Qt::TextSingleLine, palette(),
                          isEnabled(), text, foregroundRole());
    line.translate(0, metrics.lineSpacing());
  }
}

}  // namespace qlc
