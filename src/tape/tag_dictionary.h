#pragma once
// The tag dictionary of the electronic control tape: element names and the
// attribute names of every element kind mapped to small integer codes, on
// which the walk of the tape dispatches.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ejscope {

// Element codes (the values of the table `tags`).
namespace tag_codes {
inline constexpr int RQ = 0;
inline constexpr int DAT = 1;
inline constexpr int MAC = 2;
inline constexpr int C = 3;
inline constexpr int Z = 4;
inline constexpr int TS = 5;
inline constexpr int P = 6;
inline constexpr int CP = 7;
inline constexpr int D = 8;
inline constexpr int S = 9;
inline constexpr int M = 10;
inline constexpr int I = 11;
inline constexpr int O = 12;
inline constexpr int L = 13;
inline constexpr int H = 14;
inline constexpr int VD = 15;
inline constexpr int E = 16;
inline constexpr int TXS = 17;
inline constexpr int Z_M = 18;
inline constexpr int IO = 19;
inline constexpr int NC = 20;
inline constexpr int TX = 21;
}  // namespace tag_codes

// A name (bytes, compared case-sensitively) to its code.
using name_table = std::map<std::string, int, std::less<>>;

class typ_work {
 public:
  typ_work();

  // The code of an element name. `M` started right after a Z-report element
  // (`Z`, `TXS`, `Z_M`, `IO`, `NC`) is read as `Z_M`. A missing name gives 0.
  int element_code(std::string_view name, int current) const;
  // The code of an attribute name in the table serving `element`; a missing
  // name gives 0, the code of that table's first entry.
  int attribute_code(int element, std::string_view name) const;

  // Whether the lookups above find the name, rather than falling back to 0.
  bool knows_element(std::string_view name, int current) const;
  bool knows_attribute(int element, std::string_view name) const;
  // Both answers at once: the code, or nothing for a missing name.
  std::optional<int> find_element(std::string_view name, int current) const;
  std::optional<int> find_attribute(int element, std::string_view name) const;

  // The table serving an element code (`attr_rq` for a code out of range).
  const name_table& attribute_table(int element) const;

  // The twenty tables, in their declared order.
  const name_table& tags() const { return tags_; }
  const name_table& attr_rq() const { return attr_rq_; }
  const name_table& attr_dat() const { return attr_dat_; }
  const name_table& attr_mac() const { return attr_mac_; }
  const name_table& attr_c() const { return attr_c_; }
  const name_table& attr_sale() const { return attr_sale_; }
  const name_table& attr_up_down() const { return attr_up_down_; }
  const name_table& attr_pay() const { return attr_pay_; }
  const name_table& attr_in_out() const { return attr_in_out_; }
  const name_table& attr_comment() const { return attr_comment_; }
  const name_table& attr_cancel() const { return attr_cancel_; }
  const name_table& attr_end() const { return attr_end_; }
  const name_table& attr_ts() const { return attr_ts_; }
  const name_table& attr_z() const { return attr_z_; }
  const name_table& attr_txs() const { return attr_txs_; }
  const name_table& attr_z_m() const { return attr_z_m_; }
  const name_table& attr_io() const { return attr_io_; }
  const name_table& attr_nc() const { return attr_nc_; }
  const name_table& attr_tx() const { return attr_tx_; }
  const name_table& attr_serv_info() const { return attr_serv_info_; }

 private:
  // A table for the walk's lookups: every name (all are at most seven bytes)
  // packed with its length into one word, searched by a scan of a few words.
  using packed_table = std::vector<std::pair<std::uint64_t, int>>;
  static constexpr std::size_t element_kinds = 22;

  std::string_view lookup_name(std::string_view name, int current) const;
  static packed_table packed(const name_table& table);
  static std::optional<int> find_packed(const packed_table& table, std::string_view name);

  name_table tags_, attr_rq_, attr_dat_, attr_mac_, attr_c_, attr_sale_, attr_up_down_, attr_pay_,
      attr_in_out_, attr_comment_, attr_cancel_, attr_end_, attr_ts_, attr_z_, attr_txs_, attr_z_m_,
      attr_io_, attr_nc_, attr_tx_, attr_serv_info_;
  packed_table packed_tags_;
  std::array<packed_table, element_kinds> packed_attributes_;  // by element code
  packed_table packed_attr_rq_;                                 // any other code
};

}  // namespace ejscope
