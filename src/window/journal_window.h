#pragma once
// The logic of the request window, free of any toolkit: the request
// by numbers, the request by dates and the number look-up, printing a range
// on the register, the two assemblies of the XML text with their caches, and
// the document model they fill. The desktop window, the command line and
// the tests each implement journal_view; each handler is named after what
// it does (docs/design.md maps the controls to them). Every text is
// windows-1251.
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "link/gateway_link.h"
#include "register/identification.h"
#include "link/platform.h"
#include "link/timeouts.h"
#include "tape/tape_walker.h"
#include "tape/documents.h"
#include "render/document_header.h"
#include "retrieval/number_ranges.h"
#include "retrieval/journal_commands.h"
#include "retrieval/period.h"
#include "tape/number_map.h"
#include "retrieval/text_limits.h"

namespace ejscope {

// What the request window shows and what the user typed into it.
class journal_view {
 public:
  virtual ~journal_view() = default;

  virtual int document_type() const = 0;              // document type index, 0 "Z-отчет" ... 3 "Внес./Изъят."
  virtual std::string password_text() const = 0;      // password field
  virtual std::string first_text() const = 0;         // first number field
  virtual std::string last_text() const = 0;          // last number field
  virtual void set_number_texts(const std::string& first, const std::string& last) = 0;
  virtual std::string start_date_text() const = 0;    // start date, dd.mm.yy
  virtual std::string end_date_text() const = 0;      // end date
  virtual std::string start_time_text() const = 0;    // start time, hh:mm
  virtual std::string end_time_text() const = 0;      // end time
  virtual void set_period_texts(const std::string& start_date, const std::string& end_date,
                                const std::string& start_time, const std::string& end_time) = 0;
  virtual void set_request_buttons_enabled(bool enabled) = 0;  // fetch-by-numbers and print buttons

  // The display list now holds these lines (the logic owns them).
  virtual void display_changed(const std::vector<std::string>& lines) = 0;

  virtual void hide_window() = 0;
  virtual void show_window() = 0;

  // The attention window: caption, the phase line and the progress line;
  // showing and setting a text repaint it.
  virtual void show_attention(const std::string& caption, const std::string& phase) = 0;
  virtual void set_progress(const std::string& text) = 0;
  virtual bool attention_active() const = 0;
  virtual void hide_attention() = 0;
  // Repaint and let pending user-interface events run.
  virtual void process_events() = 0;

  // Documents of the request that did not arrive whole: not shown, not
  // cached; the display also ends with a line naming them. The command line
  // writes them to standard error.
  virtual void incomplete_documents(const std::vector<int>& numbers) = 0;
};

// The connection the requests go through, read at every request.
struct request_environment {
  gateway_link* link = nullptr;           // the packet exchange
  journal_commands* commands = nullptr;   // A7h, EEh, EBh through the protocol's driver
  timeouts limits;
  std::function<protocol()> current_protocol = [] { return protocol::datecs; };
  std::function<bool()> packet_mode = [] { return false; };
  std::function<register_header()> header = [] { return register_header{}; };
  std::function<bool()> colvo_flag = [] { return false; };
  text_limits sizes;                      // how much text one request may gather
};

// How the latest request by numbers or by dates ended.
enum class request_outcome {
  none,            // no request yet
  rejected,        // a validation message was shown; nothing was sent
  register_error,  // the register did not give the period's numbers
  failed,          // the two failure lines were appended
  done,            // rendered (documents that came incomplete are listed in incomplete())
};

class journal_window {
 public:
  journal_window(journal_view& view, message_box& messages, request_environment env);

  // Window events.
  void start(const std::tm& now);  // the initial period texts
  void activate();                  // loaded := 0
  void choose_document_type();               // number fields from the model's ranges
  void fetch_by_numbers();                  // "Получить": request by numbers
  void fetch_by_period();                  // "Получить": request by dates
  // "Вернуть номера": number look-up; true when the register gave the numbers.
  bool look_up_period_numbers();
  // "Печать на РРО": print a range; true when the command was sent.
  bool print_range();
  // The protocol or the register identifier changed: the model, the walk
  // state and the four caches are emptied together.
  void empty_model();

