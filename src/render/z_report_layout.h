#pragma once
// The Z-report layout, and its bookkeeping of which Z-report was shown at
// which step of the pass: before the number line is appended, unless the
// smallest key of z_doc_map holding the report's number is 0, the number is
// stored under key pass_counter in z_doc_map and 1 under the number in
// fetched_z. A render_error ends the report at the point reached.
#include <string>
#include <vector>

#include "tape/documents.h"
#include "render/document_header.h"
#include "tape/number_map.h"

namespace ejscope {

void render_z_report(std::vector<std::string>& display, const dat& d, const std::string& first_fn,
                     const register_header& header, int pass_counter, sootv& z_doc_map, sootv& fetched_z);

}  // namespace ejscope
