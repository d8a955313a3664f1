#pragma once
// The application's three preferences and the window that edits them. One
// controller per process, created on first use and kept. Every change is
// written to the user defaults at once; the two display preferences are
// announced through PreferenceNotifications.

#include <QDialog>
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <memory>

class QAbstractButton;
class QButtonGroup;


namespace Ui {
class Preferences;
}

namespace gelcoat {

extern const char* const showTooltipsKey;     // "ShowTooltips"
extern const char* const showRainbowKey;      // "ShowRainbow"
extern const char* const flatteningChoiceKey; // "FlatteningChoice"

// The flatten sheet's choices, which are also the radio buttons' tags.
enum FlatteningChoice : std::int32_t {
    FlattenOntoWhite = 0,
    FlattenOntoBlack = 1,
    KeepTransparency = 2,
};

class PrefsController : public QObject {
    Q_OBJECT
public:
    static PrefsController& sharedPrefsController();
    ~PrefsController() override;

    // Loads the window the first time; always brings it to the front.
    void showWindow();
    void closeWindow();

    bool showTooltips() const { return showTooltips_; }
    bool showRainbowStrip() const { return showRainbowStrip_; }
    std::int32_t flatteningChoice() const { return flatteningChoice_; }

    // None until the window is first shown.
    QDialog* preferencesWindow() const { return preferencesWindow_; }
    QAbstractButton* showTooltipsCheckbox() const;
    QAbstractButton* showRainbowStripCheckbox() const;
    QButtonGroup* flatteningDefaultMatrix() const;

public slots:
    void showTooltipsChanged(bool state);
    void showRainbowStripChanged(bool state);
    void flatteningDefaultChanged(int tag);

private:
    PrefsController();
    void loadWindow();
    // Stores a changed switch and writes it; false when nothing changed.
    bool storeSwitch(bool& field, bool state, const char* key);
    // Called once when the window is loaded; nothing needs enabling here.
    void fixEnabling() {}

    bool showTooltips_ = true;
    bool showRainbowStrip_ = true;
    std::int32_t flatteningChoice_ = FlattenOntoWhite;
    QPointer<QDialog> preferencesWindow_;
    std::unique_ptr<Ui::Preferences> ui_;
};

} // namespace gelcoat
