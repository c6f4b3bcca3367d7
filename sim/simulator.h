#pragma once
// The register simulator: a remote-access gateway on 127.0.0.1 with one
// register behind it. It checks the access request, answers "Ready" and then
// speaks the Datecs protocol on one port and the Kelvora protocol on the
// other (the packet exchange on both), serving the documents of a tape.
// Faults can be injected while it runs; every request it receives is
// validated and recorded.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ejscope::sim {

enum class register_protocol { datecs = 0, kelvora = 1 };

// Who the register is. Texts are windows-1251 bytes.
struct identity {
  std::string dev_id = "KV0000001";        // the 9-byte device identifier
  std::string fiscal_number = "3000123456";  // sent by the client as ":" + number + ":"
  std::string password = "418257";          // access password of the Kelvora commands
  std::string datecs_firmware = "15Jan16";  // firmware date as 5Ah gives it (day, month, year)
  std::string kelvora_firmware = "Jan 15 2016";  // firmware date as 80h gives it (Mmm dd yyyy)
  // "ТОВ "Каса"" and "м.Київ" in windows-1251.
  std::vector<std::string> header_lines = {"\xD2\xCE\xC2 \"\xCA\xE0\xF1\xE0\"", "\xEC.\xCA\xE8\xBF\xE2"};

  // Sets both firmware texts from one calendar date.
  void set_firmware_date(int year, int month, int day);
};

// What can go wrong on the wire. Each kind acts on one kind of exchange:
// the handshake, a reply frame, a reply packet, or any request's reply.
enum class fault_kind {
  syn_before,        // frame: `param` SYN bytes (default 3), each in a write of its own, before the reply
  syn_inside,        // frame: a SYN byte inside the reply frame, after byte `param` (default: the middle)
  stray_byte,        // frame: an extra byte (`param`, default 'Z') inside the reply's data
  short_len,         // frame: the reply's LEN byte one too small
  nak,               // frame: a NAK byte (15h) instead of the reply
  bad_checksum,      // frame: one checksum character of the reply wrong
  other_command,     // frame: first a reply to another command (other SEQ and CMD), then the reply
  kelvora_error,     // frame (Kelvora): the error code `text` (default "0CD0") and no data
  bad_crc,           // packet: the payload's CRC wrong
  stream_stops,      // packet: a document's first part flagged as continuing, then the stream ends
  split,             // any reply: written in `param` pieces (default 3), `interval_ms` apart (default 20)
  slow_sender,       // any reply: one byte per write, `interval_ms` apart (default 1000)
  silence,           // any reply: nothing is sent
  close_connection,  // any reply: the connection is closed instead
  wrong_ready,       // handshake: `text` (default "ready") instead of "Ready"
  ready_split,       // handshake: "Re" and "ady" in two writes, `interval_ms` apart (default 50)
  garbage,           // any reply: `param` bytes of noise (default 600) instead
  oversized_packet,  // packet: more than 1460 bytes (payload padded with base64 texts, length and CRC right)
  length_past_end,   // packet: the payload length announces `param` bytes (default 1000) more than are sent
  endless_stream,    // packet: from here on every packet is flagged as continuing, for ever
};

// When a fault is injected: on the replies (or handshakes) that match the
// command, after `skip` matching ones have passed, `times` times (-1 = always).
struct fault_rule {
  fault_kind kind = fault_kind::silence;
  std::optional<std::uint8_t> command{};  // frame CMD or packet command (0x10, 0x21); empty = any
  std::optional<register_protocol> protocol{};  // empty = both ports
  bool on_handshake = false;  // silence, close_connection, split, slow_sender: at the handshake instead
  int skip = 0;
  int times = 1;
  int param = 0;        // 0 = the kind's default
  int interval_ms = 0;  // 0 = the kind's default
  std::string text{};   // empty = the kind's default
};

