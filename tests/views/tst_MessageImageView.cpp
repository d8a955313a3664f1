// The result well: the out-of-date overlay and dragging the picture out.

#include "document/export/ImageEncoders.h"
#include "window/export/DragWriters.h"
#include "views/drag/ImageDragPayload.h"
#include "views/imageview/MessageImageView.h"
#include "document/intake/TiffCodec.h"
#include "tests/qtsupport/PixelChecks.h"
#include "tests/qtsupport/TestSettings.h"

#include <QFile>
#include <QMimeData>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

using namespace gelcoat;
using gelcoat::testing::darkestGrey;
using gelcoat::testing::grabAtOne;
constexpr auto solid = gelcoat::testing::solidImage;
using gelcoat::testing::grey;
using gelcoat::testing::overGrey;

namespace {

// The compression tag of the first directory of a little-endian TIFF.
int tiffCompression(const QByteArray& tiff)
{
    const auto u16 = [&](int at) { return int(quint8(tiff[at])) | int(quint8(tiff[at + 1])) << 8; };
    const auto u32 = [&](int at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    if (!tiff.startsWith("II*"))
        return -1;
    const int directory = int(u32(4));
    const int entries = u16(directory);
    for (int i = 0; i < entries; ++i) {
        const int entry = directory + 2 + 12 * i;
        if (u16(entry) == 259)
            return u16(entry + 8);
    }
    return -1;
}

// Records the drag instead of running the window system's drag loop.
class WatchedMessageView : public MessageImageView {
public:
    std::unique_ptr<QMimeData> payload;
    QPixmap picture;
    QPoint hotSpot;
    int drags = 0;

protected:
    void startImageDrag(QMimeData* data, const QPixmap& pixmap, const QPoint& spot) override
    {
        payload.reset(data);
        picture = pixmap;
        hotSpot = spot;
        ++drags;
    }
};

} // namespace

class MessageImageViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        useTemporarySettings();
        installDragWriters();
    }

    void outOfDatePictureIsWashedWithTheInteriorColour_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QColor>("picture");
        QTest::addColumn<int>("washed");
        QTest::newRow("light") << 0 << QColor(Qt::black) << overGrey(0.95, 0.5, 0);
        QTest::newRow("dark") << 1 << QColor(Qt::white) << overGrey(0.35, 0.5, 255);
        QTest::newRow("black") << 2 << QColor(Qt::white) << overGrey(0, 0.5, 255);
        QTest::newRow("white") << 3 << QColor(Qt::black) << overGrey(1, 0.5, 0);
        QTest::newRow("checkered") << 4 << QColor(Qt::black) << overGrey(1, 0.5, 0);
        QTest::newRow("other: no wash") << 8 << QColor(Qt::black) << 0;
    }
    void outOfDatePictureIsWashedWithTheInteriorColour()
    {
        QFETCH(int, style);
        QFETCH(QColor, picture);
        QFETCH(int, washed);
        MessageImageView view;
        view.resize(240, 240);
        view.setInteriorStyle(style);
        view.setImage(solid(60, 60, picture));
        QVERIFY(!view.isImageValid());   // the renderer has to say so
        GELCOAT_COMPARE_PIXEL(grabAtOne(view), 120, 120, grey(washed));
        view.setImageValid(true);
        GELCOAT_COMPARE_PIXEL(grabAtOne(view), 120, 120, picture);
    }

    void checkeredWashIsWhiteAtHalfStrength()
    {
        MessageImageView view;
        view.resize(240, 240);
        view.setInteriorStyle(MessageImageView::Checkered);
        const QImage shot = grabAtOne(view);
        // The cell just below right of the centre is grey (0.8) under the wash.
        GELCOAT_COMPARE_PIXEL(shot, 120, 121, grey(overGrey(1, 0.5, 204)));
        GELCOAT_COMPARE_PIXEL(shot, 120, 119, grey(255));
    }

    void headingAtTheTopAndExplanationAtTheBottomInTheContrastingColour_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("text");
        QTest::newRow("light") << 0 << 64;
        QTest::newRow("white") << 3 << 89;
        QTest::newRow("checkered") << 4 << 38;
    }
    void headingAtTheTopAndExplanationAtTheBottomInTheContrastingColour()
    {
        QFETCH(int, style);
        QFETCH(int, text);
        MessageImageView view;
        view.resize(300, 300);
        view.setInteriorStyle(style);
        QCOMPARE(view.contrastingTextColor().rgb(), grey(text).rgb());
        const QImage shot = grabAtOne(view);
        // 20 points in: the heading in the top 40 points, the explanation
        // in the bottom 70, nothing between.
        const QRect heading(20, 20, 260, 40);
        const QRect explanation(20, 210, 260, 70);
        QVERIFY(std::abs(darkestGrey(shot, heading) - text) <= 2);
        QVERIFY(std::abs(darkestGrey(shot, explanation) - text) <= 12);
        QVERIFY(darkestGrey(shot, QRect(20, 80, 260, 110)) > 150);
        QVERIFY(darkestGrey(shot, QRect(8, 20, 11, 260)) > 150);   // left margin
    }

    void tinyWellsDrawWithoutFault_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("empty") << QSize(0, 0);
        QTest::newRow("1x1") << QSize(1, 1);
        QTest::newRow("7x7") << QSize(7, 7);
        QTest::newRow("9x30") << QSize(9, 30);
    }
    void tinyWellsDrawWithoutFault()
    {
        // Interiors of no size or less than the margins: nothing to fit into.
        QFETCH(QSize, size);
        MessageImageView view;
        view.resize(size);
        view.setInteriorStyle(MessageImageView::Checkered);
        view.setShrinksIfNecessary(true);
        view.setShowsBounds(true);
        view.setShowsSize(true);
        view.setImage(solid(50, 50, Qt::red));
        grabAtOne(view);
        QVERIFY(std::isfinite(view.lastDrawnImageScaleFactor()));
        QVERIFY(view.lastDrawnImageScaleFactor() >= 1.0f);
    }

    void explanationReadsInFiveLines()
    {
        const QStringList lines = MessageImageView::bottomText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[1], QStringLiteral("gelcoating has been turned off.  Turn"));
        QCOMPARE(MessageImageView::topText(), QStringLiteral("OBSOLETE"));
    }

    void dragCarriesLzwTiffPngAndAFile()
    {
        WatchedMessageView view;
        view.resize(200, 151);
        QImage picture = solid(60, 40, QColor(200, 100, 50));
        picture.setPixelColor(0, 0, QColor(10, 20, 30, 128));
        view.setImage(picture);
        view.setEnabled(false);   // dragging out works regardless
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(view.drags, 1);
        QVERIFY(view.payload);

        const QByteArray tiff = view.payload->data(QStringLiteral("image/tiff"));
        QCOMPARE(tiffCompression(tiff), 5);
        QString error;
        const std::optional<SourcePicture> decoded = decodeTiff(tiff, &error);
        QVERIFY2(decoded, qPrintable(error));
        QCOMPARE(decoded->pixels.pixelsWide(), 60);
        QCOMPARE(decoded->pixels.pixelsHigh(), 40);
        const QImage png = QImage::fromData(view.payload->data(QStringLiteral("image/png")), "PNG");
        QCOMPARE(png.convertToFormat(QImage::Format_ARGB32), picture.convertToFormat(QImage::Format_ARGB32));

        // A file manager or a browser's upload field takes a PNG file named
        // as the well was told, in the user's cache folder.
        const QList<QUrl> urls = view.payload->urls();
        QCOMPARE(urls.size(), 1);
        const QString path = urls.first().toLocalFile();
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Gelcoat image.png"));
        QVERIFY(path.startsWith(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), view.payload->data(QStringLiteral("image/png")));
        view.setDragFileName(QStringLiteral("logo.png"));
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(100, 100));
        const QString named = view.payload->urls().value(0).toLocalFile();
        QCOMPARE(QFileInfo(named).fileName(), QStringLiteral("logo.png"));
        QVERIFY(QFile::exists(path));   // the earlier drag's file stays

        // The drag picture starts where the full-size picture would sit:
        // (70, 55) y up, so its top-left is at (70, 56) y down.
        QCOMPARE(view.imageLocation(), QPointF(70, 55));
        QCOMPARE(view.hotSpot, QPoint(30, 44));
        QCOMPARE(view.picture.size(), QSize(60, 40));
    }

    void nothingToDragWithoutAPictureOrWithAnotherButton()
    {
        WatchedMessageView view;
        view.resize(100, 100);
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(view.drags, 0);
        view.setImage(solid(10, 10, Qt::red));
        QTest::mousePress(&view, Qt::RightButton, {}, QPoint(50, 50));
        QCOMPARE(view.drags, 0);
    }

    void aMissingWriterLeavesItsTypeOut()
    {
        setDragEncoders({{}, encodeImageAsPng});
        std::unique_ptr<QMimeData> payload(makeImageDragPayload(solid(4, 4, Qt::red)));
        setDragEncoders({});
        std::unique_ptr<QMimeData> nothing(makeImageDragPayload(solid(4, 4, Qt::red)));
        installDragWriters();
        QVERIFY(payload);
        QVERIFY(!payload->hasFormat(QStringLiteral("image/tiff")));
        QVERIFY(payload->hasFormat(QStringLiteral("image/png")));
        QVERIFY(payload->urls().first().toLocalFile().endsWith(QLatin1String(".png")));
        QVERIFY(!nothing);
        QCOMPARE(dragFileName(QStringLiteral("a/b")), QStringLiteral("a-b.png"));
        QCOMPARE(dragFileName(QStringLiteral("shot.PNG")), QStringLiteral("shot.PNG"));
        QCOMPARE(dragFileName(QString()), QStringLiteral("Gelcoat image.png"));
        QVERIFY(!makeImageDragPayload(QImage()));
    }
};

QTEST_MAIN(MessageImageViewTest)
#include "tst_MessageImageView.moc"
