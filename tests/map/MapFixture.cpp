#include "tests/map/MapFixture.h"

#include <gtest/gtest.h>

#include <QFile>

#include "map/GdalLockDown.h"

TempWorkspace::TempWorkspace() {
  LockDownGdal();
  EXPECT_TRUE(dir_.isValid());
}

QString TempWorkspace::WriteGst(const QString& file, const QStringList& metadataLines) const {
  QFile out(Path(file));
  EXPECT_TRUE(out.open(QIODevice::WriteOnly));
  const QString text = QStringLiteral("!GEOSET\nbegin_metadata\n") + metadataLines.join(QLatin1Char('\n')) +
                       QStringLiteral("\nend_metadata\n");
  out.write(text.toUtf8());
  return out.fileName();
}
