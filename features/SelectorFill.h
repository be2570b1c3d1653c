#pragma once
// A panel's type selector filled from database when a city opens: the list's rows, then the first entry
// chosen (an empty selector keeps no text). afterRead runs right after the statement; it may end the program
// (a server that fell silent).
#include <functional>

class CityDatabase;
class QComboBox;
struct ListStatement;

void FillSelector(CityDatabase& database, QComboBox* selector, const ListStatement& names,
                  const std::function<void()>& afterRead);
