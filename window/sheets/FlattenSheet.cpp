#include "window/sheets/FlattenSheet.h"

#include "ui_FlattenChoice.h"

#include <QButtonGroup>
#include <QDialog>

namespace gelcoat {

FlattenSheet::FlattenSheet(QWidget* window) : QObject(window), window_(window) {}

FlattenSheet::~FlattenSheet() = default;

void FlattenSheet::load()
{
    panel_ = new QDialog(window_);
    form_ = std::make_unique<Ui::FlattenChoice>();
    form_->setupUi(panel_);
    panel_->setWindowModality(Qt::WindowModal);
    choices_ = new QButtonGroup(panel_);
    for (QAbstractButton* cell :
         {static_cast<QAbstractButton*>(form_->flattenOntoWhiteRadio),
          static_cast<QAbstractButton*>(form_->flattenOntoBlackRadio),
          static_cast<QAbstractButton*>(form_->keepTransparencyRadio)})
        choices_->addButton(cell, cell->property("tag").toInt());
    connect(form_->okButton, &QPushButton::clicked, panel_, &QDialog::accept);
    connect(form_->cancelButton, &QPushButton::clicked, panel_, &QDialog::reject);
    connect(panel_, &QDialog::finished, this, [this](int code) {
        // Taken out first: the callback may begin the next export.
        auto didChoose = std::exchange(didChoose_, {});
        if (code != QDialog::Accepted || !didChoose)
            return;
        if (const auto choice = flattenChoiceForTag(choices_->checkedId()))
            didChoose(*choice);
    });
}

void FlattenSheet::begin(int preselectedTag, std::function<void(FlattenChoice)> didChoose)
{
    if (!panel_)
        load();
    if (panel_->isVisible())
        return;
    // A stored tag outside the three leaves the first cell chosen.
    QAbstractButton* cell = choices_->button(preselectedTag);
    (cell ? cell : choices_->button(0))->setChecked(true);
    didChoose_ = std::move(didChoose);
    panel_->open();
}

} // namespace gelcoat
