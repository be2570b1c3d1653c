#include "bus/BusSearchRefusal.h"

std::optional<qiwu::Message> BusSearchRefusal(const QString& departure, const QString& destination) {
  const QString title = QStringLiteral("公交查询");
  if (departure.isEmpty() || destination.isEmpty())
    return qiwu::Message{QStringLiteral("请输入站名"), qiwu::MsgIcon::Information, title};
  if (departure == destination)
    return qiwu::Message{QStringLiteral("出发站名与目的站名相同"), qiwu::MsgIcon::Critical, title};
  return std::nullopt;
}
