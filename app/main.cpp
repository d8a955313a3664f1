// gelcoat: the desktop application.

#include "delegate/AppDelegate.h"
#include "windows/DocumentWindows.h"

#include "DragTiffEncoder.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    gelcoat::AppDelegate::setUpApplication();
    gelcoat::installDragTiffEncoder();
    gelcoat::AppDelegate delegate;
    delegate.setDocumentWindowFactory(gelcoat::newDocumentWindow);

    if (!delegate.applicationWillFinishLaunching())
        return 0;
    if (delegate.applicationShouldOpenUntitledFile())
        delegate.newDocument();
    // Once the loop turns, so that the window is up before any question.
    QTimer::singleShot(0, &delegate, &gelcoat::AppDelegate::applicationDidFinishLaunching);
    return app.exec();
}
