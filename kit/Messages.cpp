#include "kit/Messages.h"

#include <cstdio>
#include <cstdlib>

namespace qiwu {
namespace {
MessageSink& Sink() {
  static MessageSink sink;
  return sink;
}
EndHandler& EndHandlerSlot() {
  static EndHandler handler;
  return handler;
}
}  // namespace

void MsgBox(const QString& text, MsgIcon icon, const QString& title) {
  Message message{text, icon, title.isEmpty() ? kAppTitle : title};
  if (Sink()) {
    Sink()(message);
    return;
  }
  std::fprintf(stderr, "%s: %s\n", qUtf8Printable(message.title), qUtf8Printable(message.text));
}

MessageSink SetMessageSink(MessageSink sink) {
  MessageSink previous = std::move(Sink());
  Sink() = std::move(sink);
  return previous;
}

void EndProgram(int code) {
  if (EndHandlerSlot()) EndHandlerSlot()(code);
  std::fflush(nullptr);
  std::_Exit(code);  // at once: no unload handling, no further step
}

EndHandler SetEndHandler(EndHandler handler) {
  EndHandler previous = std::move(EndHandlerSlot());
  EndHandlerSlot() = std::move(handler);
  return previous;
}

}  // namespace qiwu