// The fault storm: each reply (and each handshake) gets, with the given
// probability, one fault drawn from `kinds` among those that fit it. The
// draws depend only on the seed and the order of the exchanges.
struct random_faults {
  std::uint64_t seed = 1;
  double probability = 0.1;
  std::vector<fault_kind> kinds{};  // empty = every kind except slow_sender and endless_stream
  int interval_ms = 5;            // pause used by the split, slow and SYN faults
};

struct config {
  identity register_identity{};
  std::uint16_t datecs_port = 34950;  // 0 = an ephemeral port
  std::uint16_t kelvora_port = 34951;
  std::string tape_text{};   // the tape XML (windows-1251); empty = no documents
  std::size_t fragment_bytes = 150;  // document bytes per A7h fragment (cut to what a frame can carry)
  std::size_t packet_bytes = 1080;   // document bytes per reply packet (cut to what a packet can carry)
  std::string record_file{};  // when set, every request and print is appended to this file
  bool keep_requests = true;  // false: requests() stays empty (long benchmark runs)
};

struct ports {
  std::uint16_t datecs = 0;
  std::uint16_t kelvora = 0;
  std::uint16_t of(register_protocol p) const { return p == register_protocol::datecs ? datecs : kelvora; }
};

enum class request_kind { access_request, frame, packet };

// One request as it arrived, and what the simulator made of it.
struct recorded_request {
  register_protocol protocol = register_protocol::datecs;
  request_kind kind = request_kind::frame;
  std::string bytes{};      // the request's bytes as received
  bool valid = false;
  std::string problem{};    // why it was refused; empty when valid
  std::uint8_t command = 0; // frame CMD or packet command
  std::uint8_t seq = 0;     // frame SEQ byte
  std::string data{};       // frame data text
};

// One EBh (or EEh with print flag 1) print job.
struct printed_range {
  register_protocol protocol = register_protocol::datecs;
  int first = 0;
  int last = 0;
  std::vector<int> documents{};  // receipt numbers of the receipts printed, in order
};

class journal;

class simulator {
 public:
  // Throws std::runtime_error when the tape cannot be read.
  explicit simulator(config cfg);
  ~simulator();
  simulator(const simulator&) = delete;
  simulator& operator=(const simulator&) = delete;

  // Listens on 127.0.0.1 and returns the ports (the chosen ones for port 0).
  // Throws std::runtime_error when a port cannot be opened.
  ports start();
  // Closes every connection and joins every thread. Called by the destructor.
  void stop();

  // Thread-safe; may be called while clients talk to the simulator.
  void add_fault(const fault_rule& rule);
  void set_random_faults(const random_faults& storm);
  void clear_faults();
  int faults_injected() const;
  std::vector<fault_kind> injected_kinds() const;  // in the order injected

  std::vector<recorded_request> requests() const;
  std::vector<printed_range> printed() const;
  int connections_accepted() const;
  void clear_records();

  const journal& tape() const;
  const config& settings() const;

  struct impl;

 private:
  std::unique_ptr<impl> impl_;
};

// The name used on the command line and in records ("nak", "syn_before", …).
const char* fault_name(fault_kind kind);
std::optional<fault_kind> fault_from_name(const std::string& name);

// Reads a fault given as text: "kind[,key=value]…" with the keys cmd (hex,
// e.g. A7), proto (datecs|kelvora), skip, times (-1 = always), param,
// handshake (1 = at the handshake),
// interval, text; "random,seed=N,p=0.1[,kinds=nak+split]" gives a storm.
// Throws std::invalid_argument with the reason.
struct parsed_fault {
  std::optional<fault_rule> rule{};
  std::optional<random_faults> storm{};
};
parsed_fault parse_fault(const std::string& text);

// A synthetic tape of n documents (windows-1251 XML with the envelope):
// DI 1 … n, every tenth a Z-report (Z numbers 1, 2, … in order), the others
// sale receipts with receipt numbers 1, 2, … in order (document k is receipt
// k − k/10); document k is dated 01.03.2016 08:00 plus 10·k minutes.
std::string make_tape(int n);

}  // namespace ejscope::sim
