#include "retrieval/session_journal_commands.h"

namespace ejscope {

const RetData* session_journal_commands::datecs_result() const {
  if (session_.datecs_driver().last_abandoned()) return nullptr;
  return &session_.replies().datecs_reply;
}

const RetData* session_journal_commands::kelvora_result(const RetData& record) {
  session_.replies().kelvora_reply = &record;
  return &record;
}

const RetData* session_journal_commands::documents_output(protocol p, const std::string& password,
                                                          int doc_kind, int number, int fragment) {
  if (p == protocol::datecs) {
    session_.datecs_driver().documents_output(session_.printer_results(), password, doc_kind, number,
                                              fragment);
    return datecs_result();
  }
  int status = 0;
  return kelvora_result(
      session_.kelvora_driver().documents_output(password, doc_kind, number, fragment, status));
}

const RetData* session_journal_commands::interval_output_by_date(
    protocol p, const std::string& password, const std::string& start_date,
    const std::string& start_time, const std::string& end_date, const std::string& end_time) {
  if (p == protocol::datecs) {
    session_.datecs_driver().interval_output_by_date(session_.printer_results(), password, start_date,
                                                     start_time, end_date, end_time, 0);
    return datecs_result();
  }
  int status = 0;
  return kelvora_result(session_.kelvora_driver().interval_output_by_date(
      password, start_date, start_time, end_date, end_time, 0, status));
}

const RetData* session_journal_commands::print_interval(protocol p, const std::string& password,
                                                        int first, int last) {
  if (p == protocol::datecs) {
    session_.datecs_driver().print_interval(session_.printer_results(), password, first, last);
    return datecs_result();
  }
  int status = 0;
  return kelvora_result(session_.kelvora_driver().print_interval(password, first, last, status));
}

}  // namespace ejscope
