// A command of the menus or the tool bar as the module that carries it out
// describes it: text, keys, when it is enabled and what it does. The main
// window only lays the commands out.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QMenu;

namespace quorix {

enum class CommandPlace { Menu, MenuBar, ToolBar };

// Loaded: waits for a pole figure, as the menus do at start-up and during a suppression.
enum class CommandEnable { Always, Loaded };

struct Command {
  CommandPlace place = CommandPlace::Menu;
  QString menu;     // the menu's title, for CommandPlace::Menu
  QString submenu;  // several commands under one entry of the menu ("PLT to &File")
  int section = 0;  // a separator falls between sections, in the menus and the tool bar
  QString text;
  QString toolTip;
  QString name;  // the action's objectName
  QList<QKeySequence> shortcuts;
  bool checkable = false;
  CommandEnable enable = CommandEnable::Loaded;
  std::function<bool()> enabledWhen;  // a further condition once a pole figure is loaded
  std::function<void(bool checked)> run;
  // Connections of its own (the undo text), made once the action exists.
  std::function<void(QAction*)> attach;
  // Makes the entry a submenu filled anew each time it opens (the recent files).
  std::function<void(QMenu*)> fill;
};

using Commands = std::vector<Command>;

// The command of a menu: `run` takes no argument.
inline Command MenuCommand(const QString& menu, int section, const QString& text, std::function<void()> run,
                           CommandEnable enable = CommandEnable::Loaded) {
  Command c;
  c.menu = menu;
  c.section = section;
  c.text = text;
  c.enable = enable;
  c.run = [run = std::move(run)](bool) { run(); };
  return c;
}

// A tool-bar button with its hint.
inline Command ToolCommand(int section, const QString& text, const QString& hint, std::function<void(bool)> run) {
  Command c;
  c.place = CommandPlace::ToolBar;
  c.section = section;
  c.text = text;
  c.toolTip = hint;
  c.run = std::move(run);
  return c;
}

}  // namespace quorix
