#pragma once
// The ride that one line of a transfer plan stands for: which line is taken from which stop to
// which stop, and the stops passed on the way. No widgets; the stops come from the bus table.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class CityDatabase;

// One line ridden from one stop to another.
struct RideLeg {
  QString line;
  QString from;
  QString to;
};

// The legs of a plan line of the search's answer: "L 直达；经过 n 站" is one leg from departure to
// destination, "A-->T 换 B 经过 n 站" two legs meeting at T. Any other line (a message, the
// separator) gives no leg. Names shorter than three characters stand padded with blanks, so blanks
// closing a name of up to three characters are taken for that padding.
std::vector<RideLeg> ParsePlanLine(const QString& planLine, const QString& departure,
                                   const QString& destination);

// The stops of a line in route order, as database's bus table lists them ("顺序" ascending);
// nullopt when the statement failed (its message has been shown).
std::optional<QStringList> LineStops(CityDatabase& database, const QString& table, const QString& line);

// The stops ridden from `from` to `to` along stops (route order), both ends included, in the
// direction of travel. A stop the line passes twice is taken where the ride is shortest. Empty
// when either stop is not on the line.
QStringList RiddenStops(const QStringList& stops, const QString& from, const QString& to);
