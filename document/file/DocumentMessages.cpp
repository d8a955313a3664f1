#include "document/file/DocumentMessages.h"

#include "BuildSettings.h"

#include <QCoreApplication>

namespace gelcoat {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("TintDocument", text);
}

} // namespace

QString openTitle() { return tr("Open"); }
QString revertTitle() { return tr("Revert"); }
QString saveTitle() { return tr("Save"); }

QString notPropertyListMessage(const QString& lowLevelError)
{
    return tr("Sorry, this file cannot be opened; it does not appear to be in the proper "
              "format.  The low-level error string is: %1.")
        .arg(lowLevelError);
}

QString laterVersionMessage()
{
    return tr("Sorry, this file cannot be opened; it was saved by a later version of Gelcoat.  "
              "Please obtain the latest version from ") +
           QString::fromUtf8(build::makerWebSite) + tr(" and try again.");
}

QString missingSourceOnOpenMessage(const QString& lastPathComponent)
{
    return tr("The source image this gelcoat file is based upon, %1, could not be found.  "
              "Please choose a source image.")
        .arg(lastPathComponent);
}

QString missingSourceOnRevertMessage(const QString& lastPathComponent)
{
    return tr("The source image this gelcoat file is based upon, %1, could not be found.  "
              "Other aspects of the document will be reverted.")
        .arg(lastPathComponent);
}

QString unreadableSourceDataMessage(const QString& reason)
{
    return tr("The source image stored in this gelcoat file cannot be read (%1).  The document "
              "opens without a source image; saving it keeps the stored image data.")
        .arg(reason);
}

QString documentUnreadableMessage(const QString& path, const QString& reason)
{
    return tr("The document \"%1\" could not be opened.  %2").arg(path, reason);
}

QString documentSaveFailedMessage(const QString& path, const QString& reason)
{
    return tr("The document could not be saved to \"%1\".  %2").arg(path, reason);
}

QString imageSaveFailedMessage(const QString& path)
{
    // The path is shown literally: it is substituted, never translated.
    return tr("An error occurred while trying to save the image to: %1.").arg(path);
}

} // namespace gelcoat
