#pragma once
// The one QApplication the Qt tests run in (offscreen when no display is set).
#include <QApplication>
#include <cstdlib>

namespace audiodsp::test {

inline QApplication& qtApp() {
  static int argc = 1;
  static char name[] = "test_qt";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *app;
}

}  // namespace audiodsp::test
