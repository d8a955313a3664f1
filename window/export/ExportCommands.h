#pragma once
// The result leaving a document window: Copy and Export Result each ask in
// the flatten sheet how the result meets its background, then put it on the
// clipboard or run the save panel for it. Both read the last rendered
// result even while rendering is off, and do nothing without one.

#include "document/export/FlattenChoice.h"

#include <QObject>

#include <functional>

class QMainWindow;

namespace gelcoat {

class FlattenSheet;
class TintDocument;
struct BitmapRep;

class ExportCommands : public QObject {
    Q_OBJECT
public:
    ExportCommands(TintDocument& document, QMainWindow& window);

    // Copy copies the focused text field's selection when there is one.
    void copy();
    void saveDestImage();
    FlattenSheet& flattenSheet() { return *flattenSheet_; }

private:
    // Opens the flatten sheet preset from the preference; on OK hands the
    // flattened result to finish.
    void flattenImageByUserChoice(std::function<void(const BitmapRep&)> finish);
    void finishCopy(const BitmapRep& image);
    void finishSaveDestImage(const BitmapRep& image);
    void savePanelDidSelectImage(const QString& path, const QByteArray& tiff);

    TintDocument& document_;
    QMainWindow& window_;
    FlattenSheet* flattenSheet_ = nullptr;
};

} // namespace gelcoat
