#include "main_window/design.h"

#include <QFontDatabase>
#include <QImageReader>
#include <QPixmap>
#include <array>

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

void SetNavy(QWidget *widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
  widget->setPalette(palette);
}

void StyleAsLink(QWidget *label, double points) {
  QFont font = DesignFont(Face::Arial, points, true);
  font.setUnderline(true);
  label->setFont(font);
  SetNavy(label);
  label->setCursor(Qt::PointingHandCursor);
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

// Read with the built-in PNG reader alone; without this, Qt asks every image plugin
// whether it can read the file first.
QPixmap ReadPng(const QString &path, qreal devicePixelRatio) {
  QImageReader reader(path, "png");
  reader.setAutoDetectImageFormat(false);
  QPixmap pixmap = QPixmap::fromImage(reader.read());
  pixmap.setDevicePixelRatio(devicePixelRatio);
  return pixmap;
}

}  // namespace

QIcon Picture(const char *name) {
  const QString base = QStringLiteral(":/") + QLatin1String(name);
  QIcon icon;
  icon.addPixmap(ReadPng(base + QStringLiteral(".png"), 1.0));
  icon.addPixmap(ReadPng(base + QStringLiteral("@2x.png"), 2.0));
  return icon;
}

}  // namespace qlc
