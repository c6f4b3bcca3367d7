#include "tape/documents.h"

#include <cmath>
#include <limits>

namespace ejscope {

int truncate_number(float value) {
  if (std::isnan(value)) return 0;
  // Every int32 bound is exactly representable as a double, so comparing in
  // double decides the saturation before any conversion can overflow.
  double whole = std::trunc(static_cast<double>(value));
  if (whole <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  if (whole >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(whole);
}

void record_line(check& receipt, int line, int kind, int key) {
  receipt.line_order[line] = line_ref{kind, key};
}

int total_lines(const check& receipt) {
  return receipt.p_count + receipt.cp_count + receipt.d_count + receipt.s_count + receipt.m_count +
         receipt.i_count + receipt.o_count + receipt.l_count + receipt.h_count + receipt.vd_count +
         receipt.e_count;
}

namespace {

void note_number(int n, int& minimum, int& maximum) {
  if (minimum == 0 || minimum > n) {
    minimum = n;
    if (maximum == 0) maximum = n;
  } else if (n > maximum) {
    maximum = n;
  }
}

}  // namespace

void rq::clear() {
  doc_index = 0;
  dats.clear();
  macs.clear();
}

dat& rq::current_document() {
  // The walk fills the highest slot: it is found, or added at the end,
  // without a search.
  if (dats.empty() || dats.rbegin()->first < doc_index) return dats.emplace_hint(dats.end(), doc_index, dat{})->second;
  if (dats.rbegin()->first == doc_index) return dats.rbegin()->second;
  return dats[doc_index];
}

void rq::note_check_number(int n) { note_number(n, check_no_min, check_no_max); }

void rq::note_z_number(int n) { note_number(n, z_no_min, z_no_max); }

}  // namespace ejscope
