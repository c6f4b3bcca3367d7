#pragma once
// One range exchange of the packet mode: the range_request, then one
// continue_request per reply packet until the register says no further
// packet will come; every document whose packets all arrived with a good
// CRC becomes one line of the XML text.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "connection/gateway_link.h"
#include "connection/timeouts.h"

namespace ejscope {

// The packets one document may take, as many as its fragments in fragment mode.
constexpr std::int64_t max_packets_per_document = 32768;

struct range_outcome {
  // The register ended the stream itself (flag 0x01, 0x04 or 0x08) and no
  // document was lost: the whole range is what the register holds.
  bool whole = false;
  std::vector<std::int32_t> complete;    // numbers of the documents added, in order
  std::vector<std::int32_t> incomplete;  // numbers of the documents dropped
};

// Exchanges [a, b] and appends each whole document to xml_lines. A document
// with a packet whose CRC is wrong (or that announces more than 1460
// bytes) is dropped whole, and so is one still continuing when the stream
// stops, when a bare packet without a part of it ends it, or when a packet
// of another document comes in its place. Implementer's choice: an empty, foreign or cut reply ends the range (the stream is out of step or gone).
// The range also ends when the register sends more documents than [a, b]
// holds numbers or one document runs past max_packets_per_document.
// on_packet gets the document number of every reply packet (progress).
// Connection failures are raised as link_error.
range_outcome exchange_range(gateway_link& link, const timeouts& limits, std::int32_t a, std::int32_t b,
                             int doc_kind, std::vector<std::string>& xml_lines,
                             const std::function<void(std::int32_t)>& on_packet);

}  // namespace ejscope
