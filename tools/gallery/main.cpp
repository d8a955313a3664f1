// gelcoat-gallery DIR: writes a PNG of every view and control in each of its
// states into DIR, so that their drawing can be looked at without a display.

#include "tools/gallery/Gallery.h"
#include "tools/common/ToolStart.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    return runPictureTool<QApplication>(argc, argv, "gelcoat-gallery", [](const QDir& dir) {
        std::vector<GalleryShot> shots = sliderShots();
        for (GalleryShot& shot : viewShots())
            shots.push_back(std::move(shot));
        for (GalleryShot& shot : windowShots())
            shots.push_back(std::move(shot));

        int failures = 0;
        for (const GalleryShot& shot : shots)
            if (!savePicture(shot.render(), dir.filePath(shot.fileName), "gelcoat-gallery"))
                ++failures;
        QTextStream(stdout) << shots.size() - failures << " pictures written to "
                            << dir.absolutePath() << "\n";
        return failures == 0 ? 0 : 1;
    });
}
