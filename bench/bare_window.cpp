// The start-up yardstick: a Qt Widgets program showing one empty window of the
// converter's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.resize(456, 300);
  window.show();
  return QApplication::exec();
}
