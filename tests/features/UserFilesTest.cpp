// The user's own files, as the list of servers and the recent searches read them: a small regular
// file (also through a link) is read; a FIFO or an oversized file is taken as empty at once, never
// waited on, read without end or written over.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <thread>

#include "data/ServerCity.h"
#include "features/RecentSearches.h"
#include "kit/DataSetFile.h"

namespace {

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// Puts text at path in one way; returns the thread still feeding it, if any.
struct Kind {
  const char* name;
  std::function<std::thread(const QString& path, const QByteArray& text)> make;
  bool read;  // the program takes the text
};

const Kind kKinds[] = {
    {"a regular file",
     [](const QString& path, const QByteArray& text) {
       Write(path, text);
       return std::thread();
     },
     true},
    {"a link to a regular file",
     [](const QString& path, const QByteArray& text) {
       Write(path + ".real", text);
       QFile::link(path + ".real", path);
       return std::thread();
     },
     true},
    // A reader that opened it would get the text only when the writer closes, 2 s later.
    {"a FIFO whose writer offers the text",
     [](const QString& path, const QByteArray& text) {
       ::mkfifo(QFile::encodeName(path).constData(), 0600);
       const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK);
       EXPECT_EQ(::write(fd, text.constData(), text.size()), text.size());
       return std::thread([fd] {
         std::this_thread::sleep_for(std::chrono::seconds(2));
         ::close(fd);
       });
     },
     false},
    {"a file over the size cap, the text first",
     [](const QString& path, const QByteArray& text) {
       Write(path, text + QByteArray(qiwu::kMaxUserFileBytes, '\n'));
       return std::thread();
     },
     false},
};

// Reads the file at path as the program does; true when it took the text.
struct Reader {
  const char* name;
  QByteArray text;
  std::function<bool(const QString& path)> read;
};

const Reader kReaders[] = {
    {"servers", "127.0.0.1:5432\n",
     [](const QString& path) {
       const QStringList servers = qiwu::ReadAllowedServers(path);
       EXPECT_LE(servers.size(), 1);
       return servers == QStringList{"127.0.0.1:5432"};
     }},
    // Choosing again writes the file, unless it is refused.
    {"recent searches", "[recent]\n1\\kind=餐饮娱乐\n1\\name=别城饭店\nsize=1\n",
     [](const QString& path) {
       RecentSearches recent(path);
       const bool read = recent.Items().size() == 1 && recent.Items()[0].name == "别城饭店";
       recent.Add({"金融银行", "银行"});
       return read;
     }},
};

TEST(UserFiles, OnlySmallRegularFilesAreReadAndNothingWaits) {
  for (const Kind& kind : kKinds) {
    for (const Reader& reader : kReaders) {
      SCOPED_TRACE(std::string(reader.name) + " in " + kind.name);
      QTemporaryDir dir;
      const QString path = dir.filePath("file");
      std::thread feeder = kind.make(path, reader.text);
      const bool wasFile = QFileInfo(path).isFile();
      const qint64 size = QFileInfo(path).size();
      QElapsedTimer clock;
      clock.start();
      EXPECT_EQ(reader.read(path), kind.read);
      EXPECT_LT(clock.elapsed(), 1000);
      if (!kind.read) {
        EXPECT_EQ(QFileInfo(path).isFile(), wasFile);
        EXPECT_EQ(QFileInfo(path).size(), size);
      }
      if (feeder.joinable()) feeder.join();
    }
  }
}

}  // namespace
