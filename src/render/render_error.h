#pragma once
// The error that ends the rendering of one document: a value too wide for
// its column ("Range check error") or a tax text that is not an integer.
// The rendering pass catches it, logs its message and goes on.
#include <stdexcept>
#include <string>

namespace ejscope {

class render_error : public std::runtime_error {
 public:
  explicit render_error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace ejscope
