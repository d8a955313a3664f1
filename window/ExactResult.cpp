#include "window/ExactResult.h"

#include "document/model/TintDocument.h"
#include "shared/KPProgressPanel.h"

#include <QCoreApplication>

#include <chrono>
#include <thread>

namespace gelcoat {

bool waitForExactResult(TintDocument& document, QWidget* window)
{
    RenderWorker* worker = document.renderWorker();
    if (!worker || worker->idle()) {
        document.finishRendering();
        return true;
    }
    KPProgressPanel* panel = KPProgressPanel::progressPanelModalForWindow(
        window, QCoreApplication::translate("ExactResult", "Rendering"),
        QCoreApplication::translate("ExactResult", "Finishing the result at its full size."),
        false);
    panel->start();
    bool finished = true;
    while (!worker->idle()) {
        if (!panel->giveTime()) {
            finished = false;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    panel->finishAndRelease();
    if (finished)
        document.finishRendering();
    return finished;
}

} // namespace gelcoat
