#pragma once
// Doubles of the desktop's services, and a stand-in for the user who answers the modal boxes.

#include <QApplication>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#include "platform/registry.h"
#include "platform/services.h"
#include "platform/tray_host.h"

namespace qlc::test {

// Values by root, path and name; `log` has "open PATH" (failed ones too), "query NAME", "close".
struct FakeRegistry final : Registry {
  void SetValue(std::uint32_t root, const std::string &path, const std::string &name,
                std::uint32_t type, std::vector<unsigned char> data) {
    keys_[{root, path}][name] = {type, std::move(data)};
  }
  long OpenKey(std::uint32_t root, const std::string &path, std::uint32_t, Handle &key) override {
    log.push_back("open " + path);
    const auto it = keys_.find({root, path});
    if (it == keys_.end()) return kRegFileNotFound;
    open_[key = next_++] = &it->second;
    return kRegSuccess;
  }
  long QueryValue(Handle key, const std::string &name, std::uint32_t &type, unsigned char *data,
                  std::uint32_t &length) override {
    log.push_back("query " + name);
    if (!open_.contains(key)) return 6;  // an invalid handle
    if (!open_[key]->contains(name)) return kRegFileNotFound;
    const auto &[t, bytes] = open_[key]->at(name);
    const bool fits = bytes.size() <= std::exchange(length, std::uint32_t(bytes.size()));
    if (fits) std::copy(bytes.begin(), bytes.end(), data);
    return type = t, fits ? kRegSuccess : kRegMoreData;
  }
  long CloseKey(Handle key) override {
    log.push_back("close");
    return open_.erase(key) == 1 ? kRegSuccess : 6;
  }
  int OpenHandles() const { return int(open_.size()); }
  std::vector<std::string> log;

 private:
  using Values = std::map<std::string, std::pair<std::uint32_t, std::vector<unsigned char>>>;
  std::map<std::pair<std::uint32_t, std::string>, Values> keys_;
  std::map<Handle, const Values *> open_;
  Handle next_ = 0x100;
};

// Click() is a mouse action on the icon: a host reports it only for an icon it shows.
struct FakeTrayHost : TrayHost {
  bool Available() const override { return available; }
  void SetIcon(const QIcon &) override {}
  void SetToolTip(const QString &text) override { tip = text; }
  void SetMenu(QMenu *) override {}
  void ShowIcon() override { requested = true; }
  void HideIcon() override { requested = false; }
  bool IconRequested() const override { return requested; }
  void Click(TrayClick click) {
    if (available && requested) emit Activated(click);
  }
  bool available = true, requested = false;
  QString tip;
};

struct RecordingShell final : Shell {
  bool Open(const QUrl &url) override { return opened.append(url), true; }
  QList<QUrl> opened;
};

// `files` exist, `onPath` are in /usr/bin; `log` gets "exists P", "find N", "start P".
struct FakePrograms final : Programs {
  explicit FakePrograms(std::vector<std::string> &log) : log_(log) {}
  bool FileExists(const QString &p) override { return Log("exists ", p), files.contains(p); }
  QString FindOnPath(const QString &n) override {
    return Log("find ", n), onPath.contains(n) ? QStringLiteral("/usr/bin/") + n : QString();
  }
  bool StartDetached(const QString &p) override { return Log("start ", p), starts; }
  QStringList files, onPath;
  bool starts = true;

 private:
  void Log(const char *what, const QString &s) { log_.push_back(what + s.toStdString()); }
  std::vector<std::string> &log_;
};

// `available` is for the hosts made from now on; `host` is the last one made.
struct FakeTrayHosts final : TrayHosts {
  std::unique_ptr<TrayHost> MakeTrayHost() override {
    auto made = std::make_unique<FakeTrayHost>();
    (host = made.get())->available = available;
    return made;
  }
  bool available = true;
  FakeTrayHost *host = nullptr;
};

// While it lives, the program uses these doubles; one log shows every call in order.
struct Doubles {
  Doubles()
      : previous_(std::exchange(CurrentServices(), {.shell = &shell,
                                                    .registry = &registry,
                                                    .programs = &programs,
                                                    .trayHosts = &trayHosts})) {}
  ~Doubles() { CurrentServices() = previous_; }
  Q_DISABLE_COPY(Doubles)
  RecordingShell shell;
  FakeRegistry registry;
  FakePrograms programs{registry.log};
  FakeTrayHosts trayHosts;

 private:
  Services previous_;
};

// While it lives, stands in for the user at each modal dialog, in the dialog's own loop: calls
// `onShown`, records what the dialog says and answers it. A message box: its text, OK. The close
// prompt: its message, its button `press` (empty: its close box). A dialog named in `buttons`:
// its caption, that button. A dialog named in `own` is the test's own and left alone. Any other
// modal dialog fails the test at once, naming it, and is rejected, so that the test goes on
// instead of waiting for CTest's timeout.
struct ModalAnswers final : QObject {
  ModalAnswers() { qApp->installEventFilter(this); }
  ~ModalAnswers() override { qApp->removeEventFilter(this); }
  QString press = QStringLiteral("OKButton");
  QMap<QString, QString> buttons;  // a dialog's name: the name of the button to press
  QStringList own;                 // dialogs the test shows and drives itself
  std::function<void()> onShown;
  QStringList texts;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    auto *dialog = qobject_cast<QDialog *>(watched);
    if (event->type() != QEvent::Show || !dialog || !dialog->isModal()) return false;
    auto *box = qobject_cast<QMessageBox *>(dialog);
    const QString name = dialog->objectName();
    const bool prompt = !box && name == QLatin1String("Dialog");
    if (own.contains(name)) return false;
    // The program's message boxes all look alike: named, its caption, OK alone.
    if (box &&
        (name != QLatin1String("MessageBox") || box->windowTitle() != QLatin1String("qlconvert") ||
         box->standardButtons() != QMessageBox::Ok))
      QTest::qFail("a message box unlike the program's own", __FILE__, __LINE__);
    if (!box && !prompt && !buttons.contains(name)) {
      texts << QStringLiteral("no answer for %1 \"%2\"").arg(name, dialog->windowTitle());
      QTest::qFail(qPrintable("ModalAnswers has " + texts.last() + "; give it one in `buttons`"),
                   __FILE__, __LINE__);
      QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
      return false;
    }
    const auto *label = dialog->findChild<QLabel *>();
    texts << (box      ? box->text()
              : prompt ? (label ? label->text() : QString())
                       : dialog->windowTitle());
    if (onShown) onShown();
    const QPointer<QDialog> shown(dialog);
    const QPointer<QAbstractButton> button =
        box ? box->button(QMessageBox::Ok)
            : dialog->findChild<QPushButton *>(prompt ? press : buttons.value(name));
    const bool closeBox = prompt && press.isEmpty();
    // Answered once its own loop runs: a dialog that is gone by then never waited for the user.
    QMetaObject::invokeMethod(
        this,
        [this, shown, button, closeBox] {
          if (!shown || !shown->isVisible())
            texts << QStringLiteral("gone before it was answered");
          else if (closeBox)
            shown->close();
          else if (button)
            button->click();
          else
            shown->reject();
        },
        Qt::QueuedConnection);
    return false;
  }
};

}  // namespace qlc::test
