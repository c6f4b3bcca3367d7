#pragma once
// One exchange of the packet stream, directly over the gateway connection:
// write the request, wait for the reply packet and read it whole.
#include <string>
#include <string_view>

#include "link/gateway_link.h"
#include "link/timeouts.h"

namespace ejscope {

// Writes the request and reads one reply packet into reply (emptied first):
// nothing when the connection is not open or no byte comes within
// stream_ms. Once bytes have come, the rest of the packet (10 header bytes,
// then 10 + L + 2 in all) is read in pieces of at most 1460 bytes, never past
// the packet's announced end.
// Implementer's choice: the rest of a packet must come within packet_rest_ms in all (one stream wait, 60 s).
// A packet cut by that limit or by a closed peer is returned as far as it came.
// Connection failures are raised as link_error.
void exchange_packet(gateway_link& link, const timeouts& limits, std::string_view request,
                     std::string& reply);

}  // namespace ejscope
