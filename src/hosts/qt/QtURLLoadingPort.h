#pragma once

#include <QNetworkAccessManager>

#include "kit/foundation/URLLoading.h"

namespace qthost {

// Local files as the kit reads them, and "https:" addresses through Qt Network; other schemes fail.
class QtURLLoadingPort final : public kit::URLLoadingPort {
public:
    ~QtURLLoadingPort() override;
    void load(const std::string& address, std::function<void(kit::URLLoadResult)> completion) override;

private:
    QNetworkAccessManager _network;
};

}  // namespace qthost
