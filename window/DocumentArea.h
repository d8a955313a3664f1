#pragma once
// The document window's central widget, which holds the form.  A new
// window opens with it at the size the form is drawn for, and every size
// change of it lays the form out again (see DocumentWindowDelegate).

#include <QWidget>

namespace gelcoat {

class DocumentArea : public QWidget {
    Q_OBJECT
public:
    explicit DocumentArea(QWidget* parent = nullptr) : QWidget(parent) {}
    QSize sizeHint() const override;
};

} // namespace gelcoat
