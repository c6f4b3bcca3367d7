#include "window/journal_window.h"

#include <fstream>
#include <string>
#include <stdexcept>

#include "datecs/printer_results.h"
#include "tape/value_conversion.h"
#include "render/render_pass.h"
#include "retrieval/fragment_fetch.h"
#include "retrieval/packet_assembly.h"
#include "retrieval/period.h"
#include "retrieval/progress.h"
#include "window/journal_window_texts.h"

namespace ejscope {

namespace {

const char* const xml_declaration = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>";
const char* const envelope_open = "<RQ V=\"1\">";
const char* const envelope_close = "</RQ>";

// The integer of a number field; any other text ends the request.
int field_integer(const std::string& text) {
  if (auto v = to_int(text)) return *v;
  throw std::invalid_argument("'" + text + "' is not a valid integer value");
}

std::string joined_numbers(const std::vector<int>& numbers) {
  std::string out;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (i != 0) out += ", ";
    out += std::to_string(numbers[i]);
  }
  return out;
}

}  // namespace

journal_window::journal_window(journal_view& view, message_box& messages,
                                           request_environment env)
    : view_(view), messages_(messages), env_(std::move(env)) {}

void journal_window::start(const std::tm& now) {
  const period_texts p = initial_period(now);
  view_.set_period_texts(p.start_date, p.end_date, p.start_time, p.end_time);
}

void journal_window::activate() { store_.loaded = 0; }

void journal_window::choose_document_type() {
  if (view_.document_type() == 0) {
    view_.set_number_texts(std::to_string(store_.z_no_min), std::to_string(store_.z_no_max));
  } else {
    view_.set_number_texts(std::to_string(store_.check_no_min), std::to_string(store_.check_no_max));
  }
}

void journal_window::empty_model() {
  store_.clear();
  walk_.clear();
  fetched_z_.clear();
  fetched_docs_.clear();
  fetched_ranges_.clear();
  fetched_z_ranges_.clear();
  z_doc_map_.clear();
  reset_pending();
}

// ---- the requests ----------------------------------------------------------

void journal_window::begin_request() {
  walk_.clear();
  view_.hide_window();
  view_.show_attention(request_texts::attention_caption(), request_texts::phase_loading());
}

void journal_window::end_request() {
  view_.set_progress("");
  view_.hide_attention();
  view_.show_window();
}

void journal_window::fail_request() {
  reset_pending();  // nothing of this request reached the model whole
  outcome_ = request_outcome::failed;
  display_.push_back(request_texts::failure_structure());
  display_.push_back(request_texts::failure_try_other());
  view_.display_changed(display_);
  if (!incomplete_.empty()) view_.incomplete_documents(incomplete_);
}

void journal_window::fetch_by_numbers() {
  begin_request();
  try {
    const int first = field_integer(view_.first_text());
    const int last = field_integer(view_.last_text());
    request_first_ = first;
    request_last_ = last;
    const int doc_kind = view_.document_type() == 0 ? 0 : 1;
    bool made = false;
    outcome_ = request_outcome::rejected;
    if (first <= 0) {
      messages_.show(request_texts::first_not_positive());
    } else if (last < first) {
      messages_.show(request_texts::last_before_first());
    } else {
      assemble(first, last, doc_kind);
      store_.loaded = 1;
      made = true;
    }
    if (made) {
      view_.show_attention(request_texts::attention_caption(), request_texts::phase_processing());
      view_.set_progress("");
      if (!covered_now_) {
        walk_xml(true);
        commit_pending(true);
      }
      render_display();
      outcome_ = request_outcome::done;
      view_.hide_attention();
    }
  } catch (const std::exception&) {
    fail_request();
  }
  end_request();
}

// The four period fields; an empty or half-typed one throws period_error.
journal_window::period_fields journal_window::read_period() const {
  return {short_date::read(view_.start_date_text()), short_date::read(view_.end_date_text()),
          time_e::read(view_.start_time_text()), time_e::read(view_.end_time_text())};
}

const RetData* journal_window::ask_period(protocol p, const period_fields& f) {
  return env_.commands->interval_output_by_date(p, view_.password_text(), f.start.ddmmyy(),
                                                f.start_time.hhmm(), f.end.ddmmyy(), f.end_time.hhmm());
}

