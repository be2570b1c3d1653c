// qiwu-cli sql STATEMENT: the statement's rows, tab-separated, one a line, a header line of
// column names first; a null value is an empty field. The statement runs as every statement of
// the program does (modDBAccess::RunStatement): exactly one, reading only, within the time
// bound; anything else is refused on standard error with exit code 1.
#include <QStringList>
#include <cstdio>

#include "cli/Command.h"
#include "data/modDBAccess.h"

namespace {

int RunSql(const CliContext& context, const QStringList& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: qiwu-cli sql STATEMENT\n");
    return 2;
  }
  if (!OpenDatabase(context) || !modDBAccess::ExecuteQuery(args.first())) return 1;
  ResultSet& rows = *modDBAccess::rsResult();
  QString out = rows.Columns().join(u'\t') + u'\n';
  for (const std::vector<QVariant>& row : rows.Rows()) {
    QStringList fields;
    for (const QVariant& value : row) fields << value.toString();
    out += fields.join(u'\t') + u'\n';
  }
  WriteOut(out);
  return 0;
}

const CommandRegistration registration{"sql", "sql STATEMENT (exactly one statement that only reads)",
                                       &RunSql};

}  // namespace
