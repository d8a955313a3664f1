// The rainbow strip's columns and the pop-up image button's menu placement,
// highlight and colours.

#include "views/controls/KPImagePopUpMenuButton.h"
#include "views/controls/KPRainbowStrip.h"
#include "views/resources/ViewImages.h"
#include "tests/qtsupport/PixelChecks.h"
#include "tests/qtsupport/TestSettings.h"

#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

using namespace gelcoat;
using gelcoat::testing::grabAtOne;

class RainbowStripAndPopUpButtonTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTemporarySettings(); }
    void stripRunsOnceRoundTheHueCircle()
    {
        KPRainbowStrip strip;
        strip.resize(360, 6);
        const QImage shot = grabAtOne(strip);
        GELCOAT_COMPARE_PIXEL(shot, 0, 0, QColor(255, 0, 0));
        GELCOAT_COMPARE_PIXEL(shot, 60, 5, QColor(255, 255, 0));
        GELCOAT_COMPARE_PIXEL(shot, 120, 3, QColor(0, 255, 0));
        GELCOAT_COMPARE_PIXEL(shot, 240, 3, QColor(0, 0, 255));
        GELCOAT_COMPARE_PIXEL(shot, 330, 3, QColor(255, 0, 128));
        // Just short of red again at the right edge.
        GELCOAT_COMPARE_PIXEL(shot, 359, 3, QColor(255, 0, 4));
        QVERIFY(strip.testAttribute(Qt::WA_OpaquePaintEvent));
    }

    void mirroredMenuEndsAtTheButtonsRightEdge()
    {
        // The widest title measuring 57.3 puts the menu 100 points left of
        // the button's right edge.
        QCOMPARE(mirroredMenuShift({12.0, 57.3, 40.5}, 30), 30 - 100);
        QCOMPARE(mirroredMenuShift({57.0}, 30), 30 - 99);
        QCOMPARE(mirroredMenuShift({}, 30), 30 - 42);
    }

    void gearFollowsThePalette()
    {
        const QImage gear = viewImage(QStringLiteral("views"), QStringLiteral("actionMenu"), 1.0);
        QVERIFY(!gear.isNull());
        // The darkest opaque pixel of the drawing: the gear's metal.
        QPoint metal;
        int darkest = 256;
        for (int y = 0; y < gear.height(); ++y)
            for (int x = 0; x < gear.width(); ++x)
                if (qAlpha(gear.pixel(x, y)) == 255 && qGray(gear.pixel(x, y)) < darkest) {
                    darkest = qGray(gear.pixel(x, y));
                    metal = QPoint(x, y);
                }
        const QColor lightWindow(236, 236, 236);
        const QColor darkWindow(50, 50, 52);
        const QImage onLight = pictureInPalette(gear, Qt::black, lightWindow);
        const QImage onDark = pictureInPalette(gear, QColor(228, 228, 228), darkWindow);
        QVERIFY(qAbs(qGray(onLight.pixel(metal)) - darkest) < 8);
        QVERIFY(qGray(onDark.pixel(metal)) > 170);
        QCOMPARE(qAlpha(onDark.pixel(metal)), 255);
        QCOMPARE(qAlpha(onDark.pixel(0, 0)), qAlpha(gear.pixel(0, 0)));

        // The button draws it so in a dark window.
        QWidget window;
        QPalette dark = window.palette();
        dark.setColor(QPalette::Window, darkWindow);
        dark.setColor(QPalette::WindowText, QColor(228, 228, 228));
        window.setPalette(dark);
        window.setAutoFillBackground(true);
        window.resize(40, 30);
        KPImagePopUpMenuButton popUp(&window);
        popUp.setImageName(QStringLiteral("actionMenu"));
        popUp.setGeometry(5, 4, 30, 22);
        const QImage shot = grabAtOne(window);
        int lightest = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                lightest = qMax(lightest, qGray(shot.pixel(x, y)));
        QVERIFY2(lightest > 170, qPrintable(QString::number(lightest)));
    }

    void menuPopsUpOnPressBelowTheButton_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QString>("imageName");
        QTest::newRow("left") << Qt::LeftButton << QStringLiteral("actionGear");
        QTest::newRow("right") << Qt::RightButton << QStringLiteral("actionGear");
        QTest::newRow("left, mirrored") << Qt::LeftButton << QStringLiteral("actionGearmirror");
    }
    void menuPopsUpOnPressBelowTheButton()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QString, imageName);
        QWidget window;
        window.resize(300, 200);
        window.move(200, 150);
        KPImagePopUpMenuButton popUp(&window);
        popUp.setGeometry(150, 40, 30, 22);
        popUp.setImageName(imageName);
        QMenu menu;
        menu.addAction(QStringLiteral("Copy"));
        QAction* longest = menu.addAction(QStringLiteral("Paste the picture"));
        popUp.setMenu(&menu);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy clicked(&popUp, &QAbstractButton::clicked);

        QTest::mousePress(&popUp, button, {}, QPoint(10, 10));
        QTRY_VERIFY(menu.isVisible());
        QVERIFY(popUp.isDown());

        // The menu's top-left is 25 points below the button's origin.
        const QPoint origin = popUp.mapToGlobal(QPoint(0, 0));
        int expectedX = origin.x();
        if (imageName.contains(QLatin1String("mirror"))) {
            const QFontMetricsF metrics(menu.font());
            expectedX += mirroredMenuShift({metrics.horizontalAdvance(longest->text())}, popUp.width());
        }
        QCOMPARE(menu.pos(), QPoint(expectedX, origin.y() + 25));
        QCOMPARE(popUp.menuPosition(), menu.pos());

        menu.hide();   // closing the menu removes the highlight
        QVERIFY(!popUp.isDown());
        QTest::mouseRelease(&popUp, button, {}, QPoint(10, 10));
        QCOMPARE(clicked.count(), 0);   // only the menu's items act
    }
};

QTEST_MAIN(RainbowStripAndPopUpButtonTest)
#include "tst_RainbowStripAndPopUpButton.moc"
