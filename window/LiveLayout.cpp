#include "window/LiveLayout.h"

#include <QWidget>

namespace gelcoat {

LiveLayout::LiveLayout(QWidget& area) : area_(area)
{
    const QList<QWidget*> children = area.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    views_.assign(children.begin(), children.end());
    for (QWidget* view : views_) {
        const QRect g = view->geometry();
        frames_.record(view->objectName().toStdString(), {g.x(), g.y(), g.width(), g.height()});
    }
}

void LiveLayout::place()
{
    const std::vector<layout::DownRect> placed = frames_.place(area_.width(), area_.height());
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const layout::DownRect& r = placed[i];
        views_[i]->setGeometry(r.x, r.y, r.width, r.height);
    }
}

} // namespace gelcoat
