#pragma once
// Numbers as the window shows them: thousands grouped with commas, a fixed count of decimals,
// halves rounded away from zero ("#,##0" is decimals 0, "#,##0.00" decimals 2).
#include <QString>

namespace qiwu {

QString FormatGrouped(double value, int decimals);

}  // namespace qiwu
