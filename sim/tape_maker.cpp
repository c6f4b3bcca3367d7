#include <chrono>
#include <cstdio>
#include <string>

#include "sim/simulator.h"
#include "text/cp1251.h"

namespace ejscope::sim {

namespace {

constexpr const char* fiscal_number = "3000123456";
constexpr const char* serial_number = "KV0000001";
constexpr const char* taxpayer = "ПН 123456789012";

// Date and time YYYYMMDDhhmmss of the k-th document: ten minutes apart from
// 01.03.2016 08:00.
std::string timestamp(int k) {
  using namespace std::chrono;
  const sys_time<minutes> moment = sys_days{year{2016} / March / 1} + hours{8} + minutes{10L * k};
  const sys_days day = floor<days>(moment);
  const year_month_day date{day};
  const hh_mm_ss time{moment - day};
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02u%02u%02d%02d00", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()));
  return text;
}

std::string receipt(int number, int k, const std::string& ts) {
  const int price = 1000 + (k * 37) % 9000;
  const int quantity = 1000 * (1 + k % 3);
  const int sum = price * (1 + k % 3);
  const int tax = sum / 6;
  char text[1024];
  std::snprintf(text, sizeof text,
                "<C T=\"0\" CN=\"1\" ON=\"Касир1\">"
                "<P N=\"1\" C=\"%d\" CD=\"48200000%05d\" NM=\"Хліб пшеничний %d\" SM=\"%d\" Q=\"%d\" PRC=\"%d\" TX=\"1\"/>"
                "<M N=\"2\" T=\"0\" NM=\"ГОТІВКА\" SM=\"%d\"/>"
                "<E N=\"3\" NO=\"%d\" SM=\"%d\" TX=\"1\" TXPR=\"20\" TXSM=\"%d\" TXAL=\"0\" CS=\"1\" NS=\"%d\"/>"
                "</C><TS>%s</TS>",
                100 + k % 50, k % 100000, k, sum, quantity, price, sum, number, sum, tax, k % 1000 + 1, ts.c_str());
  return text;
}

std::string z_report(int z_number, const std::string& ts) {
  const int sales = 150000 + z_number * 1234;
  char text[1024];
  std::snprintf(text, sizeof text,
                "<Z NO=\"%d\">"
                "<TXS TX=\"1\" TS=\"%.8s\" TXPR=\"20\" TXI=\"%d\" TXO=\"0\" DTPR=\"0\" DTI=\"0\" DTO=\"0\" TXTY=\"0\" TXAL=\"0\" SMI=\"%d\" SMO=\"0\"/>"
                "<M T=\"0\" NM=\"ГОТІВКА\" SMI=\"%d\" SMO=\"0\"/>"
                "<IO T=\"0\" NM=\"ГОТІВКА\" SMI=\"0\" SMO=\"0\" SMT=\"%d\"/>"
                "<NC NI=\"9\" NO=\"0\"/>"
                "</Z><TS>%s</TS>",
                z_number, ts.c_str(), sales / 6, sales, sales, sales, ts.c_str());
  return text;
}

}  // namespace

std::string make_tape(int n) {
  std::string tape = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<RQ V=\"1\">\n";
  int z_number = 0;
  int receipt_number = 0;
  for (int k = 1; k <= n; ++k) {
    const std::string ts = timestamp(k);
    char dat[256];
    std::snprintf(dat, sizeof dat, "<DAT DI=\"%d\" DT=\"0\" FN=\"%s\" TN=\"%s\" V=\"1\" ZN=\"%s\">", k, fiscal_number,
                  taxpayer, serial_number);
    tape += dat;
    tape += k % 10 == 0 ? z_report(++z_number, ts) : receipt(++receipt_number, k, ts);
    char mac[128];
    std::snprintf(mac, sizeof mac, "</DAT><MAC DI=\"%d\" NT=\"1\">%08X%08X</MAC>\n", k, 0x5A5A0000u + static_cast<unsigned>(k),
                  static_cast<unsigned>(k) * 2654435761u);
    tape += mac;
  }
  tape += "</RQ>\n";
  return text::utf8_to_cp1251(tape);
}

}  // namespace ejscope::sim
