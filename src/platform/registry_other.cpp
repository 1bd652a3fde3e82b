#include "platform/registry.h"

namespace qlc {

namespace {

// Systems without a registry: every key is missing.
class NoRegistry final : public Registry {
 public:
  long OpenKey(std::uint32_t, const std::string &, std::uint32_t, Handle &) override {
    return kRegFileNotFound;
  }
  long QueryValue(Handle, const std::string &, std::uint32_t &, unsigned char *,
                  std::uint32_t &) override {
    return kRegFileNotFound;
  }
  long CloseKey(Handle) override { return kRegSuccess; }
};

}  // namespace

std::unique_ptr<Registry> SystemRegistry() {
  return std::make_unique<NoRegistry>();
}

}  // namespace qlc