  // The two assemblies (also called by the requests): fill xml_lines and
  // write temp.xml. The caches are marked only after the walk of the request
  // succeeds; until then what the assembly fetched is pending.
  void assemble_by_fragments(int first, int last, int doc_kind);
  void assemble_by_packets(int first, int last, int doc_kind);

  // How much text one request may gather (env.sizes until set).
  void set_text_limits(const text_limits& sizes) { env_.sizes = sizes; }

  // Where temp.xml is written ("temp.xml" in the current directory).
  void set_temp_xml_path(std::filesystem::path path) { temp_xml_path_ = std::move(path); }

  const rq& model() const { return store_; }
  const control& walk_state() const { return walk_; }
  const std::vector<std::string>& display() const { return display_; }
  const std::vector<std::string>& xml_lines() const { return xml_lines_; }
  const sootv& fetched_z() const { return fetched_z_; }
  const sootv& fetched_docs() const { return fetched_docs_; }
  // The ranges assembled in packet mode, per number kind: receipt numbers
  // (doc_kind 1) and Z-report numbers (doc_kind 0) are different numbers.
  const interval& fetched_ranges(int doc_kind = 1) const { return doc_kind == 0 ? fetched_z_ranges_ : fetched_ranges_; }
  const sootv& z_doc_map() const { return z_doc_map_; }
  bool range_covered() const { return range_covered_; }
  bool record_range() const { return record_range_; }
  // The numbers of the last assembly's documents that did not arrive whole.
  const std::vector<int>& incomplete() const { return incomplete_; }
  // The last assembly stopped asking because its text reached env.sizes.text_bytes.
  bool text_limit_reached() const { return text_limit_reached_; }
  request_outcome outcome() const { return outcome_; }
  // The first and last number of the last validated request by numbers.
  int request_first() const { return request_first_; }
  int request_last() const { return request_last_; }

 private:
  void begin_request();
  void end_request();
  void fail_request();
  void assemble(int first, int last, int doc_kind);
  void walk_xml(bool sort);
  void commit_pending(bool record_ranges);
  void render_display();
  void show_progress(std::int64_t number, std::int64_t first, std::int64_t last);
  void start_xml_lines();
  void finish_xml_lines();
  void reset_pending();
  // Adds a document's line when the request's text has room for it.
  bool add_xml_line(std::string&& text);
  struct period_fields {
    short_date start, end;
    time_e start_time, end_time;
  };
  period_fields read_period() const;
  const RetData* ask_period(protocol p, const period_fields& f);
  std::string register_error_code(protocol p, const RetData* reply) const;

  journal_view& view_;
  message_box& messages_;
  request_environment env_;
  std::filesystem::path temp_xml_path_ = "temp.xml";

  rq store_;
  control walk_;
  std::vector<std::string> display_;
  std::vector<std::string> xml_lines_;
  sootv fetched_z_;
  sootv fetched_docs_;
  interval fetched_ranges_;
  interval fetched_z_ranges_;
  sootv z_doc_map_;
  bool range_covered_ = false;
  bool record_range_ = false;
  int request_first_ = 0;
  int request_last_ = 0;

  // What the last assembly fetched, marked in the caches once its walk succeeded.
  sootv* pending_cache_ = nullptr;
  std::vector<int> pending_numbers_;
  interval* pending_interval_ = nullptr;
  std::vector<number_range> pending_ranges_;
  bool covered_now_ = false;
  request_outcome outcome_ = request_outcome::none;  // this request's packet assembly found its range held
  std::vector<int> incomplete_;
  std::size_t xml_bytes_ = 0;  // the lines of xml_lines_ with their breaks, and the closing line's
  bool text_limit_reached_ = false;
};

}  // namespace ejscope
