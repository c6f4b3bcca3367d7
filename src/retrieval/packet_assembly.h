#pragma once
// One range exchange of the packet mode: the range_request, then one
// continue_request per reply packet until the register says no further
// packet will come; every document whose packets all arrived with a good
// CRC becomes one line of the XML text.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/gateway_link.h"
#include "link/timeouts.h"
#include "retrieval/text_limits.h"

namespace ejscope {

// The packets one document may take, as many as its fragments in fragment mode.
constexpr std::int64_t max_packets_per_document = 32768;

struct range_outcome {
  // The register ended the stream itself (flag 0x01, 0x04 or 0x08) and no
  // document was lost: the whole range is what the register holds.
  bool whole = false;
  std::vector<std::int32_t> complete;    // numbers of the documents added, in order
  // Numbers of the documents dropped; when the stream stopped between
  // documents before the register ended it, also the number after the last
  // document it began (a, when none began), if that is within [a, b].
  std::vector<std::int32_t> incomplete;
  // The range stopped because its text would have passed sizes.text_bytes;
  // the document that did not fit is among the incomplete ones.
  bool text_limit = false;
};

// Exchanges [a, b] and appends each whole document to xml_lines. A document
// with a packet whose CRC is wrong (or that announces more than 1460
// bytes) is dropped whole, and so is one still continuing when the stream
// stops, when a bare packet without a part of it ends it, or when a packet
// of another document comes in its place. Implementer's choice: an empty, foreign or cut reply ends the range (the stream is out of step or gone).
// The range also ends when the register sends more documents than [a, b]
// holds numbers, when one document runs past max_packets_per_document or
// sizes.document_bytes (it is dropped), and before the lines added (each
// counted with its line break) would pass sizes.text_bytes.
// on_packet gets the document number of every reply packet, a number of the
// range's kind (progress).
// Connection failures are raised as link_error.
range_outcome exchange_range(gateway_link& link, const timeouts& limits, std::int32_t a, std::int32_t b,
                             int doc_kind, std::vector<std::string>& xml_lines,
                             const std::function<void(std::int32_t)>& on_packet, const text_limits& sizes = {});

}  // namespace ejscope
