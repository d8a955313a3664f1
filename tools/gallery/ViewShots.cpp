// Gallery pictures of the image wells, the rainbow strip, the pop-up image
// button and the views' own pictures.

#include "tools/gallery/Gallery.h"

#include "document/image/BitmapImage.h"
#include "window/export/DragWriters.h"
#include "views/controls/KPImagePopUpMenuButton.h"
#include "views/controls/KPRainbowStrip.h"
#include "views/imageview/BugImageView.h"
#include "views/imageview/MessageImageView.h"
#include "document/model/TintDocument.h"
#include "views/resources/ViewImages.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <memory>

using namespace gelcoat;

namespace {

constexpr int padding = 12;

// The widget drawn on a window-coloured margin, at device pixel ratio 1.
QImage onWindow(QWidget& widget)
{
    QImage image(widget.size() + QSize(2 * padding, 2 * padding), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1.0);
    image.fill(windowColour);
    widget.render(&image, QPoint(padding, padding), QRegion(), QWidget::DrawChildren);
    return image;
}

// The pictures the wells show: the start stencil and its gel rendering at
// the default settings.
struct SamplePictures {
    QImage stencil;
    QImage gel;
};

const SamplePictures& samples()
{
    static const SamplePictures pictures = [] {
        SamplePictures made;
        TintDocument document;
        document.refreshUIFromModel();
        if (document.sourceImage())
            made.stencil = imageFromBitmap(*document.sourceImage());
        if (document.pipeline().finalMixImage())
            made.gel = imageFromBitmap(*document.pipeline().finalMixImage());
        return made;
    }();
    return pictures;
}

QString styleName(int style)
{
    switch (style) {
    case GelcoatImageView::Light: return QStringLiteral("light");
    case GelcoatImageView::Dark: return QStringLiteral("dark");
    case GelcoatImageView::Black: return QStringLiteral("black");
    case GelcoatImageView::White: return QStringLiteral("white");
    case GelcoatImageView::Checkered: return QStringLiteral("checkered");
    default: return QStringLiteral("none");
    }
}

struct WellLook {
    int style = GelcoatImageView::Light;
    QSize size{220, 200};
    bool shrinks = true;
    bool showsSize = true;
    bool sizeOnLeft = false;
    bool showsBounds = false;
};

void applyLook(GelcoatImageView& view, const WellLook& look, const QImage& image)
{
    view.resize(look.size);
    view.setInteriorStyle(look.style);
    view.setShrinksIfNecessary(look.shrinks);
    view.setShowsSize(look.showsSize);
    view.setShowsSizeOnLeft(look.sizeOnLeft);
    view.setShowsBounds(look.showsBounds);
    view.setImage(image);
}

GalleryShot resultShot(const QString& name, const WellLook& look, bool valid)
{
    return {name, [look, valid] {
                MessageImageView view;
                applyLook(view, look, samples().gel);
                view.setImageValid(valid);
                return onWindow(view);
            }};
}

// The well shows the start stencil unless told to stay empty.
GalleryShot sourceShot(const QString& name, const WellLook& look, QPoint bug, bool empty = false)
{
    return {name, [look, bug, empty] {
                BugImageView view;
                applyLook(view, look, empty ? QImage() : samples().stencil);
                onWindow(view);   // the first draw sets the scale the bug is placed with
                view.setBugXY(bug.x(), bug.y());
                return onWindow(view);
            }};
}

GalleryShot stripShot(const QString& name, QSize size)
{
    return {name, [size] {
                KPRainbowStrip strip;
                strip.resize(size);
                return onWindow(strip);
            }};
}

std::unique_ptr<QMenu> sampleMenu()
{
    auto menu = std::make_unique<QMenu>();
    menu->addAction(QObject::tr("Copy"));
    menu->addAction(QObject::tr("Paste"));
    menu->addSeparator();
    menu->addAction(QObject::tr("Invert the Stencil"));
    menu->addAction(QObject::tr("Adjust Size..."));
    return menu;
}

// The button, optionally pressed with its menu open, on a window big enough
// to show the menu where it opens.
QImage popUpScene(const QString& imageName, bool open)
{
    QWidget window;
    window.resize(open ? 300 : 80, open ? 220 : 50);
    useWindowBackground(window);
    KPImagePopUpMenuButton button(&window);
    button.setImageName(imageName);
    const int x = open && imageName.contains(QLatin1String("mirror")) ? 220 : 25;
    button.setGeometry(x, 14, 30, 22);
    const std::unique_ptr<QMenu> menu = sampleMenu();
    button.setMenu(menu.get());
    window.show();
    QApplication::processEvents();
    if (!open)
        return window.grab().toImage();

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), button.mapToGlobal(QPointF(10, 10)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &press);
    QApplication::processEvents();
    QImage scene = window.grab().toImage();
    QPainter painter(&scene);
    painter.drawPixmap(menu->pos() - window.mapToGlobal(QPoint(0, 0)), menu->grab());
    painter.end();
    menu->hide();
    return scene;
}

