#pragma once
// The parts of the main window that tests reach: a panel (or the drawers, the results hub, the
// status bar) by its class, which the window holds once; a control by the object name its panel
// gave it. A missing part throws, which fails the test that asked for it.
#include <QComboBox>
#include <QListWidget>
#include <QObject>
#include <QString>
#include <stdexcept>
#include <string>

namespace apptest {

template <class T>
T* Part(const QObject& window) {
  T* found = window.findChild<T*>();
  if (!found) throw std::logic_error(std::string("no ") + T::staticMetaObject.className());
  return found;
}

template <class T>
T* Named(const QObject& window, const QString& name) {
  T* found = window.findChild<T*>(name);
  if (!found) throw std::logic_error("no " + name.toStdString());
  return found;
}

// lstShow(index) and cmbType(index), wherever their panels placed them.
inline QListWidget* ListShow(const QObject& window, int index) {
  return Named<QListWidget>(window, QStringLiteral("lstShow%1").arg(index));
}
inline QComboBox* TypeSelector(const QObject& window, int index) {
  return Named<QComboBox>(window, QStringLiteral("cmbType%1").arg(index));
}

}  // namespace apptest
