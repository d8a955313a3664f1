#pragma once
// The result leaving a document window: Copy and Export Result each ask in
// the flatten sheet how the result meets its background, then put it on the
// clipboard or run the save panel for it, whose type filter chooses PNG,
// TIFF or WebP. Both read the last rendered
// result even while rendering is off, and do nothing without one.

#include "document/export/ExportFormat.h"
#include "document/export/FlattenChoice.h"

#include <QObject>

#include <functional>

class QMainWindow;

namespace gelcoat {

class FlattenSheet;
class IconSetCommand;
class TintDocument;
struct BitmapRep;

class ExportCommands : public QObject {
    Q_OBJECT
public:
    ExportCommands(TintDocument& document, QMainWindow& window);

    // Copy copies the focused text field's selection when there is one.
    void copy();
    void saveDestImage();
    // File ▸ Export Icon Set…
    void exportIconSet();
    FlattenSheet& flattenSheet() { return *flattenSheet_; }
    IconSetCommand& iconSet() { return *iconSet_; }

private:
    // Opens the flatten sheet preset from the preference; on OK hands the
    // flattened result to finish.
    void flattenImageByUserChoice(std::function<void(const BitmapRep&)> finish);
    void finishCopy(const BitmapRep& image);
    void finishSaveDestImage(const BitmapRep& image);
    void savePanelDidSelectImage(const QString& path, ExportFormat format,
                                 const BitmapRep& image);

    TintDocument& document_;
    QMainWindow& window_;
    FlattenSheet* flattenSheet_ = nullptr;
    IconSetCommand* iconSet_ = nullptr;
};

} // namespace gelcoat
