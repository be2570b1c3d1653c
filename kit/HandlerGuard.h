#pragma once
// Runs an event handler so that an unexpected failure of a map or window operation inside it
// never ends the program: the failure is shown in a critical box naming the handler, and the
// program carries on. The program's own end (ProgramEnded in tests) passes through unchanged.
#include <QString>
#include <exception>

#include "kit/Messages.h"

namespace qiwu {

template <class Handler>
void Guarded(const QString& what, Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    MsgBox(what + QStringLiteral("失败：") + QString::fromUtf8(e.what()), MsgIcon::Critical,
           QStringLiteral("运行错误"));
  }
}

}  // namespace qiwu
