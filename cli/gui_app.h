// The application Qt needs for fonts, started once for the commands that draw text.
#pragma once

namespace quorix::cli {

void EnsureGuiApplication();

}  // namespace quorix::cli
