// The document window on the desktop: its form laid out at every size, the
// one line of sizes it keeps to, zooming, the frame it saves for the next
// window, the cascade of new windows, and the tooltips that every window
// drops and takes back as the preference changes.  On a 1440 x 900 screen,
// with a menu bar 24 pixels high.

#include "tests/window/WindowTestSupport.h"
#include "tests/support/IsolatedSettings.h"

#include "window/LiveLayout.h"
#include "tests/qtsupport/Screenshot.h"
#include "document/settings/Preferences.h"
#include "document/settings/UserDefaults.h"
#include "ui_TintDocument.h"

#include <QApplication>
#include <QMenuBar>
#include <QSettings>
#include <QtTest>

#include <memory>
#include <utility>

using namespace gelcoat;

namespace {

constexpr int kMenuBarHeight = 24;
const QString kFrameKey = QStringLiteral("GelcoatDocument");

using Window = std::unique_ptr<TintDocumentWindow>;

Window openWindow()
{
    auto window = std::make_unique<TintDocumentWindow>();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    auto* bar = new QMenuBar(window.get());
    bar->addMenu(QStringLiteral("File"));
    bar->setFixedHeight(kMenuBarHeight);
    window->setMenuBar(bar);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    return window;
}

QSize areaSize(const TintDocumentWindow& window) { return window.centralWidget()->size(); }

QString savedFrame()
{
    return UserDefaults::standard().objectForKey(kFrameKey).toString();
}

// Every control where the rules put a form of its own for the area's
// size; the first that is not, or an empty string.
QString misplacedControl(TintDocumentWindow& window)
{
    QWidget* area = window.centralWidget();
    QWidget fresh;
    Ui::TintDocument form;
    form.setupUi(&fresh);
    LiveLayout layout(fresh);
    fresh.resize(area->size());
    layout.place();
    for (const QWidget* expected : fresh.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (area->findChild<QWidget*>(expected->objectName())->geometry() != expected->geometry())
            return expected->objectName();
    return {};
}

int widgetsWithTooltips(QWidget& window)
{
    int count = 0;
    for (const QWidget* w : window.findChildren<QWidget*>())
        count += !w->toolTip().isEmpty();
    return count;
}

} // namespace

class WindowResizingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::IsolatedSettings> settings_;

private slots:
    void initTestCase()
    {
        settings_ = std::make_unique<test::IsolatedSettings>("WindowResizingTests");
        // Before the first window of the process, which fills the tooltip
        // store all the same.
        Preferences::shared().setShowTooltips(false);
    }

    // First, while no window of the process has placed itself.
    void newWindowsCascadeFromTheSavedFrame()
    {
        UserDefaults::standard().setString(kFrameKey, QStringLiteral("100 80 842 676"));
        Window first = openWindow();
        QVERIFY(first);
        QCOMPARE(first->geometry(), QRect(100, 80, 842, 676));
        QCOMPARE(areaSize(*first), QSize(842, 652));

        // Every control where the rule puts it, measured from the top for
        // the wells, from the bottom for the fixed rows.
        QCOMPARE(misplacedControl(*first), QString());
        Ui::TintDocument& f = first->form();
        QCOMPARE(f.destImageWell->geometry(), QRect(396 + 78, 12, 276 + 78, 268 + 78));
        QCOMPARE(f.oneQuarterStaticText->x(), 481 + 97);
        QCOMPARE(f.contrastStaticText->y(), 574 - 26 - 22 + 78);

        Window second = openWindow();
        QVERIFY(second);
        QCOMPARE(second->pos(), first->pos() + QPoint(22, 22));
        QCOMPARE(second->size(), first->size());

        // A move saves the frame and takes the cascade along.
        first->move(300, 150);
        const QRect moved = first->geometry();
        QCOMPARE(savedFrame(), QStringLiteral("%1 %2 842 676").arg(moved.x()).arg(moved.y()));
        Window third = openWindow();
        QVERIFY(third);
        QCOMPARE(third->pos(), QPoint(322, 172));
        QCOMPARE(third->geometry().size(), QSize(842, 676));

        // A frame no screen shows keeps its size and leaves the place to
        // the window system; a damaged one, or one larger than any screen
        // (saved at a smaller scale factor), is ignored.
        UserDefaults::standard().setString(kFrameKey, QStringLiteral("5000 4000 912 711"));
        QCOMPARE(openWindow()->size(), QSize(912, 711));
        for (const QString& ignored : {QStringLiteral("0 0 1e9 -1"), QStringLiteral("0 0 2060 1530")}) {
            UserDefaults::standard().setString(kFrameKey, ignored);
            QCOMPARE(areaSize(*openWindow()), QSize(686, 574));
        }
    }

