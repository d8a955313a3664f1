#include "window/TintDocumentWindow.h"

#include "window/DocumentArea.h"
#include "window/DocumentWindowDelegate.h"
#include "window/ExactResult.h"
#include "window/LiveLayout.h"
#include "window/export/ExportCommands.h"
#include "window/intake/StencilCommands.h"
#include "window/ScalarControl.h"
#include "window/SimpleStencilRows.h"
#include "window/TooltipStore.h"
#include "window/UndoCommands.h"
#include "window/commands/CommandActions.h"
#include "window/commands/DocumentWindowCommands.h"
#include "ui_TintDocument.h"

#include "document/image/BitmapImage.h"
#include "document/model/TintDocument.h"
#include "views/resources/ViewImages.h"
#include "document/settings/PreferenceNotifications.h"
#include "document/settings/Preferences.h"
#include "document/settings/SettingsKeys.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QFileInfo>
#include <QPalette>

#include <cmath>

namespace gelcoat {

TintDocumentWindow::TintDocumentWindow(int untitledNumber, QWidget* parent)
    : TintDocumentWindow(new TintDocument, untitledNumber, parent)
{
}

TintDocumentWindow::TintDocumentWindow(TintDocument* document, int untitledNumber,
                                       QWidget* parent)
    : QMainWindow(parent), document_(document), form_(std::make_unique<Ui::TintDocument>())
{
    document_->setParent(this);
    // Renders run beside the interface thread; the window shows what they
    // hand back.
    document_->setRendersInBackground(true);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("documentWindow"));
    document_->setUntitledNumber(untitledNumber);
    showTitle();

    // The preferences register their defaults on first use.
    Preferences::shared();
    setUpForm();
    setUpCircles();
    setUpTooltips(*this, *centralWidget());
    showRainbowStripPreference();
    stencilCommands_ = new StencilCommands(*document_, *this);
    exportCommands_ = new ExportCommands(*document_, *this);
    undoCommands_ = new UndoCommands(*document_, *this);
    commands_ = &CommandActions::of(*this);
    commands_->install(documentWindowCommands());
    form_->sourceActionButton->setMenu(commands_->makeMenu(sourceActionMenu(), {}, this));
    form_->destActionButton->setMenu(commands_->makeMenu(destActionMenu(), {}, this));
    connectUserSignals();
    setUpEditing();
    connectDocument();
    showDisplayOptions();
    updatePreviewRoom();
    document_->refreshUIFromModel();
    // Last, so that the saved frame meets a window that is set up.
    new DocumentWindowDelegate(*this);
}

TintDocumentWindow::~TintDocumentWindow()
{
    // A field losing focus commits its text; that must happen while the
    // handlers still have their controls, not in QWidget's teardown.
    if (QWidget* focused = QApplication::focusWidget(); focused && isAncestorOf(focused))
        focused->clearFocus();
    // The document and the commands are children, destroyed after this
    // part of the window; the document's last signals must not reach it.
    if (commands_)
        commands_->stopRefreshing();
}

void TintDocumentWindow::setUpForm()
{
    auto* area = new DocumentArea(this);
    form_->setupUi(area);
    setCentralWidget(area);
    // Before anything changes the area's size.
    layout_ = std::make_unique<LiveLayout>(*area);

    controls_ = findSettingControls(*area);
    // Each slider runs over its field's 0 to 1.
    for (const ScalarControl& control : controls_.scalars)
        control.slider->setFloatRange(0.0, control.factor);

    Ui::TintDocument& f = *form_;
    f.sourceImageWell->setShowsSizeOnLeft(true);
    f.destImageWell->setShowsSizeOnLeft(false);
    f.shadowWarningButton->hide();

    rainbowTypes_ = new QButtonGroup(this);
    for (QAbstractButton* cell : {static_cast<QAbstractButton*>(f.linearRainbowRadio),
                                  static_cast<QAbstractButton*>(f.circularRainbowRadio)})
        rainbowTypes_->addButton(cell, cell->property("tag").toInt());
}

void TintDocumentWindow::setUpCircles()
{
    for (const CircleControl& control : controls_.circles) {
        control.circle->setMaximumDistance(float(control.radiusFactor));
        control.circle->setAngleUnits(slider::kCompassDegrees);
    }
}

