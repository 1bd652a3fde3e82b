#pragma once
// The windows are designed in twips and in Windows fonts; these turn the design into
// logical pixels and into fonts this desktop has.

#include <QAbstractButton>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <cmath>

class QComboBox;

namespace qlc {

// The design's unit: 15 twips to the logical pixel.
inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPx(int twips) {
  return int(std::lround(double(twips) / kTwipsPerPixel));
}

template <typename Widget>
Widget *PlaceTwips(Widget *w, int left, int top, int width, int height) {
  w->setGeometry(TwipsToPx(left), TwipsToPx(top), TwipsToPx(width), TwipsToPx(height));
  return w;
}

// The design's typefaces.
enum class Face { Arial, MsSansSerif, CopperplateGothicBold };

// The face where it is installed, else its nearest installed stand-in (Liberation Sans,
// DejaVu Sans, DejaVu Serif). Choosing an installed family up front spares the font
// fallback search for every font made, which is a large part of the start-up.
QFont DesignFont(Face face, double points, bool bold = false);

// The maker's home page, which the main window and the About box both link to.
inline constexpr char kHomePage[] = "https://www.quellor.example/";
inline constexpr char kHomePageText[] = "www.quellor.example";

// Navy text, as the design's titles and links have. Where navy does not stand out from the
// palette's window colour (a dark or high-contrast desktop), a tint of it that does; it
// follows every later change of the palette.
void SetNavy(QWidget *widget);

// A label named as the design says.
QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, Qt::Alignment align,
                  const QFont &font, bool wordWrap = false);

// A label that works as a link: Arial bold underlined, navy, a pointing hand. A left click
// released on it is a click, as are Enter and Space while Tab has brought the focus to it.
class LinkLabel : public QLabel {
  Q_OBJECT
 public:
  LinkLabel(QWidget *parent, const char *name, const QString &text, Qt::Alignment align,
            double points, const QString &description);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void paintEvent(QPaintEvent *event) override;
};

// Makes the open list of a drop-down list as wide as its widest entry (at most the screen's
// width), so that entries show whole; what still does not fit is cut at its end.
void FitListToEntries(QComboBox *combo);

// A push button named and captioned as the design says. No button is a dialog's default
// button; with enterPresses, Enter presses the button while it has the focus.
QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption,
                        bool enterPresses);

// A tooltip that shows a text as it is: Qt would read a name that looks like markup as rich
// text (a user's "<b>" unit drawn bold, its tags gone).
QString PlainTip(const QString &text);

// One of the program's pictures (":/NAME.png" with its 2x variant) as an icon.
QIcon Picture(const char *name);
// A button's picture, dark on a transparent ground, that stays readable: the picture as
// drawn where it stands out from the palette's button colour, else its shape in the
// palette's button-text colour. It follows every later change of the palette.
void SetButtonPicture(QAbstractButton *button, const char *name);

}  // namespace qlc
