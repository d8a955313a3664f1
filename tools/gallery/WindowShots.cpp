// Gallery pictures of the document window: Moss, a simple stencil, a
// colour picture, rendering off, and a dark palette.

#include "tools/gallery/Gallery.h"

#include "window/TintDocumentWindow.h"
#include "document/model/TintDocument.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPalette>

#include <cmath>
#include <functional>

using namespace gelcoat;

namespace {

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(50, 50, 52));
    dark.setColor(QPalette::WindowText, QColor(228, 228, 228));
    dark.setColor(QPalette::Base, QColor(32, 32, 34));
    dark.setColor(QPalette::AlternateBase, QColor(44, 44, 46));
    dark.setColor(QPalette::Text, QColor(228, 228, 228));
    dark.setColor(QPalette::Button, QColor(62, 62, 64));
    dark.setColor(QPalette::ButtonText, QColor(228, 228, 228));
    dark.setColor(QPalette::Highlight, QColor(42, 110, 200));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    return dark;
}

// A black ring on white, described as a three-sample picture without
// alpha, which the intake takes as a simple stencil.
bool takeRingStencil(TintDocument& document)
{
    constexpr int side = 160;
    auto pixels = BitmapRep::makeLayout(side, side, 3, 8, false, false);
    if (!pixels)
        return false;
    for (int y = 0; y < side; ++y) {
        std::uint8_t* row = pixels->row(y);
        for (int x = 0; x < side; ++x) {
            const double r = std::hypot(x + 0.5 - side / 2.0, y + 0.5 - side / 2.0);
            const bool ink = r > 36.0 && r < 64.0;
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = ink ? 0 : 255;
        }
    }
    SourcePicture picture;
    picture.samplesPerPixel = 3;
    picture.bitsPerPixel = 24;
    picture.hasAlpha = false;
    picture.pixels = std::move(*pixels);
    return document.useImage(std::move(picture), QString(), true, false);
}

// A new window, prepared by `prepare`, grabbed whole.
GalleryShot windowShot(const QString& fileName,
                       const std::function<void(TintDocumentWindow&)>& prepare,
                       const QPalette& palette = QApplication::palette())
{
    return {fileName, [prepare, palette] {
                TintDocumentWindow window;
                window.setPalette(palette);
                prepare(window);
                window.show();
                QApplication::processEvents();
                // Results arrive from the document's render worker.
                const QDeadlineTimer deadline(30000);
                while (!window.document().resultIsCurrent() && !deadline.hasExpired())
                    QApplication::processEvents(QEventLoop::AllEvents, 10);
                QApplication::processEvents();
                return window.grab().toImage();
            }};
}

} // namespace

std::vector<GalleryShot> windowShots()
{
    std::vector<GalleryShot> shots;
    shots.push_back(windowShot(QStringLiteral("window-moss.png"), [](TintDocumentWindow&) {}));
    shots.push_back(windowShot(QStringLiteral("window-simple-stencil.png"),
                               [](TintDocumentWindow& w) { takeRingStencil(w.document()); }));
    // The shadow pushed past the ring's frame: the warning shows.
    shots.push_back(windowShot(QStringLiteral("window-shadow-warning.png"), [](TintDocumentWindow& w) {
        takeRingStencil(w.document());
        w.document().changeSetting([](TintSettings& s) { s.shadowYOffset = -20; });
        w.document().refreshUIFromModel();
    }));
    shots.push_back(windowShot(QStringLiteral("window-colour-picture.png"),
                               [](TintDocumentWindow& w) { w.document().takeFootStencil(); }));
    shots.push_back(windowShot(QStringLiteral("window-rendering-off.png"), [](TintDocumentWindow& w) {
        w.document().toggleTinting();
        w.document().useBluePresets();
    }));
    shots.push_back(windowShot(
        QStringLiteral("window-dark.png"), [](TintDocumentWindow&) {}, darkPalette()));
    return shots;
}