void TintDocumentWindow::connectDocument()
{
    TintDocument* doc = document_;
    connect(doc, &TintDocument::controlsNeedRefresh, this, &TintDocumentWindow::refreshControls);
    connect(doc, &TintDocument::settingsReplaced, this, &TintDocumentWindow::showSettings);
    connect(doc, &TintDocument::finalImageChanged, this, &TintDocumentWindow::showFinalImage);
    connect(doc, &TintDocument::previewChanged, this, &TintDocumentWindow::showPreview);
    // A drag takes the exact result, waiting for it when need be.
    connect(form_->destImageWell, &MessageImageView::imageDragStarting, this,
            [this] { waitForExactResult(*document_, this); });
    form_->destImageWell->installEventFilter(this);
    connect(doc, &TintDocument::finalImageValidChanged, form_->destImageWell,
            &MessageImageView::setImageValid);
    // Until the worker's first result arrives the well is empty, not out of
    // date: its message says that rendering has been turned off.
    form_->destImageWell->setImageValid(doc->gelcoatOn());
    connect(doc, &TintDocument::shadowWarningShownChanged, this,
            [this](bool shown) { form_->shadowWarningButton->setHidden(!shown); });
    connect(doc, &TintDocument::sourceImageChanged, this, [this] {
        showSourceImage();
        fixTintingControlsForSimpleStencil();
    });
    connect(doc, &TintDocument::displayOptionsChanged, this, [this] {
        showDisplayOptions();
        updatePreviewRoom();
    });
    connect(doc, &TintDocument::gelcoatOnChanged, this, [this](bool on) {
        form_->gelcoatButton->setChecked(on);
        enableGelcoatArrows();
    });
    connect(doc, &Document::editedChanged, this, &QWidget::setWindowModified);
    connect(doc, &Document::fileNameChanged, this, &TintDocumentWindow::showTitle);
    // A result dragged to a file manager becomes a file named after the
    // document: "logo.gelcoat" gives "logo.png", a new one "Untitled.png".
    auto nameDragFile = [this] {
        form_->destImageWell->setDragFileName(
            QFileInfo(document_->displayName()).completeBaseName() + QStringLiteral(".png"));
    };
    connect(doc, &Document::fileNameChanged, this, nameDragFile);
    nameDragFile();
    connect(&PreferenceNotifications::center(), &PreferenceNotifications::showRainbowStripChanged,
            this, &TintDocumentWindow::showRainbowStripPreference);
}

void TintDocumentWindow::showTitle()
{
    setWindowTitle(document_->displayName() + QStringLiteral("[*]"));
    setWindowModified(document_->isDocumentEdited());
}

void TintDocumentWindow::refreshControls()
{
    Ui::TintDocument& f = *form_;

    f.gelcoatButton->setChecked(document_->gelcoatOn());
    enableGelcoatArrows();

    showSourceImage();
    showDisplayOptions();
    showSettings();
    fixTintingControlsForSimpleStencil();
}

void TintDocumentWindow::showSettings()
{
    const TintSettings& s = document_->settings();

    form_->sourceImageWell->setBugXY(s.sourceBugX, s.sourceBugY);
    for (const SwitchControl& control : controls_.switches)
        control.box->setChecked(s.*control.setting);
    if (QAbstractButton* cell = rainbowTypes_->button(s.circularRainbow ? 1 : 0))
        cell->setChecked(true);
    for (const CircleControl& control : controls_.circles) {
        control.circle->setOffsets(s.*control.xOffset, s.*control.yOffset);
        showCircleFields(control);
    }
    for (const ScalarControl& control : controls_.scalars) {
        control.slider->setFloatValue(s.*control.setting);
        control.field->setFloatValue(fieldFromSetting(s.*control.setting, control.factor));
    }
    showDerivedControls();
}

void TintDocumentWindow::showCircleFields(const CircleControl& control)
{
    float angle = 0.0f;
    float distance = 0.0f;
    control.circle->getAngleAndDistance(&angle, &distance);
    control.angleField->setFloatValue(fieldFromSetting(angle, kAngleFactor));
    control.radiusField->setFloatValue(fieldFromSetting(distance, control.radiusFactor));
}

void TintDocumentWindow::showDisplayOptions()
{
    const TintSettings& s = document_->settings();
    Ui::TintDocument& f = *form_;
    f.sourceImageWell->setShowsSize(s.sourceShowsSize);
    f.sourceImageWell->setShowsBounds(s.sourceShowsBounds);
    f.sourceImageWell->setShrinksIfNecessary(s.sourceShrinksIfNecessary);
    f.destImageWell->setInteriorStyle(s.destInteriorStyle);
    f.destImageWell->setShowsSize(s.destShowsSize);
    f.destImageWell->setShowsBounds(s.destShowsBounds);
    f.destImageWell->setShrinksIfNecessary(s.destShrinksIfNecessary);
}

