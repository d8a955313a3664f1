// The source well: the bug follows the mouse in image pixels and is drawn
// where it says; pictures dropped on it are taken only as copies.

#include "views/imageview/BugImageView.h"
#include "tests/qtsupport/PixelChecks.h"
#include "tests/qtsupport/TestSettings.h"

#include <QBuffer>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace gelcoat;
using gelcoat::testing::grabAtOne;
using gelcoat::testing::pngBytes;
constexpr auto solid = gelcoat::testing::solidImage;

namespace {

struct DropResult {
    bool entered = false;
    Qt::DropAction enterAction = Qt::IgnoreAction;
    bool highlighted = false;
    bool dropped = false;
};

// Sends a whole drag through the view: enter, a move, then the drop.
DropResult dragOnto(BugImageView& view, const QMimeData& data, Qt::DropActions offered)
{
    DropResult result;
    const QPointF point(view.width() / 2.0, view.height() / 2.0);
    QDragEnterEvent enter(point.toPoint(), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &enter);
    result.entered = enter.isAccepted();
    result.enterAction = enter.dropAction();
    result.highlighted = view.isDropHighlighted();
    if (!result.entered)
        return result;
    QDragMoveEvent move(point.toPoint() + QPoint(1, 1), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
    if (!move.isAccepted())
        return result;
    QDropEvent drop(point, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &drop);
    result.dropped = drop.isAccepted();
    return result;
}

} // namespace

class BugImageViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTemporarySettings(); }
    void clickSetsTheBugInImagePixels()
    {
        // A 176-pixel picture in a 100x100 well is shrunk by exactly 2.
        BugImageView view;
        view.resize(100, 100);
        view.setShrinksIfNecessary(true);
        view.setImage(solid(176, 176, Qt::white));
        grabAtOne(view);
        QCOMPARE(view.lastDrawnImageScaleFactor(), 2.0f);

        QSignalSpy moved(&view, &BugImageView::sourceBugChanged);
        // 10 points right of and 5 above the centre.
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(60, 45));
        int x = 0, y = 0;
        view.getBugXY(&x, &y);
        QCOMPARE(QPoint(x, y), QPoint(20, 10));
        QCOMPARE(moved.count(), 1);

        // Its centre is drawn 10 right and 5 above the view's centre: the
        // marker spans columns 52..67 and rows 37..52.
        const QImage shot = grabAtOne(view);
        const QImage bug(QStringLiteral(":/images/views/sourceBug.png"));
        QVERIFY(!bug.isNull());
        for (const QPoint p : {QPoint(8, 8), QPoint(4, 9), QPoint(11, 6)}) {
            const QColor expected = bug.pixelColor(p);
            QCOMPARE(expected.alpha(), 255);   // samples on the opaque marker
            GELCOAT_COMPARE_PIXEL(shot, 52 + p.x(), 37 + p.y(), expected);
        }
        GELCOAT_COMPARE_PIXEL(shot, 51, 45, QColor(Qt::white));
        GELCOAT_COMPARE_PIXEL(shot, 68, 45, QColor(Qt::white));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(60, 45));
    }

    void denseRenderingDrawsTheDoubleSizeBug()
    {
        BugImageView view;
        view.resize(100, 100);
        QImage dense(200, 200, QImage::Format_ARGB32_Premultiplied);
        dense.setDevicePixelRatio(2.0);
        dense.fill(Qt::black);
        view.render(&dense);
        // The bug covers points 42..57 both ways: device pixels 84..115.
        const QImage bug2x = QImage(QStringLiteral(":/images/views/sourceBug@2x.png")).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(bug2x.size(), QSize(32, 32));
        const QImage shot = dense.convertToFormat(QImage::Format_ARGB32);
        for (const QPoint p : {QPoint(16, 16), QPoint(13, 11), QPoint(20, 19)})
            GELCOAT_COMPARE_PIXEL(shot, 84 + p.x(), 84 + p.y(), bug2x.pixelColor(p));
    }

    void positionsTruncateTowardsZero()
    {
        BugImageView view;
        view.resize(100, 100);
        view.setImage(solid(20, 20, Qt::white));
        grabAtOne(view);
        int x = 1, y = 1;
        // 0.7 point left of and below the centre gives 0, not -1.
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(49.3, 50.7), view.mapToGlobal(QPointF(49.3, 50.7)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &press);
        view.getBugXY(&x, &y);
        QCOMPARE(QPoint(x, y), QPoint(0, 0));
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(45.5, 60.0), view.mapToGlobal(QPointF(45.5, 60.0)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &release);
        view.getBugXY(&x, nullptr);
        view.getBugXY(nullptr, &y);
        QCOMPARE(QPoint(x, y), QPoint(-4, -10));
    }

    void dragMovesTheBugAtEveryStepAnywhereInTheView()
    {
        BugImageView view;
        view.resize(100, 100);
        QSignalSpy moved(&view, &BugImageView::sourceBugChanged);
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(50, 50));
        QTest::mouseMove(&view, QPoint(95, 2));
        QMouseEvent drag(QEvent::MouseMove, QPointF(98, 1), view.mapToGlobal(QPointF(98, 1)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &drag);
        int x = 0, y = 0;
        view.getBugXY(&x, &y);
        QCOMPARE(QPoint(x, y), QPoint(48, 49));   // no clamping to the image
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(10, 90));
        view.getBugXY(&x, &y);
        QCOMPARE(QPoint(x, y), QPoint(-40, -40));
        QCOMPARE(moved.count(), 4);   // press, two moves, release

        // Other buttons leave the bug alone.
        QTest::mouseClick(&view, Qt::RightButton, {}, QPoint(70, 70));
        view.getBugXY(&x, &y);
        QCOMPARE(QPoint(x, y), QPoint(-40, -40));
        QCOMPARE(moved.count(), 4);
    }

    // The well decodes nothing itself: it hands the dropped data on, as it
    // came, and keeps showing what it showed.
    void dropsHandTheRawDataOn()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("stencil.png"));
        QVERIFY(solid(12, 34, Qt::red).save(path));
        QMimeData file;
        file.setUrls({QUrl::fromLocalFile(path)});
        QMimeData bytes;
        bytes.setData(QStringLiteral("image/tiff"), QByteArray("II*\0broken", 10));

        BugImageView view;
        view.resize(120, 120);
        const QImage before = solid(5, 5, Qt::yellow);
        view.setImage(before);
        QList<QStringList> handed;
        connect(&view, &BugImageView::dataDropped, this,
                [&](const QMimeData* data) { handed.append(data->formats()); });
        for (QMimeData* data : {&bytes, &file}) {
            const DropResult result = dragOnto(view, *data, Qt::CopyAction | Qt::LinkAction);
            QVERIFY(result.entered && result.highlighted && result.dropped);
            QCOMPARE(result.enterAction, Qt::CopyAction);
            QVERIFY(!view.isDropHighlighted());
        }
        QCOMPARE(handed, (QList<QStringList>{bytes.formats(), file.formats()}));
        QCOMPARE(view.image(), before);
    }

    void dragsWithoutCopyOrPictureAreRefused()
    {
        BugImageView view;
        view.resize(120, 120);
        QSignalSpy dropped(&view, &BugImageView::dataDropped);
        QMimeData data;
        data.setData(QStringLiteral("image/png"), pngBytes(solid(8, 8, Qt::red)));
        const DropResult result = dragOnto(view, data, Qt::MoveAction | Qt::LinkAction);
        QVERIFY(!result.entered);
        QVERIFY(!result.highlighted);
        QCOMPARE(dropped.count(), 0);

        QMimeData words;
        words.setText(QStringLiteral("not a picture"));
        QVERIFY(!dragOnto(view, words, Qt::CopyAction).entered);
    }

    void leavingClearsTheHighlight()
    {
        BugImageView view;
        view.resize(120, 120);
        QMimeData data;
        data.setData(QStringLiteral("image/png"), pngBytes(solid(8, 8, Qt::red)));
        QDragEnterEvent enter(QPoint(60, 60), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &enter);
        QVERIFY(view.isDropHighlighted());
        QDragLeaveEvent leave;
        QApplication::sendEvent(&view, &leave);
        QVERIFY(!view.isDropHighlighted());
        QVERIFY(view.image().isNull());
    }
};

QTEST_MAIN(BugImageViewTest)
#include "tst_BugImageView.moc"
