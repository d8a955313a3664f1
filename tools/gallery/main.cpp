// gelcoat-gallery DIR: writes a PNG of every view and control in each of its
// states into DIR, so that their drawing can be looked at without a display.

#include "Gallery.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char** argv)
{
    // Without a display by default; QT_QPA_PLATFORM may still choose another.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2 || args[1].startsWith(QLatin1Char('-'))) {
        err << "usage: gelcoat-gallery DIR\n";
        return 1;
    }
    const QDir dir(args[1]);
    if (!dir.mkpath(QStringLiteral("."))) {
        err << "gelcoat-gallery: cannot create the folder " << args[1] << "\n";
        return 1;
    }

    std::vector<GalleryShot> shots = sliderShots();
    for (GalleryShot& shot : viewShots())
        shots.push_back(std::move(shot));
    for (GalleryShot& shot : windowShots())
        shots.push_back(std::move(shot));

    int failures = 0;
    for (const GalleryShot& shot : shots) {
        const QImage image = shot.render();
        const QString path = dir.filePath(shot.fileName);
        if (image.isNull() || !image.save(path, "PNG")) {
            err << "gelcoat-gallery: could not write " << path << "\n";
            ++failures;
        }
    }
    QTextStream(stdout) << shots.size() - failures << " pictures written to "
                        << dir.absolutePath() << "\n";
    return failures == 0 ? 0 : 1;
}
