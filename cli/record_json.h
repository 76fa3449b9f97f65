// The JSON form of a loaded pole figure record, shared by the subcommands
// that print one.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "io/data_layout.h"
#include "record/pole_figure.h"

namespace quorix::cli {

nlohmann::json RecordJson(const PoleFigure& pf, DataLayout layout, const std::vector<std::string>& names);

}  // namespace quorix::cli
