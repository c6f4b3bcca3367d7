#pragma once
// Doubles for the request window's logic: a register that serves documents
// through A7h fragments (journal_commands), one that serves them through the
// packet exchange (gateway_link), a view that records what it is shown, and
// message boxes that record their texts.
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/gateway_link.h"
#include "link/platform.h"
#include "protocol/reply_record.h"
#include "retrieval/crc16.h"
#include "retrieval/journal_commands.h"
#include "window/journal_window.h"
#include "text/base64.h"

namespace ejscope::testing {

// One sale receipt with receipt number n, the document of the tape at DI di.
inline std::string receipt_xml(int n, int di) {
  const std::string no = std::to_string(n), num = std::to_string(di);
  return "<DAT DI=\"" + num + "\" DT=\"0\" FN=\"3000123456\" TN=\"1\" V=\"1\" ZN=\"KV1\"><C T=\"0\" CN=\"1\" ON=\"X\">"
         "<P N=\"1\" C=\"1\" CD=\"1\" NM=\"Bread\" SM=\"1000\" Q=\"1000\" PRC=\"1000\" TX=\"1\"/>"
         "<E N=\"2\" NO=\"" + no + "\" SM=\"1000\" TX=\"1\" TXPR=\"20\" TXSM=\"166\" TXAL=\"0\" CS=\"1\" NS=\"1\"/>"
         "</C><TS>20160301080000</TS></DAT><MAC DI=\"" + num + "\" NT=\"1\">AB</MAC>";
}

// One sale receipt whose DI and receipt number are both n.
inline std::string receipt_xml(int n) { return receipt_xml(n, n); }

// One Z-report at DI n with Z-report number z.
inline std::string z_report_xml(int n, int z) {
  const std::string num = std::to_string(n);
  return "<DAT DI=\"" + num + "\" DT=\"0\" FN=\"3000123456\" TN=\"1\" V=\"1\" ZN=\"KV1\"><Z NO=\"" + std::to_string(z) + "\">"
         "<TXS TX=\"1\" TS=\"20160301\" TXPR=\"20\" TXI=\"100\" TXO=\"0\" DTPR=\"0\" DTI=\"0\" DTO=\"0\" TXTY=\"0\" TXAL=\"0\" SMI=\"600\" SMO=\"0\"/>"
         "<NC NI=\"9\" NO=\"0\"/></Z><TS>20160301230000</TS></DAT><MAC DI=\"" + num + "\" NT=\"1\">AB</MAC>";
}

inline RetData reply_record(int count, std::vector<std::string> fields, std::string error_code = "0000",
                      std::uint32_t flags = 0) {
  RetData r;
  r.count = count;
  r.error_code = std::move(error_code);
  r.flags = flags;
  for (std::size_t i = 0; i < fields.size() && i < RetData::max_fields; ++i) r.fields[i] = fields[i];
  return r;
}

// A register answering A7h fragment by fragment in the conventions of each
// protocol, EEh with a scripted record and EBh by recording the range.
class journal_register : public journal_commands {
 public:
  struct a7_call {
    protocol p;
    std::string password;
    int kind, number, fragment;
  };
  struct print_call {
    protocol p;
    std::string password;
    int first, last;
  };

  std::map<std::pair<int, int>, std::string> documents;  // (kind, number) -> XML text
  std::size_t fragment_bytes = 40;
  // A scripted reply for (number, fragment) replaces the register's own;
  // nullopt in the optional means "no result".
  std::map<std::pair<int, int>, std::optional<RetData>> faults;
  std::vector<a7_call> a7_calls;
  std::vector<std::vector<std::string>> period_calls;
  std::vector<print_call> print_calls;
  std::deque<std::optional<RetData>> period_replies;
  bool stale = false;

  void add(int kind, int number, std::string xml) { documents[{kind, number}] = std::move(xml); }

  const RetData* documents_output(protocol p, const std::string& password, int kind, int number,
                                  int fragment) override {
    a7_calls.push_back({p, password, kind, number, fragment});
    if (auto f = faults.find({number, fragment}); f != faults.end()) {
      if (!f->second) return nullptr;
      last_ = *f->second;
      return &last_;
    }
    auto it = documents.find({kind, number});
    if (it == documents.end()) {
      last_ = p == protocol::kelvora ? reply_record(0, {}, "0005") : reply_record(0, {}, "", 1u << 5);
      return &last_;
    }
    const std::size_t at = static_cast<std::size_t>(fragment) * fragment_bytes;
    if (at >= it->second.size()) {
      last_ = reply_record(2, {p == protocol::datecs ? "-1" : "0", ""});
    } else {
      last_ = reply_record(2, {"1", text::base64_encode(it->second.substr(at, fragment_bytes))});
    }
    return &last_;
  }
  const RetData* interval_output_by_date(protocol, const std::string& password, const std::string& sd,
                                         const std::string& st, const std::string& ed,
                                         const std::string& et) override {
    period_calls.push_back({password, sd, st, ed, et});
    if (period_replies.empty()) return nullptr;
    auto r = period_replies.front();
    period_replies.pop_front();
    if (!r) return nullptr;
    last_ = *r;
    return &last_;
  }
  const RetData* print_interval(protocol p, const std::string& password, int first, int last) override {
    print_calls.push_back({p, password, first, last});
    last_ = reply_record(0, {});
    return &last_;
  }
  bool kelvora_stale_reply() const override { return stale; }

  int fragment_commands_for(int number) const {
    int n = 0;
    for (const auto& c : a7_calls) n += c.number == number;
    return n;
  }

