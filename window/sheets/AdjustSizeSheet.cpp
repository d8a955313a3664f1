#include "window/sheets/AdjustSizeSheet.h"

#include "ui_AdjustSize.h"

#include <QDialog>
#include <QIntValidator>

#include <climits>

namespace gelcoat {

namespace {

int marginIn(const QLineEdit* field)
{
    // The validator admits only integers; an empty or lone "-" reads as 0.
    return field->text().toInt();
}

} // namespace

AdjustSizeSheet::AdjustSizeSheet(QWidget* window) : QObject(window), window_(window) {}

AdjustSizeSheet::~AdjustSizeSheet() = default;

void AdjustSizeSheet::load()
{
    panel_ = new QDialog(window_);
    form_ = std::make_unique<Ui::AdjustSize>();
    form_->setupUi(panel_);
    panel_->setWindowModality(Qt::WindowModal);
    auto* integers = new QIntValidator(INT_MIN, INT_MAX, panel_);
    for (QLineEdit* field : {form_->topMarginTextfield, form_->bottomMarginTextfield,
                             form_->leftMarginTextfield, form_->rightMarginTextfield})
        field->setValidator(integers);
    connect(form_->okButton, &QPushButton::clicked, panel_, &QDialog::accept);
    connect(form_->cancelButton, &QPushButton::clicked, panel_, &QDialog::reject);
    connect(panel_, &QDialog::finished, this, [this](int code) {
        auto didAccept = std::exchange(didAccept_, {});
        if (code != QDialog::Accepted || !didAccept)
            return;
        const Ui::AdjustSize& f = *form_;
        didAccept({marginIn(f.topMarginTextfield), marginIn(f.bottomMarginTextfield),
                   marginIn(f.leftMarginTextfield), marginIn(f.rightMarginTextfield)});
    });
}

void AdjustSizeSheet::begin(const StencilMargins& margins,
                            std::function<void(StencilMargins)> didAccept)
{
    if (!panel_)
        load();
    if (panel_->isVisible())
        return;
    Ui::AdjustSize& f = *form_;
    f.topMarginTextfield->setText(QString::number(margins.top));
    f.bottomMarginTextfield->setText(QString::number(margins.bottom));
    f.leftMarginTextfield->setText(QString::number(margins.left));
    f.rightMarginTextfield->setText(QString::number(margins.right));
    didAccept_ = std::move(didAccept);
    panel_->open();
    f.topMarginTextfield->setFocus(Qt::OtherFocusReason);
    f.topMarginTextfield->selectAll();
}

} // namespace gelcoat
