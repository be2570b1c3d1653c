// The program writes nothing: start-up, every kind of search and a city switch on a data set
// whose files and folders are read-only leave every file as it was and add none. Checksums
// are the proof: CI runs as root, for whom the missing write permission stops nothing.
#include <gtest/gtest.h>

#include "tests/app/ProgramDir.h"
#include "tests/app/WindowFixture.h"
#include "tests/reliability/DataSetFiles.h"
#include "tests/reliability/SearchDriver.h"
#include "tests/support/Fingerprint.h"

namespace {

TEST(ReadOnlyDataSet, StartUpEverySearchAndACitySwitchChangeNoFile) {
  const auto dir = apptest::CopyOfDemo();
  const QString root = dir->path();
  const QMap<QString, QByteArray> before = Fingerprint(root);
  ASSERT_TRUE(before.contains("data/栖坞市.mdb"));
  ASSERT_TRUE(before.contains("map/栖坞市/栖坞市.gst"));
  reliab::SetWritable(root, false);
  {
    apptest::StartedWindow started(root);
    const reliab::SearchAnswers first = reliab::RunEverySearch(started.window);
    started.window.cmbCity_Click();
    const reliab::SearchAnswers second = reliab::RunEverySearch(started.window);
    EXPECT_FALSE(first.keywordList.isEmpty());
    EXPECT_FALSE(first.plan.isEmpty());
    EXPECT_EQ(first.selectedName, first.cardName + "(餐饮娱乐)");
    EXPECT_EQ(second.typeList, first.typeList);
    EXPECT_EQ(second.plan, first.plan);
    EXPECT_TRUE(started.messages.Messages().empty()) << started.messages.Texts().join('\n').toStdString();
  }
  const QMap<QString, QByteArray> after = Fingerprint(root);
  reliab::SetWritable(root, true);
  EXPECT_EQ(after.keys(), before.keys());
  for (auto it = before.begin(); it != before.end(); ++it)
    EXPECT_EQ(after.value(it.key()), it.value()) << "changed: " << it.key().toStdString();
}

}  // namespace
