#pragma once
// The window that edits the application's preferences. One
// controller per process, created on first use and kept. The values, their
// storage and their change notices are Preferences'; this adds the window.

#include "document/settings/Preferences.h"

#include <QDialog>
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <memory>

class QAbstractButton;
class QButtonGroup;
class QSpinBox;


namespace Ui {
class Preferences;
}

namespace gelcoat {

class PrefsController : public QObject {
    Q_OBJECT
public:
    static PrefsController& sharedPrefsController();
    ~PrefsController() override;

    // Loads the window the first time; always brings it to the front.
    void showWindow();
    void closeWindow();

    bool showTooltips() const { return Preferences::shared().showTooltips(); }
    bool showRainbowStrip() const { return Preferences::shared().showRainbowStrip(); }
    std::int32_t flatteningChoice() const { return Preferences::shared().flatteningChoice(); }

    // None until the window is first shown.
    QDialog* preferencesWindow() const { return preferencesWindow_; }
    QAbstractButton* showTooltipsCheckbox() const;
    QAbstractButton* showRainbowStripCheckbox() const;
    QButtonGroup* flatteningDefaultMatrix() const;
    QSpinBox* vectorSideField() const;

public slots:
    void showTooltipsChanged(bool state);
    void showRainbowStripChanged(bool state);
    void flatteningDefaultChanged(int tag);
    void vectorSideChanged(int side);

private:
    PrefsController();
    void loadWindow();
    // Called once when the window is loaded; nothing needs enabling here.
    void fixEnabling() {}

    QPointer<QDialog> preferencesWindow_;
    std::unique_ptr<Ui::Preferences> ui_;
};

} // namespace gelcoat
