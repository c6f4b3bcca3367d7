#include "retrieval/fragment_fetch.h"

#include "protocol/reply_record.h"
#include "tape/value_conversion.h"
#include "text/base64.h"

namespace ejscope {

int reply_integer(const std::string& field) {
  if (auto v = to_int(field)) return *v;
  throw reply_field_error("'" + field + "' is not a valid integer value");
}

bool reply_broken(const RetData* reply) {
  constexpr std::uint32_t broken = result_flag::checksum_mismatch | result_flag::refused | result_flag::no_reply;
  return reply == nullptr || (reply->flags & broken) != 0;
}

fetched_document fetch_document(journal_commands& commands, protocol p, int number, int doc_kind,
                                const std::string& password, std::size_t max_bytes) {
  fetched_document doc;
  for (int j = 0; j <= max_fragment_index; ++j) {
    const RetData* r = commands.documents_output(p, password, doc_kind, number, j);
    // No result, or a reply the driver flagged broken: whatever came so far
    // is not the whole document.
    if (reply_broken(r)) {
      doc.incomplete = true;
      return doc;
    }
    // The register's refusal or an unexpected reply: a document that has not
    // begun is simply absent; one that has begun is cut.
    const bool refusal = (p == protocol::kelvora && r->error_code != "0000") ||
                         (r->count != 1 && r->count != 2);
    if (refusal) {
      doc.incomplete = doc.fetched;
      return doc;
    }
    if (r->count == 1) {
      doc.fetched = true;
      return doc;
    }
    const int n = reply_integer(r->fields[0]);
    const bool end = p == protocol::datecs ? (n == -1 || n == 0) : n == 0;
    if (end) return doc;
    text::base64_decode_append(r->fields[1], doc.text);
    doc.fetched = true;
    if (doc.text.size() > max_bytes) {
      doc.incomplete = true;
      return doc;
    }
  }
  doc.incomplete = true;  // the fragment limit
  return doc;
}

}  // namespace ejscope
