#pragma once
// A database failure as the program reports it: a description a user can read and a number.
#include <QString>

struct DbError {
  QString description;
  qint64 number = 0;
};

// The numbers the program gives its failures, in the style of the OLE DB provider the city
// data sets were made for (large negative HRESULTs), so users can quote them.
inline constexpr qint64 kErrorOpenFailed = -2147467259;       // 0x80004005: the file cannot be used
inline constexpr qint64 kErrorStatementFailed = -2147217900;  // 0x80040E14: the statement was rejected

// The text of the failure box: "错误描述：" description CR LF "错误代码：" number (sign included).
inline QString FailureBoxText(const DbError& error) {
  return QStringLiteral("错误描述：") + error.description + QStringLiteral("\r\n错误代码：") +
         QString::number(error.number);
}
