// What a .pg file may say and which servers a desk reaches, and how statements change on the way.
#include <gtest/gtest.h>

#include "data/ServerCity.h"
#include "data/ServerStatement.h"

namespace {

TEST(ServerCity, OnlyTheConnectionKeywordsPass) {
  struct Case {
    const char* text;
    const char* refusedWord;  // null: accepted
  };
  const Case cases[] = {
      {"host=db.city.example port=5433 dbname=city user=desk sslmode=require connect_timeout=5 "
       "application_name=q",
       nullptr},
      {"hostaddr=10.0.0.7 dbname=city", nullptr},
      {"postgresql://desk@db.city.example:5433/city", nullptr},
      {"host=db dbname=city password=secret", "password"},
      {"host=db passfile=/home/u/.pgpass", "passfile"},
      {"service=city", "service"},
      {"host=db sslkey=/etc/key", "sslkey"},
      {"host=db options='-c statement_timeout=0'", "options"},
      {"postgresql://desk:secret@db/city", "password"},
      {"host=/var/run/postgresql dbname=city", "/var/run/postgresql"},
      {"host=db,/tmp dbname=city", "/tmp"},
      {"host=@abstract dbname=city", "@abstract"},
      {"host=db dbname='unclosed", "无法读取"},
  };
  for (const Case& c : cases) {
    QString message;
    const auto params = qiwu::ParseServerCity(QString::fromUtf8(c.text), message);
    EXPECT_EQ(params.has_value(), c.refusedWord == nullptr) << c.text;
    if (c.refusedWord) {
      EXPECT_TRUE(message.contains(QString::fromUtf8(c.refusedWord))) << message.toStdString();
    }
  }
}

TEST(ServerCity, EveryServerNamedMustBeListed) {
  struct Case {
    const char* text;
    bool allowed;
  };
  const QStringList list = {"db.city.example:5432", "10.0.0.7:6000", "replica:5432"};
  const Case cases[] = {
      {"host=db.city.example dbname=city", true},
      {"host=DB.City.Example port=5432", true},
      {"host=db.city.example port=5433", false},
      {"hostaddr=10.0.0.7 port=6000 host=anything", true},
      {"host=db.city.example,replica", true},
      {"host=db.city.example,elsewhere", false},
      {"dbname=city", false},  // a local socket
      {"host=evil.example hostaddr=10.0.0.7 port=6000", true},
  };
  for (const Case& c : cases) {
    QString message;
    const auto params = qiwu::ParseServerCity(QString::fromUtf8(c.text), message);
    ASSERT_TRUE(params) << c.text;
    EXPECT_EQ(qiwu::ServersAllowed(*params, list, message), c.allowed) << c.text;
  }
}

TEST(ServerStatement, JetTextBecomesTheServersWithItsMeaning) {
  struct Case {
    const char* jet;
    const char* server;
  };
  const QString fold = "translate(%1::text, 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', 'abcdefghijklmnopqrstuvwxyz')";
  const Case cases[] = {
      {"select Distinct typeName , typeName from 地物类型  where type  = \"点\"  order by typeName",
       "select Distinct typeName , typeName from 地物类型  where %type  = '点'  order by typeName"},
      {"select  站名 , 顺序 from 公交信息  where 线路名 = 'K3路'  order by 顺序",
       "select  站名 , 顺序 from 公交信息  where %线路名 = 'k3路'  order by 顺序, qiwu_row"},
      {"select 线路名  from 公交信息 where 站名 = 'S' ",
       "select 线路名  from 公交信息 where %站名 = 's' order by qiwu_row "},
      {"select name from 大中专院校 where name like '%A\\B%'  union select name from 支路 where name like "
       "'%A\\B%'  order by name",
       "select name from 大中专院校 where %name like '%a\\b%' escape ''  union select name from 支路 where "
       "%name like '%a\\b%' escape ''  order by name"},
      {"select name from t where name like '%\\%%' escape '\\' ;",
       "select name from t where %name like '%\\%%' escape '\\' order by qiwu_row ;"},
      {"select x from t where y = 'Ａ''s'", "select x from t where %y = 'Ａ''s' order by qiwu_row"},
      {"select count(*) from (select 1 from t)", "select count(*) from (select 1 from t)"},
      {"select count(*) from 公交信息", "select count(*) from 公交信息"},
      {"select Max(x) from t where y = 'A'", "select Max(x) from t where %y = 'a'"},
      {"select name, (select count(*) from u) from t",
       "select name, (select count(*) from u) from t order by qiwu_row"},
  };
  for (const Case& c : cases) {
    QString expected = QString::fromUtf8(c.server);
    for (const char* column : {"type", "线路名", "站名", "name", "y"})
      expected.replace(QString("%") + QString::fromUtf8(column), fold.arg(QString::fromUtf8(column)));
    EXPECT_EQ(qiwu::TranslateForServer(QString::fromUtf8(c.jet)).toStdString(), expected.toStdString())
        << c.jet;
  }
}

}  // namespace
