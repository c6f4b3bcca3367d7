#pragma once
// The register commands of the request window (A7h, EEh, EBh) through the
// driver of the connection's protocol. Each returns the record that
// last_reply holds for it right after the command, or null when the Datecs
// driver ended the command without a result (last_reply would still hold
// the previous command's record, which must not be read as this reply).
#include <string>

#include "register/identification.h"
#include "protocol/reply_record.h"

namespace ejscope {

class journal_commands {
 public:
  virtual ~journal_commands() = default;
  // A7h: one fragment of one document.
  virtual const RetData* documents_output(protocol p, const std::string& password, int doc_kind,
                                          int number, int fragment) = 0;
  // EEh with print flag 0: the number range of a period (ddmmyy, hhmm texts).
  virtual const RetData* interval_output_by_date(protocol p, const std::string& password,
                                                 const std::string& start_date,
                                                 const std::string& start_time,
                                                 const std::string& end_date,
                                                 const std::string& end_time) = 0;
  // EBh: print a range on the register's paper.
  virtual const RetData* print_interval(protocol p, const std::string& password, int first,
                                        int last) = 0;
  // The Kelvora link layer found that the latest block answered another command.
  virtual bool kelvora_stale_reply() const = 0;
};

}  // namespace ejscope
