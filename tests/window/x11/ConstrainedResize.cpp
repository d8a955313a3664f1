// The document window on a real X server with no window manager, where a
// resize reaches the server and comes back as the server's answer: a size
// off the line ends on it.  Runs under xvfb-run; skips without a display.

#include "window/TintDocumentWindow.h"
#include "tests/support/IsolatedSettings.h"

#include <QApplication>
#include <QtTest>

using namespace gelcoat;

class ConstrainedResizeTest : public QObject {
    Q_OBJECT

private slots:
    void aProgrammaticResizeEndsOnTheLine()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("No X server: run under xvfb-run");
        test::IsolatedSettings settings("ConstrainedResizeTests");
        TintDocumentWindow window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* area = window.centralWidget();
        QTRY_COMPARE(area->size(), QSize(686, 574));

        window.resize(1000, 574);
        QTRY_COMPARE(area->size(), QSize(842, 652));
        QTRY_COMPARE(window.windowHandle()->geometry().size(), QSize(842, 652));
    }
};

int main(int argc, char** argv)
{
    const bool display = !qEnvironmentVariableIsEmpty("DISPLAY");
    qputenv("QT_QPA_PLATFORM", display ? "xcb" : "offscreen");
    QApplication app(argc, argv);
    ConstrainedResizeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ConstrainedResize.moc"
