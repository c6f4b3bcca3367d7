#pragma once
// An integer-to-integer correspondence map. A number is "in" the map when
// its value is non-zero; looking up an absent number gives 0 and adds
// nothing. has_entries is true once a value has been stored since the map
// was last emptied.
#include <set>
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
    auto [it, added] = values_.try_emplace(key, value);
    if (!added) {
      forget_key(it->second, key);
      it->second = value;
    }
    keys_by_value_[value].insert(key);
    has_entries_ = true;
  }
  bool has_entries() const { return has_entries_; }
  // The smallest key whose value equals `value`; -1 when nothing has been
  // stored since the map was last emptied, or when no key holds the value.
  int smallest_key_of(int value) const {
    auto it = keys_by_value_.find(value);
    return it == keys_by_value_.end() ? -1 : *it->second.begin();
  }
  void clear() {
    values_.clear();
    keys_by_value_.clear();
    has_entries_ = false;
  }

 private:
  void forget_key(int value, int key) {
    auto it = keys_by_value_.find(value);
    it->second.erase(key);
    if (it->second.empty()) keys_by_value_.erase(it);
  }

  std::unordered_map<int, int> values_;
  // Every key, by the value it holds, so that the reverse look-up of a
  // rendering pass does not scan the map once per Z-report.
  std::unordered_map<int, std::set<int>> keys_by_value_;
  bool has_entries_ = false;
};

}  // namespace ejscope
