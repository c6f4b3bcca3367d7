#include "sim/session.h"

#include <algorithm>
#include <optional>
#include <string>

#include "sim/frames.h"
#include "sim/packets.h"
#include "sim/register_commands.h"

namespace ejscope::sim {

namespace {

constexpr std::size_t dev_id_size = 9;
constexpr std::size_t fiscal_request_size = 12;
// A request whose rest does not follow within this time is taken as cut.
constexpr int rest_of_request_ms = 2000;
constexpr const char* ready_text = "Ready";
constexpr const char* unknown_register_text = "Unknown register";

enum class arrival { more, timed_out, closed };

// The same pseudo-random bytes every time, protocol bytes (01h, 03h, 07h, 15h, 16h) included.
std::string noise(std::size_t size) {
  std::string bytes(size, '\0');
  std::uint32_t state = 0x2545F491u;
  for (char& b : bytes) {
    state = state * 1103515245u + 12345u;
    b = static_cast<char>(state >> 24);
  }
  return bytes;
}

class session {
 public:
  session(int fd, const session_env& env)
      : fd_(fd), env_(env), context_{env.settings.register_identity, env.tape, env.settings.fragment_bytes} {}

  void run() {
    if (!handshake()) return;
    while (serve_one()) {
    }
  }

 private:
  arrival receive(int timeout_ms) {
    switch (wait_readable(fd_, env_.stop, timeout_ms)) {
      case wait_result::readable: return read_some(fd_, buffer_) ? arrival::more : arrival::closed;
      case wait_result::timed_out: return arrival::timed_out;
      case wait_result::stopped: return arrival::closed;
    }
    return arrival::closed;
  }

  void record(request_kind kind, std::string bytes, const std::optional<std::string>& problem,
              std::uint8_t command = 0, std::uint8_t seq = 0, std::string data = {}) {
    env_.records.request({env_.protocol, kind, std::move(bytes), !problem, problem.value_or(""), command, seq,
                          std::move(data)});
  }

  std::string expected_access_request(bool fiscal) const {
    const identity& id = env_.settings.register_identity;
    std::string expected = fiscal ? ":" + id.fiscal_number + ":" : id.dev_id;
    expected.resize(fiscal ? fiscal_request_size : dev_id_size, '\0');
    return expected;
  }

  // The access request is 9 bytes, or 12 when it starts with ":".
  bool handshake() {
    if (buffer_.empty() && receive(-1) != arrival::more) return false;
    const std::size_t wanted = buffer_[0] == ':' ? fiscal_request_size : dev_id_size;
    while (buffer_.size() < wanted) {
      const arrival a = receive(rest_of_request_ms);
      if (a == arrival::closed) return false;
      if (a == arrival::timed_out) break;
    }
    const std::size_t size = std::min(wanted, buffer_.size());
    const std::string request = buffer_.substr(0, size);
    buffer_.erase(0, size);
    const bool known = request == expected_access_request(wanted == fiscal_request_size);
    record(request_kind::access_request, request,
           known ? std::nullopt : std::optional<std::string>("unknown register or short access request"));
    if (!known) {
      write_all(fd_, unknown_register_text, env_.stop);
      return false;
    }
    const auto fault = env_.faults.draw({exchange::handshake, env_.protocol, 0, false});
    if (fault && fault->kind == fault_kind::wrong_ready) return write_all(fd_, fault->text, env_.stop);
    if (fault && fault->kind == fault_kind::ready_split) {
      return write_all(fd_, "Re", env_.stop) && env_.stop.pause(fault->interval_ms) && write_all(fd_, "ady", env_.stop);
    }
    return deliver(ready_text, fault);
  }

