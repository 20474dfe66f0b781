#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QThreadPool>

#include "kit/foundation/URLLoading.h"

class QUrl;

namespace qthost {

// Local files as the kit reads them, on a thread of their own so that a slow disk never stalls the
// interface, and "https:" addresses through Qt Network; other schemes fail. Downloads stop at the
// request's length limit (refused at once when the server announces more) and at its timeout.
class QtURLLoadingPort final : public kit::URLLoadingPort {
public:
    ~QtURLLoadingPort() override;
    void load(const kit::URLLoadRequest& request,
              std::function<void(kit::URLLoadResult)> completion) override;

private:
    void readFile(const kit::URLLoadRequest& request, std::function<void(kit::URLLoadResult)> completion);
    void download(const QUrl& url, const kit::URLLoadRequest& request,
                  std::function<void(kit::URLLoadResult)> completion);

    // On the main thread: file readers hand their answers to it. Declared before the readers, so that it
    // outlives them: their destruction waits for every read to end.
    QObject _fileAnswers;
    QThreadPool _fileReaders;
    QNetworkAccessManager _network;
};

}  // namespace qthost
