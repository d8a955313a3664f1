#include "window/TintDocumentWindow.h"

#include "window/DocumentArea.h"
#include "window/DocumentWindowDelegate.h"
#include "window/ExactResult.h"
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

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QPalette>

#include <cmath>

namespace gelcoat {

TintDocumentWindow::TintDocumentWindow(int untitledNumber, QWidget* parent)
    : TintDocumentWindow(new TintDocument, untitledNumber, parent)
{
}

TintDocumentWindow::TintDocumentWindow(TintDocument* document, int untitledNumber,
                                       QWidget* parent)
    : QMainWindow(parent), document_(document), form_(std::make_unique<Ui::TintDocument>()),
      scalars_(std::make_unique<std::array<ScalarControl, 9>>())
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
    setUpTooltips(*this, *form_);
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
}

void TintDocumentWindow::setUpForm()
{
    auto* area = new DocumentArea(this);
    form_->setupUi(area);
    setCentralWidget(area);

    Ui::TintDocument& f = *form_;
    *scalars_ = {{
        {&TintSettings::userHue, 100, f.hueSlider, f.hueValueField},
        {&TintSettings::userSaturation, 300, f.saturationSlider, f.saturationValueField},
        {&TintSettings::userBrightness, 200, f.brightnessSlider, f.brightnessValueField},
        {&TintSettings::userContrast, 200, f.contrastSlider, f.contrastValueField},
        {&TintSettings::userAlpha, 100, f.alphaSlider, f.alphaValueField},
        {&TintSettings::aquaMargin, 100, f.aquaMarginSlider, f.aquaMarginValueField},
        {&TintSettings::shadowDensity, 100, f.shadowDensitySlider, f.shadowDensityValueField},
        {&TintSettings::shadowSharpness, 100, f.shadowSharpnessSlider,
         f.shadowSharpnessValueField},
        {&TintSettings::finalSize, 100, f.finalSizeSlider, f.finalSizeValueField},
    }};
    // Each slider runs over its field's 0 to 1.
    for (const ScalarControl& control : *scalars_)
        control.slider->setFloatRange(0.0, control.factor);

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
    Ui::TintDocument& f = *form_;
    // The rainbow vector reaches half across the stencil; the shadow moves
    // up to 20 pixels. Each length field reads 1 at the circle's edge.
    rainbow_ = std::make_unique<CircleControl>(
        CircleControl{&TintSettings::rainbowXOffset, &TintSettings::rainbowYOffset, 0.5,
                      f.rainbowCircle, f.rainbowAngleValueField, f.rainbowRadiusValueField});
    shadow_ = std::make_unique<CircleControl>(
        CircleControl{&TintSettings::shadowXOffset, &TintSettings::shadowYOffset, 20.0,
                      f.shadowCircle, f.shadowAngleValueField, f.shadowRadiusValueField});
    for (const CircleControl* control : {rainbow_.get(), shadow_.get()}) {
        control->circle->setMaximumDistance(float(control->radiusFactor));
        control->circle->setAngleUnits(slider::kCompassDegrees);
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
    Ui::TintDocument& f = *form_;

    f.sourceImageWell->setBugXY(s.sourceBugX, s.sourceBugY);
    f.useOriginalHueButton->setChecked(s.useOriginalHue);
    f.useOriginalSaturationButton->setChecked(s.useOriginalSaturation);
    f.useOriginalBrightnessButton->setChecked(s.useOriginalBrightness);
    f.useRainbowCheckbox->setChecked(s.useRainbow);
    if (QAbstractButton* cell = rainbowTypes_->button(s.circularRainbow ? 1 : 0))
        cell->setChecked(true);

    f.rainbowCircle->setOffsets(s.rainbowXOffset, s.rainbowYOffset);
    showCircleFields(*rainbow_);
    enableRainbowControls(s.useRainbow);

    showHueInWell();
    for (const ScalarControl& control : *scalars_) {
        control.slider->setFloatValue(s.*control.setting);
        control.field->setFloatValue(fieldFromSetting(s.*control.setting, control.factor));
    }

    f.shadowCircle->setOffsets(s.shadowXOffset, s.shadowYOffset);
    showCircleFields(*shadow_);
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

void TintDocumentWindow::showHueInWell()
{
    // Any stored hue names a point on the colour circle.
    double hue = double(document_->settings().userHue) / 100.0;
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
    well->setBugXY(document_->settings().sourceBugX, document_->settings().sourceBugY);
}

void TintDocumentWindow::prepareSourceImage(QImage image, const BitmapRep& stencil)
{
    preparedSourceImage_ = std::move(image);
    preparedFor_ = preparedSourceImage_.isNull() ? nullptr : stencil.bitmapData();
}

void TintDocumentWindow::fixTintingControlsForSimpleStencil()
{
    if (arrangeTintingRows(*form_, *centralWidget(), document_->sourceImageIsSimple()))
        centralWidget()->update();
}

} // namespace gelcoat
