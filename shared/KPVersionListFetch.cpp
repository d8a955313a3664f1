#include "shared/KPVersionListFetch.h"

#include "shared/KPLog.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

// A load still running long after every wait has given up is dropped.
constexpr int transferTimeoutMs = 60'000;

} // namespace

KPVersionListFetch::KPVersionListFetch(QNetworkAccessManager& network, const QUrl& url,
                                       qint64 maximumSize)
    : network_(network), url_(url), maximumSize_(maximumSize)
{
}

KPVersionListFetch::~KPVersionListFetch()
{
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
    }
}

void KPVersionListFetch::loadInBackground()
{
    if (status_ == Status::LoadInProgress || status_ == Status::LoadSucceeded)
        return;
    QNetworkRequest request(url_);
    request.setTransferTimeout(transferTimeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    status_ = Status::LoadInProgress;
    data_.clear();
    reply_ = network_.get(request);
    connect(reply_, &QNetworkReply::downloadProgress, this, &KPVersionListFetch::onProgress);
    connect(reply_, &QNetworkReply::finished, this, &KPVersionListFetch::onFinished);
}

void KPVersionListFetch::onProgress(qint64 received, qint64 total)
{
    if (reply_ && (received > maximumSize_ || total > maximumSize_)) {
        qCWarning(kpSharedLog, "Version list at %s is larger than %lld bytes",
                  qPrintable(url_.toString()), static_cast<long long>(maximumSize_));
        reply_->abort();  // finishes the reply with an error
    }
}

void KPVersionListFetch::onFinished()
{
    QNetworkReply* reply = reply_;
    if (!reply)
        return;
    reply_ = nullptr;
    reply->deleteLater();
    const int httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() == QNetworkReply::NoError && httpStatus == 200) {
        data_ = reply->readAll();
        status_ = data_.size() > maximumSize_ ? Status::LoadFailed : Status::LoadSucceeded;
    } else {
        status_ = Status::LoadFailed;
    }
    if (status_ == Status::LoadFailed) {
        data_.clear();
        qCInfo(kpSharedLog, "Version list not loaded from %s: %s", qPrintable(url_.toString()),
               qPrintable(reply->errorString()));
    }
    emit finished();
}
