#pragma once
// One download of the version list, in the background.  It stands in for a
// cached URL handle: a status, the bytes once loaded, and a signal when the
// load ends, however it ends.  A body larger than the cap fails the load.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

class KPVersionListFetch : public QObject {
    Q_OBJECT
public:
    enum class Status { NotLoaded, LoadSucceeded, LoadInProgress, LoadFailed };

    KPVersionListFetch(QNetworkAccessManager& network, const QUrl& url, qint64 maximumSize);
    ~KPVersionListFetch() override;

    Status status() const { return status_; }
    QByteArray data() const { return data_; }
    QUrl url() const { return url_; }

    // Starts loading unless a load is running or has succeeded.
    void loadInBackground();

signals:
    void finished();

private:
    void onProgress(qint64 received, qint64 total);
    void onFinished();

    QNetworkAccessManager& network_;
    QUrl url_;
    qint64 maximumSize_;
    QPointer<QNetworkReply> reply_;
    QByteArray data_;
    Status status_ = Status::NotLoaded;
};
