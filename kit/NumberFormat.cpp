#include "kit/NumberFormat.h"

#include <cmath>

namespace qiwu {

QString FormatGrouped(double value, int decimals) {
  if (!std::isfinite(value)) return QString::number(value);
  const double scale = std::pow(10.0, decimals);
  // Scaled integer first, so 0.005 steps round like the displayed text suggests, not like
  // the binary fraction happens to fall.
  const double scaled = std::round(std::abs(value) * scale + 1e-9);
  const double whole = std::floor(scaled / scale);
  const double fraction = scaled - whole * scale;

  QString digits = QString::number(whole, 'f', 0);
  for (int i = digits.size() - 3; i > 0; i -= 3) digits.insert(i, QLatin1Char(','));
  QString text = (value < 0 && scaled > 0 ? QStringLiteral("-") : QString()) + digits;
  if (decimals > 0)
    text += QLatin1Char('.') +
            QStringLiteral("%1").arg(static_cast<qint64>(fraction), decimals, 10, QLatin1Char('0'));
  return text;
}

}  // namespace qiwu
