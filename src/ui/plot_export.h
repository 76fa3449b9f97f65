// The plot leaves the program: HPGL and metafile files, printer, clipboard.
#pragma once

#include "ui/command.h"

class QPaintDevice;
class QSize;

namespace quorix {

class MainWindow;
class MessageSink;
struct AppContext;
struct PoleFigure;
struct ProgramState;

// The plot as the main window shows it on a screenWidth x screenHeight
// image, widened where the image cuts lines at its right edge, scaled as a
// whole to fit `page` (the printable area, in device pixels, starting at the
// device's origin). False when nothing can be drawn.
bool DrawPlotPage(QPaintDevice& device, const QSize& page, const PoleFigure& pf, const ProgramState& state,
                  int screenWidth, int screenHeight, MessageSink* messages);

// all: the main window and every visible window 2..8, one file each.
void SavePlotsHpgl(MainWindow& mainform, AppContext& context, bool all);
void SavePlotsEmf(MainWindow& mainform, AppContext& context, bool all);
void PrintPlot(MainWindow& mainform, AppContext& context);
void CopyPlotToClipboard(MainWindow& mainform);

// The plot outputs of the "&File" menu and their tool-bar buttons.
Commands ExportCommands(MainWindow& mainform, AppContext& context);

}  // namespace quorix
