#pragma once
// Doubles of the desktop's services, under the tests' control.

#include <QIcon>
#include <QMenu>
#include <QString>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"
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

}  // namespace qlc::test
