#pragma once
// The sheet of File ▸ Export Icon Set…: the sizes, the form of the set and
// the background. One per document window, loaded on first use; the sizes
// and form chosen stay for the next time, the background starts from the
// flattening preference every time.

#include "document/export/FlattenChoice.h"
#include "document/icons/IconFiles.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QDialog;
class QWidget;

namespace Ui {
class IconSet;
}

namespace gelcoat {

struct IconSetChoice {
    std::vector<int> sizes;   // ascending
    IconSetForm form = IconSetForm::PngFiles;
    FlattenChoice flatten = FlattenChoice::None;
};

class IconSetSheet : public QObject {
    Q_OBJECT
public:
    explicit IconSetSheet(QWidget* window);
    ~IconSetSheet() override;

    // Opens the sheet window-modal; didChoose runs only on OK, and OK is
    // possible only with a size ticked.
    void begin(int flatteningTag, std::function<void(const IconSetChoice&)> didChoose);

    // None until first begun.
    QDialog* iconSetPanel() const { return panel_; }
    Ui::IconSet* form() const { return form_.get(); }

private:
    void load();
    IconSetChoice choice() const;
    void enableOk();

    QWidget* window_;
    QDialog* panel_ = nullptr;
    QButtonGroup* forms_ = nullptr;
    QButtonGroup* backgrounds_ = nullptr;
    std::vector<QCheckBox*> sizeChecks_;
    std::unique_ptr<Ui::IconSet> form_;
    std::function<void(const IconSetChoice&)> didChoose_;
};

} // namespace gelcoat
