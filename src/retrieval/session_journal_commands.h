#pragma once
// journal_commands over the two drivers of a register_session: Datecs
// results go through PrinterResultsx into last_reply.datecs_reply, Kelvora
// records are stored in last_reply.kelvora_reply.
#include "register/register_session.h"
#include "retrieval/journal_commands.h"

namespace ejscope {

class session_journal_commands final : public journal_commands {
 public:
  explicit session_journal_commands(register_session& session) : session_(session) {}

  const RetData* documents_output(protocol p, const std::string& password, int doc_kind, int number,
                                  int fragment) override;
  const RetData* interval_output_by_date(protocol p, const std::string& password,
                                         const std::string& start_date, const std::string& start_time,
                                         const std::string& end_date,
                                         const std::string& end_time) override;
  const RetData* print_interval(protocol p, const std::string& password, int first, int last) override;
  bool kelvora_stale_reply() const override { return session_.kelvora_driver().stale_reply(); }

 private:
  const RetData* datecs_result() const;
  const RetData* kelvora_result(const RetData& record);

  register_session& session_;
};

}  // namespace ejscope
