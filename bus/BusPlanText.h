#pragma once
// The transfer plan text: its fixed texts, the lines it is made of and the order of the plans.
// Both ways of searching build their answers here, so they cannot differ in a character.
#include <QString>
#include <QtGlobal>
#include <vector>

namespace modBusChange {

inline const QString kSeparator = QStringLiteral("======***======*****======***======");
inline const QString kLineBreak = QStringLiteral("\r\n");

// "站名输入有误！", a line break and the separator: a stop name has no row.
QString WrongNameAnswer();
// "需要转车一次以上！", a line break and the separator: no route with at most one change.
QString TooFarAnswer();

inline constexpr qint64 kPositionLimit = qint64(1) << 53;

// A stop position as the search counts with it: the whole number nearest the leading number
// of the text (halves to even), 0 for an empty text; clamped to ±kPositionLimit (2^53) so that sums of
// differences never overflow.
qint64 PositionValue(const QString& text);

// One line of a direct answer, line break included: the line name, a spacer that lines up the
// markers after names of up to 3 characters, " 直达；经过 ", the stop count, " 站".
QString DirectLine(const QString& line, qint64 stops);

// A route with one change: ride line A to the meeting stop, change to line B.
struct ChangePlan {
  QString text;  // "A-->T 换 B 经过 n", without the stop word and the line break
  qint64 stops = 0;
};
ChangePlan MakeChangePlan(const QString& lineA, const QString& meeting, const QString& lineB, qint64 stops);

// The answer for one or more plans given in the order they were found: sorted stably by
// the whole stop count, each followed by " 站" and a line break, then the separator.
QString ChangeAnswer(std::vector<ChangePlan> plans);

}  // namespace modBusChange