void journal_window::fetch_by_period() {
  begin_request();
  try {
    const period_fields period = read_period();
    outcome_ = request_outcome::rejected;
    if (period.start.after(period.end)) {
      messages_.show(request_texts::end_before_start());
    } else {
      const protocol p = env_.current_protocol();
      const RetData* r = ask_period(p, period);
      // A broken reply's fields are cut or foreign: its numbers would
      // silently ask another range, so it ends as the register's error.
      const bool usable = !reply_broken(r) && r->count == 2 &&
                          (p == protocol::datecs || r->error_code == "0000");
      if (usable) {
        const int first = reply_integer(r->fields[0]);
        const int last = reply_integer(r->fields[1]);
        assemble(first, last, 1);
        walk_xml(false);
        commit_pending(false);
        render_display();
        outcome_ = request_outcome::done;
      } else {
        outcome_ = request_outcome::register_error;
        display_.clear();
        const std::string code = register_error_code(p, r);
        std::string line = request_texts::register_error_line() + code + " !";
        if (p == protocol::kelvora && code == "0CD0") {
          display_.push_back(line);
          line = request_texts::contact_acquirer();
        }
        display_.push_back(line);
        view_.display_changed(display_);
      }
    }
  } catch (const std::exception&) {
    fail_request();
  }
  end_request();
}

// Implementer's choice: for Datecs, whose records carry no error code, the code shown is the driver's status message.
std::string journal_window::register_error_code(protocol p, const RetData* reply) const {
  if (p == protocol::kelvora) return reply != nullptr ? reply->error_code : std::string();
  if (reply == nullptr) return datecs::first_error_message(result_flag::no_reply);
  return datecs::first_error_message(reply->flags);
}

bool journal_window::look_up_period_numbers() {
  int first = 1;
  int last = 1;
  bool given = false;
  try {
    const protocol p = env_.current_protocol();
    const period_fields period = read_period();
    for (int pass = 0; pass < 2; ++pass) {
      const RetData* r = ask_period(p, period);
      if (p == protocol::kelvora && r != nullptr && r->error_code != "0000") {
        messages_.show(request_texts::register_error_box() + r->error_code,
                       request_texts::register_error_box_caption());
      } else if (!reply_broken(r) && r->count == 2) {
        first = reply_integer(r->fields[0]);
        last = reply_integer(r->fields[1]);
        given = true;
      }
      // A Kelvora reply that answered another command is asked once more.
      if (pass == 0 && !(p == protocol::kelvora && env_.commands->kelvora_stale_reply())) break;
    }
  } catch (const std::exception& e) {
    messages_.show(e.what());
    return false;
  }
  store_.check_no_min = first;
  store_.check_no_max = last;
  view_.set_number_texts(std::to_string(first), std::to_string(last));
  view_.set_request_buttons_enabled(true);
  return given;
}

bool journal_window::print_range() {
  if (!messages_.ask_yes_no(request_texts::print_question(), request_texts::print_question_caption()))
    return false;
  try {
    int first = field_integer(view_.first_text());
    int last = field_integer(view_.last_text());
    if (view_.document_type() == 0 && z_doc_map_.has_entries()) {
      first = z_doc_map_.get(first);
      last = z_doc_map_.get(last);
    }
    env_.commands->print_interval(env_.current_protocol(), view_.password_text(), first, last);
  } catch (const std::exception& e) {
    messages_.show(e.what());
    return false;
  }
  return true;
}

// ---- after the assembly ------------------------------------------------------

void journal_window::walk_xml(bool sort) {
  walk_tape(walk_, store_, xml_lines_);
  if (sort) sort_documents(store_);
}

void journal_window::commit_pending(bool record_ranges) {
  if (pending_cache_ != nullptr)
    for (int n : pending_numbers_) pending_cache_->set(n, 1);
  if (record_ranges && record_range_ && pending_interval_ != nullptr)
    for (const number_range& r : pending_ranges_) pending_interval_->join(r.lo, r.hi);
  pending_cache_ = nullptr;
  pending_numbers_.clear();
  pending_interval_ = nullptr;
  pending_ranges_.clear();
}

void journal_window::reset_pending() {
  pending_cache_ = nullptr;
  pending_numbers_.clear();
  pending_interval_ = nullptr;
  pending_ranges_.clear();
}

void journal_window::render_display() {
  display_.clear();
  render_settings settings;
  settings.document_type = view_.document_type();
  settings.header = env_.header();
  settings.colvo_flag = env_.colvo_flag();
  render_documents(store_, settings, view_.first_text(), view_.last_text(), z_doc_map_, fetched_z_,
                   display_);
  if (!incomplete_.empty()) {
    display_.push_back(request_texts::incomplete_documents() + joined_numbers(incomplete_));
    view_.incomplete_documents(incomplete_);
  }
  if (text_limit_reached_) display_.push_back(request_texts::text_limit_reached());
  view_.display_changed(display_);
}