// The views' pictures at four times their size, on light and dark ground.
QImage zoomedPictures()
{
    const QStringList names = {QStringLiteral("sourceBug"), QStringLiteral("arrow"), QStringLiteral("arrowDim"),
                               QStringLiteral("actionMenu"), QStringLiteral("actionMenu_mirror")};
    QImage sheet(2 * 16 + 5 * 4 * 32, 2 * 4 * 24 + 3 * 8, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(windowColour);
    QPainter painter(&sheet);
    painter.fillRect(0, sheet.height() / 2, sheet.width(), sheet.height() / 2, QColor(70, 70, 70));
    int x = 16;
    for (const QString& name : names) {
        const QImage picture = viewImage(QStringLiteral("views"), name, 2.0);
        const QSizeF size = QSizeF(picture.size()) * 2.0;   // 4 x the point size
        for (int row = 0; row < 2; ++row)
            painter.drawImage(QRectF(QPointF(x, 8 + row * (sheet.height() / 2)), size), picture);
        x += 4 * 32;
    }
    return sheet;
}

} // namespace

std::vector<GalleryShot> viewShots()
{
    installDragWriters();
    std::vector<GalleryShot> shots;

    for (int style = 0; style <= 4; ++style)
        shots.push_back(resultShot(QStringLiteral("result-%1.png").arg(styleName(style)), {.style = style}, true));
    shots.push_back(resultShot(QStringLiteral("result-no-interior.png"), {.style = 5}, true));
    for (int style = 0; style <= 4; ++style)
        shots.push_back(resultShot(QStringLiteral("result-out-of-date-%1.png").arg(styleName(style)),
                                   {.style = style, .size = {260, 240}}, false));
    shots.push_back(resultShot(QStringLiteral("result-bounds-light.png"), {.showsBounds = true}, true));
    shots.push_back(resultShot(QStringLiteral("result-bounds-dark.png"),
                               {.style = GelcoatImageView::Dark, .showsBounds = true}, true));
    shots.push_back(resultShot(QStringLiteral("result-bounds-checkered.png"),
                               {.style = GelcoatImageView::Checkered, .showsBounds = true}, true));
    shots.push_back(resultShot(QStringLiteral("result-shrunk-small-well.png"),
                               {.style = GelcoatImageView::Checkered, .size = {110, 90}, .showsBounds = true}, true));
    shots.push_back(resultShot(QStringLiteral("result-not-shrunk-clipped.png"),
                               {.style = GelcoatImageView::Checkered, .size = {110, 90}, .shrinks = false}, true));
    shots.push_back(resultShot(QStringLiteral("result-size-label-left.png"),
                               {.style = GelcoatImageView::Dark, .sizeOnLeft = true}, true));
    shots.push_back(resultShot(QStringLiteral("result-no-size-label.png"), {.showsSize = false}, true));

    shots.push_back(sourceShot(QStringLiteral("source-bug-centre.png"), {}, {0, 0}));
    shots.push_back(sourceShot(QStringLiteral("source-bug-placed.png"), {.style = GelcoatImageView::White}, {40, 30}));
    shots.push_back(sourceShot(QStringLiteral("source-bug-shrunk-dark.png"),
                               {.style = GelcoatImageView::Dark, .size = {120, 110}}, {-60, -40}));
    shots.push_back(sourceShot(QStringLiteral("source-bug-empty-well.png"), {.showsSize = false}, {-20, 15}, true));

    shots.push_back(stripShot(QStringLiteral("rainbow-strip-360.png"), {360, 8}));
    shots.push_back(stripShot(QStringLiteral("rainbow-strip-150.png"), {150, 12}));

    shots.push_back({QStringLiteral("popup-button.png"), [] { return popUpScene(QStringLiteral("actionMenu"), false); }});
    shots.push_back({QStringLiteral("popup-button-mirror.png"),
                     [] { return popUpScene(QStringLiteral("actionMenu_mirror"), false); }});
    shots.push_back({QStringLiteral("popup-menu-open.png"), [] { return popUpScene(QStringLiteral("actionMenu"), true); }});
    shots.push_back({QStringLiteral("popup-menu-open-mirror.png"),
                     [] { return popUpScene(QStringLiteral("actionMenu_mirror"), true); }});

    shots.push_back({QStringLiteral("view-pictures-zoomed.png"), zoomedPictures});
    return shots;
}
