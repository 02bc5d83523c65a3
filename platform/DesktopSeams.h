#pragma once
// The real seams of the running program. Make it after the QApplication and
// let it go before: the network part holds a QNetworkAccessManager.

#include "platform/AppPaths.h"
#include "platform/DesktopFileDialogs.h"
#include "platform/DesktopMessages.h"
#include "platform/DesktopShell.h"
#include "platform/HttpNetwork.h"
#include "platform/Seams.h"
#include "platform/SystemClock.h"

namespace quillon {

class DesktopSeams {
public:
    explicit DesktopSeams(AppPaths paths = AppPaths()) : paths_(std::move(paths)) {}
    DesktopSeams(const DesktopSeams&) = delete;
    DesktopSeams& operator=(const DesktopSeams&) = delete;

    Seams& Get() { return seams_; }

private:
    DesktopMessages messages_;
    DesktopFileDialogs fileDialogs_;
    DesktopShell shell_;
    SystemClock clock_;
    HttpNetwork network_;
    AppPaths paths_;
    Seams seams_{messages_, fileDialogs_, shell_, clock_, network_, paths_};
};

}  // namespace quillon
