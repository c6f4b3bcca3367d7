#include "sim/recorder.h"

#include <cstdio>

namespace ejscope::sim {

namespace {

const char* protocol_name(register_protocol p) { return p == register_protocol::datecs ? "datecs" : "kelvora"; }

const char* kind_name(request_kind k) {
  switch (k) {
    case request_kind::access_request: return "access";
    case request_kind::frame: return "frame";
    case request_kind::packet: return "packet";
  }
  return "?";
}

std::string hex(const std::string& bytes) {
  std::string text;
  char pair[4];
  for (const char c : bytes) {
    std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
    text += pair;
  }
  return text;
}

}  // namespace

recorder::recorder(const std::string& file, bool keep_requests) : keep_requests_(keep_requests) {
  if (!file.empty()) file_.open(file, std::ios::app | std::ios::binary);
}

void recorder::request(recorded_request r) {
  std::lock_guard lock(mutex_);
  if (file_.is_open()) {
    file_ << protocol_name(r.protocol) << ' ' << kind_name(r.kind) << ' '
          << (r.valid ? std::string("ok") : "refused (" + r.problem + ")") << ' ' << hex(r.bytes) << '\n'
          << std::flush;
  }
  if (keep_requests_) requests_.push_back(std::move(r));
}

void recorder::print(printed_range job) {
  std::lock_guard lock(mutex_);
  if (file_.is_open()) {
    file_ << protocol_name(job.protocol) << " print " << job.first << ".." << job.last << ':';
    for (const int number : job.documents) file_ << ' ' << number;
    file_ << '\n' << std::flush;
  }
  printed_.push_back(std::move(job));
}

void recorder::connection() {
  std::lock_guard lock(mutex_);
  ++connections_;
}

std::vector<recorded_request> recorder::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::vector<printed_range> recorder::printed() const {
  std::lock_guard lock(mutex_);
  return printed_;
}

int recorder::connections() const {
  std::lock_guard lock(mutex_);
  return connections_;
}

void recorder::clear() {
  std::lock_guard lock(mutex_);
  requests_.clear();
  printed_.clear();
  connections_ = 0;
}

}  // namespace ejscope::sim
