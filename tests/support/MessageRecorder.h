#pragma once
// Records every message box while alive instead of showing it, and turns the program's end
// into a ProgramEnded exception.
#include <QString>
#include <QStringList>
#include <vector>

#include "kit/Messages.h"

class MessageRecorder {
 public:
  MessageRecorder();
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  const std::vector<qiwu::Message>& Messages() const { return messages_; }
  QStringList Texts() const;
  void Clear() { messages_.clear(); }

 private:
  std::vector<qiwu::Message> messages_;
  qiwu::MessageSink previousSink_;
  qiwu::EndHandler previousEnd_;
};
