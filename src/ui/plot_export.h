// The plot leaves the program: HPGL and metafile files, printer, clipboard.
#pragma once

namespace quorix {

class TMainform;
struct AppContext;

// all: the main window and every visible window 2..8, one file each.
void SavePlotsHpgl(TMainform& mainform, AppContext& context, bool all);
void SavePlotsEmf(TMainform& mainform, AppContext& context, bool all);
void PrintPlot(TMainform& mainform, AppContext& context);
void CopyPlotToClipboard(TMainform& mainform);

}  // namespace quorix
