#include "tests/support/MessageRecorder.h"

#include <QStringList>

MessageRecorder::MessageRecorder() {
  previousSink_ = qiwu::SetMessageSink([this](const qiwu::Message& m) { messages_.push_back(m); });
  previousEnd_ = qiwu::SetEndHandler([](int code) { throw qiwu::ProgramEnded{code}; });
}

MessageRecorder::~MessageRecorder() {
  qiwu::SetMessageSink(std::move(previousSink_));
  qiwu::SetEndHandler(std::move(previousEnd_));
}

QStringList MessageRecorder::Texts() const {
  QStringList texts;
  for (const auto& m : messages_) texts << m.text;
  return texts;
}
