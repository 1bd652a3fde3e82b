#pragma once
// The registry as the system information lookup reads it: the three calls of the Windows
// API with their status codes (0 is success). Kept free of Qt so that the Windows backend
// can be checked with a cross compiler on its own.

#include <cstdint>
#include <memory>
#include <string>

namespace qlc {

inline constexpr std::uint32_t kHKeyLocalMachine = 0x80000002u;
// Read control plus query value, set value, create subkey, enumerate subkeys, notify and
// create link.
inline constexpr std::uint32_t kKeyAllAccess = 0x2003Fu;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr long kRegSuccess = 0;
inline constexpr long kRegFileNotFound = 2;
inline constexpr long kRegMoreData = 234;
// The size of the buffer a value is read into; longer data counts as not found.
inline constexpr std::uint32_t kRegValueBufferSize = 1024;

class Registry {
 public:
  using Handle = std::uintptr_t;
  virtual ~Registry() = default;
  virtual long OpenKey(std::uint32_t root, const std::string &path, std::uint32_t access,
                       Handle &key) = 0;
  // length: in, the size of data; out, the length of the value's data, also when the
  // buffer was too small (then the status is kRegMoreData).
  virtual long QueryValue(Handle key, const std::string &name, std::uint32_t &type,
                          unsigned char *data, std::uint32_t &length) = 0;
  virtual long CloseKey(Handle key) = 0;
};

// The registry of the system; on systems without one every key is missing.
std::unique_ptr<Registry> SystemRegistry();

}  // namespace qlc
