#pragma once
// The sheet that asks for the four margins by which the stencil grows (or,
// negative, is cropped). One per document window, loaded on first use.

#include "document/intake/StencilIntake.h"

#include <QObject>

#include <functional>
#include <memory>

class QDialog;
class QLineEdit;
class QWidget;

namespace Ui {
class AdjustSize;
}

namespace gelcoat {

class AdjustSizeSheet : public QObject {
    Q_OBJECT
public:
    explicit AdjustSizeSheet(QWidget* window);
    ~AdjustSizeSheet() override;

    // Opens the sheet window-modal with the margins in its fields, the top
    // one focused and selected; didAccept runs only on OK, with the fields'
    // integers.
    void begin(const StencilMargins& margins, std::function<void(StencilMargins)> didAccept);

    // None until first begun.
    QDialog* adjustSizePanel() const { return panel_; }
    Ui::AdjustSize* form() const { return form_.get(); }

private:
    void load();

    QWidget* window_;
    QDialog* panel_ = nullptr;
    std::unique_ptr<Ui::AdjustSize> form_;
    std::function<void(StencilMargins)> didAccept_;
};

} // namespace gelcoat
