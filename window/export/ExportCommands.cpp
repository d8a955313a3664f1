#include "window/export/ExportCommands.h"

#include "window/ExactResult.h"
#include "window/export/IconSetCommand.h"
#include "window/intake/FocusedField.h"
#include "window/sheets/FlattenSheet.h"

#include "shared/KPAlertPanel.h"
#include "document/export/ResultExport.h"
#include "document/model/TintDocument.h"
#include "document/settings/Preferences.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMimeData>

#include <memory>

namespace gelcoat {

ExportCommands::ExportCommands(TintDocument& document, QMainWindow& window)
    : QObject(&window), document_(document), window_(window),
      flattenSheet_(new FlattenSheet(&window)), iconSet_(new IconSetCommand(document, window))
{
}

void ExportCommands::copy()
{
    if (copyFromFocusedField(window_))
        return;
    flattenImageByUserChoice([this](const BitmapRep& image) { finishCopy(image); });
}

void ExportCommands::saveDestImage()
{
    flattenImageByUserChoice([this](const BitmapRep& image) { finishSaveDestImage(image); });
}

void ExportCommands::exportIconSet()
{
    iconSet_->begin();
}

void ExportCommands::flattenImageByUserChoice(std::function<void(const BitmapRep&)> finish)
{
    if (!waitForExactResult(document_, &window_) || !document_.finalImage())
        return;
    // The preference presets the sheet every time; the choice made in it
    // serves this export only.
    flattenSheet_->begin(Preferences::shared().flatteningChoice(),
                         [this, finish = std::move(finish)](FlattenChoice choice) {
                             const auto result = document_.finalImage();
                             if (!result)
                                 return;
                             if (auto image = flattenedImage(*result, choice))
                                 finish(*image);
                         });
}

void ExportCommands::finishCopy(const BitmapRep& image)
{
    if (QMimeData* payload = makeClipboardPayload(image))
        QApplication::clipboard()->setMimeData(payload);
}

void ExportCommands::finishSaveDestImage(const BitmapRep& image)
{
    std::optional<BitmapRep> copy = image.clone();
    if (!copy)
        return;
    auto kept = std::make_shared<BitmapRep>(std::move(*copy));
    const SaveProposal proposal = proposedSaveLocation(document_.destImagePath());
    QStringList filters;
    for (const ExportFormat format : exportFormats())
        filters << exportNameFilter(format);
    auto* panel = new QFileDialog(&window_, tr("Export Result"), proposal.folder);
    panel->setObjectName(QStringLiteral("savePanel"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setFileMode(QFileDialog::AnyFile);
    panel->setNameFilters(filters);
    panel->selectNameFilter(exportNameFilter(proposal.format));
    // Added to a name without a suffix before the panel looks for a file
    // to replace, so that the panel asks about the name that is written.
    panel->setDefaultSuffix(exportSuffix(proposal.format));
    if (!proposal.fileName.isEmpty())
        panel->selectFile(proposal.fileName);
    connect(panel, &QFileDialog::filterSelected, panel, [panel](const QString& filter) {
        const ExportFormat format = exportFormatForNameFilter(filter).value_or(ExportFormat::Png);
        panel->setDefaultSuffix(exportSuffix(format));
        auto* name = panel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name)
            return;
        // The name typed is given again, so that the panel picks the file
        // it names with the new suffix, not one it picked with the old:
        // that is the file it asks about and hands back. A name with
        // another format's suffix takes the new one, as the name decides
        // the format written.
        QString typed = name->text();
        if (exportFormatForPath(typed))
            typed = QFileInfo(typed).completeBaseName() + u'.' + exportSuffix(format);
        name->clear();
        name->setText(typed);
    });
    panel->setWindowModality(Qt::WindowModal);
    connect(panel, &QFileDialog::accepted, this, [this, panel, kept] {
        const QStringList chosen = panel->selectedFiles();
        const ExportFormat filterFormat =
            exportFormatForNameFilter(panel->selectedNameFilter()).value_or(ExportFormat::Png);
        if (!chosen.isEmpty())
            savePanelDidSelectImage(chosen.first(),
                                    formatForChosenFile(chosen.first(), filterFormat), *kept);
    });
    panel->open();
}

void ExportCommands::savePanelDidSelectImage(const QString& path, ExportFormat format,
                                             const BitmapRep& image)
{
    // Written exactly where the panel says: it has added the default suffix
    // to a name without one and asked before replacing that very file, so
    // any other name here would be one the user was never asked about.
    const DocumentOutcome outcome = saveExportedImage(document_, path, format, image);
    if (!outcome.ok)
        KPBeginAlertSheet(QMessageBox::Warning, &window_, outcome.alert.title,
                          outcome.alert.message, QString(), QString(), QString());
}

} // namespace gelcoat
