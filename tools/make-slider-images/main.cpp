// gelcoat-make-slider-images DIR: writes the circular slider's pictures
// (four bases and seven knobs at two sizes, each also at double resolution
// as "<name>@2x.png") into DIR.
//
// The bases line up with the slider's geometry: the circle fills the view
// inset by 10.5 points, the ring of edge-only sliders is 5 points wide and
// the centre dot or hole is 7 points across. Knobs are centred in their
// square, the ball a little larger than its hit radius.

#include "SliderArt.h"
#include "ToolStart.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    preferOffscreenPlatform();
    QGuiApplication app(argc, argv);
    const std::optional<QDir> folder = outputFolder(argc, argv, "gelcoat-make-slider-images");
    if (!folder)
        return 1;
    const QDir& dir = *folder;
    QTextStream err(stderr);
    int written = 0;
    for (const SliderPicture& picture : sliderPictures()) {
        for (int scale : {1, 2}) {
            const QString name =
                picture.name + (scale == 2 ? QStringLiteral("@2x.png") : QStringLiteral(".png"));
            if (!picture.draw(scale).save(dir.filePath(name), "PNG")) {
                err << "cannot write " << dir.filePath(name) << "\n";
                return 1;
            }
            ++written;
        }
    }
    QTextStream(stdout) << written << " pictures written to " << dir.absolutePath() << "\n";
    return 0;
}