  bool serve_one() {
    if (buffer_.empty() && receive(-1) != arrival::more) return false;
    const std::uint8_t first = static_cast<std::uint8_t>(buffer_[0]);
    if (first != reply_byte::preamble && first != 0x07) return skip_stray_bytes();
    const bool is_frame = first == reply_byte::preamble;
    for (;;) {
      const std::size_t size = is_frame ? request_frame_size(buffer_, env_.protocol) : request_packet_size(buffer_);
      if (size == std::string::npos && !is_frame) return skip_stray_bytes();
      if (size == std::string::npos) return refuse_cut(true, buffer_.substr(0, 1), "impossible LEN");
      if (size != 0 && buffer_.size() >= size) {
        const std::string request = buffer_.substr(0, size);
        buffer_.erase(0, size);
        return is_frame ? handle_frame(request) : handle_packet(request);
      }
      const arrival a = receive(rest_of_request_ms);
      if (a == arrival::closed) return false;
      if (a == arrival::timed_out) return refuse_cut(is_frame, buffer_, "request cut short");
    }
  }

  // Bytes outside any request (a 07h not followed by 07h included): noted, not answered.
  bool skip_stray_bytes() {
    std::size_t end = 1;
    while (end < buffer_.size() && buffer_[end] != static_cast<char>(reply_byte::preamble) && buffer_[end] != 0x07) ++end;
    record(request_kind::frame, buffer_.substr(0, end), std::string("stray bytes outside a request"));
    buffer_.erase(0, end);
    return true;
  }

  bool refuse_cut(bool is_frame, std::string bytes, const char* problem) {
    buffer_.erase(0, bytes.size());
    record(is_frame ? request_kind::frame : request_kind::packet, std::move(bytes), std::string(problem));
    return refuse(is_frame);
  }

  // A frame the register cannot accept gets NAK; a packet, a refusing packet.
  bool refuse(bool is_frame) {
    return write_all(fd_, is_frame ? std::string(1, static_cast<char>(reply_byte::nak)) : build_reply_packet(flag_refused, 0, {}),
                     env_.stop);
  }

  bool handle_frame(const std::string& bytes) {
    request_frame frame;
    if (const auto problem = check_request_frame(bytes, frame)) {
      record(request_kind::frame, bytes, problem);
      return refuse(true);
    }
    reply answer;
    // The same SEQ, command and data again is a resend: the register answers
    // it as before without doing the command twice.
    const bool resend = last_frame_ && last_frame_->seq == frame.seq && last_frame_->command == frame.command &&
                        last_frame_->data == frame.data;
    if (resend) {
      answer = last_answer_;
      record(request_kind::frame, bytes, std::nullopt, frame.command, frame.seq, frame.data);
    } else {
      command_outcome outcome = run_command(env_.protocol, context_, frame.command, frame.data);
      record(request_kind::frame, bytes, outcome.problem, frame.command, frame.seq, frame.data);
      if (outcome.printed) env_.records.print(std::move(*outcome.printed));
      answer = std::move(outcome.answer);
      answer.seq = frame.seq;
      answer.command = frame.command;
    }
    const std::optional<reply> previous = last_frame_ ? std::optional<reply>(last_answer_) : std::nullopt;
    last_frame_ = frame;
    last_answer_ = answer;

    const auto fault = env_.faults.draw({exchange::frame, env_.protocol, frame.command, false});
    if (fault && fault->kind == fault_kind::kelvora_error) {
      answer.error_code = fault->text;
      answer.data.clear();
    }
    std::string out = build_reply_frame(env_.protocol, answer).bytes;
    if (fault) spoil_frame(out, *fault, answer);
    if (fault && fault->kind == fault_kind::other_command) {
      if (!write_all(fd_, other_reply(answer, previous), env_.stop) || !env_.stop.pause(fault->interval_ms)) return false;
    }
    return deliver(out, fault);
  }

  // A reply to the command before (or, for the first one, to another command).
  std::string other_reply(const reply& answer, const std::optional<reply>& previous) const {
    reply other = previous.value_or(reply{});
    if (!previous || (other.seq == answer.seq && other.command == answer.command)) {
      other.seq = static_cast<std::uint8_t>(answer.seq == 0x20 ? 0x7E : answer.seq - 1);
      other.command = static_cast<std::uint8_t>(answer.command ^ 0x01);
    }
    return build_reply_frame(env_.protocol, other).bytes;
  }

