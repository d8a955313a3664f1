// Pictures cut short, in every format the intake reads: each is refused
// with a message, however little is missing, and nothing crashes.

#include "tests/document/IntakeTestFiles.h"

#include "document/intake/PictureDecoder.h"

#include <QImageWriter>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace gelcoat {
namespace {

using intaketest::encodeWithQt;
using intaketest::makeGif;
using intaketest::makePng;
using intaketest::makeTiff;

struct Whole {
    std::string name;
    QByteArray bytes;
};

// A picture whose every pixel differs from its neighbours, so that no
// encoder can shorten it to a run.
QImage photo(int width, int height, QImage::Format format)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 5, (x * y) & 255));
    return image.convertToFormat(format);
}

std::vector<Whole> everyFormat()
{
    const QImage rgb = photo(64, 48, QImage::Format_RGB888);
    std::vector<std::uint8_t> frame(64 * 48);
    for (std::size_t i = 0; i < frame.size(); ++i)
        frame[i] = std::uint8_t(i * 7 % 3);
    intaketest::TiffPage page;
    page.width = 64;
    page.height = 48;
    page.samples = QByteArray(64 * 48 * 3, '\x40');
    std::vector<Whole> files = {
        {"jpeg", encodeWithQt(rgb, "jpeg", 90)},
        {"bmp", encodeWithQt(rgb, "bmp")},
        {"gif", makeGif(64, 48, {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(9, 9, 9)}, -1, {frame})},
        {"rgba png", encodeWithQt(photo(64, 48, QImage::Format_ARGB32), "png")},
        {"rgb png", encodeWithQt(rgb, "png")},
        {"tiff", makeTiff({page})},
    };
    for (const char* format : {"webp", "ppm", "pgm", "pbm", "xpm", "xbm", "wbmp", "ico"})
        if (QImageWriter::supportedImageFormats().contains(format))
            files.push_back({format, encodeWithQt(rgb, format, 100)});
    return files;
}

// Where the data a reader needs ends: the file's end, or for the C-array
// text formats the closing brace (the ";" and line break after it are
// syntax only).
qsizetype dataEnd(const Whole& file)
{
    if (file.name == "xpm" || file.name == "xbm")
        return file.bytes.lastIndexOf('}') + 1;
    return file.bytes.size();
}

// Qt's decoders complete many cut files with filler and say nothing; every
// format must be refused wherever it stops, down to a single byte missing,
// since a reader that checks "nearly all there" passes the coarser cuts.
TEST(DamagedIntake, EveryFormatCutShortIsRefusedWithAMessage)
{
    for (const Whole& file : everyFormat()) {
        SCOPED_TRACE(file.name);
        QString error;
        ASSERT_TRUE(decodePicture(file.bytes, &error)) << error.toStdString();
        const qsizetype end = dataEnd(file);
        for (const qsizetype kept : {end * 3 / 10, end * 7 / 10, end * 95 / 100, end - 1}) {
            SCOPED_TRACE(kept);
            error.clear();
            EXPECT_FALSE(decodePicture(file.bytes.left(kept), &error));
            EXPECT_FALSE(error.isEmpty());
        }
    }
}

// A GIF goes on after its first picture: a cut in a later frame, or a
// missing or wrong trailer, is damage too.
TEST(DamagedIntake, AGifCutAfterItsFirstFrameIsRefused)
{
    std::vector<std::uint8_t> frame(8 * 4, 1);
    const QByteArray gif = makeGif(8, 4, {qRgb(0, 0, 0), qRgb(255, 255, 255)}, -1, {frame, frame});
    ASSERT_TRUE(decodePicture(gif));
    QByteArray noTrailer = gif;
    noTrailer.back() = '\0';
    for (qsizetype kept = 6; kept <= gif.size(); ++kept) {
        QString error;
        const QByteArray damaged = kept < gif.size() ? gif.left(kept) : noTrailer;
        EXPECT_FALSE(decodePicture(damaged, &error)) << kept;
        EXPECT_TRUE(error.contains(u"damaged")) << error.toStdString();
    }
}

// An XBM array that is closed but holds a value too few is short all the
// same: Qt's reader would make the missing eight pixels clear.
TEST(DamagedIntake, AnXbmArrayShortOfAValueIsRefused)
{
    QImage marks(16, 2, QImage::Format_Mono);
    marks.fill(1);
    const QByteArray whole = encodeWithQt(marks, "xbm");
    ASSERT_TRUE(decodePicture(whole));
    const qsizetype lastComma = whole.lastIndexOf(',');
    ASSERT_GT(lastComma, 0);
    QString error;
    EXPECT_FALSE(decodePicture(whole.left(lastComma) + " };\n", &error));
    EXPECT_TRUE(error.contains(u"damaged")) << error.toStdString();
}

} // namespace
} // namespace gelcoat
