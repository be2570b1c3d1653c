#pragma once
// The real main window started on a program directory (the demo city unless told), with every
// message box and the program's end recorded.
#include <QString>

#include "app/frmMain.h"
#include "tests/app/ProgramDir.h"
#include "tests/support/MessageRecorder.h"

namespace apptest {

struct StartedWindow {
  MessageRecorder messages;
  frmMain window;

  explicit StartedWindow(const QString& root = DemoRoot()) : window(root) { window.Form_Load(); }
};

}  // namespace apptest
