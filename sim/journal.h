#pragma once
// The register's electronic journal: the documents of a tape, each with its
// numbers and its XML text as the register stores and sends it (the DAT
// element followed by its MAC element). Requests name a document by the
// number of its kind: a receipt by its receipt number (NO of the E element,
// the number the client renders and fills its number fields with), a
// Z-report by its NO; the DAT's DI only orders the tape and is never asked by.
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ejscope::sim {

struct journal_document {
  int number = 0;                 // the DAT's DI, the document's place in the tape
  std::optional<int> z_number;    // NO of the Z element, for a Z-report
  std::optional<int> receipt_number;  // NO of the receipt's E element
  std::string ts;                 // the TS text, YYYYMMDDhhmmss
  std::string text;               // <DAT …>…</DAT><MAC …>…</MAC>, windows-1251

  // The number a request of that kind names the document by; none when the
  // kind does not address it (a Z-report has no receipt number).
  std::optional<int> number_of(int kind) const;
};
// Document kind of the requests: 0 = by Z-report number, 1 = by receipt number.
constexpr int kind_z_report = 0;
constexpr int kind_document = 1;

class journal {
 public:
  journal() = default;
  // Reads a tape (an RQ root holding DAT and MAC elements). A DAT without a
  // usable DI gets the DI after the previous one; of two documents with the
  // same number of a kind the first is served by that kind. Throws std::runtime_error with the
  // parser's message when the text is not XML or its root is not RQ.
  static journal parse(std::string_view tape_text);

  const std::vector<journal_document>& documents() const { return documents_; }
  const std::string& tape_text() const { return tape_text_; }
  std::size_t size() const { return documents_.size(); }

  // The document of that number of the kind, or null.
  const journal_document* find(int kind, int number) const;
  // The documents whose number of the kind lies in [first, last], in number order.
  std::vector<const journal_document*> range(int kind, int first, int last) const;
  // The smallest and largest receipt number of the receipts whose date and
  // time, to the minute, lie in [from, to] (both YYYYMMDDhhmm); none → empty.
  std::optional<std::pair<int, int>> period(std::string_view from, std::string_view to) const;

 private:
  const std::map<int, std::size_t>& index(int kind) const;

  std::string tape_text_;
  std::vector<journal_document> documents_;
  std::map<int, std::size_t> by_receipt_number_;
  std::map<int, std::size_t> by_z_number_;
};

}  // namespace ejscope::sim
