#pragma once
// 发车时刻: the next departures at a stop (every platform of its name) in the hour after a time,
// by time: the line, its direction and the minutes until it leaves. Not modal; Esc closes it.
// It only lists: the map and its selection stay as they are.
#include <QDateTime>
#include <QString>
#include <QWidget>

#include "bus/TimedSource.h"

class QLabel;
class QTreeWidget;

class DeparturesWindow : public QWidget {
 public:
  static constexpr int kWindowSeconds = 3600;

  explicit DeparturesWindow(QWidget* owner);

  // Lists stop's departures after at (its wall-clock time read in source's zone). Without a
  // source it says the city has no timetable, or why its timetable cannot be used (error).
  void ShowStop(const trip::TimedSource* source, const QString& error, const QString& stop,
                const QDateTime& at);

  QLabel* lblWhen;
  QTreeWidget* lstDepartures;
};
