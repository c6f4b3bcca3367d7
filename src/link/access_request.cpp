#include "link/access_request.h"

namespace ejscope {

std::string access_request(const std::string& identifier, id_kind kind) {
  std::string request;
  std::size_t size = access_request_dev_size;
  if (kind == id_kind::fiscal) {
    request = ":" + identifier + ":";
    size = access_request_fiscal_size;
  } else {
    request = identifier;
  }
  request.resize(size, '\0');
  return request;
}

}  // namespace ejscope
