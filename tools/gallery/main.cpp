// gelcoat-gallery DIR: writes a PNG of every view and control in each of its
// states into DIR, so that their drawing can be looked at without a display.

#include "Gallery.h"
#include "ToolStart.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    preferOffscreenPlatform();
    QApplication app(argc, argv);
    const std::optional<QDir> folder = outputFolder(argc, argv, "gelcoat-gallery");
    if (!folder)
        return 1;
    const QDir& dir = *folder;
    QTextStream err(stderr);

    std::vector<GalleryShot> shots = sliderShots();
    for (GalleryShot& shot : viewShots())
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
