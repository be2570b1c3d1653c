#include "tests/support/WatchedFile.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QFile>
#include <stdexcept>

WatchedFile::WatchedFile() : path_(dir_.filePath("picture.png")) {
  QFile file(path_);
  if (!file.open(QIODevice::WriteOnly) || file.write("not a picture") < 0)
    throw std::runtime_error("watched file not written");
  file.close();
  inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (inotify_ < 0 || inotify_add_watch(inotify_, QFile::encodeName(path_).constData(), IN_OPEN) < 0)
    throw std::runtime_error("watched file: no inotify");
}

WatchedFile::~WatchedFile() {
  if (inotify_ >= 0) close(inotify_);
}

QString WatchedFile::ImageTag() const { return QStringLiteral("<img src=\"%1\">").arg(path_); }

bool WatchedFile::Opened() {
  alignas(inotify_event) char events[4096];
  while (read(inotify_, events, sizeof events) > 0) opened_ = true;
  return opened_;
}
