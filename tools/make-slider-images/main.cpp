// gelcoat-make-slider-images DIR: writes the circular slider's pictures
// (four bases and seven knobs at two sizes, each also at double resolution
// as "<name>@2x.png") into DIR.
//
// The bases line up with the slider's geometry: the circle fills the view
// inset by 10.5 points, the ring of edge-only sliders is 5 points wide and
// the centre dot or hole is 7 points across. Knobs are centred in their
// square, the ball a little larger than its hit radius.

#include "tools/make-slider-images/SliderArt.h"
#include "tools/common/ToolStart.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    const char* tool = "gelcoat-make-slider-images";
    return runPictureTool<QGuiApplication>(argc, argv, tool, [tool](const QDir& dir) {
        int written = 0;
        for (const SliderPicture& picture : sliderPictures()) {
            if (!saveAtBothScales(dir, picture.name, picture.draw, tool))
                return 1;
            written += 2;
        }
        QTextStream(stdout) << written << " pictures written to " << dir.absolutePath() << "\n";
        return 0;
    });
}
