#pragma once
// The fragment mode's per-document request: fragments 0, 1, 2 ... of one
// document, each one command A7h through the connection's protocol.
#include <cstddef>
#include <stdexcept>
#include <string>

#include "register/identification.h"
#include "retrieval/journal_commands.h"
#include "retrieval/text_limits.h"

namespace ejscope {

// A reply field that must be an integer and is not; it ends the request.
class reply_field_error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The integer of a reply field (blanks around it allowed); throws reply_field_error.
int reply_integer(const std::string& field);

// No result, or a reply the driver flagged broken (checksum mismatch,
// refused, no reply): its fields are not what the register sent.
bool reply_broken(const RetData* reply);

// The highest fragment index asked for one document.
constexpr int max_fragment_index = 32767;

struct fetched_document {
  std::string text;      // the document's XML text, the decoded fragments joined
  bool fetched = false;  // a fragment was appended, or the register answered with one field
  // The document did not end by the register's own end-of-document reply: a
  // command ended without a result, a reply was flagged broken (checksum
  // mismatch, refused, no reply), the register answered with an error or an
  // unexpected field count after fragments had come, or the fragment limit
  // or the document's text passed max_bytes. Such a text is cut and must not be used.
  bool incomplete = false;
};

// Reply table: Kelvora error code other than "0000" ends the document;
// count 2 with fields[0] -1 or 0 (Datecs) or 0 (Kelvora) ends it, any other
// value appends the base64 rule's bytes of fields[1]; count 1 ends it as
// fetched; any other count ends it. Throws reply_field_error when fields[0]
// of a two-field reply is not an integer.
fetched_document fetch_document(journal_commands& commands, protocol p, int number, int doc_kind,
                                const std::string& password,
                                std::size_t max_bytes = text_limits{}.document_bytes);

}  // namespace ejscope
