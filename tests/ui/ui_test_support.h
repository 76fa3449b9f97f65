// Helpers shared by the desktop tests: example files as Qt strings, a program
// path in this test's own folder, and answering modal windows without hanging.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>

#include "test_support.h"

namespace quorix::test {

QString ExampleFile(const char* name);

// The program's path in this test's fresh folder, where it looks for its
// quorix.ini; `ini` is written there first when not empty.
QString ProgramInTempDir(const std::string& ini = "");

// An example file by its name, absolute.
QString Example(const char* name);

// The program's path in `dir`, where it looks for its quorix.ini.
QString ProgramIn(const std::filesystem::path& dir);

// Runs `action`; every modal window that opens meanwhile is handed to
// `answer` (which must close it); the number seen.
int WithModalsAnswered(const std::function<void(QWidget*)>& answer, const std::function<void()>& action);

// Closes whatever modal window (message box, dialog) opens during `action`;
// the number closed.
int WithModalsClosed(const std::function<void()>& action);

// Drags `files` onto `target` and drops them there.
void Drop(QWidget* target, const QStringList& files);

// Runs `act` once `d` is up modally; `d` is closed afterwards in any case, so
// a failed check cannot leave the test waiting.
void WhileShown(QDialog& d, std::function<void()> act);

// Runs `act` on the modal dialog of type Dialog once it is up. Another or no
// modal window is a test failure; the modal window is closed afterwards in
// any case, so the test goes on instead of waiting.
template <class Dialog>
void WhenModal(std::function<void(Dialog&)> act) {
  QTimer::singleShot(0, [act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* d = qobject_cast<Dialog*>(modal))
      act(*d);
    else
      ADD_FAILURE() << "expected the modal dialog " << Dialog::staticMetaObject.className();
    if (modal && modal == QApplication::activeModalWidget() && modal->isVisible()) modal->close();
  });
}

}  // namespace quorix::test
