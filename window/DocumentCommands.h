#pragma once
// The commands of one document window as actions: the rendering switch,
// the display options of the two wells, the result's backgrounds, the
// presets and the default settings. The menus and the pop-up buttons carry
// these same actions, so their check marks agree wherever they show; the
// marks are set from the document after every change of it.

#include <QObject>

#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace gelcoat {

class TintDocument;
struct TintSettings;

class DocumentCommands : public QObject {
    Q_OBJECT
public:
    // Actions named after their commands ("toggleTinting", "showDestSize",
    // "useWhiteBackgroundForDest", "useBluePresets"…), acting on document.
    DocumentCommands(TintDocument& document, QObject* parent);

    QAction* toggleTinting = nullptr;
    QAction* showSourceSize = nullptr;
    QAction* showSourceBounds = nullptr;
    QAction* scaleSourceDisplayToFit = nullptr;
    QAction* showDestSize = nullptr;
    QAction* showDestBounds = nullptr;
    QAction* scaleDestDisplayToFit = nullptr;
    // Light, dark, black, white, checkered: index = interior style.
    std::array<QAction*, 5> destBackgrounds{};
    QActionGroup* destBackgroundGroup = nullptr;
    QAction* useDefaultSettings = nullptr;
    // Blue, blue highlighted, graphite, graphite highlighted, inactive.
    std::array<QAction*, 5> presets{};

    // Every action, for a window that offers their shortcuts.
    QList<QAction*> all() const;

    // Menus holding the actions; owned by parent.
    QMenu* makeViewMenu(QWidget* parent) const;
    QMenu* makePresetsMenu(QWidget* parent) const;
    QMenu* makeSourceActionMenu(QWidget* parent) const;
    QMenu* makeDestActionMenu(QWidget* parent) const;

    // Check marks from the document's display options and rendering switch.
    void updateChecks();

private:
    QAction* makeAction(const QString& text, const char* name, bool checkable);
    // A display switch: inverts the flag the member selects.
    QAction* makeDisplaySwitch(const QString& text, const char* name, bool TintSettings::*flag);
    void addBackgroundsTo(QMenu* menu) const;

    TintDocument& document_;
};

} // namespace gelcoat
