#pragma once
// The document model: the store of documents read from the electronic
// control tape, each a receipt or a Z-report with its lines and totals.
// Every class is a plain value type owning its members; copying a document
// copies everything below it. Fields that hold an XML attribute bear the
// attribute's tag. Numbers are 32-bit floats holding the value as written
// (sums and prices in hundredths, quantities in thousandths of the unit).
//
// Maps are ordered by key; `operator[]` is the creating access: a missing
// key gets a default-constructed element, which the walk and the renderers
// rely on. The documents themselves are nodes of a `std::map`, so that a
// document keeps its place in memory while later ones are added and the sort
// moves whole nodes; everything inside a document is a `slot_map`.
#include <cstdint>
#include <map>
#include <string>

#include "tape/slot_map.h"

namespace ejscope {

// Line kinds as recorded in `check::line_order`.
namespace line_kinds {
inline constexpr int P = 1;
inline constexpr int CP = 2;
inline constexpr int D = 3;
inline constexpr int S = 4;
inline constexpr int M = 5;
inline constexpr int I = 6;
inline constexpr int O = 7;
inline constexpr int L = 8;
inline constexpr int H = 9;
inline constexpr int VD = 10;
inline constexpr int E = 11;
}  // namespace line_kinds

// A number of the tape truncated toward zero, saturated at the 32-bit range
// (0 for a NaN) so that no value can overflow the conversion.
int truncate_number(float value);

struct mac {
  float DI = 0;
  float NT = 0;
};

struct ts {
  std::string text;
};

// A `P` or `CP` line.
struct sale {
  float N = 0;
  std::string C, CD, NM;
  float SM = 0, Q = 0, PRC = 0;
  std::string TX;
};

// A `D` or `S` line (discount or surcharge).
struct sale_up_down {
  float N = 0, TR = 0, TY = 0, ST = 0, NI = 0;
  std::string TX;
  float PR = 0, SM = 0;
};

// An `M` line of a receipt (payment).
struct sale_pay {
  float N = 0, T = 0, SM = 0, RM = 0;
  std::string NM, RRN;
};

// An `I` or `O` line (cash in or out).
struct sale_in_out {
  float N = 0, T = 0;
  std::string NM;
  float SM = 0;
};

// An `L` line; `text` is the element's text.
struct sale_comment {
  float N = 0;
  std::string text;
};

// An `H` line; `text` is the element's text.
struct sale_serv_info {
  float N = 0;
  std::string HP, HT, text;
};

// The `VD` element.
struct sale_cancel {
  float N = 0, NI = 0;
};

// One `TX` element of a receipt end.
struct tx {
  std::string TX = " ";
  float TXPR = 0, TXSM = 0, DTPR = 0, DTSM = 0, TXTY = 0, TXAL = 0;
};

// The `E` element and its taxes. `VD` equal to 1 marks a cancelled receipt.
struct sale_end {
  bool has_tx = false;  // an attribute of a `TX` element of this receipt was read
  float N = 0, NO = 0, SM = 0, SE = 0;
  std::string TX = "0";
  std::string TS = "0";
  std::string FN = "0";
  float TXPR = 0, TXSM = 0, DTPR = 0, DTSM = 0, TXTY = 0, TXAL = 0, CS = 0, VD = 0;
  std::int16_t NS = 0;
  slot_map<tx> tx_lines;
  int tx_count = 0;  // `TX` elements closed
};

// Which line a line number refers to: its kind and its key in that kind's map.
struct line_ref {
  int line_kind = 0;
  int key = 0;
  friend bool operator==(const line_ref&, const line_ref&) = default;
};

// One receipt (`C`). Each per-kind counter is the number of elements of that
// kind already closed, and so the key of the element of that kind being read.
struct check {
  float T = 0;  // 0 fiscal receipt, 1 return, 2 service receipt
  int CN = 0;
  std::string ON;
  slot_map<sale> p_lines, cp_lines;
  slot_map<sale_up_down> d_lines, s_lines;
  slot_map<sale_pay> m_lines;
  slot_map<sale_in_out> i_lines, o_lines;
  slot_map<sale_comment> l_lines;
  slot_map<sale_serv_info> h_lines;
  sale_cancel cancel;
  sale_end end;
  slot_map<line_ref> line_order;  // line number -> line
  int p_count = 0, cp_count = 0, d_count = 0, s_count = 0, m_count = 0, i_count = 0, o_count = 0,
      l_count = 0, h_count = 0, vd_count = 0, e_count = 0;
  int line_no = 1;  // the number the next line element will get
};

// `line_order[line]` := (kind, key), replacing an entry already there.
void record_line(check& receipt, int line, int kind, int key);
// The sum of the eleven per-kind counters.
int total_lines(const check& receipt);

// A `TXS` element of a Z-report: the totals of one tax.
struct vid_tax {
  std::string TX, TS;
  float TXPR = 0, TXI = 0, TXO = 0, DTPR = 0, DTI = 0, DTO = 0, TXTY = 0, TXAL = 0, SMI = 0, SMO = 0;
};

// An `M` element inside a Z-report: the totals of one payment form.
struct vid_pay {
  float T = 0;
  std::string NM;
  float SMI = 0, SMO = 0;
};

// An `IO` element: cash in and out totals.
struct vid_rotate {
  float T = 0;
  std::string NM;
  float SMI = 0, SMO = 0, SMT = 0;
};

// An `NC` element: receipt counters.
struct count_check {
  float NI = 0, NO = 0;
};

// One Z-report (`Z`).
struct zvit {
  float NO = 0;
  slot_map<vid_tax> txs_lines;
  slot_map<vid_pay> z_m_lines;
  slot_map<vid_rotate> io_lines;
  slot_map<count_check> nc_lines;
  int txs_count = 0, z_m_count = 0, io_count = 0, nc_count = 0;
  bool has_txs = false, has_z_m = false, has_io = false, has_nc = false;
};

// One document: a receipt or a Z-report.
struct dat {
  bool is_check = true;  // false once `NO` of a `Z` is read
  std::string FN, TN, ZN;
  float DI = 0;  // the sort key of the documents
  float DT = 0, V = 0;
  ts TS;
  slot_map<check> checks;
  slot_map<zvit> zvits;
  int check_slot = 0, zvit_slot = 0;

  // The receipt and the Z-report in use (creating access).
  check& receipt() { return checks[check_slot]; }
  zvit& z_report() { return zvits[zvit_slot]; }
};

// The document store.
class rq {
 public:
  float V = 0;
  std::map<std::int32_t, dat> dats;  // the documents, by slot 0, 1, 2 ...
  slot_map<mac> macs;                // the record closing slot k is at key k + 1
  int doc_index = 0;    // slot being filled; after a walk, the number of documents held
  int check_no_min = 0, check_no_max = 0;  // receipt numbers seen; 0 = none yet
  int z_no_min = 0, z_no_max = 0;          // Z-report numbers seen; 0 = none yet
  int loaded = 0;

  // Empties the documents and the `MAC` records; the number ranges, `V` and
  // `loaded` keep their values.
  void clear();
  void note_check_number(int n);
  void note_z_number(int n);

  // The document being filled and the `MAC` record of the current slot
  // (creating access).
  dat& current_document();
  mac& current_mac() { return macs[doc_index]; }
};

}  // namespace ejscope
