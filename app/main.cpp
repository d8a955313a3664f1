// gelcoat: the desktop application.

#include "app/delegate/AppDelegate.h"
#include "app/documents/SingleInstance.h"
#include "app/startup/Utf8Locale.h"
#include "app/windows/DocumentWindows.h"

#include "window/export/DragWriters.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

int main(int argc, char** argv)
{
    gelcoat::useUtf8CharacterTypes();
    QApplication app(argc, argv);
    gelcoat::AppDelegate::setUpApplication();
    gelcoat::installDragWriters();
    gelcoat::AppDelegate delegate;
    delegate.setDocumentWindowFactory(gelcoat::newDocumentWindow);

    if (!delegate.applicationWillFinishLaunching())
        return 0;
    const QStringList files = app.arguments().mid(1);
    if (gelcoat::SingleInstance::handOver(files))
        return 0;
    gelcoat::SingleInstance instance;
    instance.listen();
    QObject::connect(&instance, &gelcoat::SingleInstance::filesArrived, &delegate,
                     [&delegate](const QStringList& arrived) {
                         if (arrived.isEmpty())
                             delegate.newDocument();
                         else
                             delegate.openDocumentFiles(arrived);
                     });

    // Documents named on the command line (or by the file manager) open
    // instead of an untitled one; when none of them opens, the program has
    // nothing to show and ends once the user has read why.
    if (!files.isEmpty()) {
        if (delegate.openDocumentFiles(files) == 0)
            return 1;
    } else if (delegate.applicationShouldOpenUntitledFile()) {
        delegate.newDocument();
    }
    // Once the loop turns, so that the window is up before any question.
    QTimer::singleShot(0, &delegate, &gelcoat::AppDelegate::applicationDidFinishLaunching);
    return app.exec();
}
