#pragma once
// Which model field each attribute code of an element kind fills, for the
// plain number and text fields. The fields with a rule of their own (`CN`,
// `ON` of a receipt, `NS` of an end) have an empty entry and are filed by
// the walk itself.
#include <array>
#include <cstddef>
#include <string>

#include "tape/documents.h"

namespace ejscope::fields {

template <class T>
struct field {
  float T::*number = nullptr;
  std::string T::*text = nullptr;
};

template <class T>
constexpr field<T> num(float T::*member) {
  return {member, nullptr};
}
template <class T>
constexpr field<T> txt(std::string T::*member) {
  return {nullptr, member};
}

template <class T, std::size_t K>
using table = std::array<field<T>, K>;

inline constexpr table<dat, 6> dat_fields{txt(&dat::FN), txt(&dat::TN), txt(&dat::ZN),
                                          num(&dat::DI),  num(&dat::DT), num(&dat::V)};
inline constexpr table<mac, 2> mac_fields{num(&mac::DI), num(&mac::NT)};
inline constexpr table<check, 3> check_fields{num(&check::T), {}, {}};
inline constexpr table<zvit, 1> zvit_fields{num(&zvit::NO)};
inline constexpr table<sale, 8> sale_fields{num(&sale::N),  txt(&sale::C), txt(&sale::CD),
                                            txt(&sale::NM), num(&sale::SM), num(&sale::Q),
                                            num(&sale::PRC), txt(&sale::TX)};
inline constexpr table<sale_up_down, 8> up_down_fields{
    num(&sale_up_down::TR), num(&sale_up_down::TY), num(&sale_up_down::ST), num(&sale_up_down::NI),
    txt(&sale_up_down::TX), num(&sale_up_down::PR), num(&sale_up_down::SM), num(&sale_up_down::N)};
inline constexpr table<sale_pay, 6> pay_fields{num(&sale_pay::N),  num(&sale_pay::T),
                                               txt(&sale_pay::NM), num(&sale_pay::SM),
                                               num(&sale_pay::RM), txt(&sale_pay::RRN)};
inline constexpr table<sale_in_out, 4> in_out_fields{num(&sale_in_out::N), num(&sale_in_out::T),
                                                     txt(&sale_in_out::NM), num(&sale_in_out::SM)};
inline constexpr table<sale_comment, 2> comment_fields{num(&sale_comment::N), txt(&sale_comment::text)};
inline constexpr table<sale_serv_info, 4> serv_info_fields{
    num(&sale_serv_info::N), txt(&sale_serv_info::text), txt(&sale_serv_info::HP),
    txt(&sale_serv_info::HT)};
inline constexpr table<sale_cancel, 2> cancel_fields{num(&sale_cancel::N), num(&sale_cancel::NI)};
inline constexpr table<sale_end, 16> end_fields{
    num(&sale_end::N),    num(&sale_end::NO),   num(&sale_end::SM),   num(&sale_end::SE),
    txt(&sale_end::TX),   num(&sale_end::TXPR), num(&sale_end::TXSM), num(&sale_end::DTPR),
    num(&sale_end::DTSM), num(&sale_end::TXTY), num(&sale_end::TXAL), num(&sale_end::CS),
    num(&sale_end::VD),   txt(&sale_end::TS),   txt(&sale_end::FN),   {}};
inline constexpr table<tx, 7> tx_fields{txt(&tx::TX),   num(&tx::TXPR), num(&tx::TXSM), num(&tx::DTPR),
                                        num(&tx::DTSM), num(&tx::TXTY), num(&tx::TXAL)};
inline constexpr table<vid_tax, 12> txs_fields{
    txt(&vid_tax::TX),   txt(&vid_tax::TS),   num(&vid_tax::TXPR), num(&vid_tax::TXI),
    num(&vid_tax::TXO),  num(&vid_tax::DTPR), num(&vid_tax::DTI),  num(&vid_tax::DTO),
    num(&vid_tax::TXTY), num(&vid_tax::TXAL), num(&vid_tax::SMI),  num(&vid_tax::SMO)};
inline constexpr table<vid_pay, 4> z_m_fields{num(&vid_pay::T), txt(&vid_pay::NM), num(&vid_pay::SMI),
                                              num(&vid_pay::SMO)};
inline constexpr table<vid_rotate, 5> io_fields{num(&vid_rotate::T), txt(&vid_rotate::NM),
                                                num(&vid_rotate::SMI), num(&vid_rotate::SMO),
                                                num(&vid_rotate::SMT)};
inline constexpr table<count_check, 2> nc_fields{num(&count_check::NI), num(&count_check::NO)};

}  // namespace ejscope::fields
