// A table of the layer's handles: small integers standing for objects the
// layer keeps (files, searches, registry keys). Each table numbers its
// handles in a range of its own (its kind in the bits above the low 20), so a
// handle of one kind given to a call of another is not found; and numbers are
// not reused until a table has handed out a million of them, so a stale
// handle does not reach a newer object. Either way the caller gives the
// platform's failure result.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <utility>

namespace platform {

template <typename Object>
class HandleTable {
 public:
  // `kind` from 1 to 2047, one per table.
  explicit HandleTable(int kind) : base_(kind << kSerialBits) {}

  // A new handle for `object`; 0 when every number of the table is in use.
  int Add(Object object) {
    std::lock_guard<std::mutex> hold(lock_);
    for (int tries = 0; tries < kSerialMask; ++tries) {
      serial_ = (serial_ & kSerialMask) + 1;
      if (serial_ > kSerialMask) serial_ = 1;
      int handle = base_ | serial_;
      if (objects_.count(handle) == 0) {
        objects_.emplace(handle, std::move(object));
        return handle;
      }
    }
    return 0;
  }

  // Runs `use` on the object of a live handle; false for any other handle.
  template <typename Use>
  bool With(int handle, Use use) {
    std::lock_guard<std::mutex> hold(lock_);
    auto found = objects_.find(handle);
    if (found == objects_.end()) return false;
    use(found->second);
    return true;
  }

  // Takes the object out; nothing for a handle that is not live.
  std::optional<Object> Remove(int handle) {
    std::lock_guard<std::mutex> hold(lock_);
    auto found = objects_.find(handle);
    if (found == objects_.end()) return std::nullopt;
    Object object = std::move(found->second);
    objects_.erase(found);
    return object;
  }

 private:
  static constexpr int kSerialBits = 20;
  static constexpr int kSerialMask = (1 << kSerialBits) - 1;

  std::mutex lock_;
  std::map<int, Object> objects_;
  int base_;
  int serial_ = 0;
};

}  // namespace platform
