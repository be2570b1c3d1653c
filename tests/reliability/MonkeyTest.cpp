// Thousands of seeded random user events on the real main window: clicks on every control,
// random text in every box (quotes, %, _, emoji, 10,000 characters, control characters), tool
// changes, map drags and wheels, tab clicks and city switches. Every message box is answered
// by the recorder. Nothing may crash or hang, no statement may fail because of what was typed,
// and afterwards the window still answers a normal search correctly.
//   QIWU_MONKEY_EVENTS=N (default 2000) and QIWU_MONKEY_SEED=S (default 20261207) for longer runs;
//   a failure names its seed and event, so it reproduces.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <random>
#include <string_view>

#include "bus/BusPanel.h"
#include "bus/frmBus.h"
#include "features/WebLink.h"
#include "kit/ImageControl.h"
#include "mapwidgets/MapControl.h"
#include "tests/app/WindowFixture.h"
#include "tests/reliability/SearchDriver.h"

namespace {

class Monkey {
 public:
  Monkey(frmMain& window, quint32 seed) : w_(window), random_(seed) {}

  // One random user action; returns what it did, for the failure message.
  QString Step() {
    switch (Pick(14)) {
      case 0:
      case 1:
        return ClickSomewhere(false);
      case 2:
        return ClickSomewhere(true);
      case 3:
      case 4:
        return TypeInto(Any<QLineEdit>());
      case 5:
        return PasteInto(Any<QLineEdit>());
      case 6:
        return ChooseIn(Any<QComboBox>());
      case 7:
        return PickIn(Any<QListWidget>());
      case 8:
        return ClickImage(Any<qiwu::ImageControl>());
      case 9:
        return DragMap();
      case 10:
        return Wheel();
      case 11:
        return PressKey();
      case 12:
        return Pick(40) == 0 ? SwitchCity() : ClickSomewhere(false);
      default:
        return CloseAWindow();
    }
  }

  // Closes combo popups the clicks opened, and lets timers and deferred events run.
  static void Settle() {
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    QCoreApplication::processEvents();
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  // Every visible, enabled widget of the kind in the program's windows.
  template <typename W>
  W* Any() {
    QList<W*> found;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (!top->isVisible()) continue;
      if (auto* self = qobject_cast<W*>(top)) found << self;
      for (W* child : top->findChildren<W*>())
        if (child->isVisible() && child->isEnabled()) found << child;
    }
    return found.isEmpty() ? nullptr : found[Pick(int(found.size()))];
  }

  QPoint Inside(const QWidget* widget) {
    return {Pick(std::max(1, widget->width())), Pick(std::max(1, widget->height()))};
  }

  QString RandomText() {
    using namespace std::literals;
    static constexpr std::u16string_view kPieces[] = {
        u"'",   u"''", u"\"",     u"%",   u"_",           u"\\",     u"😀",      u"🚌",    u"东",   u"门",
        u"1路", u"站", u"口",     u" ",   u"\t",          u"\r\n",   u"\x01",   u"\x7f", u"\0"sv, u"--",
        u";",   u"*",  u"O'Neil", u"%_%", u"' or '1'='1", u"select", u"\u202e", u"ABC",  u"iPark"};
    const auto piece = [&] { return QStringView(kPieces[Pick(int(std::size(kPieces)))]).toString(); };
    switch (Pick(6)) {
      case 0:
        return QString(10000, piece().at(0));
      case 1:
        return {};
      default: {
        QString text;
        for (int n = Pick(8) + 1; n > 0; --n) text += piece();
        return text;
      }
    }
  }

  QString ClickSomewhere(bool twice) {
    QWidget* target = Any<QWidget>();
    if (!target) return "nothing to click";
    const QPoint at = Inside(target);
    if (twice)
      QTest::mouseDClick(target, Qt::LeftButton, {}, at);
    else
      QTest::mouseClick(target, Pick(5) == 0 ? Qt::RightButton : Qt::LeftButton, {}, at);
    return QStringLiteral("click %1 on %2").arg(twice ? "twice" : "once", target->objectName());
  }

  QString TypeInto(QLineEdit* box) {
    if (!box) return "no box";
    box->setFocus();
    const QString text = RandomText().left(12);
    // Key events that carry their text: QTest::keyClicks knows only ASCII keys.
    for (qsizetype i = 0; i < text.size(); ++i) {
      const qsizetype units = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
      const QString typed = text.mid(i, units);
      i += units - 1;
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, typed);
      QApplication::sendEvent(box, &press);
      QApplication::sendEvent(box, &release);
    }
    return "type into " + box->objectName();
  }

  // Long texts arrive at once, as a paste does: typing them key by key would take minutes.
  QString PasteInto(QLineEdit* box) {
    if (!box) return "no box";
    box->setText(RandomText());
    return "paste into " + box->objectName();
  }