 private:
  RetData last_;
};

// A register behind the packet exchange: a range_request queues the reply
// packets of the documents in the range, each continue_request takes the
// next one. Faults: a wrong CRC in one document's packet, the stream
// stopping inside one document.
class packet_register_link : public gateway_link {
 public:
  std::map<std::pair<int, int>, std::string> documents;  // (kind, number) -> XML text
  std::size_t packet_text_bytes = 60;                    // document bytes per packet
  std::optional<int> bad_crc_document;
  std::optional<int> stop_in_document;
  std::vector<std::pair<int, int>> ranges_asked;
  int continues = 0;

  void add(int kind, int number, std::string xml) { documents[{kind, number}] = std::move(xml); }

  void set_host(const std::string&) override {}
  void set_port(std::uint16_t) override {}
  void set_timeout_ms(int) override {}
  void open() override { open_ = true; }
  void close() override { open_ = false; }
  bool is_open() const override { return open_; }
  std::size_t write(const void* data, std::size_t count) override {
    std::string req(static_cast<const char*>(data), count);
    pending_.clear();
    if (req.size() == 16 && static_cast<unsigned char>(req[2]) == 0x10) {
      queue_.clear();
      const int kind = static_cast<unsigned char>(req[5]);
      const int first = get_i32(req, 6), last = get_i32(req, 10);
      ranges_asked.emplace_back(first, last);
      build_queue(kind, first, last);
    } else {
      ++continues;
    }
    if (!queue_.empty()) {
      pending_ = queue_.front();
      queue_.pop_front();
    }
    return count;
  }
  std::size_t read(void* buffer, std::size_t max) override {
    const std::size_t n = std::min(max, pending_.size());
    std::memcpy(buffer, pending_.data(), n);
    pending_.erase(0, n);
    return n;
  }
  bool wait_readable(int) override { return !pending_.empty(); }

  static std::string packet(int flags, int document, const std::string& payload, bool bad_crc = false) {
    std::string p{'\x07', '\x07', static_cast<char>(flags), '\0'};
    put_i32(p, document);
    p.push_back(static_cast<char>(payload.size() & 0xFF));
    p.push_back(static_cast<char>(payload.size() >> 8));
    p += payload;
    std::uint16_t crc = crc16_modbus(payload.data(), payload.size());
    if (bad_crc) crc ^= 0x5555;
    p.push_back(static_cast<char>(crc & 0xFF));
    p.push_back(static_cast<char>(crc >> 8));
    return p;
  }

 private:
  static std::int32_t get_i32(const std::string& b, std::size_t at) {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(u);
  }
  static void put_i32(std::string& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int s = 0; s < 32; s += 8) out.push_back(static_cast<char>((u >> s) & 0xFF));
  }
  void build_queue(int kind, int first, int last) {
    for (const auto& [key, text] : documents) {
      if (key.first != kind || key.second < first || key.second > last) continue;
      const int n = key.second;
      for (std::size_t at = 0; at < text.size(); at += packet_text_bytes) {
        const bool more = at + packet_text_bytes < text.size();
        if (stop_in_document == n && more) {
          queue_.push_back(packet(0x02, n, text::base64_encode(text.substr(at, packet_text_bytes))));
          return;  // the stream stops here
        }
        queue_.push_back(packet(more ? 0x02 : 0x00, n, text::base64_encode(text.substr(at, packet_text_bytes)),
                                bad_crc_document == n && at == 0));
      }
    }
    queue_.push_back(packet(0x01, last, ""));
  }

  bool open_ = true;
  std::deque<std::string> queue_;
  std::string pending_;
};

class recording_messages : public message_box {
 public:
  std::vector<std::pair<std::string, std::string>> shown;  // (text, caption)
  std::vector<std::string> asked;
  bool answer = true;
  void show(const std::string& text, const std::string& caption) override { shown.emplace_back(text, caption); }
  bool ask_yes_no(const std::string& text, const std::string&) override {
    asked.push_back(text);
    return answer;
  }
};

class recording_request_view : public journal_view {
 public:
  int type = 2;
  std::string password = "418257";
  std::string first = "1", last = "1";
  std::string start_date = "01.03.16", end_date = "31.03.16", start_time = "00:00", end_time = "23:59";
  bool buttons_enabled = false;
  std::vector<std::string> lines;
  std::vector<std::string> progress;
  std::vector<std::vector<int>> incomplete_reports;
  bool attention_shown = false;
  bool window_shown = true;

  int document_type() const override { return type; }
  std::string password_text() const override { return password; }
  std::string first_text() const override { return first; }
  std::string last_text() const override { return last; }
  void set_number_texts(const std::string& f, const std::string& l) override {
    first = f;
    last = l;
  }
  std::string start_date_text() const override { return start_date; }
  std::string end_date_text() const override { return end_date; }
  std::string start_time_text() const override { return start_time; }
  std::string end_time_text() const override { return end_time; }
  void set_period_texts(const std::string& sd, const std::string& ed, const std::string& st,
                        const std::string& et) override {
    start_date = sd;
    end_date = ed;
    start_time = st;
    end_time = et;
  }
  void set_request_buttons_enabled(bool e) override { buttons_enabled = e; }
  void display_changed(const std::vector<std::string>& l) override { lines = l; }
  void hide_window() override { window_shown = false; }
  void show_window() override { window_shown = true; }
  void show_attention(const std::string&, const std::string&) override { attention_shown = true; }
  void set_progress(const std::string& text) override {
    if (!text.empty()) progress.push_back(text);
  }
  bool attention_active() const override { return attention_shown; }
  void hide_attention() override { attention_shown = false; }
  void process_events() override {}
  void incomplete_documents(const std::vector<int>& numbers) override { incomplete_reports.push_back(numbers); }
};

}  // namespace ejscope::testing
