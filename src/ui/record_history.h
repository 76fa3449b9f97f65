// Undo and redo of the commands that change pole figure records: each step
// keeps the records it touched as they were before and after.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/app_context.h"

class QUndoStack;

namespace quorix {

struct RecordSnapshot {
  int slot = 0;
  std::unique_ptr<PoleFigure> record;
  QString title;  // the caption of the record's window
};

struct RecordState {
  std::vector<RecordSnapshot> records;
  std::vector<std::string> addList;  // the files the plot lists as added to PF[1]
  bool HasSlot(int slot) const;
};

struct HistoryHooks {
  std::function<QString(int slot)> Title;
  std::function<void(int slot, const QString& title)> SetTitle;
  std::function<void(int slot)> Redraw;
};

class RecordHistory : public QObject {
  Q_OBJECT
 public:
  static constexpr int kDepth = 20;

  RecordHistory(AppContext& context, HistoryHooks hooks, QObject* parent = nullptr);
  QUndoStack& Stack() { return *stack_; }

  // The records of `which` that exist, copied.
  RecordState Capture(const std::vector<int>& which) const;
  // One undo step from `before` to the records as they are now; none when no
  // record changed. Changed records are marked modified.
  void Commit(const QString& caption, RecordState before);
  // Puts the captured records back (a record whose window has been closed
  // meanwhile stays away), with captions, add list and plots.
  void Restore(const RecordState& state);
  // Captures, runs `change` and commits. When `change` fails, records it has
  // touched anyway are put back, so that a failure leaves them as they were.
  bool Change(const QString& caption, const std::vector<int>& which, const std::function<bool()>& change);
  // After a load the steps would restore records of other files.
  void Clear();

 private:
  AppContext& context_;
  HistoryHooks hooks_;
  QUndoStack* stack_;
};

}  // namespace quorix