  QString ChooseIn(QComboBox* combo) {
    if (!combo) return "no combo";
    if (combo->isEditable() && Pick(2) == 0) {
      combo->setEditText(RandomText().left(40));
    } else if (combo->count() > 0) {
      const int index = Pick(int(combo->count()));
      combo->setCurrentIndex(index);
      emit combo->activated(index);
    }
    return "choose in " + combo->objectName();
  }

  QString PickIn(QListWidget* list) {
    if (!list || list->count() == 0) return "no list";
    QListWidgetItem* item = list->item(Pick(int(list->count())));
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    if (Pick(3) == 0)
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    else
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    return "pick in " + list->objectName();
  }

  QString ClickImage(qiwu::ImageControl* image) {
    if (!image) return "no image";
    QTest::mouseClick(image, Qt::LeftButton, {}, Inside(image));
    return "click image " + image->objectName();
  }

  QString DragMap() {
    MapControl* map = Pick(4) == 0 ? w_.Map2 : w_.Map1;
    QPoint at = Inside(map);
    QTest::mousePress(map, Qt::LeftButton, {}, at);
    for (int step = Pick(6); step >= 0; --step) {
      at = Inside(map);
      QMouseEvent move(QEvent::MouseMove, at, map->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
      QApplication::sendEvent(map, &move);
    }
    QTest::mouseRelease(map, Qt::LeftButton, {}, at);
    return QStringLiteral("drag on %1").arg(map == w_.Map1 ? "Map1" : "Map2");
  }

  QString Wheel() {
    const QPoint at = Inside(w_.Map1);
    const QPoint delta(0, Pick(2) == 0 ? 120 : -120 * (Pick(3) + 1));
    QWheelEvent wheel(at, w_.Map1->mapToGlobal(at), {}, delta, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w_.Map1, &wheel);
    return "wheel";
  }

  QString PressKey() {
    static const std::array kKeys{Qt::Key_Escape,    Qt::Key_Return, Qt::Key_Down, Qt::Key_Up,   Qt::Key_Tab,
                                  Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_F1,   Qt::Key_Space};
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : w_.Map1;
    QTest::keyClick(target, kKeys[std::size_t(Pick(int(kKeys.size())))]);
    return "key on " + target->objectName();
  }

  QString SwitchCity() {
    w_.cmbCity_Click();
    return "city switch";
  }

  // The user closes the plan window or the help window.
  QString CloseAWindow() {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top != &w_ && top->isVisible() && top->isWindow() && !qobject_cast<frmMain*>(top)) {
        top->close();
        return "close " + top->objectName();
      }
    return ClickSomewhere(false);
  }

  frmMain& w_;
  std::mt19937 random_;
};

int FromEnvironment(const char* name, int fallback) {
  bool ok = false;
  const int value = qEnvironmentVariableIntValue(name, &ok);
  return ok ? value : fallback;
}

TEST(Monkey, RandomEventsNeverBreakTheWindowAndASearchStillAnswers) {
  const int events = FromEnvironment("QIWU_MONKEY_EVENTS", 2000);
  const auto seed = quint32(FromEnvironment("QIWU_MONKEY_SEED", 20261207));
  const UrlOpener previousOpener = SetUrlOpener([](const QUrl&) {});
  apptest::StartedWindow started;
  frmMain& w = started.window;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

  // A context menu or a dialog (export, print, a file to save) that a click opens runs an event loop
  // of its own; this closes it from inside that loop, as a user's Esc would.
  QTimer escape;
  QObject::connect(&escape, &QTimer::timeout, [] {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
  });
  escape.start(20);

  Monkey monkey(w, seed);
  for (int i = 0; i < events; ++i) {
    const std::size_t shown = started.messages.Messages().size();
    const QString action = monkey.Step();
    Monkey::Settle();
    // User text stands quoted in every statement: none may fail because of it.
    QStringList boxes;
    bool statementFailed = false;
    for (std::size_t m = shown; m < started.messages.Messages().size(); ++m) {
      const qiwu::Message& message = started.messages.Messages()[m];
      ASSERT_FALSE(message.text.isEmpty());
      boxes << message.title + ": " + message.text;
      statementFailed = statementFailed || message.title == QStringLiteral("运行错误");
    }
    ASSERT_FALSE(statementFailed) << "seed " << seed << ", event " << i << " (" << action.toStdString()
                                  << "):\n"
                                  << boxes.join('\n').toStdString();
  }
  for (QWidget* top : QApplication::topLevelWidgets())
    if (top != &w) top->close();

  started.messages.Clear();
  const QString root = apptest::DemoRoot();
  const reliab::SearchAnswers answers = reliab::RunEverySearch(w);
  reliab::ExpectEverySearchAnswered(answers, root);
  EXPECT_TRUE(started.messages.Messages().empty()) << started.messages.Texts().join('\n').toStdString();
  SetUrlOpener(previousOpener);
}

}  // namespace
