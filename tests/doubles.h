#pragma once
// Doubles of the desktop's services, under the tests' control, and a stand-in for the user
// who answers the modal boxes.

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/services.h"
#include "platform/tray_host.h"

namespace qlc::test {

// An in-memory registry for tests: values by root, key path and value name, and a log of
// every call in the order made.
class FakeRegistry final : public Registry {
 public:
  void SetValue(std::uint32_t root, const std::string &path, const std::string &name,
                std::uint32_t type, std::vector<unsigned char> data);
  // A key that exists without values.
  void AddKey(std::uint32_t root, const std::string &path);

  long OpenKey(std::uint32_t root, const std::string &path, std::uint32_t access,
               Handle &key) override;
  long QueryValue(Handle key, const std::string &name, std::uint32_t &type, unsigned char *data,
                  std::uint32_t &length) override;
  long CloseKey(Handle key) override;

  // "open PATH", "query NAME", "close"; failed opens are logged too.
  std::vector<std::string> log;
  int OpenHandles() const { return int(open_.size()); }

 private:
  using Values = std::map<std::string, std::pair<std::uint32_t, std::vector<unsigned char>>>;
  std::map<std::pair<std::uint32_t, std::string>, Values> keys_;
  std::map<Handle, const Values *> open_;
  Handle next_ = 0x100;
};

inline void FakeRegistry::SetValue(std::uint32_t root, const std::string &path,
                                   const std::string &name, std::uint32_t type,
                                   std::vector<unsigned char> data) {
  keys_[{root, path}][name] = {type, std::move(data)};
}

inline void FakeRegistry::AddKey(std::uint32_t root, const std::string &path) {
  keys_[{root, path}];
}

inline long FakeRegistry::OpenKey(std::uint32_t root, const std::string &path,
                                  std::uint32_t /*access*/, Handle &key) {
  log.push_back("open " + path);
  const auto it = keys_.find({root, path});
  if (it == keys_.end()) return kRegFileNotFound;
  key = next_++;
  open_[key] = &it->second;
  return kRegSuccess;
}

inline long FakeRegistry::QueryValue(Handle key, const std::string &name, std::uint32_t &type,
                                     unsigned char *data, std::uint32_t &length) {
  log.push_back("query " + name);
  const auto k = open_.find(key);
  if (k == open_.end()) return 6;  // an invalid handle
  const auto v = k->second->find(name);
  if (v == k->second->end()) return kRegFileNotFound;
  type = v->second.first;
  const auto &bytes = v->second.second;
  const std::uint32_t capacity = length;
  length = std::uint32_t(bytes.size());
  if (bytes.size() > capacity) return kRegMoreData;
  if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
  return kRegSuccess;
}

inline long FakeRegistry::CloseKey(Handle key) {
  log.push_back("close");
  return open_.erase(key) == 1 ? kRegSuccess : 6;
}

// A tray host under the test's control: availability is a flag, mouse actions are sent
// with Click().
class FakeTrayHost : public TrayHost {
 public:
  using TrayHost::TrayHost;

  bool Available() const override { return available; }
  void SetIcon(const QIcon &i) override { icon = i; }
  void SetToolTip(const QString &tip) override { toolTip = tip; }
  void SetMenu(QMenu *m) override { menu = m; }
  void ShowIcon() override { requested = true; }
  void HideIcon() override { requested = false; }
  bool IconRequested() const override { return requested; }

  // What a host does on a mouse action: it reports only for an icon it shows.
  void Click(QSystemTrayIcon::ActivationReason reason) {
    if (available && requested) emit Activated(reason);
  }

  bool available = true;
  bool requested = false;
  QIcon icon;
  QString toolTip;
  QMenu *menu = nullptr;
};

// Records every address instead of opening it.
class RecordingShell final : public Shell {
 public:
  bool Open(const QUrl &url) override {
    opened.append(url);
    return true;
  }
  QList<QUrl> opened;
};

// Programs that exist by name: FileExists knows `files`, FindOnPath finds each of `onPath`
// in /usr/bin. Every call goes to `log` ("exists P", "find N", "start P").
class FakePrograms final : public Programs {
 public:
  explicit FakePrograms(std::vector<std::string> &log) : log_(log) {}
  bool FileExists(const QString &path) override {
    log_.push_back("exists " + path.toStdString());
    return files.contains(path);
  }
  QString FindOnPath(const QString &name) override {
    log_.push_back("find " + name.toStdString());
    return onPath.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
  }
  bool StartDetached(const QString &program) override {
    log_.push_back("start " + program.toStdString());
    return starts;
  }
  QStringList files, onPath;
  bool starts = true;

 private:
  std::vector<std::string> &log_;
};

// Hands out FakeTrayHosts; the last one made is `host`.
class FakeTrayHosts final : public TrayHosts {
 public:
  std::unique_ptr<TrayHost> MakeTrayHost() override {
    auto made = std::make_unique<FakeTrayHost>();
    made->available = available;
    host = made.get();
    return made;
  }
  bool available = true;  // for the hosts made from now on
  FakeTrayHost *host = nullptr;
};

// While it lives, the program uses doubles for every desktop service. The programs log into
// the registry's log, so that one list shows the order of every call.
class Doubles {
 public:
  Doubles() : previous_(CurrentServices()) {
    CurrentServices() = {&shell, &registry, &programs, &trayHosts};
  }
  ~Doubles() { CurrentServices() = previous_; }
  Doubles(const Doubles &) = delete;
  Doubles &operator=(const Doubles &) = delete;

  RecordingShell shell;
  FakeRegistry registry;
  FakePrograms programs{registry.log};
  FakeTrayHosts trayHosts;

 private:
  Services previous_;
};

// While it lives, answers every modal message box and close prompt (the dialog named
// "Dialog") as a user would: records its text, calls `onShown` while it is open, and once
// its modal loop runs presses a button through a queued click, so the loop ends on its own. A
// message box gets OK; the prompt gets the button named `press`, or its close box when that is
// empty.
class ModalAnswers final : public QObject {
 public:
  ModalAnswers() { qApp->installEventFilter(this); }
  ~ModalAnswers() override { qApp->removeEventFilter(this); }

  QString press = QStringLiteral("OKButton");
  std::function<void()> onShown;
  QStringList texts;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    auto *dialog = qobject_cast<QDialog *>(watched);
    if (event->type() != QEvent::Show || !dialog || !dialog->isModal()) return false;
    auto *box = qobject_cast<QMessageBox *>(dialog);
    if (!box && dialog->objectName() != QLatin1String("Dialog")) return false;
    const auto *label = dialog->findChild<QLabel *>();
    texts << (box ? box->text() : label ? label->text() : QString());
    if (onShown) onShown();
    if (box)
      Answer(box, box->button(QMessageBox::Ok));
    else if (press.isEmpty())
      QMetaObject::invokeMethod(dialog, &QWidget::close, Qt::QueuedConnection);
    else
      Answer(dialog, dialog->findChild<QPushButton *>(press));
    return false;
  }

 private:
  // A box without that button is rejected, so that the test sees a wrong answer rather
  // than waiting on the box.
  static void Answer(QDialog *dialog, QAbstractButton *button) {
    if (button) {
      QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
    } else {
      qWarning("ModalAnswers: %s has no such button", qPrintable(dialog->objectName()));
      QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
    }
  }
};

}  // namespace qlc::test
