#pragma once
// The outcome of one of the program's own operations: a success (number 0, no text) or a failure
// with the number the program gives it and a Chinese text a user can read. Opening or querying a
// city database and loading a map or its workspace all answer with it.
//
// The numbers live next to their callers: the map's kMapError codes in map/MapTypes.h, the
// database's two below (with the text of the failure box, which shows them).
//
// Deliberately kept apart: the importer's InputError and ImportFailure exceptions (import/), which
// carry a failure out of deep parsing as control flow, and the generator's std::string results
// (tools/citygen), which stay free of Qt. A check that only explains a refusal and has no number
// to give (ServersAllowed, PublishCity and its steps) answers with a bool and a message.
#include <QString>
#include <utility>

struct Outcome {
  qint64 number = 0;
  QString description;

  bool ok() const { return number == 0; }
  static Outcome Failure(qint64 number, QString description) { return {number, std::move(description)}; }
};

// The numbers the program gives database failures, in the style of the OLE DB provider the city
// data sets were made for (large negative HRESULTs), so users can quote them.
inline constexpr qint64 kErrorOpenFailed = -2147467259;       // 0x80004005: the file cannot be used
inline constexpr qint64 kErrorStatementFailed = -2147217900;  // 0x80040E14: the statement was rejected

// The text of the failure box: "错误描述：" description CR LF "错误代码：" number (sign included).
inline QString FailureBoxText(const Outcome& failure) {
  return QStringLiteral("错误描述：") + failure.description + QStringLiteral("\r\n错误代码：") +
         QString::number(failure.number);
}
