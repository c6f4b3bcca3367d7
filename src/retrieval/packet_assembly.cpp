#include "retrieval/packet_assembly.h"

#include "retrieval/packet.h"
#include "retrieval/packet_exchange.h"

namespace ejscope {

namespace {

// The document being put together from its packets.
struct document_in_progress {
  bool begun = false;
  bool broken = false;  // a packet of it was dropped
  std::int32_t number = 0;
  std::int64_t packets = 0;
  std::string text;

  void reset() {
    begun = broken = false;
    packets = 0;
    text.clear();
  }
};

}  // namespace

range_outcome exchange_range(gateway_link& link, const timeouts& limits, std::int32_t a, std::int32_t b,
                             int doc_kind, std::vector<std::string>& xml_lines,
                             const std::function<void(std::int32_t)>& on_packet, const text_limits& sizes) {
  range_outcome out;
  std::size_t taken = 0;  // bytes of the lines added, with their breaks
  const std::int64_t max_documents = static_cast<std::int64_t>(b) - a + 1;
  document_in_progress doc;
  bool ended_by_register = false;
  std::int64_t next_number = a;  // the number after the last document the stream began
  std::string reply;
  exchange_packet(link, limits, range_request(doc_kind, a, b), reply);
  for (;;) {
    const reply_packet p = parse_reply_packet(reply);
    if (p.state == packet_state::empty || p.state == packet_state::foreign || p.state == packet_state::cut)
      break;

    const bool usable = p.state == packet_state::good;
    const bool carries = !usable || !p.payload.empty();
    // A packet of another document while one continues: the stream lost the
    // rest of the one in progress.
    if (doc.begun && carries && p.document != doc.number) {
      out.incomplete.push_back(doc.number);
      doc.reset();
    }
    if (!doc.begun && carries) {
      doc.begun = true;
      doc.number = p.document;
      next_number = static_cast<std::int64_t>(p.document) + 1;
    }
    if (doc.begun) {
      ++doc.packets;
      if (!usable) doc.broken = true;
      if (usable) decode_payload(p.payload, doc.text);
    }
    if (doc.begun && (p.flags & packet_flag::continues) == 0) {
      // A document ends whole only with a part of its own: a bare packet
      // after "continues" means the register stopped inside it.
      if (doc.broken || !carries || doc.text.size() > sizes.document_bytes) {
        out.incomplete.push_back(doc.number);
      } else if (taken + doc.text.size() + 1 > sizes.text_bytes) {
        out.incomplete.push_back(doc.number);
        out.text_limit = true;
        doc.reset();
        break;
      } else if (!doc.text.empty()) {
        taken += doc.text.size() + 1;
        xml_lines.push_back(std::move(doc.text));
        out.complete.push_back(doc.number);
      }
      doc.reset();
    }
    if (on_packet) on_packet(p.document);

    if ((p.flags & packet_flag::last_packet) != 0) {
      ended_by_register = true;
      out.whole = !doc.begun && out.incomplete.empty();
      break;
    }
    const auto documents = static_cast<std::int64_t>(out.complete.size() + out.incomplete.size());
    if (documents > max_documents || doc.packets >= max_packets_per_document ||
        doc.text.size() > sizes.document_bytes)
      break;
    exchange_packet(link, limits, continue_request(), reply);
  }
  // A document still continuing when the stream stopped is lost. A stream
  // that stopped between documents, before the register ended it, lost the
  // documents it did not reach: the first of them is named, so that the
  // request does not look whole.
  if (doc.begun) {
    out.incomplete.push_back(doc.number);
  } else if (!ended_by_register && !out.text_limit && next_number <= b) {
    out.incomplete.push_back(static_cast<std::int32_t>(next_number));
  }
  return out;
}

}  // namespace ejscope
