#pragma once
// One pass of every kind of search on the real main window, as a user would run them, and the
// answers the database file itself gives for comparison.
#include <QSet>
#include <QString>
#include <QStringList>

#include "tests/support/QtTexts.h"

class frmMain;

namespace reliab {

// What the panels show after one pass.
struct SearchAnswers {
  QStringList typeList;     // lstShow(0) for 餐饮娱乐
  QStringList keywordList;  // lstShow(1) for the keyword
  QStringList radiusList;   // lstShow(2): 餐饮娱乐 within 800 m of the city centre
  QString nearestName;      // txtNear: the 金融银行 nearest the city centre
  QStringList lineStops;    // lstShow(3): the stops of the first line
  QString plan;             // the transfer plan between the first two stops of that line
  QString selectedName;     // txtObjName after picking the first restaurant: name(layer)
  QString cardName;         // the card's name after that pick
};

inline const QString kKeyword = QStringLiteral("东");

// Type browse, keyword, radius, nearest, bus line, transfer search and the card, in that order.
SearchAnswers RunEverySearch(frmMain& window);

// Straight from the SQLite file data/<city>.mdb under root: the names of a type's table, and the
// names of the eight keyword tables that contain keyword.
QSet<QString> TypeNames(const QString& root, const QString& type);
QSet<QString> KeywordNames(const QString& root, const QString& keyword);

// Every search of the pass answered, the type and keyword lists as the file under root says.
void ExpectEverySearchAnswered(const SearchAnswers& answers, const QString& root);

// The list entries as a set, with a numbered list's running numbers removed.
QSet<QString> Entries(const QStringList& items);

}  // namespace reliab
