#pragma once
// Program directories for driving the real frmMain: the demo city generated once per test
// program (with the help pages beside it), and copies of it with one piece broken.
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace apptest {

inline const QString kCity = QStringLiteral("栖坞市");

// The demo city 栖坞市 at scale 1: map/栖坞市/…, data/栖坞市.mdb and help/.
const QString& DemoRoot();

// A copy of the demo program directory in a fresh temporary folder.
std::unique_ptr<QTemporaryDir> CopyOfDemo();
// The copy without the city database.
std::unique_ptr<QTemporaryDir> CopyWithoutDatabase();
// The copy whose main workspace names the layer layerName differently, so the map lacks it.
std::unique_ptr<QTemporaryDir> CopyWithoutLayer(const QString& layerName);

}  // namespace apptest
