#include "window/sheets/IconSetSheet.h"

#include "ui_IconSet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>

#include <algorithm>

namespace gelcoat {

IconSetSheet::IconSetSheet(QWidget* window) : QObject(window), window_(window) {}

IconSetSheet::~IconSetSheet() = default;

void IconSetSheet::load()
{
    panel_ = new QDialog(window_);
    form_ = std::make_unique<Ui::IconSet>();
    form_->setupUi(panel_);
    panel_->setWindowModality(Qt::WindowModal);
    const QList<QCheckBox*> checks = panel_->findChildren<QCheckBox*>();
    sizeChecks_.assign(checks.begin(), checks.end());
    std::sort(sizeChecks_.begin(), sizeChecks_.end(), [](QCheckBox* a, QCheckBox* b) {
        return a->property("side").toInt() < b->property("side").toInt();
    });
    const std::span<const int> common = commonIconSizes();
    for (QCheckBox* check : sizeChecks_) {
        const int size = check->property("side").toInt();
        check->setChecked(std::find(common.begin(), common.end(), size) != common.end());
        connect(check, &QCheckBox::toggled, this, &IconSetSheet::enableOk);
    }
    forms_ = new QButtonGroup(panel_);
    for (QAbstractButton* cell : {static_cast<QAbstractButton*>(form_->pngFilesRadio),
                                  static_cast<QAbstractButton*>(form_->hicolorRadio),
                                  static_cast<QAbstractButton*>(form_->icoRadio),
                                  static_cast<QAbstractButton*>(form_->icnsRadio)})
        forms_->addButton(cell, cell->property("tag").toInt());
    form_->pngFilesRadio->setChecked(true);
    backgrounds_ = new QButtonGroup(panel_);
    for (QAbstractButton* cell : {static_cast<QAbstractButton*>(form_->flattenOntoWhiteRadio),
                                  static_cast<QAbstractButton*>(form_->flattenOntoBlackRadio),
                                  static_cast<QAbstractButton*>(form_->keepTransparencyRadio)})
        backgrounds_->addButton(cell, cell->property("tag").toInt());
    connect(form_->okButton, &QPushButton::clicked, panel_, &QDialog::accept);
    connect(form_->cancelButton, &QPushButton::clicked, panel_, &QDialog::reject);
    connect(panel_, &QDialog::finished, this, [this](int code) {
        // Taken out first: the callback may begin the next export.
        auto didChoose = std::exchange(didChoose_, {});
        const IconSetChoice chosen = choice();
        if (code == QDialog::Accepted && didChoose && !chosen.sizes.empty())
            didChoose(chosen);
    });
}

IconSetChoice IconSetSheet::choice() const
{
    IconSetChoice chosen;
    for (QCheckBox* check : sizeChecks_)
        if (check->isChecked())
            chosen.sizes.push_back(check->property("side").toInt());
    chosen.form = IconSetForm(std::clamp(forms_->checkedId(), 0, 3));
    chosen.flatten = flattenChoiceForTag(backgrounds_->checkedId()).value_or(FlattenChoice::None);
    return chosen;
}

void IconSetSheet::enableOk()
{
    form_->okButton->setEnabled(!choice().sizes.empty());
}

void IconSetSheet::begin(int flatteningTag, std::function<void(const IconSetChoice&)> didChoose)
{
    if (!panel_)
        load();
    if (panel_->isVisible())
        return;
    QAbstractButton* cell = backgrounds_->button(flatteningTag);
    (cell ? cell : backgrounds_->button(0))->setChecked(true);
    enableOk();
    didChoose_ = std::move(didChoose);
    panel_->open();
}

} // namespace gelcoat
