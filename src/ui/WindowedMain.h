#pragma once

#include "core/RunState.h"
#include "settings/Settings.h"

class QLocalServer;

namespace tarvix {

class MainWindow;

// The windowed mode: settings from config.ini, the main window until the user
// quits, then the window's state and config.ini saved. Returns the exit status.
int RunWindowed(int argc, char** argv, Settings& settings, RunState& state);

// The running window answers later starts: it comes to the front, and takes the
// file a desktop "open with" hands over.
void AcceptKnocks(QLocalServer& server, MainWindow& window);
// Started with one file name (the desktop's "open with"): the file goes into
// the input field as Add Input File would put it.
void OpenFileFromArguments(MainWindow& window, int argc, char** argv);

} // namespace tarvix
