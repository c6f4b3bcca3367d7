#pragma once
// An integer-to-integer correspondence map. A number is "in" the map when
// its value is non-zero; looking up an absent number gives 0 and adds
// nothing. has_entries is true once a value has been stored since the map
// was last emptied.
#include <unordered_map>

namespace ejscope {

class sootv {
 public:
  int get(int key) const {
    auto it = values_.find(key);
    return it == values_.end() ? 0 : it->second;
  }
  bool contains(int key) const { return get(key) != 0; }
  void set(int key, int value) {
    values_[key] = value;
    has_entries_ = true;
  }
  bool has_entries() const { return has_entries_; }
  // The smallest key whose value equals `value`; -1 when nothing has been
  // stored since the map was last emptied, or when no key holds the value.
  int smallest_key_of(int value) const {
    if (!has_entries_) return -1;
    bool any = false;
    int found = -1;
    for (const auto& [key, held] : values_) {
      if (held == value && (!any || key < found)) {
        found = key;
        any = true;
      }
    }
    return found;
  }
  void clear() {
    values_.clear();
    has_entries_ = false;
  }

 private:
  std::unordered_map<int, int> values_;
  bool has_entries_ = false;
};

}  // namespace ejscope
