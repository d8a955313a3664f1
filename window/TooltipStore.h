#pragma once
// The tooltips of the document window's controls, which the user may
// switch off.  A control that has lost its tooltip cannot give it back, so
// the first window of the process keeps a copy of every tooltip its form
// gives, by control, for every window after it.

#include <QString>

class QWidget;

namespace gelcoat {

// Copies the tooltips of form's controls into the store unless a window
// did so before.
void saveTooltipsForLater(const QWidget& form);
void removeTooltipsFromViews(const QWidget& form);
void addTooltipsToViews(const QWidget& form);
// The stored text of a control, by object name; empty for one without.
QString storedTooltip(const QString& control);

// A new window's part: fills the store, gives each control the stored text
// as its description for assistive tools, which otherwise would fall back
// on a tooltip that may be gone, shows the tooltips as the preference says
// and follows its changes for as long as window lives.
void setUpTooltips(QWidget& window, const QWidget& form);

} // namespace gelcoat
