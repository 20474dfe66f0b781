#include "hosts/qt/QtURLLoadingPort.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace qthost {

QtURLLoadingPort::~QtURLLoadingPort() {
    // Replies still running are aborted with the manager; their answers must not reach a kit that is gone.
    for (QNetworkReply* reply : _network.findChildren<QNetworkReply*>()) {
        reply->disconnect();
    }
}

void QtURLLoadingPort::load(const std::string& address, std::function<void(kit::URLLoadResult)> completion) {
    const QUrl url(QString::fromStdString(address));
    if (url.scheme() != QLatin1String("https")) {
        completion(kit::LocalURLLoadingPort::loadLocal(address));
        return;
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = _network.get(request);
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, completion = std::move(completion)] {
        kit::URLLoadResult result;
        if (reply->error() == QNetworkReply::NoError) {
            result.contents = reply->readAll().toStdString();
        } else {
            result.error = reply->errorString().toStdString();
        }
        reply->deleteLater();
        completion(std::move(result));
    });
}

}  // namespace qthost