  void spoil_frame(std::string& out, const chosen_fault& fault, const reply& answer) const {
    const std::size_t data_begin = build_reply_frame(env_.protocol, answer).data_begin;
    switch (fault.kind) {
      case fault_kind::syn_inside: {
        const std::size_t at = fault.param > 0 ? std::min<std::size_t>(static_cast<std::size_t>(fault.param), out.size() - 1)
                                               : out.size() / 2;
        out.insert(at, 1, static_cast<char>(reply_byte::syn));
        break;
      }
      case fault_kind::stray_byte:
        out.insert(data_begin + answer.data.size() / 2, 1, static_cast<char>(fault.param));
        break;
      case fault_kind::short_len: out[1] = static_cast<char>(out[1] - 1); break;
      case fault_kind::bad_checksum: out[out.size() - 2] = static_cast<char>(out[out.size() - 2] ^ 0x01); break;
      case fault_kind::nak: out.assign(1, static_cast<char>(reply_byte::nak)); break;
      default: break;
    }
  }

  bool handle_packet(const std::string& bytes) {
    packet_request request;
    if (const auto problem = check_request_packet(bytes, request)) {
      record(request_kind::packet, bytes, problem, static_cast<std::uint8_t>(bytes.size() > 2 ? bytes[2] : 0));
      return refuse(false);
    }
    record(request_kind::packet, bytes, std::nullopt, request.command);
    if (request.command == packet_range) {
      stream_ = packet_stream(env_.tape.range(request.kind, request.first, request.last), request.kind,
                              env_.settings.packet_bytes, request.first);
    }
    const auto fault =
        env_.faults.draw({exchange::packet, env_.protocol, request.command, stream_.has_document_bytes()});
    using spoil = packet_stream::spoil;
    const fault_kind kind = fault ? fault->kind : fault_kind::silence;
    const spoil how = !fault                                   ? spoil::none
                      : kind == fault_kind::bad_crc            ? spoil::bad_crc
                      : kind == fault_kind::stream_stops       ? spoil::stop_inside
                      : kind == fault_kind::endless_stream     ? spoil::endless
                                                               : spoil::none;
    std::string out = stream_.next(how);
    if (fault && kind == fault_kind::oversized_packet) out = oversize_packet(out, max_reply_packet + 200);
    if (fault && kind == fault_kind::length_past_end) out = lengthen_claim(out, static_cast<std::size_t>(fault->param));
    return deliver(out, fault);
  }

  // Writes a reply as the fault says; false when the session is to end.
  bool deliver(const std::string& out, const std::optional<chosen_fault>& fault) {
    if (!fault) return write_all(fd_, out, env_.stop);
    const fault_kind kind = fault->kind;
    switch (kind) {
      case fault_kind::silence: return true;
      case fault_kind::garbage: return write_all(fd_, noise(static_cast<std::size_t>(fault->param)), env_.stop);
      case fault_kind::close_connection: return false;
      case fault_kind::syn_before:
        for (int i = 0; i < fault->param; ++i) {
          if (!write_all(fd_, std::string(1, static_cast<char>(reply_byte::syn)), env_.stop) ||
              !env_.stop.pause(fault->interval_ms)) {
            return false;
          }
        }
        return write_all(fd_, out, env_.stop);
      case fault_kind::split:
      case fault_kind::slow_sender: {
        const std::size_t pieces = kind == fault_kind::slow_sender
                                       ? out.size()
                                       : std::clamp<std::size_t>(static_cast<std::size_t>(fault->param), 1, out.size());
        std::size_t at = 0;
        for (std::size_t piece = 1; piece <= pieces; ++piece) {
          const std::size_t end = out.size() * piece / pieces;
          if (!write_all(fd_, std::string_view(out).substr(at, end - at), env_.stop)) return false;
          at = end;
          if (piece < pieces && !env_.stop.pause(fault->interval_ms)) return false;
        }
        return true;
      }
      default: return write_all(fd_, out, env_.stop);
    }
  }

  int fd_;
  const session_env& env_;
  register_context context_;
  std::string buffer_;
  std::optional<request_frame> last_frame_;
  reply last_answer_;
  packet_stream stream_;
};

}  // namespace

void run_session(int fd, const session_env& env) {
  session s(fd, env);
  s.run();
}

}  // namespace ejscope::sim
