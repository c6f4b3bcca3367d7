#pragma once
// The map of the document model's slots and lines: keys in ascending order,
// `operator[]` the creating access (a missing key gets a default-constructed
// element). The entries sit in one sorted vector, as the walk fills the keys
// 0, 1, 2 ... in order: adding at the end is a push, a lookup a binary
// search, and a receipt's few lines take one block instead of a node each.
// Adding or erasing an entry moves the entries after it (references to them
// do not survive, unlike a node-based map's).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <utility>
#include <vector>

namespace ejscope {

template <class T>
class slot_map {
 public:
  using key_type = std::int32_t;
  using mapped_type = T;
  using value_type = std::pair<key_type, T>;
  using iterator = typename std::vector<value_type>::iterator;
  using const_iterator = typename std::vector<value_type>::const_iterator;
  using reverse_iterator = typename std::vector<value_type>::reverse_iterator;
  using const_reverse_iterator = typename std::vector<value_type>::const_reverse_iterator;

  slot_map() = default;
  // Entries in any order; of a key given twice the first one is kept.
  slot_map(std::initializer_list<value_type> entries) {
    for (const value_type& entry : entries)
      if (!contains(entry.first)) (*this)[entry.first] = entry.second;
  }

  T& operator[](key_type key) {
    if (entries_.empty() || entries_.back().first < key) return entries_.emplace_back(key, T{}).second;
    if (entries_.back().first == key) return entries_.back().second;
    auto it = lower_bound(key);
    if (it == entries_.end() || it->first != key) it = entries_.emplace(it, key, T{});
    return it->second;
  }
  T& at(key_type key) { return const_cast<T&>(std::as_const(*this).at(key)); }
  const T& at(key_type key) const {
    auto it = find(key);
    if (it == entries_.end()) throw std::out_of_range("slot_map::at: no entry with this key");
    return it->second;
  }

  iterator lower_bound(key_type key) {
    return std::lower_bound(entries_.begin(), entries_.end(), key, key_less);
  }
  const_iterator lower_bound(key_type key) const {
    return std::lower_bound(entries_.begin(), entries_.end(), key, key_less);
  }
  iterator find(key_type key) {
    auto it = lower_bound(key);
    return it != entries_.end() && it->first == key ? it : entries_.end();
  }
  const_iterator find(key_type key) const {
    auto it = lower_bound(key);
    return it != entries_.end() && it->first == key ? it : entries_.end();
  }
  bool contains(key_type key) const { return find(key) != entries_.end(); }
  std::size_t count(key_type key) const { return contains(key) ? 1 : 0; }

  std::size_t erase(key_type key) {
    auto it = find(key);
    if (it == entries_.end()) return 0;
    entries_.erase(it);
    return 1;
  }
  void clear() { entries_.clear(); }

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

  iterator begin() { return entries_.begin(); }
  iterator end() { return entries_.end(); }
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }
  reverse_iterator rbegin() { return entries_.rbegin(); }
  reverse_iterator rend() { return entries_.rend(); }
  const_reverse_iterator rbegin() const { return entries_.rbegin(); }
  const_reverse_iterator rend() const { return entries_.rend(); }

  friend bool operator==(const slot_map&, const slot_map&) = default;

 private:
  static bool key_less(const value_type& entry, key_type key) { return entry.first < key; }

  std::vector<value_type> entries_;
};

}  // namespace ejscope
