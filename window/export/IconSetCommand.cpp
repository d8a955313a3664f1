#include "window/export/IconSetCommand.h"

#include "window/sheets/IconSetSheet.h"

#include "shared/KPAlertPanel.h"
#include "document/export/ResultExport.h"
#include "document/icons/IconFiles.h"
#include "document/model/TintDocument.h"
#include "document/settings/Preferences.h"
#include "document/settings/SettingsKeys.h"
#include "document/settings/UserDefaults.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>

namespace gelcoat {

IconSetCommand::IconSetCommand(TintDocument& document, QMainWindow& window)
    : QObject(&window), document_(document), window_(window), sheet_(new IconSetSheet(&window))
{
}

void IconSetCommand::begin()
{
    if (!document_.sourceImage())
        return;
    sheet_->begin(Preferences::shared().flatteningChoice(),
                  [this](const IconSetChoice& choice) { chooseDestination(choice); });
}

QString IconSetCommand::setName() const
{
    return QFileInfo(document_.displayName()).completeBaseName();
}

void IconSetCommand::chooseDestination(const IconSetChoice& choice)
{
    const SaveProposal proposal = proposedSaveLocation(QString());
    const bool oneFile = choice.form == IconSetForm::Ico || choice.form == IconSetForm::Icns;
    auto* panel = new QFileDialog(&window_, tr("Export Icon Set"), proposal.folder);
    panel->setObjectName(QStringLiteral("iconSetPanel"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    if (oneFile) {
        const bool ico = choice.form == IconSetForm::Ico;
        panel->setAcceptMode(QFileDialog::AcceptSave);
        panel->setFileMode(QFileDialog::AnyFile);
        panel->setNameFilter(ico ? tr("Windows icon (*.ico)") : tr("macOS icon (*.icns)"));
        // Added before the panel asks about replacing, as for Export Result.
        panel->setDefaultSuffix(ico ? QStringLiteral("ico") : QStringLiteral("icns"));
        panel->selectFile(setName());
    } else {
        panel->setAcceptMode(QFileDialog::AcceptOpen);
        panel->setFileMode(QFileDialog::Directory);
        panel->setOption(QFileDialog::ShowDirsOnly);
        panel->setLabelText(QFileDialog::Accept, tr("Choose"));
    }
    panel->setWindowModality(Qt::WindowModal);
    connect(panel, &QFileDialog::accepted, this, [this, panel, choice] {
        const QStringList chosen = panel->selectedFiles();
        if (chosen.isEmpty())
            return;
        UserDefaults::standard().setString(lastSaveDirKey,
                                           QFileInfo(chosen.first()).absolutePath());
        writeSet(choice, chosen.first());
    });
    panel->open();
}

void IconSetCommand::writeSet(const IconSetChoice& choice, const QString& place)
{
    const std::optional<BitmapRep>& stencil = document_.sourceImage();
    if (!stencil)
        return;
    QString error;
    std::vector<IconFile> files;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto icons = renderIconImages(*stencil, document_.sourceImageIsSimple(),
                                        document_.settings(), choice.sizes, choice.flatten, &error);
    if (icons) {
        // A stencil drawn from a vector keeps its drawing, whether it came
        // from a file or the clipboard; the theme's scalable folder gets it.
        const QByteArray svg = choice.form == IconSetForm::Hicolor
                                   ? document_.stencilVectorSource()
                                   : QByteArray();
        std::vector<int> leftOut;
        files = iconSetFiles(*icons, choice.form, setName(), svg, &leftOut, &error);
    }
    const bool written = !files.empty() && writeIconSet(QFile::encodeName(place), files, &error);
    QApplication::restoreOverrideCursor();
    if (!written)
        KPBeginAlertSheet(QMessageBox::Warning, &window_, tr("Export Icon Set"),
                          tr("The icon set could not be written to %1: %2.").arg(place, error),
                          QString(), QString(), QString());
}

} // namespace gelcoat
