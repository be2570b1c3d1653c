#pragma once
// Opening a card's web link. Only web addresses reach the desktop: a value with the scheme
// http or https is opened unchanged, a bare host name (www.example.cn, optionally with a port
// and a path) as "http://" + value, and mailto: as one bare address only (mailto:a@example.cn):
// its query and fragment are dropped, so no header such as ?attach= reaches the mail program,
// and a mailto: without a single plain address is not opened. Anything else (a local file, a
// program, another scheme) is not opened. Nothing is reported either way.
#include <QString>
#include <QUrl>
#include <functional>

// The address value opens, or an empty QUrl when it is not a web address.
QUrl WebLinkUrl(const QString& value);

// How an address is handed to the desktop: QDesktopServices::openUrl unless replaced (tests
// replace it so that no browser starts). Returns the previous opener.
using UrlOpener = std::function<void(const QUrl&)>;
UrlOpener SetUrlOpener(UrlOpener opener);

// Opens value's address through the current opener, or does nothing.
void OpenWebLink(const QString& value);
