#pragma once
// A file that notices every open of itself (inotify), named in an <img> tag: had Qt taken a
// text holding the tag for markup, it would have opened the file to load the picture.
#include <QString>
#include <QTemporaryDir>

class WatchedFile {
 public:
  WatchedFile();
  ~WatchedFile();
  WatchedFile(const WatchedFile&) = delete;
  WatchedFile& operator=(const WatchedFile&) = delete;

  // <img src="path of the file">
  QString ImageTag() const;
  // Whether the file was opened since it was made.
  bool Opened();

 private:
  QTemporaryDir dir_;
  QString path_;
  int inotify_ = -1;
  bool opened_ = false;
};
