#pragma once
// This program's application delegate: the platform check at launch, the
// untitled window, the help and preferences commands, the about panel's
// links, and quitting through the windows so that each may object.

#include "delegate/KPAppDelegate.h"

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

public slots:
    void newDocument();
    void showHelp();
    void showPreferences();
    // Closes every window, each of which may refuse; the program ends when
    // the last one has closed.
    void terminate();

private:
    // Deliberately empty: a launch hook in which the application registers nothing.
    void registerDefaults() {}

    DocumentWindowFactory factory_;
    int untitledCount_ = 0;
    QPointer<QWidget> lastDocumentWindow_;
};

} // namespace gelcoat
