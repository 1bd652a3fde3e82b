#include "platform/registry.h"
#include "platform/windows_sdk.h"

namespace qlc {

// The portable constants are the SDK's own. The SDK's roots are handles, which no constant
// expression may hold; where HKEY names a number, HKEY_LOCAL_MACHINE reads as that number.
namespace sdk_numbers {
using HKEY = ULONG_PTR;
static_assert(HKEY_LOCAL_MACHINE == static_cast<ULONG_PTR>(static_cast<LONG>(kHKeyLocalMachine)));
}  // namespace sdk_numbers
static_assert(kKeyAllAccess ==
              (READ_CONTROL | KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY |
               KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY | KEY_CREATE_LINK));
static_assert(kRegSz == REG_SZ && kRegDword == REG_DWORD);
static_assert(kRegSuccess == ERROR_SUCCESS && kRegFileNotFound == ERROR_FILE_NOT_FOUND &&
              kRegMoreData == ERROR_MORE_DATA);

namespace {

HKEY ToHKey(Registry::Handle handle) {
  return reinterpret_cast<HKEY>(handle);
}

class WindowsRegistry final : public Registry {
 public:
  long OpenKey(std::uint32_t root, const std::string &path, std::uint32_t access,
               Handle &key) override {
    // Predefined roots are 32-bit values sign-extended to a handle, as the SDK defines them.
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(rootKey, path.c_str(), 0, REGSAM(access), &opened);
    key = reinterpret_cast<Handle>(opened);
    return status;
  }

  long QueryValue(Handle key, const std::string &name, std::uint32_t &type, unsigned char *data,
                  std::uint32_t &length) override {
    DWORD valueType = 0;
    DWORD valueLength = length;
    const LONG status =
        RegQueryValueExA(ToHKey(key), name.c_str(), nullptr, &valueType, data, &valueLength);
    type = valueType;
    length = valueLength;
    return status;
  }

  long CloseKey(Handle key) override { return RegCloseKey(ToHKey(key)); }
};

}  // namespace

std::unique_ptr<Registry> SystemRegistry() {
  return std::make_unique<WindowsRegistry>();
}

}  // namespace qlc
