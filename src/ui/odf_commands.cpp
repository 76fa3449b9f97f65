// The ODF command: the request from the dialog, RunOdfJob under a gauge
// that shows each iteration's RP and hears Cancel.
#include "ui/odf_commands.h"

#include <fmt/format.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QWindow>
#include <atomic>

#include "ui/child_dialogs.h"
#include "ui/main_window.h"
#include "ui/message_box_sink.h"
#include "ui/odf_dialog.h"
#include "ui/odf_result_window.h"
#include "ui/window_placement.h"
#include "workflow/odf_job.h"

namespace quorix {
namespace {

// A cancel the user asked for needs no message box telling so; a fault of
// the request is told without the gauge behind it.
class GaugeSink : public MessageSink {
 public:
  GaugeSink(MessageSink& inner, QProgressDialog& gauge, const std::atomic<bool>& cancel)
      : inner_(inner), gauge_(gauge), cancel_(cancel) {}
  void Message(const std::string& text) override {
    gauge_.hide();
    if (!cancel_) inner_.Message(text);
  }

 private:
  MessageSink& inner_;
  QProgressDialog& gauge_;
  const std::atomic<bool>& cancel_;
};

}  // namespace

OdfDialog& SharedOdfDialog(MainWindow& mainform) {
  return FindOrCreateChild<OdfDialog>(mainform, [&] { return new OdfDialog(&mainform); });
}

void ComputeOdf(MainWindow& mainform, AppContext& context) {
  OdfDialog& dlg = SharedOdfDialog(mainform);
  std::vector<QString> captions(kSlotCount + 1);
  for (int n = 1; n <= kSlotCount; ++n) captions[static_cast<std::size_t>(n)] = mainform.SlotTitle(n);
  dlg.Prepare(context.set, captions);
  while (dlg.exec() == QDialog::Accepted) {
    MessageBoxSink boxes(&dlg);
    auto request = dlg.Request(boxes);
    if (!request) continue;
    std::atomic<bool> cancel{false};
    QProgressDialog gauge("Building the path tables...", "Cancel", 0, request->estimate.maxIterations, &mainform);
    gauge.setWindowTitle("Computing the ODF");
    gauge.setWindowModality(Qt::ApplicationModal);
    gauge.setMinimumDuration(0);
    gauge.setAutoClose(false);
    gauge.setAutoReset(false);
    gauge.setMinimumWidth(360);
    gauge.setValue(0);
    gauge.show();
    // The path tables take a while before the first iteration reports: the gauge must be up by then.
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 300 && !(gauge.windowHandle() && gauge.windowHandle()->isExposed()))
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    gauge.repaint();
    QCoreApplication::processEvents();
    request->estimate.control.cancel = &cancel;
    request->estimate.onIteration = [&](int iteration, double rp) {
      gauge.setValue(std::min(iteration, gauge.maximum()));
      gauge.setLabelText(QString::fromStdString(fmt::format("Iteration {}: mean RP {:.2f} %", iteration, rp)));
      // The estimate runs on this thread: let the gauge paint and hear Cancel.
      QCoreApplication::processEvents();
      if (gauge.wasCanceled()) cancel = true;
    };
    GaugeSink sink(boxes, gauge, cancel);
    auto result = RunOdfJob(*request, sink);
    gauge.hide();
    if (result) {
      auto* window = new OdfResultWindow(mainform, context, std::move(*result));
      ShowOnScreen(*window, QSize(680, 560), &mainform);
      return;
    }
    if (cancel) return;
  }
}

Commands OdfCommands(MainWindow& mainform, AppContext& context) {
  Command c = MenuCommand("&Edit", 3, "Orientation &Distribution (ODF)...", [&] { ComputeOdf(mainform, context); });
  c.name = "OdfCommand";
  return {c};
}

}  // namespace quorix
