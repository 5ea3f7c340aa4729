// Helpers shared by the tests.
#pragma once

#include <QString>
#include <chrono>
#include <functional>

namespace testenv {

// Points XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_RUNTIME_DIR at a fresh
// temporary folder; on Windows the roaming and local application folders.
void IsolateUserFolders();
// Points the data folder's base (XDG_DATA_HOME; the local application folder
// on Windows) elsewhere, until the next IsolateUserFolders().
void SetDataFolderBase(const QString& base);
// The temporary root chosen by IsolateUserFolders.
QString TempRoot();

// Runs the event loop until cond() holds or the deadline passes; returns cond().
bool WaitFor(const std::function<bool()>& cond,
             std::chrono::milliseconds deadline = std::chrono::seconds(5));

// Where the built programs are.
QString BinaryDir();

} // namespace testenv
