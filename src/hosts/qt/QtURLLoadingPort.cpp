#include "hosts/qt/QtURLLoadingPort.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <memory>

namespace qthost {

namespace {

// What a download has received, and why it was stopped when it was.
struct Download {
    QByteArray bytes;
    kit::URLLoadFailure stoppedFor = kit::URLLoadFailure::None;
    std::string stopReason;
};

kit::URLLoadFailure failureOf(QNetworkReply::NetworkError error) {
    switch (error) {
        case QNetworkReply::ContentNotFoundError:
        case QNetworkReply::ContentGoneError:
            return kit::URLLoadFailure::NotFound;
        case QNetworkReply::TimeoutError:
            return kit::URLLoadFailure::TimedOut;
        case QNetworkReply::ProtocolUnknownError:
            return kit::URLLoadFailure::UnsupportedAddress;
        default:
            // Errors below the content errors are the connection's and its proxy's.
            return error < QNetworkReply::ContentAccessDenied ? kit::URLLoadFailure::CannotConnect
                                                              : kit::URLLoadFailure::ServerError;
    }
}

std::string tooLarge(qint64 length, std::size_t maximumLength) {
    return "the answer has " + std::to_string(length) + " bytes or more, more than the limit of " +
           std::to_string(maximumLength);
}

}  // namespace

QtURLLoadingPort::~QtURLLoadingPort() {
    // Replies still running are aborted with the manager; their answers must not reach a kit that is gone.
    for (QNetworkReply* reply : _network.findChildren<QNetworkReply*>()) {
        reply->disconnect();
    }
}

void QtURLLoadingPort::load(const kit::URLLoadRequest& request,
                            std::function<void(kit::URLLoadResult)> completion) {
    const QUrl url(QString::fromStdString(request.address));
    if (url.scheme() == QLatin1String("https")) {
        download(url, request, std::move(completion));
    } else {
        readFile(request, std::move(completion));
    }
}

void QtURLLoadingPort::readFile(const kit::URLLoadRequest& request,
                                std::function<void(kit::URLLoadResult)> completion) {
    _fileReaders.start([this, request, completion = std::move(completion)]() mutable {
        kit::URLLoadResult result = kit::LocalURLLoadingPort::loadLocal(request);
        QMetaObject::invokeMethod(
            &_fileAnswers,
            [completion = std::move(completion), result = std::move(result)]() mutable {
                completion(std::move(result));
            },
            Qt::QueuedConnection);
    });
}

void QtURLLoadingPort::download(const QUrl& url, const kit::URLLoadRequest& request,
                                std::function<void(kit::URLLoadResult)> completion) {
    QNetworkRequest networkRequest(url);
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                                QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = _network.get(networkRequest);
    const std::size_t maximumLength = request.maximumLength;
    const auto received = std::make_shared<Download>();
    // Qt stops reading from the connection while this much waits unread, so a fast server cannot get
    // ahead of the count.
    reply->setReadBufferSize(static_cast<qint64>(maximumLength) + 1);
    const auto stop = [reply, received](kit::URLLoadFailure failure, std::string reason) {
        received->stoppedFor = failure;
        received->stopReason = std::move(reason);
        reply->abort();
    };

    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, maximumLength, stop] {
        const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
        if (announced.isValid() && announced.toULongLong() > maximumLength) {
            stop(kit::URLLoadFailure::TooLarge, tooLarge(announced.toLongLong(), maximumLength));
        }
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, maximumLength, received, stop] {
        received->bytes += reply->readAll();
        if (static_cast<std::size_t>(received->bytes.size()) > maximumLength) {
            stop(kit::URLLoadFailure::TooLarge, tooLarge(received->bytes.size(), maximumLength));
        }
    });
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, [seconds = request.timeout, stop] {
        stop(kit::URLLoadFailure::TimedOut,
             "no answer within " + QString::number(seconds).toStdString() + " s");
    });
    deadline->start(static_cast<int>(std::clamp(std::ceil(request.timeout * 1000.0), 0.0, 2147483647.0)));

    // Every byte has passed through readyRead, and the count, by the time the reply finishes.
    QObject::connect(
        reply, &QNetworkReply::finished, reply, [reply, received, completion = std::move(completion)] {
            kit::URLLoadResult result;
            if (received->stoppedFor != kit::URLLoadFailure::None) {
                result = kit::URLLoadResult::failed(received->stoppedFor, received->stopReason);
            } else if (reply->error() == QNetworkReply::NoError) {
                result = kit::URLLoadResult::success(received->bytes.toStdString());
            } else {
                result =
                    kit::URLLoadResult::failed(failureOf(reply->error()), reply->errorString().toStdString());
            }
            received->bytes = QByteArray();
            reply->deleteLater();
            completion(std::move(result));
        });
}

}  // namespace qthost
