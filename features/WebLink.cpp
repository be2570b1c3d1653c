#include "features/WebLink.h"

#include <QDesktopServices>
#include <QRegularExpression>

namespace {
UrlOpener& Opener() {
  static UrlOpener opener = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  return opener;
}

// Dot-separated labels ending in an alphabetic top-level label.
const QString kHostName =
    QStringLiteral(R"((?:[A-Za-z0-9](?:[A-Za-z0-9-]{0,61}[A-Za-z0-9])?\.)+[A-Za-z]{2,63})");

bool IsBareHost(const QString& value) {
  // A host name, then an optional port and path.
  static const QRegularExpression host(QStringLiteral(R"(^%1(?::\d{1,5})?(?:[/?#]\S*)?$)").arg(kHostName));
  return host.match(value).hasMatch();
}

// mailto: keeps one plain address; its headers (?subject=, ?attach=, …) and fragment are dropped.
QUrl MailtoUrl(const QString& text) {
  static const QRegularExpression address(QStringLiteral(R"(^[A-Za-z0-9._+-]+@%1$)").arg(kHostName));
  const QUrl given(text, QUrl::TolerantMode);
  const QString path = given.path(QUrl::FullyDecoded);
  if (!given.isValid() || !address.match(path).hasMatch()) return QUrl();
  QUrl url;
  url.setScheme(QStringLiteral("mailto"));
  url.setPath(path);
  return url;
}
}  // namespace

QUrl WebLinkUrl(const QString& value) {
  const QString text = value.trimmed();
  if (text.isEmpty()) return QUrl();
  const int colon = text.indexOf(QLatin1Char(':'));
  const QString scheme = colon > 0 ? text.left(colon).toLower() : QString();
  if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
    const QUrl url(text, QUrl::TolerantMode);
    return url.isValid() && !url.host().isEmpty() ? url : QUrl();
  }
  if (scheme == QLatin1String("mailto")) return MailtoUrl(text);
  if (IsBareHost(text)) {
    const QUrl url(QStringLiteral("http://") + text, QUrl::TolerantMode);
    return url.isValid() ? url : QUrl();
  }
  return QUrl();
}

UrlOpener SetUrlOpener(UrlOpener opener) {
  UrlOpener previous = std::move(Opener());
  Opener() = std::move(opener);
  return previous;
}

void OpenWebLink(const QString& value) {
  const QUrl url = WebLinkUrl(value);
  if (url.isValid() && Opener()) Opener()(url);
}
