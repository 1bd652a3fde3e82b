#include "widgets/design.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <functional>

#include "rules/contrast.h"

namespace qlc {

QFont DesignFont(Face face, double points, bool bold) {
  static const std::array<QString, 3> chosen = [] {
    // The installed families, looked up in the list the font database reads anyway:
    // hasFamily() would first run each name through fontconfig's alias rules, which costs
    // more than the rest of the start-up's font work.
    const QStringList installed = QFontDatabase::families();
    auto first = [&installed](std::initializer_list<const char *> families) {
      for (const char *family : families)
        if (installed.contains(QLatin1String(family), Qt::CaseInsensitive))
          return QString::fromLatin1(family);
      return QString::fromLatin1(*families.begin());  // let the desktop substitute
    };
    return std::array<QString, 3>{
        first({"Arial", "Liberation Sans", "DejaVu Sans"}),
        first({"MS Sans Serif", "Liberation Sans", "DejaVu Sans"}),
        first({"Copperplate Gothic Bold", "DejaVu Serif", "Liberation Serif"})};
  }();
  QFont font(chosen[size_t(face)]);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption,
                        bool enterPresses) {
  auto *button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAccessibleName(QString(caption).remove(u'&'));  // without the mnemonic mark
  button->setAutoDefault(enterPresses);
  button->setDefault(false);
  return button;
}

namespace {

Rgb ToRgb(const QColor &c) {
  return {c.red(), c.green(), c.blue()};
}

QColor ToColor(Rgb c) {
  return {c.red, c.green, c.blue};
}

// Calls apply on the widget now and whenever its palette changes later: a new desktop theme
// arrives as a new application palette, which every widget inherits.
class PaletteFollower : public QObject {
 public:
  PaletteFollower(QWidget *widget, std::function<void(QWidget *)> apply)
      : QObject(widget), apply_(std::move(apply)) {
    apply_(widget);
    widget->installEventFilter(this);
  }

  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::PaletteChange) apply_(static_cast<QWidget *>(watched));
    return false;
  }

 private:
  std::function<void(QWidget *)> apply_;
};

void ApplyNavy(QWidget *widget) {
  constexpr Rgb navy{0, 0, 128};
  QPalette palette = widget->palette();
  bool changed = false;
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const QColor ink = ToColor(ReadableTint(navy, ToRgb(palette.color(group, QPalette::Window))));
    // Setting the palette sends another palette change; only a real change is set.
    if (palette.color(group, QPalette::WindowText) == ink &&
        palette.isBrushSet(group, QPalette::WindowText))
      continue;
    palette.setColor(group, QPalette::WindowText, ink);
    changed = true;
  }
  if (changed) widget->setPalette(palette);
}

// Read with the built-in PNG reader alone; without this, Qt asks every image plugin
// whether it can read the file first.
QPixmap ReadPng(const QString &path, qreal devicePixelRatio) {
  QImageReader reader(path, "png");
  reader.setAutoDetectImageFormat(false);
  QPixmap pixmap = QPixmap::fromImage(reader.read());
  pixmap.setDevicePixelRatio(devicePixelRatio);
  return pixmap;
}

// The picture at 1x and at 2x.
std::array<QPixmap, 2> PicturePixmaps(const char *name) {
  const QString base = QStringLiteral(":/") + QLatin1String(name);
  return {ReadPng(base + QStringLiteral(".png"), 1.0),
          ReadPng(base + QStringLiteral("@2x.png"), 2.0)};
}

// The colour of the picture's most opaque pixel: the colour it is drawn in.
QColor InkOf(const QPixmap &picture) {
  const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
  QRgb ink = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) > qAlpha(ink)) ink = image.pixel(x, y);
  return QColor(ink);
}

// The picture's shape (its alpha) filled with one colour, at the picture's own resolution.
QPixmap Inked(const QPixmap &picture, const QColor &ink) {
  QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(1.0);
  QPainter painter(&image);
  painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
  painter.fillRect(image.rect(), ink);
  painter.end();
  QPixmap out = QPixmap::fromImage(image);
  out.setDevicePixelRatio(picture.devicePixelRatio());
  return out;
}

QIcon IconOf(const std::array<QPixmap, 2> &pixmaps) {
  QIcon icon;
  for (const QPixmap &pixmap : pixmaps) icon.addPixmap(pixmap);
  return icon;
}

}  // namespace

void SetNavy(QWidget *widget) {
  new PaletteFollower(widget, ApplyNavy);
}

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, Qt::Alignment align,
                  const QFont &font, bool wordWrap) {
  auto *label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(font);
  label->setWordWrap(wordWrap);
  label->setAlignment(align);
  return label;
}

LinkLabel::LinkLabel(QWidget *parent, const char *name, const QString &text, Qt::Alignment align,
                     double points, const QString &description)
    : QLabel(text, parent) {
  setObjectName(QString::fromLatin1(name));
  setAlignment(align);
  QFont font = DesignFont(Face::Arial, points, true);
  font.setUnderline(true);
  setFont(font);
  SetNavy(this);
  setCursor(Qt::PointingHandCursor);
  setAccessibleDescription(description);
  // Reached by Tab, after the window's own controls; a click does not take the focus.
  setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) emit clicked();
}

void LinkLabel::keyPressEvent(QKeyEvent *event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
    emit clicked();
    return;
  }
  QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent *event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  // The focus frame around the text, so that the keyboard's place can be seen.
  QStyleOptionFocusRect frame;
  frame.initFrom(this);
  frame.rect = QStyle::alignedRect(layoutDirection(), alignment(),
                                   fontMetrics().size(Qt::TextSingleLine, text()), contentsRect())
                   .adjusted(-1, 0, 1, 0)
                   .intersected(rect());
  QPainter painter(this);
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
}

void FitListToEntries(QComboBox *combo) {
  QAbstractItemView *list = combo->view();
  list->setTextElideMode(Qt::ElideRight);
  int width = list->sizeHintForColumn(0) + 2 * list->frameWidth();
  if (combo->count() > combo->maxVisibleItems())
    width += list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
  if (const QScreen *screen = combo->screen())
    width = std::min(width, screen->availableGeometry().width());
  list->setMinimumWidth(width);
}

QIcon Picture(const char *name) {
  return IconOf(PicturePixmaps(name));
}

void SetButtonPicture(QAbstractButton *button, const char *name) {
  const std::array<QPixmap, 2> design = PicturePixmaps(name);
  const QColor designInk = InkOf(design[0]);
  // shown: the ink of the picture set last; invalid before the first.
  new PaletteFollower(button, [=, shown = QColor()](QWidget *widget) mutable {
    const QPalette &palette = widget->palette();
    const Rgb ground = ToRgb(palette.color(QPalette::Button));
    QColor ink = designInk;
    if (ContrastRatio(ToRgb(designInk), ground) < kReadableContrast)
      ink = ToColor(ReadableTint(ToRgb(palette.color(QPalette::ButtonText)), ground));
    if (ink == shown) return;
    shown = ink;
    static_cast<QAbstractButton *>(widget)->setIcon(
        ink == designInk ? IconOf(design) : IconOf({Inked(design[0], ink), Inked(design[1], ink)}));
  });
}

QString PlainTip(const QString &text) {
  return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal) : text;
}

}  // namespace qlc
