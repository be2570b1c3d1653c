#pragma once
// What one workspace load may take from a database server in all: a server answers each fetch within
// its own bound, but a slow view or a layer of a million long names must not keep a desk loading for an
// hour or fill its memory.
#include <QElapsedTimer>
#include <QString>

class LoadBudget {
 public:
  static constexpr int kSeconds = 30;
  static constexpr qint64 kBytes = qint64(1) << 30;  // features and text as held in memory

  LoadBudget() { clock_.start(); }

  // Counts bytes more; the reason the load must stop (naming layer), or empty while it may go on.
  QString Spend(qint64 bytes, const QString& layer);

 private:
  QElapsedTimer clock_;
  qint64 bytes_ = 0;
};
