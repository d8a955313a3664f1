#include "window/LiveLayout.h"

#include "shared/UpGeometry.h"

#include <QWidget>

namespace gelcoat {

LiveLayout::LiveLayout(QWidget& area) : area_(area)
{
    const auto& recorded = layout::laidOutViews();
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        const std::string_view outlet = recorded[i].outlet;
        views_[i] = area.findChild<QWidget*>(
            QLatin1String(outlet.data(), qsizetype(outlet.size())), Qt::FindDirectChildrenOnly);
    }
}

void LiveLayout::place()
{
    const int height = area_.height();
    const auto placed = layout::placeViews(layout::growthOf(area_.width(), height));
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const layout::Frame& f = placed[i].frame;
        if (QWidget* view = views_[i])
            view->setGeometry(kp::toQtRect({f.x, f.y, f.width, f.height}, height).toRect());
    }
}

} // namespace gelcoat
