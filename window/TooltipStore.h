#pragma once
// The tooltips of the document window's controls, which the user may
// switch off.  A control that has lost its tooltip cannot give it back, so
// the first window of the process keeps a copy of all 36 for every window
// after it; the others (arrows, strip, labels, dividers) carry none.

#include <QString>

#include <array>

class QWidget;

namespace Ui {
class TintDocument;
}

namespace gelcoat {

inline constexpr int kTooltipSlotCount = 36;

// The controls that carry a tooltip, in the order of the store's slots.
std::array<QWidget*, kTooltipSlotCount> tooltipSlots(const Ui::TintDocument& form);

// Copies the form's tooltips into the store unless a window did so before.
void saveTooltipsForLater(const Ui::TintDocument& form);
void removeTooltipsFromViews(const Ui::TintDocument& form);
void addTooltipsToViews(const Ui::TintDocument& form);
// The stored text of a slot (0-based); empty for a control without one.
QString storedTooltip(int slot);

// A new window's part: fills the store, gives each control the stored text
// as its description for assistive tools, which otherwise would fall back
// on a tooltip that may be gone, shows the tooltips as the preference says
// and follows its changes for as long as window lives.
void setUpTooltips(QWidget& window, const Ui::TintDocument& form);

} // namespace gelcoat
