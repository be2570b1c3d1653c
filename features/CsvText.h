#pragma once
// Table text that leaves the program: CSV files for spreadsheet programs and the tab-separated
// text of the clipboard. Cells come from the city data set, so a cell a spreadsheet would read as
// a formula is defused first.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace csv {

// The cell with a leading apostrophe when it begins with =, +, -, @, a tab or a carriage return
// (what a spreadsheet takes for the start of a formula); otherwise unchanged.
QString GuardFormula(const QString& cell);

// One guarded CSV field: in double quotes, inner quotes doubled, when it holds a comma, a quote,
// a line feed or a carriage return (RFC 4180); bare otherwise.
QString Field(const QString& cell);

// A whole CSV file: UTF-8 with a byte-order mark, fields joined by commas, every record ended by
// CR LF.
QByteArray Document(const std::vector<QStringList>& rows);

// Tab-separated lines for the clipboard, each ended by a line feed: cells guarded as in a CSV
// file, with tabs and line breaks inside a cell turned into blanks so the columns hold.
QString TabText(const std::vector<QStringList>& rows);

}  // namespace csv
