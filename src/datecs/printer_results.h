#pragma once
// The system's Datecs result handler: keeps a copy of the record in
// last_reply and shows one message box for the first error flag set.
#include <cstdint>
#include <string>

#include "link/platform.h"
#include "protocol/reply_record.h"

namespace ejscope::datecs {

class PrinterResultsx {
 public:
  PrinterResultsx(last_reply& store, message_box& box) : store_(store), box_(box) {}
  void operator()(RetData& r);

 private:
  last_reply& store_;
  message_box& box_;
};

// The message of the first flag set, in the handler's test order (windows-1251);
// empty when none of the tested flags is set.
std::string first_error_message(std::uint32_t flags);

}  // namespace ejscope::datecs
