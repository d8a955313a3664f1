#pragma once
// Catches the addresses handed to QDesktopServices::openUrl for the given
// schemes, for the life of the object, instead of opening them.
//
//     UrlCatcher catcher({"https", "mailto"});
//     ...
//     QCOMPARE(catcher.urls.size(), 1);

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    explicit UrlCatcher(const QStringList& schemes);
    ~UrlCatcher() override;
    UrlCatcher(const UrlCatcher&) = delete;
    UrlCatcher& operator=(const UrlCatcher&) = delete;

    // The addresses caught, in order.
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url);

private:
    QStringList schemes_;
};
