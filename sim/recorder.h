#pragma once
// What the simulator saw: every request, every print job, the number of
// connections; kept in memory for the tests and appended to a file when one
// is named.
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "sim/simulator.h"

namespace ejscope::sim {

class recorder {
 public:
  recorder(const std::string& file, bool keep_requests);

  void request(recorded_request r);
  void print(printed_range job);
  void connection();

  std::vector<recorded_request> requests() const;
  std::vector<printed_range> printed() const;
  int connections() const;
  void clear();

 private:
  mutable std::mutex mutex_;
  std::ofstream file_;
  bool keep_requests_;
  std::vector<recorded_request> requests_;
  std::vector<printed_range> printed_;
  int connections_ = 0;
};

}  // namespace ejscope::sim
