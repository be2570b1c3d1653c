// The program on the scale-10 city (qiwu-citygen --scale 10 --out DIR): start-up, every panel
// answers, as on the demo city. Skipped unless QIWU_SCALE10_ROOT names such a program directory.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "tests/app/WindowFixture.h"
#include "tests/reliability/SearchDriver.h"

namespace {

TEST(ScaleTen, StartsAndEveryPanelAnswers) {
  const QString root = qEnvironmentVariable("QIWU_SCALE10_ROOT");
  if (root.isEmpty()) GTEST_SKIP() << "set QIWU_SCALE10_ROOT to a program directory made with --scale 10";
  QElapsedTimer clock;
  clock.start();
  apptest::StartedWindow started(root);
  const qint64 startUp = clock.restart();
  const reliab::SearchAnswers answers = reliab::RunEverySearch(started.window);
  const qint64 searches = clock.restart();
  started.window.cmbCity_Click();
  const qint64 cityswitch = clock.elapsed();
  // A note for the record, not a limit: speed is measured in bench/.
  std::printf("scale 10: start-up %lld ms, every search %lld ms, city switch %lld ms\n",
              static_cast<long long>(startUp), static_cast<long long>(searches),
              static_cast<long long>(cityswitch));

  EXPECT_TRUE(started.messages.Messages().empty()) << started.messages.Texts().join('\n').toStdString();
  reliab::ExpectEverySearchAnswered(answers, root);
}

}  // namespace
