#include "ui/app_context.h"

#include <QDebug>
#include <QFileInfo>

#include "settings/settings.h"

namespace quorix {

void StoreSettings(AppContext& c) {
  if (c.IniFileName.empty()) return;
  const auto absolute = [](const std::string& name) {
    return name.empty() ? name : QFileInfo(QString::fromStdString(name)).absoluteFilePath().toStdString();
  };
  // Before the first load of a run, the files of the run before stay.
  const std::string& data = c.DataFileName.empty() ? c.startup.DataFileName : c.DataFileName;
  // A load from the command line sets no data folder; its file's folder serves.
  const std::string folder = !c.state.DataPath.empty() || data.empty()
                                 ? c.state.DataPath
                                 : QFileInfo(QString::fromStdString(data)).absolutePath().toStdString();
  RememberLastFiles(c.ini, absolute(data), folder, absolute(c.GridFileName));
  // The settings are a convenience: a home folder that cannot be written must
  // not stop the work, so the reason goes to the log only.
  struct LogSink : MessageSink {
    void Message(const std::string& text) override { qWarning().noquote() << QString::fromStdString(text); }
  } log;
  SaveSettings(c.ini, c.IniFileName, log);
}

}  // namespace quorix
