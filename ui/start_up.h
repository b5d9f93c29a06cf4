#pragma once

// Starting a window program: a display may be missing, and Qt then ends the program with
// several lines about platform plugins. Korvane's windows say instead, in one line, what is
// wrong and what to use.

#include <QApplication>

#include <memory>

namespace ui {

/// Whether the environment names a display a window could open on.
bool displayExpected();

/// The application, or, when there is no display to open a window on, `noDisplay` on stderr
/// in one line and the program ended with status 1.
std::unique_ptr<QApplication> openApplication(int &argc, char **argv, const char *noDisplay);

} // namespace ui
