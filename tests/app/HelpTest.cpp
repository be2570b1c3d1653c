// The help: F1 opens the program's pages in the help window, and every page, link and
// picture they refer to is shipped.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QShortcut>
#include <QTest>
#include <QTextBrowser>

#include "app/HelpWindow.h"
#include "tests/app/WindowFixture.h"

using apptest::StartedWindow;

TEST(Help, F1OpensTheHelpPagesInTheHelpWindowAndEscClosesIt) {
  StartedWindow started;
  frmMain& w = started.window;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  QTest::keyClick(&w, Qt::Key_F1);
  ASSERT_NE(w.Help(), nullptr);
  EXPECT_TRUE(w.Help()->isVisible());
  EXPECT_EQ(w.Help()->Browser()->source().toLocalFile(), w.HelpFile());
  EXPECT_TRUE(w.Help()->Browser()->toPlainText().contains(QStringLiteral("栖坞")));
  EXPECT_TRUE(started.messages.Messages().empty());

  // An owned window counts as active with its owner: wait for the help window itself.
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.Help()->isActiveWindow(); }));
  QTest::keyClick(w.Help()->Browser(), Qt::Key_Escape);
  EXPECT_FALSE(w.Help()->isVisible());
}

TEST(Help, EveryLinkAndPictureOfThePagesIsShipped) {
  const QDir help(apptest::DemoRoot() + "/help");
  const QStringList pages = help.entryList({QStringLiteral("*.html")});
  ASSERT_FALSE(pages.isEmpty());
  const QRegularExpression reference(QStringLiteral(R"((?:href|src)="([^"#:]+)(?:#[^"]*)?")"));
  int references = 0;
  for (const QString& page : pages) {
    QFile file(help.filePath(page));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    for (auto it = reference.globalMatch(html); it.hasNext();) {
      const QString target = it.next().captured(1);
      ++references;
      EXPECT_TRUE(QFileInfo::exists(help.filePath(target)))
          << page.toStdString() << " -> " << target.toStdString();
    }
  }
  EXPECT_GT(references, 5);
}
