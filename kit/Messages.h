#pragma once
// The one way the program shows a message box: a text, an icon kind, a title and one OK button.
// The window installs a sink that shows a modal box; tests install a recorder; without a sink
// (the command line) messages go to standard error.
#include <QString>
#include <functional>

namespace qiwu {

enum class MsgIcon { Information, Critical };

struct Message {
  QString text;
  MsgIcon icon = MsgIcon::Information;
  QString title;  // never empty once shown: the application title stands in for a missing one
};

inline const QString kAppTitle = QStringLiteral("栖坞");

using MessageSink = std::function<void(const Message&)>;

// Shows a message box; an empty title shows the application title "栖坞".
void MsgBox(const QString& text, MsgIcon icon, const QString& title = QString());

// Replaces the sink and returns the previous one.
MessageSink SetMessageSink(MessageSink sink);

// Ends the program at once (database failure at start-up or at a city switch). The real
// program exits the process; tests install a handler that throws ProgramEnded instead,
// so that no further step runs and the test can observe the end.
struct ProgramEnded {
  int code;
};
using EndHandler = std::function<void(int code)>;
[[noreturn]] void EndProgram(int code);
EndHandler SetEndHandler(EndHandler handler);

}  // namespace qiwu
