#include "platform/registry.h"

#include <algorithm>
#include <cstring>

namespace qlc {

void FakeRegistry::SetValue(std::uint32_t root, const std::string &path, const std::string &name,
                            std::uint32_t type, std::vector<unsigned char> data) {
  keys_[{root, path}][name] = {type, std::move(data)};
}

void FakeRegistry::AddKey(std::uint32_t root, const std::string &path) {
  keys_[{root, path}];
}

long FakeRegistry::OpenKey(std::uint32_t root, const std::string &path, std::uint32_t access,
                           Handle &key) {
  log.push_back("open " + path);
  lastAccess = access;
  const auto it = keys_.find({root, path});
  if (it == keys_.end()) return kRegFileNotFound;
  key = next_++;
  open_[key] = &it->second;
  return kRegSuccess;
}

long FakeRegistry::QueryValue(Handle key, const std::string &name, std::uint32_t &type,
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

long FakeRegistry::CloseKey(Handle key) {
  log.push_back("close");
  return open_.erase(key) == 1 ? kRegSuccess : 6;
}

}  // namespace qlc
