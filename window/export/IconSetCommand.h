#pragma once
// File ▸ Export Icon Set…: the sheet's choices, then a panel for where the
// set goes (a folder, or the .ico or .icns file), then one render of the
// document's stencil and settings fitted to every size and written by the
// same code as gelcoat-render --sizes.

#include <QObject>

class QMainWindow;

namespace gelcoat {

class IconSetSheet;
class TintDocument;
struct IconSetChoice;

class IconSetCommand : public QObject {
    Q_OBJECT
public:
    IconSetCommand(TintDocument& document, QMainWindow& window);

    // Opens the sheet; nothing without a stencil.
    void begin();
    IconSetSheet& sheet() { return *sheet_; }

    // The set's files for a confirmed place: rendered, encoded and written,
    // with an alert sheet on failure. Public for tests.
    void writeSet(const IconSetChoice& choice, const QString& place);

private:
    void chooseDestination(const IconSetChoice& choice);
    // NAME of the set's files: the document's name without its suffix.
    QString setName() const;

    TintDocument& document_;
    QMainWindow& window_;
    IconSetSheet* sheet_ = nullptr;
};

} // namespace gelcoat
