#include "window/export/ExportCommands.h"

#include "window/ExactResult.h"
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
#include <QMainWindow>
#include <QMimeData>

namespace gelcoat {

ExportCommands::ExportCommands(TintDocument& document, QMainWindow& window)
    : QObject(&window), document_(document), window_(window),
      flattenSheet_(new FlattenSheet(&window))
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
    const QByteArray tiff = exportTiffData(image);
    if (tiff.isEmpty())
        return;
    const SaveProposal proposal = proposedSaveLocation(document_.destImagePath());
    auto* panel = new QFileDialog(&window_, tr("Export Result"), proposal.folder,
                                  tr("TIFF images (*.tiff *.tif)"));
    panel->setObjectName(QStringLiteral("savePanel"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setFileMode(QFileDialog::AnyFile);
    // Added to a name without a suffix before the panel looks for a file
    // to replace, so that the panel asks about the name that is written.
    panel->setDefaultSuffix(QStringLiteral("tiff"));
    if (!proposal.fileName.isEmpty())
        panel->selectFile(proposal.fileName);
    panel->setWindowModality(Qt::WindowModal);
    connect(panel, &QFileDialog::accepted, this, [this, panel, tiff] {
        const QStringList chosen = panel->selectedFiles();
        if (!chosen.isEmpty())
            savePanelDidSelectImage(chosen.first(), tiff);
    });
    panel->open();
}

void ExportCommands::savePanelDidSelectImage(const QString& path, const QByteArray& tiff)
{
    // Written exactly where the panel says: it has added the default suffix
    // to a name without one and asked before replacing that very file, so
    // any other name here would be one the user was never asked about.
    const DocumentOutcome outcome = saveExportedImage(document_, path, tiff);
    if (!outcome.ok)
        KPBeginAlertSheet(QMessageBox::Warning, &window_, outcome.alert.title,
                          outcome.alert.message, QString(), QString(), QString());
}

} // namespace gelcoat
