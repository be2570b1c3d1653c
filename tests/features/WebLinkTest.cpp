// Which card web values reach the desktop, and as what address.
#include <gtest/gtest.h>

#include "features/WebLink.h"

namespace {

TEST(WebLink, OnlyWebAddressesAreOpened) {
  const struct {
    const char* value;
    const char* opened;  // empty: not opened
  } cases[] = {
      {"http://www.example.cn/menu?day=1", "http://www.example.cn/menu?day=1"},
      {"https://example.cn", "https://example.cn"},
      {"HTTPS://Example.cn/a", "HTTPS://Example.cn/a"},
      {"mailto:boss@example.cn", "mailto:boss@example.cn"},
      {"mailto:someone@example.com?attach=/etc/passwd", "mailto:someone@example.com"},
      {"MAILTO:a.b@example.cn?subject=x&body=y#top", "mailto:a.b@example.cn"},
      {"mailto:a@example.cn%3Fattach=/etc/passwd", ""},
      {"mailto:?to=a@example.cn&attach=/etc/passwd", ""},
      {"mailto:a@example.cn,b@example.cn", ""},
      {"mailto:a@example.cn?attach=/etc/passwd&to=b@example.cn", "mailto:a@example.cn"},
      {"www.example.cn", "http://www.example.cn"},
      {"shop.example.com.cn:8080/list", "http://shop.example.com.cn:8080/list"},
      {"  www.example.cn  ", "http://www.example.cn"},
      {"", ""},
      {"C:\\Windows\\System32\\calc.exe", ""},
      {"file:///etc/passwd", ""},
      {"/usr/bin/xterm", ""},
      {"javascript:alert(1)", ""},
      {"ftp://example.cn/file", ""},
      {"http://", ""},
      {"mailto:", ""},
      {"www.example.cn; rm -rf ~", ""},
      {"localhost", ""},
      {"暂无", ""},
  };
  for (const auto& c : cases) {
    const QUrl url = WebLinkUrl(QString::fromUtf8(c.value));
    if (*c.opened) {
      EXPECT_EQ(url, QUrl(QString::fromUtf8(c.opened))) << c.value;
    } else {
      EXPECT_FALSE(url.isValid()) << c.value << " gave " << url.toString().toStdString();
    }
  }
}

TEST(WebLink, OpeningGoesThroughTheReplaceableOpener) {
  QList<QUrl> opened;
  const UrlOpener previous = SetUrlOpener([&](const QUrl& url) { opened << url; });
  OpenWebLink(QStringLiteral("www.example.cn"));
  OpenWebLink(QStringLiteral("notepad.exe /c"));
  OpenWebLink(QStringLiteral("mailto:a@example.cn"));
  SetUrlOpener(previous);
  EXPECT_EQ(opened, (QList<QUrl>{QUrl("http://www.example.cn"), QUrl("mailto:a@example.cn")}));
}

}  // namespace
