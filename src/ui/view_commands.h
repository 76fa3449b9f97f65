// The commands that change what is shown and how: the "&Rotation" menu,
// "&Contours", "&Options", the display toggles and smoothing buttons of the
// tool bar, and the help.
#pragma once

#include "ui/app_context.h"
#include "ui/command.h"

namespace quorix {

class MainWindow;

Commands ViewCommands(MainWindow& mainform, AppContext& context);

}  // namespace quorix
