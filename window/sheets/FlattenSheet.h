#pragma once
// The sheet asking how an exported result meets its background. One per
// document window, loaded on first use and reopened for every export.

#include "document/export/FlattenChoice.h"

#include <QObject>

#include <functional>
#include <memory>

class QButtonGroup;
class QDialog;
class QWidget;

namespace Ui {
class FlattenChoice;
}

namespace gelcoat {

class FlattenSheet : public QObject {
    Q_OBJECT
public:
    explicit FlattenSheet(QWidget* window);
    ~FlattenSheet() override;

    // Opens the sheet window-modal with the cell tagged preselectedTag
    // chosen; didChoose runs only on OK, with the choice then selected.
    void begin(int preselectedTag, std::function<void(FlattenChoice)> didChoose);

    // None until first begun.
    QDialog* flattenImagePanel() const { return panel_; }
    QButtonGroup* flattenChoiceRadio() const { return choices_; }

private:
    void load();

    QWidget* window_;
    QDialog* panel_ = nullptr;
    QButtonGroup* choices_ = nullptr;
    std::unique_ptr<Ui::FlattenChoice> form_;
    std::function<void(FlattenChoice)> didChoose_;
};

} // namespace gelcoat
