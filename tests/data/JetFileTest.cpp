// A real Jet 4.0 file (the node-adodb example database, MIT licence) comes through whole.
#include <gtest/gtest.h>

#include "data/modDBAccess.h"
#include "data/modGetRecord.h"
#include "tests/data/CityFixture.h"
#include "tests/support/MessageRecorder.h"

namespace {

TEST(JetFile, EveryRowOfUsersComesThroughWithItsChineseText) {
  MessageRecorder recorder;
  ASSERT_TRUE(modDBAccess::OpenConnection(JetFixturePath()));
  ASSERT_TRUE(modDBAccess::ExecuteQuery("select * from Users"));
  const ResultSet& users = *modDBAccess::rsResult();
  EXPECT_EQ(users.Columns(), QStringList({"UserId", "UserName", "UserSex", "UserBirthday", "UserMarried"}));
  const std::vector<std::vector<QVariant>> expected{
      {1, "Nuintun", "Male", "1989-01-25 00:00:00", 1},
      {2, "Angela", "Female", "1988-12-18 00:00:00", 0},
      {3, "张三", "男", "1986-12-18 00:00:00", 1},
  };
  ASSERT_EQ(users.Rows().size(), expected.size());
  for (std::size_t r = 0; r < expected.size(); ++r) {
    for (std::size_t c = 0; c < expected[r].size(); ++c) {
      EXPECT_EQ(users.Rows()[r][c].toString(), expected[r][c].toString()) << "row " << r << " column " << c;
    }
  }
  EXPECT_EQ(users.Rows()[0][0].typeId(), QMetaType::LongLong);
  // The program's collation applies to the copy of a Jet file as well.
  EXPECT_EQ(modGetRecord::GetFieldValue("Users", "UserName", " where usersex  = 'MALE'"), "Nuintun");
  EXPECT_TRUE(recorder.Messages().empty());
}

}  // namespace
