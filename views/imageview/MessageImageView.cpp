#include "views/imageview/MessageImageView.h"

#include "views/drag/ImageDragPayload.h"
#include "views/paint/WhiteLevel.h"
#include "views/text/ViewFonts.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <optional>

namespace gelcoat {

namespace {

constexpr int headingPixels = 24;
constexpr double textMargin = 20.0;

// The interior's own colour, for washing the out-of-date picture.
std::optional<QColor> washColour(int style)
{
    if (const std::optional<double> level = GelcoatImageView::interiorLevel(style))
        return whiteLevel(*level, 0.5);
    return std::nullopt;
}

} // namespace

MessageImageView::MessageImageView(QWidget* parent) : GelcoatImageView(parent) {}

void MessageImageView::setImageValid(bool valid)
{
    if (valid == imageValid_)
        return;
    imageValid_ = valid;
    update();
}

QColor MessageImageView::contrastingTextColor() const
{
    switch (interiorStyle()) {
    case Light: return whiteLevel(0.25);
    case Dark: return whiteLevel(0.9);
    case Black: return whiteLevel(0.65);
    case White: return whiteLevel(0.35);
    case Checkered: return whiteLevel(0.15);
    default: return whiteLevel(1.0 / 3.0);   // dark grey
    }
}

QString MessageImageView::topText()
{
    return tr("OBSOLETE");
}

QString MessageImageView::bottomText()
{
    return tr("This image is out of date, because\n"
              "gelcoating has been turned off.  Turn\n"
              "gelcoating back on by clicking the\n"
              "tricolor gelcoat icon near the center of\n"
              "the window.");
}

QPointF MessageImageView::imageLocation() const
{
    const UpRect b = upBounds();
    const QSizeF size = imagePointSize();
    return {std::floor(b.x + (b.w - size.width()) * 0.5), std::floor(b.y + (b.h - size.height()) * 0.5)};
}

void MessageImageView::drawOverlaidContent(QPainter& painter)
{
    if (imageValid_)
        return;
    const UpRect r = upBounds().insetBy(textMargin);
    if (const std::optional<QColor> wash = washColour(interiorStyle()))
        fillUp(painter, upBounds(), *wash);

    painter.save();
    painter.setPen(contrastingTextColor());
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    painter.setFont(systemFont(headingPixels));
    painter.drawText(toQtRect({r.x, r.top() - 40.0, r.w, 40.0}, height()), flags, topText());
    painter.setFont(smallSystemFont());
    painter.drawText(toQtRect({r.x, r.y, r.w, 70.0}, height()), flags, bottomText());
    painter.restore();
}

bool MessageImageView::event(QEvent* event)
{
    // Qt withholds mouse presses from disabled widgets; the picture can be
    // dragged out of a disabled well all the same.
    if (event->type() == QEvent::MouseButtonPress && !isEnabled()) {
        mousePressEvent(static_cast<QMouseEvent*>(event));
        return event->isAccepted();
    }
    return GelcoatImageView::event(event);
}

void MessageImageView::mousePressEvent(QMouseEvent* event)
{
    // Any state will do: disabled or out of date, the picture is dragged.
    if (event->button() == Qt::LeftButton)
        emit imageDragStarting();
    if (event->button() != Qt::LeftButton || image().isNull()) {
        GelcoatImageView::mousePressEvent(event);
        return;
    }
    QMimeData* payload = makeImageDragPayload(image(), dragFileName_);
    if (!payload)
        return;
    // The drag picture starts where the full-size picture would sit.
    const QPointF location = imageLocation();
    const QPointF topLeft = toQtPoint({location.x(), location.y() + imagePointSize().height()}, height());
    event->accept();
    startImageDrag(payload, QPixmap::fromImage(image()), (event->position() - topLeft).toPoint());
}

void MessageImageView::startImageDrag(QMimeData* payload, const QPixmap& picture, const QPoint& hotSpot)
{
    auto* drag = new QDrag(this);
    drag->setMimeData(payload);
    drag->setPixmap(picture);
    drag->setHotSpot(hotSpot);
    drag->exec(Qt::CopyAction);
}

} // namespace gelcoat
