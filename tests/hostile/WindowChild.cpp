// hostile_window PROGRAM_DIR: the real main window, offscreen, with the real message boxes, run
// on a program directory as a user would: start-up, every search (a type browse, a keyword,
// the card of the first restaurant among them), then a click on the card's web link. It
// reports on standard output, one line each: "MESSAGE title: text" for every box (closed at
// once), "WEB text" for the link clicked, "OPEN url" for what reaches the desktop, "END code"
// when the program ends itself, "DONE" when every step ran.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

#include "app/frmMain.h"
#include "features/InfoDrawers.h"
#include "features/WebLink.h"
#include "kit/MessageBoxSink.h"
#include "kit/Messages.h"
#include "tests/app/WindowParts.h"
#include "tests/reliability/SearchDriver.h"

namespace {

void Report(const QString& line) {
  std::printf("%s\n", qUtf8Printable(QString(line).replace('\n', u' ').replace('\r', u' ')));
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: hostile_window PROGRAM_DIR\n");
    return 2;
  }
  qiwu::InstallMessageBoxSink();
  const qiwu::MessageSink boxes = qiwu::SetMessageSink({});
  qiwu::SetMessageSink([&boxes](const qiwu::Message& m) {
    Report("MESSAGE " + m.title + ": " + m.text);
    boxes(m);
  });
  qiwu::SetEndHandler([](int code) { Report(QStringLiteral("END %1").arg(code)); });
  SetUrlOpener([](const QUrl& url) { Report("OPEN " + url.toString()); });
  // Closes each box once it is up, as a user would.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
  });
  closer.start(20);

  frmMain window(QString::fromLocal8Bit(argv[1]));
  window.Start();
  window.grab();
  reliab::RunEverySearch(window);
  window.grab();
  Report("WEB " + apptest::Part<InfoDrawers>(window)->lblWeb->text());
  apptest::Part<InfoDrawers>(window)->lblWeb_Click();
  Report(QStringLiteral("DONE"));
  return 0;
}