void TintDocumentWindow::enableGelcoatArrows()
{
    const QString name = document_->gelcoatOn() ? QStringLiteral("arrow")
                                                : QStringLiteral("arrowDim");
    const QPixmap arrow =
        QPixmap::fromImage(viewImage(QStringLiteral("views"), name, devicePixelRatioF()));
    form_->leftArrow->setPixmap(arrow);
    form_->rightArrow->setPixmap(arrow);
}

void TintDocumentWindow::showDerivedControls()
{
    showHueInWell();
    enableRainbowControls(document_->settings().useRainbow);
}

// An unchanged colour or state repaints nothing, so this may follow any
// change of a setting.
void TintDocumentWindow::showHueInWell()
{
    // Any stored hue names a point on the colour circle, in the units the
    // gloss reads it in.
    double hue = pipelineValue(document_->settings(), &TintSettings::userHue);
    hue -= std::floor(hue);
    if (!std::isfinite(hue) || hue < 0.0 || hue >= 1.0)
        hue = 0.0;
    QPalette palette = form_->hueWell->palette();
    palette.setColor(QPalette::Window, QColor::fromHsvF(float(hue), 1.0f, 1.0f));
    form_->hueWell->setPalette(palette);
}

void TintDocumentWindow::enableRainbowControls(bool enabled)
{
    form_->rainbowCircle->setEnabled(enabled);
    form_->rainbowAngleValueField->setEnabled(enabled);
    form_->rainbowRadiusValueField->setEnabled(enabled);
    form_->rainbowTypeRadio->setEnabled(enabled);
}

void TintDocumentWindow::showRainbowStripPreference()
{
    form_->hueStrip->setHidden(!Preferences::shared().showRainbowStrip());
}

void TintDocumentWindow::showFinalImage()
{
    MessageImageView* well = form_->destImageWell;
    if (const auto& image = document_->finalImage()) {
        well->setImage(imageSharingBitmap(image));
        // Drawn from the copy already reduced to the well, when there is one.
        if (const auto& reduced = document_->roomImage())
            well->setStandIn(imageSharingBitmap(reduced),
                             QSize(image->pixelsWide(), image->pixelsHigh()));
    }
}

void TintDocumentWindow::showPreview()
{
    if (const auto& preview = document_->previewImage()) {
        const auto [w, h] = document_->previewStandsFor();
        form_->destImageWell->setStandIn(imageSharingBitmap(preview), QSize(w, h));
    }
}

// Previews and reduced copies are made for the well's room in device
// pixels, while the well shrinks what does not fit.
void TintDocumentWindow::updatePreviewRoom()
{
    MessageImageView* well = form_->destImageWell;
    const QSizeF room = well->shrinkRoom() * well->devicePixelRatioF();
    if (well->shrinksIfNecessary())
        document_->setPreviewRoom(int(room.width()), int(room.height()));
    else
        document_->setPreviewRoom(0, 0);
}

bool TintDocumentWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == form_->destImageWell &&
        event->type() == QEvent::Resize)
        updatePreviewRoom();
    return QMainWindow::eventFilter(watched, event);
}

// With its bug, which a new picture may have put back in the middle.
void TintDocumentWindow::showSourceImage()
{
    const auto& source = document_->sourceImage();
    BugImageView* well = form_->sourceImageWell;
    // A prepared picture is of the stencil whose buffer it was made from.
    QImage shown;
    if (source && preparedFor_ == source->bitmapData() &&
        preparedSourceImage_.size() == QSize(source->pixelsWide(), source->pixelsHigh()))
        shown = std::move(preparedSourceImage_);
    else if (source)
        shown = imageFromBitmap(*source);
    preparedSourceImage_ = QImage();
    preparedFor_ = nullptr;
    well->setImage(shown);
    const BugPosition bug = bugPosition(document_->settings());
    well->setBugXY(bug.x, bug.y);
}

void TintDocumentWindow::prepareSourceImage(QImage image, const BitmapRep& stencil)
{
    preparedSourceImage_ = std::move(image);
    preparedFor_ = preparedSourceImage_.isNull() ? nullptr : stencil.bitmapData();
}

void TintDocumentWindow::fixTintingControlsForSimpleStencil()
{
    if (arrangeTintingRows(*form_, *centralWidget(), layout_->frames(),
                           document_->sourceImageIsSimple()))
        centralWidget()->update();
}

void TintDocumentWindow::layOutForm()
{
    layout_->place();
    fixTintingControlsForSimpleStencil();
}

} // namespace gelcoat
