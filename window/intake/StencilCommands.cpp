#include "window/intake/StencilCommands.h"

#include "window/TintDocumentWindow.h"

#include "window/intake/FocusedField.h"
#include "window/intake/PictureIntake.h"
#include "window/sheets/AdjustSizeSheet.h"

#include "shared/KPAlertPanel.h"
#include "document/export/ResultExport.h"
#include "document/intake/PictureDecoder.h"
#include "document/intake/PictureFromMime.h"
#include "document/model/TintDocument.h"
#include "document/settings/Preferences.h"
#include "document/settings/SettingsKeys.h"
#include "document/settings/UserDefaults.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMainWindow>

#include <memory>
#include <utility>

namespace gelcoat {

namespace {

QString imageFileFilter()
{
    return StencilCommands::tr("Images (*.tif *.tiff *.png *.jpg *.jpeg *.gif *.bmp *.webp "
                               "*.svg *.svgz *.pgm *.ppm *.pdf);;All files (*)");
}

// Read here, on the interface thread, for the decoding thread to use.
PictureOptions pictureOptions()
{
    return {Preferences::shared().vectorSide()};
}

QString openPanelFolder()
{
    const QVariant remembered = UserDefaults::standard().objectForKey(lastOpenDirKey);
    if (remembered.isValid() && !remembered.toString().isEmpty())
        return remembered.toString();
    return fallbackPanelFolder();
}

} // namespace

QString useMossTitle()
{
    return StencilCommands::tr("Use Moss");
}

QString useMossMessage()
{
    return StencilCommands::tr(
        "This will replace the current stencil with a stencil of Moss, the Quill Software "
        "mascot.  The current stencil will be lost.  The values of the tinting controls will "
        "also be changed.  This is not undoable.");
}

QString useFootTitle()
{
    return StencilCommands::tr("Use Moss's Foot");
}

QString useFootMessage()
{
    return StencilCommands::tr(
        "This will replace the current stencil with a stencil of the foot of Moss, the Quill "
        "Software mascot (Moss, not the foot).  The current stencil will be lost.  The values "
        "of the tinting controls will also be changed.  This is not undoable.");
}

StencilCommands::StencilCommands(TintDocument& document, QMainWindow& window)
    : QObject(&window), document_(document), window_(window),
      adjustSizeSheet_(new AdjustSizeSheet(&window))
{
}

StencilCommands::~StencilCommands() = default;

void StencilCommands::invertSource()
{
    if (!document_.invertSource())
        QApplication::beep();
}

void StencilCommands::adjustSourceSize()
{
    runAdjustSizePanel(StencilMargins{});
}

void StencilCommands::useMoss()
{
    confirmBuiltInStencil(useMossTitle(), useMossMessage(), false);
}

void StencilCommands::useFoot()
{
    confirmBuiltInStencil(useFootTitle(), useFootMessage(), true);
}

void StencilCommands::runOpenPanel(bool asSheet)
{
    auto* panel = new QFileDialog(&window_, tr("Choose Stencil"), openPanelFolder(),
                                  imageFileFilter());
    panel->setObjectName(QStringLiteral("openPanel"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setFileMode(QFileDialog::ExistingFile);
    // The picture is taken in once the panel has finished closing: the
    // intake waits in an event loop of its own, which must not run inside
    // the panel's signals.
    auto choice = std::make_shared<std::optional<std::pair<QString, QString>>>();
    connect(panel, &QFileDialog::accepted, this, [this, panel, choice, asSheet] {
        const QStringList chosen = panel->selectedFiles();
        if (chosen.isEmpty())
            return;
        *choice = std::pair(chosen.first(), panel->directory().absolutePath());
        if (asSheet)
            QMetaObject::invokeMethod(
                this, [this, choice] { openPanelDidSelectImage((*choice)->first, (*choice)->second); },
                Qt::QueuedConnection);
    });
    if (asSheet) {
        panel->setWindowModality(Qt::WindowModal);
        panel->open();
    } else {
        panel->setWindowModality(Qt::ApplicationModal);
        panel->exec();
        if (*choice)
            openPanelDidSelectImage((*choice)->first, (*choice)->second);
    }
}

void StencilCommands::chooseSubstituteImage()
{
    runOpenPanel(false);
}

void StencilCommands::openPanelDidSelectImage(const QString& path, const QString& folder)
{
    UserDefaults::standard().setString(lastOpenDirKey, folder);
    takeOutsidePicture(
        [path, options = pictureOptions()](QString* error) {
            return decodePictureFile(path, error, options);
        },
        path);
}

bool StencilCommands::takeOutsidePicture(PictureSource source, const QString& path)
{
    const auto shown = [this](QImage image, const BitmapRep& stencil) {
        if (auto* window = qobject_cast<TintDocumentWindow*>(&window_))
            window->prepareSourceImage(std::move(image), stencil);
    };
    QString reason;
    switch (takeInPicture(document_, &window_, std::move(source), path, shown, &reason)) {
    case IntakeOutcome::Taken: return true;
    case IntakeOutcome::Unreadable:
    case IntakeOutcome::Refused: alertIncompatibleImage(reason); return false;
    case IntakeOutcome::NoPicture:
    case IntakeOutcome::Stopped: return false;
    }
    return false;
}

void StencilCommands::alertIncompatibleImage(const QString& reason)
{
    KPBeginAlertSheet(QMessageBox::Critical, &window_, incompatibleImageTitle(),
                      incompatibleImageMessage(reason), intakeAlertButton(), QString(), QString());
}

// The data is read at once, while it is there; the picture is made from
// what it offered once the drop has ended, since the intake waits in an
// event loop of its own.
void StencilCommands::takePictureFrom(const QMimeData* data)
{
    QMetaObject::invokeMethod(
        this,
        [this, offer = offeredPicture(data)] {
            const bool taken = takeOutsidePicture(
                [offer, options = pictureOptions()](QString* error) {
                    return pictureFromOffer(offer, error, options);
                },
                QString());
            emit dropTakenIn(taken);
        },
        Qt::QueuedConnection);
}

void StencilCommands::paste()
{
    if (pasteIntoFocusedField(window_))
        return;
    // The raw bytes, never QClipboard::image(), which widens grey to colour.
    takeOutsidePicture(
        [offer = offeredPicture(QApplication::clipboard()->mimeData()),
         options = pictureOptions()](QString* error) {
            return pictureFromOffer(offer, error, options);
        },
        QString());
}

void StencilCommands::confirmBuiltInStencil(const QString& title, const QString& message,
                                            bool foot)
{
    KPBeginAlertSheet(QMessageBox::Critical, &window_, title, message, tr("OK"), tr("Cancel"),
                      QString(), [this, foot](int code) {
                          if (code != KPAlertDefaultReturn)
                              return;
                          if (foot)
                              document_.takeFootStencil();
                          else
                              document_.takeMossStencil();
                      });
}

void StencilCommands::adjustSourceSizeForShadow()
{
    const ShadowReport& clip = document_.shadowWarning();
    runAdjustSizePanel({clip.top, clip.bottom, clip.left, clip.right});
}

void StencilCommands::runAdjustSizePanel(const StencilMargins& margins)
{
    adjustSizeSheet_->begin(margins, [this](StencilMargins chosen) {
        adjustSizeSheetDidEnd(chosen);
    });
}

void StencilCommands::adjustSizeSheetDidEnd(const StencilMargins& margins)
{
    QString refusal;
    if (document_.applySizeAdjustment(margins, &refusal))
        return;
    if (refusal.isEmpty()) {
        QApplication::beep();
        return;
    }
    KPBeginAlertSheet(QMessageBox::Critical, &window_, adjustSizeTitle(), refusal,
                      intakeAlertButton(), QString(), QString());
}

} // namespace gelcoat
