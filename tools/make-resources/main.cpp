// gelcoat-make-resources: writes the pictures of resources/images.
//
//   gelcoat-make-resources FOLDER
//
// writes FOLDER/base.tiff (the reference gel button the shading tables are
// sampled from), FOLDER/start.png (Moss, the start picture) and
// FOLDER/leftFootColored.png (Moss's left foot). The output is the same,
// byte for byte, on every run. The button is checked before it is written.

#include "tools/make-resources/GelButton.h"
#include "tools/make-resources/Mascot.h"
#include "tools/common/RgbaTiff.h"

#include <QImage>
#include <QImageWriter>
#include <QString>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using namespace gelcoat::resources;

bool writePng(const QImage& image, const std::filesystem::path& path)
{
    // Straight (not premultiplied) alpha, as PNG stores it.
    const QImage out = image.convertToFormat(QImage::Format_ARGB32);
    QImageWriter writer(QString::fromStdString(path.string()), "png");
    writer.setQuality(0); // for PNG: the strongest compression
    if (!writer.write(out)) {
        std::fprintf(stderr, "gelcoat-make-resources: cannot write %s: %s\n",
                     path.string().c_str(), writer.errorString().toLocal8Bit().constData());
        return false;
    }
    return true;
}

bool writeButton(const std::filesystem::path& path)
{
    const auto pixels = makeGelButtonPixels();
    const auto problems = checkGelButtonPixels(pixels);
    for (const auto& problem : problems)
        std::fprintf(stderr, "gelcoat-make-resources: base.tiff %s\n", problem.c_str());
    if (!problems.empty())
        return false;

    std::string error;
    if (!writeRgbaTiff(path.string(), kButtonSide, kButtonSide, pixels, error)) {
        std::fprintf(stderr, "gelcoat-make-resources: %s\n", error.c_str());
        return false;
    }
    // Read it back and check what actually went to disk.
    int w = 0, h = 0;
    std::vector<std::uint8_t> back;
    if (!readRgbaTiff(path.string(), w, h, back, error)) {
        std::fprintf(stderr, "gelcoat-make-resources: %s\n", error.c_str());
        return false;
    }
    if (w != kButtonSide || h != kButtonSide || back != pixels) {
        std::fprintf(stderr, "gelcoat-make-resources: %s does not read back as written\n",
                     path.string().c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gelcoat-make-resources FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        std::fprintf(stderr, "gelcoat-make-resources: cannot create %s: %s\n", argv[1],
                     ec.message().c_str());
        return 1;
    }

    bool ok = writeButton(folder / "base.tiff");
    ok = writePng(drawMoss(), folder / "start.png") && ok;
    ok = writePng(drawLeftFoot(), folder / "leftFootColored.png") && ok;
    return ok ? 0 : 1;
}
