#include "sim/register_commands.h"

#include <charconv>
#include <string>
#include <vector>

#include "text/base64.h"

namespace ejscope::sim {

namespace {

constexpr std::uint8_t cmd_datecs_diagnostic = 0x5A;
constexpr std::uint8_t cmd_kelvora_diagnostic = 0x80;
constexpr std::uint8_t cmd_header_line = 0x23;
constexpr std::uint8_t cmd_documents = 0xA7;
constexpr std::uint8_t cmd_print_interval = 0xEB;
constexpr std::uint8_t cmd_interval_by_date = 0xEE;
constexpr int max_fragment = 32767;
constexpr int max_header_line = 20;

// Datecs status bits the register sets.
struct status_bit {
  std::size_t byte;
  std::uint8_t mask;
};
constexpr status_bit syntax_error = {0, 0x01};
constexpr status_bit invalid_command = {0, 0x02};
constexpr status_bit not_allowed = {1, 0x02};

std::optional<int> strict_int(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::vector<std::string_view> split(std::string_view data, char separator) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t at = 0; at <= data.size(); ++at) {
    if (at == data.size() || data[at] == separator) {
      fields.push_back(data.substr(start, at - start));
      start = at + 1;
    }
  }
  return fields;
}

// Fields of a Kelvora data text, each of which must end with ";".
std::optional<std::vector<std::string_view>> kelvora_fields(std::string_view data) {
  if (data.empty() || data.back() != ';') return std::nullopt;
  data.remove_suffix(1);
  return split(data, ';');
}

// ddmmyy and hhmm as YYYYMMDDhhmm, when both are real.
std::optional<std::string> minute_of(std::string_view date, std::string_view time) {
  const auto digits = [](std::string_view t) { return t.find_first_not_of("0123456789") == std::string_view::npos; };
  if (date.size() != 6 || time.size() != 4 || !digits(date) || !digits(time)) return std::nullopt;
  const int day = std::stoi(std::string(date.substr(0, 2)));
  const int month = std::stoi(std::string(date.substr(2, 2)));
  const int hour = std::stoi(std::string(time.substr(0, 2)));
  const int minute = std::stoi(std::string(time.substr(2, 2)));
  if (day < 1 || day > 31 || month < 1 || month > 12 || hour > 23 || minute > 59) return std::nullopt;
  return "20" + std::string(date.substr(4, 2)) + std::string(date.substr(2, 2)) + std::string(date.substr(0, 2)) +
         std::string(time);
}

// Builds replies in the protocol's own form: fields joined by "," for
// Datecs, each ended by ";" for Kelvora; errors as status bits or codes.
class answerer {
 public:
  answerer(register_protocol protocol, const register_context& context) : protocol_(protocol), context_(context) {}

  bool kelvora() const { return protocol_ == register_protocol::kelvora; }

  command_outcome fields(const std::vector<std::string>& values) const {
    command_outcome outcome;
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (kelvora()) {
        outcome.answer.data += values[i] + ";";
      } else {
        outcome.answer.data += (i == 0 ? "" : ",") + values[i];
      }
    }
    return outcome;
  }

  command_outcome refuse(status_bit bit, const char* code, std::string problem = {}) const {
    command_outcome outcome;
    if (kelvora()) {
      outcome.answer.error_code = code;
    } else {
      outcome.answer.status[bit.byte] = static_cast<std::uint8_t>(outcome.answer.status[bit.byte] | bit.mask);
    }
    if (!problem.empty()) outcome.problem = std::move(problem);
    return outcome;
  }

  command_outcome bad_format(const char* what) const {
    return refuse(syntax_error, kelvora_code::bad_data, std::string("data format: ") + what);
  }

  command_outcome diagnostic() const {
    const identity& id = context_.id;
    if (kelvora()) {
      return fields({"Kelvora-01", id.dev_id, id.fiscal_number, id.kelvora_firmware, "1.31", "123456789012", "0", "0",
                     std::to_string(context_.tape.size()), "0", "1"});
    }
    // Version, firmware date and time travel separated by blanks, which the client turns into commas.
    return fields({"3.00 " + id.datecs_firmware + " 1200", "7A3F", "11000000", "0", id.dev_id, id.fiscal_number});
  }

  command_outcome header_line(int line) const {
    const auto& lines = context_.id.header_lines;
    const std::string text = line < static_cast<int>(lines.size()) ? lines[static_cast<std::size_t>(line)] : "";
    return fields({text.substr(0, max_reply_data(protocol_) - 8), "0"});
  }

  command_outcome fragment(int kind, int number, int index) const {
    const journal_document* doc = context_.tape.find(kind, number);
    if (doc == nullptr) {
      if (kelvora()) return refuse(not_allowed, kelvora_code::no_document);
      return fields({"-1", ""});
    }
    const std::size_t size = fragment_capacity(protocol_, context_.fragment_bytes);
    const std::size_t offset = static_cast<std::size_t>(index) * size;
    // Past the last fragment: the one-field reply that ends the document.
    if (offset >= doc->text.size()) return fields({"0"});
    const std::string_view part = std::string_view(doc->text).substr(offset, size);
    return fields({std::to_string(part.size()), text::base64_encode(part)});
  }

