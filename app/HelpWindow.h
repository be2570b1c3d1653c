#pragma once
// The help window: the program's HTML help pages in a browser with back, forward and home;
// Esc closes it.
#include <QString>
#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget {
 public:
  explicit HelpWindow(QWidget* owner);

  // Shows the page at path (a local file). False, with nothing shown, when it does not exist.
  bool ShowPage(const QString& path);
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};
