#pragma once
// The program's real message sink: a modal box with the icon, the text, the title and one
// OK button labelled "确定", owned by the active window.
namespace qiwu {

void InstallMessageBoxSink();

}  // namespace qiwu