  command_outcome print(int first, int last) const {
    printed_range job{protocol_, first, last, {}};
    // The register prints the receipts of that receipt-number range.
    for (const journal_document* doc : context_.tape.range(kind_document, first, last)) {
      job.documents.push_back(doc->number_of(kind_document).value_or(0));
    }
    if (job.documents.empty()) return refuse(not_allowed, kelvora_code::no_document);
    command_outcome outcome;
    outcome.printed = std::move(job);
    return outcome;
  }

  command_outcome period(std::string_view sd, std::string_view st, std::string_view ed, std::string_view et,
                         std::string_view flag) const {
    const auto from = minute_of(sd, st);
    const auto to = minute_of(ed, et);
    if (!from || !to) return bad_format("dates ddmmyy and times hhmm");
    if (flag != "0" && flag != "1") return bad_format("print flag 0 or 1");
    const auto numbers = context_.tape.period(*from, *to);
    if (!numbers) return refuse(not_allowed, kelvora_code::no_document);
    command_outcome outcome = fields({std::to_string(numbers->first), std::to_string(numbers->second)});
    if (flag == "1") outcome.printed = print(numbers->first, numbers->second).printed;
    return outcome;
  }

  command_outcome run(std::uint8_t command, std::vector<std::string_view> args) const {
    const auto ints = [&args](std::size_t from) {
      std::vector<int> values;
      for (std::size_t i = from; i < args.size(); ++i) {
        const auto v = strict_int(args[i]);
        if (!v) return std::optional<std::vector<int>>();
        values.push_back(*v);
      }
      return std::optional<std::vector<int>>(values);
    };
    switch (command) {
      case cmd_documents: {
        const auto v = ints(0);
        if (args.size() != 3 || !v) return bad_format("type, number, fragment");
        if ((*v)[0] != kind_z_report && (*v)[0] != kind_document) return bad_format("document type 0 or 1");
        if ((*v)[2] < 0 || (*v)[2] > max_fragment) return bad_format("fragment 0..32767");
        return fragment((*v)[0], (*v)[1], (*v)[2]);
      }
      case cmd_print_interval: {
        const auto v = ints(0);
        if (args.size() != 2 || !v) return bad_format("first, last");
        return print((*v)[0], (*v)[1]);
      }
      case cmd_interval_by_date:
        if (args.size() != 5) return bad_format("start date, time, end date, time, print flag");
        return period(args[0], args[1], args[2], args[3], args[4]);
      default:
        return refuse(invalid_command, kelvora_code::unknown_command, "unknown command");
    }
  }

 private:
  register_protocol protocol_;
  const register_context& context_;
};

command_outcome run_datecs(const answerer& a, std::uint8_t command, std::string_view data) {
  if (command == cmd_datecs_diagnostic) {
    if (data != "0" && data != "1") return a.bad_format("flag 0 or 1");
    return a.diagnostic();
  }
  return a.run(command, split(data, ','));
}

command_outcome run_kelvora(const answerer& a, const identity& id, std::uint8_t command, std::string_view data) {
  const auto fields = kelvora_fields(data);
  if (!fields) return a.bad_format("fields ended by \";\"");
  std::vector<std::string_view> args = *fields;
  if (args.front() != id.password) return a.refuse(not_allowed, kelvora_code::bad_password, "wrong password");
  args.erase(args.begin());
  if (command == cmd_kelvora_diagnostic) {
    if (!args.empty()) return a.bad_format("password only");
    return a.diagnostic();
  }
  if (command == cmd_header_line) {
    const auto line = args.size() == 1 ? strict_int(args[0]) : std::nullopt;
    if (!line || *line < 0 || *line > max_header_line) return a.bad_format("line 0..20");
    return a.header_line(*line);
  }
  return a.run(command, std::move(args));
}

}  // namespace

std::size_t fragment_capacity(register_protocol protocol, std::size_t wanted) {
  const std::size_t room = max_reply_data(protocol);
  std::size_t size = wanted == 0 ? 1 : wanted;
  // count digits + separator + base64 + the Kelvora field end
  const auto reply_size = [protocol](std::size_t n) {
    return std::to_string(n).size() + 1 + 4 * ((n + 2) / 3) + (protocol == register_protocol::kelvora ? 1 : 0);
  };
  while (size > 1 && reply_size(size) > room) --size;
  return size;
}

command_outcome run_command(register_protocol protocol, const register_context& context, std::uint8_t command,
                            std::string_view data) {
  const answerer a(protocol, context);
  return protocol == register_protocol::kelvora ? run_kelvora(a, context.id, command, data)
                                                : run_datecs(a, command, data);
}

}  // namespace ejscope::sim
