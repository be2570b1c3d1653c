#include "map/LoadBudget.h"

QString LoadBudget::Spend(qint64 bytes, const QString& layer) {
  bytes_ += bytes;
  if (bytes_ > kBytes)
    return QStringLiteral("读取服务器图层 %1 时，本次加载的要素和文字超过 %2 MiB，不予读取")
        .arg(layer)
        .arg(kBytes >> 20);
  if (clock_.elapsed() > kSeconds * 1000)
    return QStringLiteral("读取服务器图层 %1 时，本次加载超过 %2 秒，不予读取").arg(layer).arg(kSeconds);
  return {};
}