// ---- the assemblies ----------------------------------------------------------

void journal_window::assemble(int first, int last, int doc_kind) {
  covered_now_ = false;
  if (env_.packet_mode()) {
    assemble_by_packets(first, last, doc_kind);
  } else {
    assemble_by_fragments(first, last, doc_kind);
  }
}

void journal_window::start_xml_lines() {
  reset_pending();
  incomplete_.clear();
  text_limit_reached_ = false;
  xml_lines_.clear();
  xml_lines_.emplace_back(xml_declaration);
  xml_lines_.emplace_back(envelope_open);
  xml_bytes_ = joined_size(xml_lines_) + std::char_traits<char>::length(envelope_close) + 1;
}

bool journal_window::add_xml_line(std::string&& text) {
  if (xml_bytes_ + text.size() + 1 > env_.sizes.text_bytes) {
    text_limit_reached_ = true;
    return false;
  }
  xml_bytes_ += text.size() + 1;
  xml_lines_.push_back(std::move(text));
  return true;
}

// Implementer's choice: temp.xml is a copy for the user, never read back, so a file that cannot be written does not end the request.
void journal_window::finish_xml_lines() {
  xml_lines_.emplace_back(envelope_close);
  std::ofstream out(temp_xml_path_, std::ios::binary | std::ios::trunc);
  for (const std::string& line : xml_lines_) {
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.write("\r\n", 2);
  }
}

void journal_window::show_progress(std::int64_t number, std::int64_t first, std::int64_t last) {
  if (!view_.attention_active()) return;
  view_.set_progress(progress_text(progress_percent(number, first, last), number));
}

void journal_window::assemble_by_fragments(int first, int last, int doc_kind) {
  start_xml_lines();
  sootv& cache = doc_kind == 0 ? fetched_z_ : fetched_docs_;
  const protocol p = env_.current_protocol();
  const std::string password = view_.password_text();
  // 64-bit counter: a last number of INT32_MAX must not wrap.
  for (std::int64_t n = first; n <= last; ++n) {
    const int i = static_cast<int>(n);
    if (cache.contains(i)) continue;
    view_.process_events();
    fetched_document doc = fetch_document(*env_.commands, p, i, doc_kind, password, env_.sizes.document_bytes);
    if (!doc.incomplete && !doc.text.empty() && !add_xml_line(std::move(doc.text))) {
      // No room left in the request's text: the rest of the range is not asked.
      incomplete_.push_back(i);
      break;
    }
    show_progress(i, first, last);
    if (doc.incomplete) {
      incomplete_.push_back(i);
    } else if (doc.fetched) {
      pending_numbers_.push_back(i);
    }
  }
  pending_cache_ = &cache;
  finish_xml_lines();
}

void journal_window::assemble_by_packets(int first, int last, int doc_kind) {
  start_xml_lines();
  interval& ranges = doc_kind == 0 ? fetched_z_ranges_ : fetched_ranges_;
  range_covered_ = ranges.covers(first, last);
  covered_now_ = range_covered_;
  if (range_covered_) {
    record_range_ = false;
  } else {
    record_range_ = true;
    // Implementer's choice: only the parts of [first, last] no stored range holds are asked, one exchange each, so no number comes twice.
    for (const number_range& part : ranges.uncovered(first, last)) {
      const std::size_t before = xml_lines_.size();
      const text_limits room{env_.sizes.document_bytes,
                             env_.sizes.text_bytes > xml_bytes_ ? env_.sizes.text_bytes - xml_bytes_ : 0};
      const range_outcome out = exchange_range(
          *env_.link, env_.limits, part.lo, part.hi, doc_kind, xml_lines_,
          [&](std::int32_t document) {
            show_progress(document, part.lo, part.hi);
            view_.process_events();
          },
          room);
      for (std::size_t i = before; i < xml_lines_.size(); ++i) xml_bytes_ += xml_lines_[i].size() + 1;
      if (out.whole) {
        pending_ranges_.push_back(part);
      } else {
        // Only the documents that came whole are held: asking again fetches the rest.
        for (std::int32_t n : out.complete)
          if (n >= part.lo && n <= part.hi) pending_ranges_.push_back({n, n});
      }
      incomplete_.insert(incomplete_.end(), out.incomplete.begin(), out.incomplete.end());
      if (out.text_limit) {
        text_limit_reached_ = true;
        break;
      }
    }
    pending_interval_ = &ranges;
  }
  finish_xml_lines();
}

}  // namespace ejscope
