// Every way a picture is turned away, seen in the window's alert: the exact
// "Incompatible image" texts with the precise reason beneath them, in the
// words gelcoat-render prints; and an SVG logo taken in as a stencil.

#include "tests/window/WindowTestSupport.h"
#include "tests/support/IsolatedSettings.h"

#include "document/intake/StencilIntake.h"
#include "document/settings/Preferences.h"
#include "tests/qtsupport/ModalAnswerer.h"
#include "tests/qtsupport/Screenshot.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include <tiffio.h>

#include <functional>
#include <memory>

using namespace gelcoat;

namespace {

// A TIFF written by libtiff with the tags setUp gives each page.
QByteArray tiffFile(int pages, const std::function<void(TIFF*)>& setUp, int samples)
{
    QTemporaryDir dir;
    const QByteArray name = QFile::encodeName(dir.filePath(QStringLiteral("t.tif")));
    TIFF* tif = TIFFOpen(name.constData(), "w");
    for (int page = 0; page < pages; ++page) {
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 2);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 1);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        setUp(tif);
        unsigned char row[8] = {};
        uint16_t planar = PLANARCONFIG_CONTIG;
        TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
        for (int plane = 0; plane < (planar == PLANARCONFIG_SEPARATE ? samples : 1); ++plane)
            TIFFWriteScanline(tif, row, 0, uint16_t(plane));
        TIFFWriteDirectory(tif);
    }
    TIFFClose(tif);
    QFile file(QFile::decodeName(name));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QByteArray jpeg()
{
    QImage image(32, 32, QImage::Format_RGB888);
    image.fill(Qt::gray);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

// An uncompressed 2 × 2 true-colour TGA, as old writers leave it: no
// version-2 footer.
QByteArray tgaWithoutFooter()
{
    QByteArray header(18, '\0');
    header[2] = 2;                     // uncompressed true colour
    header[12] = 2, header[14] = 2;    // 2 × 2
    header[16] = 24;                   // bits per pixel
    return header + QByteArray(12, '\x40');
}

const QByteArray kLogo =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 120 80\">"
    "<defs><linearGradient id=\"g\" x2=\"1\" y2=\"1\"><stop offset=\"0\" stop-color=\"#1a8cff\"/>"
    "<stop offset=\"1\" stop-color=\"#7a1fd6\"/></linearGradient></defs>"
    "<path d=\"M10 40 C10 10 50 10 60 40 S110 70 110 40 C110 10 70 10 60 40 S10 70 10 40 Z\" "
    "fill=\"url(#g)\"/><circle cx=\"60\" cy=\"40\" r=\"9\" fill=\"#ffb000\"/></svg>";

} // namespace

class IntakeRefusalsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::IsolatedSettings> settings_;
    std::unique_ptr<TintDocumentWindow> window_;
    std::unique_ptr<ModalAnswerer> answerer_;

    TintDocument& doc() { return window_->document(); }

    void paste(const QString& type, const QByteArray& bytes)
    {
        auto* data = new QMimeData;
        data->setData(type, bytes);
        QApplication::clipboard()->setMimeData(data);
        test::command(*window_, "paste").trigger();
        QVERIFY(waitUntil([this] { return answerer_->pending() == 0; }));
        QTest::qWait(20);
    }

private slots:
    void initTestCase()
    {
        settings_ = std::make_unique<test::IsolatedSettings>("IntakeRefusals");
        QVERIFY(test::showNewWindow(window_));
        QTRY_VERIFY(doc().resultIsCurrent());
        answerer_ = std::make_unique<ModalAnswerer>();
    }

    void cleanupTestCase()
    {
        answerer_.reset();
        window_.reset();
    }

    void refusalsSayWhy_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("pages") << "image/tiff" << tiffFile(2, [](TIFF* t) {
            TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        }, 1) << "several pages (2); a stencil is exactly one picture";
        QTest::newRow("planar") << "image/tiff" << tiffFile(1, [](TIFF* t) {
            TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
            TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_SEPARATE);
        }, 3) << "planar samples (each colour stored apart)";
        QTest::newRow("cmyk") << "image/tiff" << tiffFile(1, [](TIFF* t) {
            TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 4);
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED);
        }, 4) << "a colour model other than RGB or grey (CMYK, Lab or floating-point samples)";
        QTest::newRow("shallow") << "image/tiff" << tiffFile(1, [](TIFF* t) {
            TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 4);
            TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        }, 1) << "4-bit samples without alpha";
        QTest::newRow("pdf") << "image/pdf"
                             << QByteArray("%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\n")
                             << "a PDF is a vector picture";
        QTest::newRow("truncated") << "image/jpeg" << jpeg().left(200)
                                   << "damaged: the file ends early (the JPEG data stops before "
                                      "the picture does)";
        QTest::newRow("tga") << "image/x-tga" << tgaWithoutFooter()
                             << "The data is not in a picture format Gelcoat reads, or is damaged.";
    }

    void refusalsSayWhy()
    {
        QFETCH(QString, type);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        test::takeSimpleStencil(doc(), 10);
        doc().clearChangeCount();
        const qsizetype seen = answerer_->seen().size();
        answerer_->answer(QStringLiteral("OK"));
        paste(type, bytes);
        QCOMPARE(answerer_->seen().size(), seen + 1);
        const SeenPanel& alert = answerer_->seen().last();
        QCOMPARE(alert.text, incompatibleImageTitle());
        QCOMPARE(alert.informativeText, incompatibleImageMessage() + "\n\n" + reason);
        QVERIFY(!alert.informativeText.contains(QStringLiteral("ICO")));
        QVERIFY(!doc().isDocumentEdited());
        QCOMPARE(doc().sourceImage()->pixelsWide(), 10);
    }

    // Pasted as a browser or a drawing program offers it: drawn with its
    // longer side at the preference, kept with its transparency.
    void svgLogoBecomesTheStencil()
    {
        Preferences::shared().setVectorSide(360);
        paste(QStringLiteral("image/svg+xml"), kLogo);
        QCOMPARE(answerer_->unexpectedCount(), 0);
        QCOMPARE(doc().sourceImage()->pixelsWide(), 360);
        QCOMPARE(doc().sourceImage()->pixelsHigh(), 240);
        QVERIFY(!doc().sourceImageIsSimple());
        QTRY_VERIFY(doc().resultIsCurrent());
        QVERIFY(!saveScreenshot(window_.get(), QStringLiteral("svg-logo")).isEmpty());
        Preferences::shared().setVectorSide(kDefaultVectorSide);
    }
};

QTEST_MAIN(IntakeRefusalsTest)
#include "tst_IntakeRefusals.moc"
