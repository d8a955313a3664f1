// The image well's drawing: frame and bevel, interiors, checkerboard anchor,
// placement and shrinking, bounds frame, inner shadow and size label.

#include "views/imageview/GelcoatImageView.h"
#include "tests/qtsupport/PixelChecks.h"
#include "tests/qtsupport/TestSettings.h"

#include <QtTest>

using namespace gelcoat;
using gelcoat::testing::darkestGrey;
using gelcoat::testing::grabAtOne;
constexpr auto solid = gelcoat::testing::solidImage;
using gelcoat::testing::grey;
using gelcoat::testing::overGrey;

namespace {

// White levels as 8-bit greys.
int level(double white) { return int(std::lround(white * 255.0)); }

} // namespace

class GelcoatImageViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTemporarySettings(); }
    void frameAndBevelSitInsideTheBounds()
    {
        GelcoatImageView view;
        view.resize(100, 80);
        const QImage shot = grabAtOne(view);
        GELCOAT_COMPARE_PIXEL(shot, 0, 40, grey(level(0.85)));
        GELCOAT_COMPARE_PIXEL(shot, 1, 40, grey(255));
        GELCOAT_COMPARE_PIXEL(shot, 2, 40, grey(255));
        GELCOAT_COMPARE_PIXEL(shot, 99, 40, grey(level(0.85)));
        GELCOAT_COMPARE_PIXEL(shot, 50, 79, grey(level(0.85)));
        // Bevel, three points in: dark top row, lighter sides, lightest bottom.
        GELCOAT_COMPARE_PIXEL(shot, 50, 3, grey(level(0.45)));
        GELCOAT_COMPARE_PIXEL(shot, 3, 4, grey(level(0.6)));
        GELCOAT_COMPARE_PIXEL(shot, 96, 4, grey(level(0.6)));
        GELCOAT_COMPARE_PIXEL(shot, 3, 40, grey(level(0.72)));
        GELCOAT_COMPARE_PIXEL(shot, 96, 40, grey(level(0.72)));
        GELCOAT_COMPARE_PIXEL(shot, 50, 76, grey(level(0.86)));
    }

    void interiorStylesPaintTheirBackground_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("centre");
        QTest::newRow("light") << 0 << level(0.95);
        QTest::newRow("dark") << 1 << level(0.35);
        QTest::newRow("black") << 2 << 0;
        QTest::newRow("white") << 3 << 255;
    }
    void interiorStylesPaintTheirBackground()
    {
        QFETCH(int, style);
        QFETCH(int, centre);
        GelcoatImageView view;
        view.resize(60, 60);
        view.setInteriorStyle(style);
        GELCOAT_COMPARE_PIXEL(grabAtOne(view), 30, 30, grey(centre));
    }

    void unknownStylePaintsNoBackgroundButTheRest()
    {
        GelcoatImageView view;
        view.resize(60, 60);
        view.setInteriorStyle(7);
        view.setImage(solid(10, 10, Qt::red));
        QImage shot(60, 60, QImage::Format_ARGB32);
        shot.fill(Qt::transparent);
        view.render(&shot, {}, {}, QWidget::RenderFlags());   // no window background
        QCOMPARE(qAlpha(shot.pixel(15, 40)), 0);   // nothing painted there
        GELCOAT_COMPARE_PIXEL(shot, 0, 30, grey(level(0.85)));
        GELCOAT_COMPARE_PIXEL(shot, 30, 30, QColor(Qt::red));
        QVERIFY(qAlpha(shot.pixel(30, 4)) > 0);   // the inner shadow's top row
    }

    void checkerboardIsAnchoredAtTheFlooredCentre_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("even") << QSize(100, 100);
        QTest::newRow("odd width") << QSize(101, 80);
        QTest::newRow("odd height") << QSize(90, 77);
        QTest::newRow("both odd") << QSize(123, 95);
    }
    void checkerboardIsAnchoredAtTheFlooredCentre()
    {
        QFETCH(QSize, size);
        GelcoatImageView view;
        view.resize(size);
        view.setInteriorStyle(GelcoatImageView::Checkered);
        const QImage shot = grabAtOne(view);
        const int h = size.height();
        // Centre of the interior, y up, floored.
        const int cx = int(std::floor(4 + (size.width() - 8) * 0.5));
        const int cy = int(std::floor(4 + (h - 8) * 0.5));
        const auto qtRow = [h](int yUp) { return h - 1 - yUp; };
        const QColor light = grey(255);
        const QColor dark = grey(level(0.8));
        // The cell up and to the right of the centre is white, its
        // neighbours grey, the one diagonally below left white again.
        GELCOAT_COMPARE_PIXEL(shot, cx, qtRow(cy), light);
        GELCOAT_COMPARE_PIXEL(shot, cx + 7, qtRow(cy + 7), light);
        GELCOAT_COMPARE_PIXEL(shot, cx + 8, qtRow(cy), dark);
        GELCOAT_COMPARE_PIXEL(shot, cx - 1, qtRow(cy), dark);
        GELCOAT_COMPARE_PIXEL(shot, cx, qtRow(cy - 1), dark);
        GELCOAT_COMPARE_PIXEL(shot, cx, qtRow(cy + 8), dark);
        GELCOAT_COMPARE_PIXEL(shot, cx - 1, qtRow(cy - 1), light);
        GELCOAT_COMPARE_PIXEL(shot, cx - 16, qtRow(cy - 16), light);
        GELCOAT_COMPARE_PIXEL(shot, cx - 9, qtRow(cy + 8), dark);
    }

    void shrinkingFitsALargeImageWithATwoPointMargin()
    {
        // A 100x100 view has a 92x92 interior; 200x100 shrinks by 200/88.
        GelcoatImageView view;
        view.resize(100, 100);
        view.setInteriorStyle(GelcoatImageView::White);
        view.setShrinksIfNecessary(true);
        view.setImage(solid(200, 100, Qt::red));
        const QImage shot = grabAtOne(view);
        QCOMPARE(view.lastDrawnImageScaleFactor(), 200.0f / 88.0f);
        // Drawn 88x44 at interior x + 2 and, y up, interior y + 24: rows 28..71.
        // The inner shadow's faint side frames lie over the image's edges.
        GELCOAT_COMPARE_PIXEL(shot, 6, 50, QColor(overGrey(1, 0.99, 0), 0, 0));
        GELCOAT_COMPARE_PIXEL(shot, 93, 50, QColor(overGrey(1, 0.99, 0), 0, 0));
        GELCOAT_COMPARE_PIXEL(shot, 5, 50, QColor(overGrey(0, 0.03, 255), overGrey(0, 0.03, 255), overGrey(0, 0.03, 255)));
        GELCOAT_COMPARE_PIXEL(shot, 50, 28, QColor(Qt::red));
        GELCOAT_COMPARE_PIXEL(shot, 50, 71, QColor(Qt::red));
        GELCOAT_COMPARE_PIXEL(shot, 50, 27, grey(255));
        GELCOAT_COMPARE_PIXEL(shot, 50, 72, grey(255));
        GELCOAT_COMPARE_PIXEL(shot, 94, 50, grey(overGrey(0, 0.03, 255)));

        // 88x88 fits exactly and is drawn at full size.
        view.setImage(solid(88, 88, Qt::blue));
        grabAtOne(view);
        QCOMPARE(view.lastDrawnImageScaleFactor(), 1.0f);
    }

    void centringFloorsUpwardsFromTheBottom()
    {
        // Interior 92x93: the spare 83 rows split 41 below and 42 above.
        GelcoatImageView view;
        view.resize(100, 101);
        view.setInteriorStyle(GelcoatImageView::White);
        view.setImage(solid(10, 10, Qt::red));
        const QImage shot = grabAtOne(view);
        GELCOAT_COMPARE_PIXEL(shot, 50, 45, grey(255));
        GELCOAT_COMPARE_PIXEL(shot, 50, 46, QColor(Qt::red));
        GELCOAT_COMPARE_PIXEL(shot, 50, 55, QColor(Qt::red));
        GELCOAT_COMPARE_PIXEL(shot, 50, 56, grey(255));
    }

    void withoutShrinkingAnOversizedImageIsCentredAndClipped()
    {
        GelcoatImageView view;
        view.resize(100, 100);
        view.setShrinksIfNecessary(true);
        view.setImage(solid(300, 300, Qt::red));
        grabAtOne(view);
        QVERIFY(view.lastDrawnImageScaleFactor() > 3.0f);
        view.setShrinksIfNecessary(false);
        const QImage shot = grabAtOne(view);
        QCOMPARE(view.lastDrawnImageScaleFactor(), 1.0f);
        GELCOAT_COMPARE_PIXEL(shot, 50, 50, QColor(Qt::red));
        GELCOAT_COMPARE_PIXEL(shot, 3, 50, grey(level(0.72)));   // bevel untouched
        GELCOAT_COMPARE_PIXEL(shot, 2, 50, grey(255));
    }

    void boundsFrameTakesTheStyleColoursOutsideTheImage_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<double>("inner");
        QTest::addColumn<double>("outer");
        QTest::newRow("light") << 0 << 0.25 << 0.65;
        QTest::newRow("dark") << 1 << 0.9 << 0.55;
        QTest::newRow("black") << 2 << 0.65 << 0.25;
        QTest::newRow("white") << 3 << 0.35 << 0.75;
        QTest::newRow("checkered") << 4 << 0.35 << 0.65;
        QTest::newRow("other") << 9 << 0.25 << 0.65;
    }
    void boundsFrameTakesTheStyleColoursOutsideTheImage()
    {
        QFETCH(int, style);
        QFETCH(double, inner);
        QFETCH(double, outer);
        GelcoatImageView view;
        view.resize(100, 100);
        view.setInteriorStyle(style);
        view.setShowsBounds(true);
        view.setImage(solid(40, 40, Qt::red));   // drawn at 30..69 both ways
        const QImage shot = grabAtOne(view);
        GELCOAT_COMPARE_PIXEL(shot, 30, 50, QColor(Qt::red));
        GELCOAT_COMPARE_PIXEL(shot, 29, 50, grey(level(inner)));
        GELCOAT_COMPARE_PIXEL(shot, 28, 50, grey(level(outer)));
        GELCOAT_COMPARE_PIXEL(shot, 50, 70, grey(level(inner)));
        GELCOAT_COMPARE_PIXEL(shot, 50, 71, grey(level(outer)));
        GELCOAT_COMPARE_PIXEL(shot, 70, 70, grey(level(inner)));
    }

    void innerShadowDarkensTheTopMostAndTheBottomLeast()
    {
        GelcoatImageView view;
        view.resize(80, 80);
        view.setInteriorStyle(GelcoatImageView::White);
        const QImage shot = grabAtOne(view);
        // Top rows of the interior (y = 4, 5, 6, 7 ...).
        GELCOAT_COMPARE_PIXEL(shot, 40, 4, grey(overGrey(0, 0.31, 255)));
        GELCOAT_COMPARE_PIXEL(shot, 40, 5, grey(overGrey(0, 0.17, 255)));
        GELCOAT_COMPARE_PIXEL(shot, 40, 6, grey(overGrey(0, 0.09, 255)));
        GELCOAT_COMPARE_PIXEL(shot, 40, 7, grey(overGrey(0, 0.06, 255)));
        // Sides, half way down: 0.09, then frames of 0.03, 0.01, 0.005.
        GELCOAT_COMPARE_PIXEL(shot, 4, 40, grey(overGrey(0, 0.09, 255)));
        GELCOAT_COMPARE_PIXEL(shot, 75, 40, grey(overGrey(0, 0.09, 255)));
        GELCOAT_COMPARE_PIXEL(shot, 5, 40, grey(overGrey(0, 0.03, 255)));
        GELCOAT_COMPARE_PIXEL(shot, 6, 40, grey(overGrey(0, 0.01, 255)));
        // Bottom rows: the frames only.
        GELCOAT_COMPARE_PIXEL(shot, 40, 75, grey(overGrey(0, 0.03, 255)));
        GELCOAT_COMPARE_PIXEL(shot, 40, 74, grey(overGrey(0, 0.01, 255)));
        GELCOAT_COMPARE_PIXEL(shot, 40, 40, grey(255));
    }

    void sizeLabelSitsEightPointsFromTheBottomCorner()
    {
        GelcoatImageView view;
        view.resize(200, 200);
        view.setShowsSize(true);
        view.setImage(solid(128, 128, Qt::red));
        QImage shot = grabAtOne(view);
        const int interior = level(0.95);
        const QColor rim = grey(overGrey(0, 0.3, interior));
        const QColor fill(240, 245, 255);
        // Bottom right: the frame's last column and row 8 points in.
        GELCOAT_COMPARE_PIXEL(shot, 191, 191, rim);
        GELCOAT_COMPARE_PIXEL(shot, 190, 190, fill);
        GELCOAT_COMPARE_PIXEL(shot, 192, 185, grey(overGrey(0, 0.09, interior)));
        GELCOAT_COMPARE_PIXEL(shot, 185, 192, grey(overGrey(0, 0.15, interior)));
        GELCOAT_COMPARE_PIXEL(shot, 8, 191, grey(interior));

        // The text is there: dark pixels inside the label.
        const int darkest = darkestGrey(shot, QRect(150, 180, 40, 10));
        QVERIFY2(darkest < 100, qPrintable(QString::number(darkest)));

        view.setShowsSizeOnLeft(true);
        shot = grabAtOne(view);
        GELCOAT_COMPARE_PIXEL(shot, 8, 191, rim);
        GELCOAT_COMPARE_PIXEL(shot, 9, 190, fill);
        GELCOAT_COMPARE_PIXEL(shot, 7, 185, grey(overGrey(0, 0.09, interior)));
        GELCOAT_COMPARE_PIXEL(shot, 191, 191, grey(interior));
    }

    void withoutAnImageNoLabelOrBoundsAreDrawn()
    {
        GelcoatImageView view;
        view.resize(100, 100);
        view.setShowsSize(true);
        view.setShowsBounds(true);
        const QImage shot = grabAtOne(view);
        GELCOAT_COMPARE_PIXEL(shot, 91, 91, grey(level(0.95)));
        GELCOAT_COMPARE_PIXEL(shot, 49, 49, grey(level(0.95)));
        QCOMPARE(view.lastDrawnImageScaleFactor(), 1.0f);
    }
};

QTEST_MAIN(GelcoatImageViewTest)
#include "tst_GelcoatImageView.moc"
