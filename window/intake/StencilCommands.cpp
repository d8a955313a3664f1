#include "window/intake/StencilCommands.h"

#include "window/NamedAction.h"

#include "window/intake/FocusedField.h"
#include "window/sheets/AdjustSizeSheet.h"

#include "shared/KPAlertPanel.h"
#include "document/export/ResultExport.h"
#include "document/intake/PictureDecoder.h"
#include "document/intake/PictureFromMime.h"
#include "document/model/TintDocument.h"
#include "document/settings/SettingsKeys.h"
#include "document/settings/UserDefaults.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QMainWindow>

namespace gelcoat {

namespace {

QString imageFileFilter()
{
    return StencilCommands::tr("Images (*.tif *.tiff *.png *.jpg *.jpeg *.gif *.bmp *.webp "
                               "*.pdf *.svg);;All files (*)");
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
    auto make = [this](const QString& text, const char* name, const QKeySequence& keys) {
        return namedAction(this, text, name, keys);
    };
    chooseSourceImage = make(tr("C&hoose Stencil…"), "chooseSourceImage",
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    paste = make(tr("&Paste"), "paste", QKeySequence::Paste);
    invertSource = make(tr("&Invert Stencil"), "invertSource", QKeySequence(Qt::CTRL | Qt::Key_I));
    adjustSourceSize = make(tr("&Adjust Stencil Size…"), "adjustSourceSize",
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    useMoss = make(tr("Use &Moss…"), "useMoss", {});
    useFoot = make(tr("Use Moss's &Foot…"), "useFoot", {});

    connect(chooseSourceImage, &QAction::triggered, this, [this] { runOpenPanel(true); });
    connect(paste, &QAction::triggered, this, &StencilCommands::pasteFromClipboard);
    connect(invertSource, &QAction::triggered, this, [this] {
        if (!document_.invertSource())
            QApplication::beep();
    });
    connect(adjustSourceSize, &QAction::triggered, this,
            [this] { runAdjustSizePanel(StencilMargins{}); });
    connect(useMoss, &QAction::triggered, this,
            [this] { confirmBuiltInStencil(useMossTitle(), useMossMessage(), false); });
    connect(useFoot, &QAction::triggered, this,
            [this] { confirmBuiltInStencil(useFootTitle(), useFootMessage(), true); });
}

StencilCommands::~StencilCommands() = default;

QList<QAction*> StencilCommands::all() const
{
    return {chooseSourceImage, paste, invertSource, adjustSourceSize, useMoss, useFoot};
}

void StencilCommands::runOpenPanel(bool asSheet)
{
    auto* panel = new QFileDialog(&window_, tr("Choose Stencil"), openPanelFolder(),
                                  imageFileFilter());
    panel->setObjectName(QStringLiteral("openPanel"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setFileMode(QFileDialog::ExistingFile);
    connect(panel, &QFileDialog::accepted, this, [this, panel] {
        const QStringList chosen = panel->selectedFiles();
        if (!chosen.isEmpty())
            openPanelDidSelectImage(chosen.first(), panel->directory().absolutePath());
    });
    if (asSheet) {
        panel->setWindowModality(Qt::WindowModal);
        panel->open();
    } else {
        panel->setWindowModality(Qt::ApplicationModal);
        panel->exec();
    }
}

void StencilCommands::chooseSubstituteImage()
{
    runOpenPanel(false);
}

void StencilCommands::openPanelDidSelectImage(const QString& path, const QString& folder)
{
    UserDefaults::standard().setString(lastOpenDirKey, folder);
    // A file that does not decode is passed over without a word.
    takeOutsidePicture(decodePictureFile(path), path);
}

bool StencilCommands::takeOutsidePicture(std::optional<SourcePicture> picture,
                                         const QString& path)
{
    if (!picture)
        return false;
    if (document_.useImage(std::move(*picture), path, true, false))
        return true;
    alertIncompatibleImage();
    return false;
}

void StencilCommands::alertIncompatibleImage()
{
    KPBeginAlertSheet(QMessageBox::Critical, &window_, incompatibleImageTitle(),
                      incompatibleImageMessage(), intakeAlertButton(), QString(), QString());
}

bool StencilCommands::takePictureFrom(const QMimeData* data)
{
    return takeOutsidePicture(pictureFromMimeData(data), QString());
}

void StencilCommands::pasteFromClipboard()
{
    if (editFocusedField(window_, [](QLineEdit& field) { field.paste(); }))
        return;
    // The raw bytes, never QClipboard::image(), which widens grey to colour.
    QString error;
    std::optional<SourcePicture> picture =
        pictureFromMimeData(QApplication::clipboard()->mimeData(), &error);
    // A picture that was there but cannot be made is refused as one the
    // intake turns away; a clipboard without a picture is passed over.
    if (!picture && !error.isEmpty())
        alertIncompatibleImage();
    else
        takeOutsidePicture(std::move(picture), QString());
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
    const ShadowReport& clip = document_.pipeline().shadowWarning();
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
