#pragma once
// Application-modal alert panels with up to three buttons.  The message is
// made from `messageFormat` and the arguments with KPFormat and then shown as
// plain text.  An empty button title means no such button; without a
// default button the panel gets "OK".  Returns 1 for the default button,
// 0 for the alternate and -1 for the other.  Escape answers as the alternate
// button if there is one, else the other, else the default.  The panel is
// centred on the primary screen and frozen before it runs; it floats when
// KPRealFloatingPanel::KPShouldUseFloatingPanels() says so.
//
// A non-empty title is the panel's main text and the message its
// informative text; with an empty title the message is the main text.

#include "shared/KPFormat.h"

#include <QList>
#include <functional>
#include <QMessageBox>
#include <QString>
#include <QVariant>

inline constexpr int KPAlertDefaultReturn = 1;
inline constexpr int KPAlertAlternateReturn = 0;
inline constexpr int KPAlertOtherReturn = -1;

int KPRunAlertPanelWithArguments(QMessageBox::Icon icon, const QString& title,
                                 const QString& messageFormat, const QString& defaultButton,
                                 const QString& alternateButton, const QString& otherButton,
                                 const QList<QVariant>& arguments);

template <typename... Args>
int KPRunAlertPanel(const QString& title, const QString& messageFormat,
                    const QString& defaultButton, const QString& alternateButton,
                    const QString& otherButton, const Args&... arguments)
{
    return KPRunAlertPanelWithArguments(QMessageBox::Warning, title, messageFormat, defaultButton,
                                        alternateButton, otherButton, {QVariant(arguments)...});
}

template <typename... Args>
int KPRunInformationalAlertPanel(const QString& title, const QString& messageFormat,
                                 const QString& defaultButton, const QString& alternateButton,
                                 const QString& otherButton, const Args&... arguments)
{
    return KPRunAlertPanelWithArguments(QMessageBox::Information, title, messageFormat,
                                        defaultButton, alternateButton, otherButton,
                                        {QVariant(arguments)...});
}

template <typename... Args>
int KPRunCriticalAlertPanel(const QString& title, const QString& messageFormat,
                            const QString& defaultButton, const QString& alternateButton,
                            const QString& otherButton, const Args&... arguments)
{
    return KPRunAlertPanelWithArguments(QMessageBox::Critical, title, messageFormat, defaultButton,
                                        alternateButton, otherButton, {QVariant(arguments)...});
}

// The same alert as a sheet: window-modal on `window`, opened at once and
// returning before it is answered.  `didEnd` runs once with the code of the
// button that ended it (Escape and closing answer as above); the box deletes
// itself afterwards.  The message is shown as it is, not formatted.  Returns
// the open box.
QMessageBox* KPBeginAlertSheet(QMessageBox::Icon icon, QWidget* window, const QString& title,
                               const QString& message, const QString& defaultButton,
                               const QString& alternateButton, const QString& otherButton,
                               std::function<void(int)> didEnd = {});