    void resizesAlongTheLine()
    {
        QSettings().remove(kFrameKey);
        Window window = openWindow();
        QVERIFY(window);
        QCOMPARE(areaSize(*window), QSize(686, 574));
        saveScreenshot(window.get(), QStringLiteral("window-base-size"));

        // Off the line, then below the smallest size.
        for (const auto& [proposed, settled] : {std::pair{QSize(1000, 574), QSize(842, 652)},
                                                std::pair{QSize(600, 500), QSize(666, 564)}}) {
            window->resize(proposed + QSize(0, kMenuBarHeight));
            QTRY_COMPARE(areaSize(*window), settled);
            QCOMPARE(misplacedControl(*window), QString());
            const QRect g = window->geometry();
            QCOMPARE(savedFrame(), QStringLiteral("%1 %2 %3 %4")
                                       .arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height()));
        }

        // A simple stencil's rows are widened after the layout, not undone by it.
        QVERIFY(test::takeSimpleStencil(window->document()));
        window->resize(1000, 574 + kMenuBarHeight);
        QTRY_COMPARE(areaSize(*window), QSize(842, 652));
        const Ui::TintDocument& f = window->form();
        QCOMPARE(f.hueSlider->width(), f.contrastSlider->width());
        QVERIFY(f.useOriginalSaturationButton->isHidden());
        window->document().takeMossStencil();
        saveScreenshot(window.get(), QStringLiteral("window-1000-wide"));
    }

    void zoomsInsteadOfMaximizing()
    {
        QSettings().remove(kFrameKey);
        Window window = openWindow();
        QVERIFY(window);
        const QRect before = window->geometry();

        // The available 1440 x 900 less the frame's 2 pixels a side and the
        // menu bar: 1436 x 872, which the line cuts to 1282 wide.
        window->showMaximized();
        QTRY_VERIFY(!window->isMaximized() && areaSize(*window) == QSize(1282, 872));
        QCOMPARE(window->geometry(), QRect(2, 2, 1282, 872 + kMenuBarHeight));
        QCOMPARE(misplacedControl(*window), QString());
        saveScreenshot(window.get(), QStringLiteral("window-zoomed"));

        // Zooming the zoomed window gives back the frame before.
        window->showMaximized();
        QTRY_VERIFY(!window->isMaximized() && window->geometry() == before);
        QCOMPARE(areaSize(*window), QSize(686, 574));
    }

    void tooltipsFollowThePreferenceInEveryWindow()
    {
        // The texts of the window description, from a form of its own.
        QWidget reference;
        Ui::TintDocument described;
        described.setupUi(&reference);

        Window first = openWindow();
        Window second = openWindow();
        QVERIFY(first && second);
        for (TintDocumentWindow* window : {first.get(), second.get()}) {
            QCOMPARE(widgetsWithTooltips(*window), 0);
            QCOMPARE(window->form().shadowCircle->accessibleDescription(),
                     described.shadowCircle->toolTip());
        }

        Preferences::shared().setShowTooltips(true);
        Window third = openWindow();
        for (TintDocumentWindow* window : {first.get(), second.get(), third.get()}) {
            QCOMPARE(widgetsWithTooltips(*window), widgetsWithTooltips(reference));
            QCOMPARE(window->form().destActionButton->toolTip(),
                     described.destActionButton->toolTip());
        }

        Preferences::shared().setShowTooltips(false);
        for (TintDocumentWindow* window : {first.get(), second.get(), third.get()})
            QCOMPARE(widgetsWithTooltips(*window), 0);
    }
};

int main(int argc, char** argv)
{
    // The offscreen screen, as large as a laptop's.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" GELCOAT_WIDE_SCREEN);
    QApplication app(argc, argv);
    WindowResizingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_WindowResizing.moc"
