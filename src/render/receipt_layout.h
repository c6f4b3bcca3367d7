#pragma once
// The receipt layouts: the sale receipt (document types "Чек" and
// "Чек+Z-отчет") and the service receipt (type "Внес./Изъят.", receipts of
// `T` 2). Lines are appended to the display as built; a render_error ends
// the receipt at the point reached and leaves the lines already appended.
#include <string>
#include <vector>

#include "tape/documents.h"
#include "render/document_header.h"

namespace ejscope {

// first_fn is the FN of the document in slot 0 of the store.
void render_sale_receipt(std::vector<std::string>& display, const dat& d, const std::string& first_fn,
                         const register_header& header, bool colvo_flag);
void render_service_receipt(std::vector<std::string>& display, const dat& d, const std::string& first_fn);

}  // namespace ejscope
