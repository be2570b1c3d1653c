#include "bench/data/CityGenerator.h"

#include <sqlite3.h>

#include <QRandomGenerator>
#include <QStringList>

namespace {

const QStringList kPlaces{"东湖", "西山",  "南屏", "北辰", "中和", "长乐", "永安", "太平",
                          "清河", "柳岸",  "桃源", "青石", "凤鸣", "龙泉", "栖霞", "白沙",
                          "金水", "望江",  "新华", "人民", "解放", "朝阳", "文昌", "兴隆",
                          "福寿", "Sunny", "Lake", "云台", "紫竹", "梅园", "松涛", "樱花"};
const QStringList kMiddles{"",     "",     "第一", "第二", "老街", "新村",
                           "花园", "工业", "滨江", "学府", "广场", "城东"};

struct KeywordTable {
  const char* name;
  QStringList suffixes;
};
const KeywordTable kTables[] = {
    {"大中专院校", {"大学", "学院", "职业技术学院", "中专"}},
    {"餐饮娱乐", {"酒家", "面馆", "茶楼", "火锅店", "KTV", "咖啡馆"}},
    {"旅游景点", {"公园", "古寺", "塔", "湿地", "博物馆"}},
    {"医院诊所", {"医院", "诊所", "卫生院", "中医馆"}},
    {"金融银行", {"银行", "储蓄所", "信用社", "ATM"}},
    {"主干道", {"大道", "路"}},
    {"次干道", {"路", "街"}},
    {"支路", {"巷", "弄", "里"}},
};

void Exec(sqlite3* db, const char* sql) { sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

void InsertText(sqlite3_stmt* insert, const QStringList& values) {
  for (int i = 0; i < values.size(); ++i) {
    const QByteArray utf8 = values[i].toUtf8();
    sqlite3_bind_text(insert, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
  }
  sqlite3_step(insert);
  sqlite3_reset(insert);
}

}  // namespace

int WriteCity(const QString& path, int names, int busRows) {
  sqlite3* db = nullptr;
  sqlite3_open(path.toUtf8().constData(), &db);
  Exec(db, "BEGIN");
  Exec(db, "CREATE TABLE 公交信息 (线路名 TEXT, 站名 TEXT, 顺序 INTEGER, ID INTEGER)");
  Exec(db, "CREATE TABLE 地物类型 (typeName TEXT, type TEXT)");
  QRandomGenerator random(7);
  const auto pick = [&](const QStringList& list) { return list[int(random.bounded(list.size()))]; };
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO 公交信息 VALUES (?, ?, ?, ?)", -1, &insert, nullptr);
  for (int row = 0; row < busRows; ++row) {
    const int line = row / 25 + 1;
    InsertText(insert,
               {QStringLiteral("%1路").arg(line), pick(kPlaces) + pick(kMiddles) + QStringLiteral("站"),
                QString::number(row % 25 + 1), QString::number(line)});
  }
  sqlite3_finalize(insert);
  int rows = busRows;
  for (const KeywordTable& table : kTables) {
    const QString name = QString::fromUtf8(table.name);
    Exec(db, QStringLiteral("CREATE TABLE %1 (name TEXT, address TEXT)").arg(name).toUtf8().constData());
    sqlite3_prepare_v2(db, QStringLiteral("INSERT INTO %1 VALUES (?, ?)").arg(name).toUtf8().constData(), -1,
                       &insert, nullptr);
    for (int i = 0; i < names / 8; ++i, ++rows) {
      InsertText(insert, {pick(kPlaces) + pick(kMiddles) + QString::number(i % 97) + pick(table.suffixes),
                          pick(kPlaces) + QStringLiteral("路%1号").arg(i % 300)});
    }
    sqlite3_finalize(insert);
    sqlite3_prepare_v2(db, "INSERT INTO 地物类型 VALUES (?, ?)", -1, &insert, nullptr);
    InsertText(insert, {name, QString::fromUtf8(name.endsWith(u'路') || name.endsWith(u'道') ? "线" : "点")});
    sqlite3_finalize(insert);
    ++rows;
  }
  Exec(db, "COMMIT");
  sqlite3_close(db);
  return rows;
}
