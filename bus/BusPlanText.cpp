#include "bus/BusPlanText.h"

#include <QList>
#include <algorithm>
#include <cmath>

#include "data/TextValue.h"

namespace modBusChange {
namespace {
const QString kStopWord = QStringLiteral(" 站");
}  // namespace

QString WrongNameAnswer() { return QStringLiteral("站名输入有误！") + kLineBreak + kSeparator; }

QString TooFarAnswer() { return QStringLiteral("需要转车一次以上！") + kLineBreak + kSeparator; }

qint64 PositionValue(const QString& text) {
  const double value = LeadingNumber(text);
  if (std::isnan(value)) return 0;
  // A position held in a whole-number variable: rounded to nearest, halves to even.
  return static_cast<qint64>(
      std::nearbyint(std::clamp(value, -double(kPositionLimit), double(kPositionLimit))));
}

QString DirectLine(const QString& line, qint64 stops) {
  // The markers line up after names of up to 3 characters: 2 blanks after 1 character, 1
  // after 2, none from 3 on (the marker brings its own blank).
  const qsizetype characters = line.toUcs4().size();
  const QString spacer(std::max<qsizetype>(0, 3 - characters), QLatin1Char(' '));
  return line + spacer + QStringLiteral(" 直达；经过 ") + QString::number(stops) + kStopWord + kLineBreak;
}

ChangePlan MakeChangePlan(const QString& lineA, const QString& meeting, const QString& lineB, qint64 stops) {
  return {lineA + QStringLiteral("-->") + meeting + QStringLiteral(" 换 ") + lineB +
              QStringLiteral(" 经过 ") + QString::number(stops),
          stops};
}

QString ChangeAnswer(std::vector<ChangePlan> plans) {
  std::stable_sort(plans.begin(), plans.end(),
                   [](const ChangePlan& a, const ChangePlan& b) { return a.stops < b.stops; });
  QString answer;
  for (const ChangePlan& plan : plans) answer += plan.text + kStopWord + kLineBreak;
  return answer + kSeparator;
}

}  // namespace modBusChange
