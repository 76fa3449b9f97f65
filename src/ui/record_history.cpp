#include "ui/record_history.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>
#include <utility>

namespace quorix {
namespace {

class RecordCommand : public QUndoCommand {
 public:
  RecordCommand(RecordHistory& history, const QString& caption, RecordState before, RecordState after)
      : QUndoCommand(caption), history_(history), before_(std::move(before)), after_(std::move(after)) {}
  void undo() override { history_.Restore(before_); }
  void redo() override {
    // Pushed after the change was made: the first redo has nothing to do.
    if (std::exchange(first_, false)) return;
    history_.Restore(after_);
  }

 private:
  RecordHistory& history_;
  RecordState before_;
  RecordState after_;
  bool first_ = true;
};

// The revision is renewed by the statistics after every change; the values
// themselves are compared as well, for a change that bypassed them.
bool Differs(const PoleFigure& a, const PoleFigure& b) {
  return a.Revision != b.Revision || a.CircleCount != b.CircleCount || a.LevelCount != b.LevelCount ||
         a.Intensity != b.Intensity || a.Level != b.Level || a.Alpha != b.Alpha || a.FileName != b.FileName;
}

}  // namespace

bool RecordState::HasSlot(int slot) const {
  return std::any_of(records.begin(), records.end(), [slot](const RecordSnapshot& r) { return r.slot == slot; });
}

RecordHistory::RecordHistory(AppContext& context, HistoryHooks hooks, QObject* parent)
    : QObject(parent), context_(context), hooks_(std::move(hooks)), stack_(new QUndoStack(this)) {
  stack_->setUndoLimit(kDepth);
}

RecordState RecordHistory::Capture(const std::vector<int>& which) const {
  RecordState state;
  for (int slot : which) {
    if (!context_.set.Occupied(slot) || state.HasSlot(slot)) continue;
    RecordSnapshot s;
    s.slot = slot;
    s.record = NewPoleFigure();
    *s.record = *context_.set.PF[slot];
    if (hooks_.Title) s.title = hooks_.Title(slot);
    state.records.push_back(std::move(s));
  }
  state.addList = context_.state.AddListFiles;
  return state;
}

void RecordHistory::Commit(const QString& caption, RecordState before) {
  std::vector<int> changed;
  for (const RecordSnapshot& s : before.records) {
    PoleFigure* now = context_.set.PF[s.slot].get();
    if (now && Differs(*now, *s.record)) {
      now->Modified = true;
      changed.push_back(s.slot);
    }
  }
  if (changed.empty()) return;
  std::erase_if(before.records, [&](const RecordSnapshot& s) {
    return std::find(changed.begin(), changed.end(), s.slot) == changed.end();
  });
  RecordState after = Capture(changed);
  stack_->push(new RecordCommand(*this, caption, std::move(before), std::move(after)));
}

void RecordHistory::Restore(const RecordState& state) {
  for (const RecordSnapshot& s : state.records) {
    // A window closed since then has given its record up; a step never reopens it.
    if (!context_.set.Occupied(s.slot)) continue;
    PoleFigure& pf = *context_.set.PF[s.slot];
    pf = *s.record;
    MarkChanged(pf);
    if (hooks_.SetTitle) hooks_.SetTitle(s.slot, s.title);
  }
  if (state.HasSlot(1)) context_.state.AddListFiles = state.addList;
  for (const RecordSnapshot& s : state.records)
    if (hooks_.Redraw && context_.set.Occupied(s.slot)) hooks_.Redraw(s.slot);
}

bool RecordHistory::Change(const QString& caption, const std::vector<int>& which, const std::function<bool()>& change) {
  RecordState before = Capture(which);
  if (change()) {
    Commit(caption, std::move(before));
    return true;
  }
  RecordState touched;
  for (RecordSnapshot& s : before.records) {
    const PoleFigure* now = context_.set.PF[s.slot].get();
    if (now && Differs(*now, *s.record)) touched.records.push_back(std::move(s));
  }
  touched.addList = before.addList;
  if (!touched.records.empty()) Restore(touched);
  return false;
}

void RecordHistory::Clear() { stack_->clear(); }

}  // namespace quorix
