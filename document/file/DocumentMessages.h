#pragma once
// What opening, reverting and saving a document tell the user: the alert
// texts, and the outcome a window acts on.

#include <QString>

namespace gelcoat {

// A critical alert with the single button "OK"; an empty title means none.
struct DocumentAlert {
    QString title;
    QString message;
    bool isEmpty() const { return title.isEmpty(); }
};

// The result of an open, revert or save, for the window to act on.
struct DocumentOutcome {
    bool ok = false;
    // Shown application-modal before the failed load returns, or as a
    // warning after a successful one.
    DocumentAlert alert;
    // Open: the stored external picture was not found; the window runs the
    // substitute-image panel at once, after the alert.
    bool runSubstitutePanel = false;
    // Revert: the stored external picture was not found; the window shows
    // the alert as a sheet 0.001 s after the revert finished.
    bool scheduleRevertWarning = false;
    // What exactly went wrong beneath the alert's fixed text, for a
    // command line that can show both; empty when the alert says it all.
    QString detail;
};

QString openTitle();     // "Open"
QString revertTitle();   // "Revert"
QString saveTitle();     // "Save"

QString notPropertyListMessage(const QString& lowLevelError);
QString laterVersionMessage();   // names the maker's web site
QString missingSourceOnOpenMessage(const QString& lastPathComponent);
QString missingSourceOnRevertMessage(const QString& lastPathComponent);
QString unreadableSourceDataMessage(const QString& reason);
QString documentUnreadableMessage(const QString& path, const QString& reason);
QString documentSaveFailedMessage(const QString& path, const QString& reason);
QString imageSaveFailedMessage(const QString& path);

} // namespace gelcoat
