#pragma once
// This program's application delegate: the platform check at launch, the
// untitled window, the help and preferences commands, the about panel's
// links, and quitting through the windows so that each may object.

#include "app/delegate/KPAppDelegate.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>



namespace gelcoat {

class AppDelegate : public KPAppDelegate {
    Q_OBJECT
public:
    static constexpr std::int32_t requiredOSVersion = 0x060400;
    static QString requiredOSVersionString() { return QStringLiteral("6.4"); }

    // Makes a new, not yet shown document window; untitledNumber counts the
    // untitled windows opened so far, this one included.
    using DocumentWindowFactory = std::function<QWidget*(int untitledNumber)>;

    explicit AppDelegate(QObject* parent = nullptr);

    // Name, version, identifier, icon and the floating-panel property of the
    // running QApplication, from the build settings; hands the identity to
    // the shared library.
    static void setUpApplication();

    // False when the Qt runtime is too old: the user has been told, and the
    // process must end at once with status 0.
    bool applicationWillFinishLaunching();
    bool applicationShouldOpenUntitledFile() const;
    // Runs once the event loop turns: the automatic version check.
    void applicationDidFinishLaunching();
    bool applicationShouldTerminate() const { return true; }
    void applicationWillTerminate() {}

    QMap<QString, QString> aboutURLDictionary() const override;

    // Without a factory, newDocument opens nothing.
    void setDocumentWindowFactory(DocumentWindowFactory factory);
    // The window most recently opened by newDocument, while it lives.
    QWidget* lastDocumentWindow() const { return lastDocumentWindow_; }

    // Shows a new document window, which places itself; a quit waits for
    // it to close.
    void showDocumentWindow(QWidget* window);

public slots:
    void newDocument();
    // Asks for documents and opens them.
    void openDocument();
    // Opens each file in a window, or raises the one that shows it already
    // (a picture in a new untitled window); answers how many now show.
    int openDocumentFiles(const QStringList& paths);
    void showHelp();
    void showPreferences();
    // Closes every window in turn; a window may first ask whether to save,
    // and the quit goes on once it has closed, or stops when the user keeps
    // it. The program ends when the last one has closed.
    void terminate();

private:
    // Deliberately empty: a launch hook in which the application registers nothing.
    void registerDefaults() {}

    void continueTerminate();
    void cancelTerminate() { terminating_ = false; }

    DocumentWindowFactory factory_;
    bool terminating_ = false;
    int untitledCount_ = 0;
    QPointer<QWidget> lastDocumentWindow_;
};

} // namespace gelcoat
