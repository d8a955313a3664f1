#include "shared/KPAlertPanel.h"

#include "shared/KPCriticalAlertIcon.h"
#include "shared/KPLocalizedString.h"
#include "shared/KPPanel.h"
#include "shared/KPScreen.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QPushButton>

namespace {

// The message box settles its size only as it is shown, so it is centred and
// frozen there, before the window system places it.
class CenteredAlert : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        KPCenterOnPrimaryScreen(this);
        KPFreeze(this);
    }
};

struct AlertButtons {
    QPushButton* defaultChoice = nullptr;
    QPushButton* alternateChoice = nullptr;
    QPushButton* otherChoice = nullptr;
};

AlertButtons setUpAlert(QMessageBox& panel, QMessageBox::Icon icon, const QString& title,
                        const QString& message, const QString& defaultButton,
                        const QString& alternateButton, const QString& otherButton)
{
    panel.setIcon(icon);
    KPBadgeCriticalAlert(panel);
    panel.setWindowTitle(QGuiApplication::applicationDisplayName());
    panel.setTextFormat(Qt::PlainText);
    if (title.isEmpty()) {
        panel.setText(message);
    } else {
        panel.setText(title);
        panel.setInformativeText(message);
    }
    AlertButtons buttons;
    buttons.defaultChoice = panel.addButton(
        defaultButton.isEmpty() ? KPTestLocalizedStringFromTable("OK button", "Base")
                                : defaultButton,
        QMessageBox::AcceptRole);
    if (!alternateButton.isEmpty())
        buttons.alternateChoice = panel.addButton(alternateButton, QMessageBox::RejectRole);
    if (!otherButton.isEmpty())
        buttons.otherChoice = panel.addButton(otherButton, QMessageBox::ActionRole);
    panel.setDefaultButton(buttons.defaultChoice);
    panel.setEscapeButton(buttons.alternateChoice ? buttons.alternateChoice
                          : buttons.otherChoice   ? buttons.otherChoice
                                                  : buttons.defaultChoice);
    return buttons;
}

// A panel ended without a click answers as Escape would.
int returnCode(const QMessageBox& panel, const AlertButtons& buttons)
{
    const QAbstractButton* clicked = panel.clickedButton();
    if (!clicked)
        clicked = panel.escapeButton();
    if (clicked == buttons.alternateChoice)
        return KPAlertAlternateReturn;
    if (clicked == buttons.otherChoice)
        return KPAlertOtherReturn;
    return KPAlertDefaultReturn;
}

} // namespace

QMessageBox* KPBeginAlertSheet(QMessageBox::Icon icon, QWidget* window, const QString& title,
                               const QString& message, const QString& defaultButton,
                               const QString& alternateButton, const QString& otherButton,
                               std::function<void(int)> didEnd)
{
    auto* sheet = new QMessageBox(window ? window->window() : nullptr);
    const AlertButtons buttons =
        setUpAlert(*sheet, icon, title, message, defaultButton, alternateButton, otherButton);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowModality(Qt::WindowModal);
    QObject::connect(sheet, &QDialog::finished, sheet,
                     [sheet, buttons, didEnd = std::move(didEnd)] {
                         if (didEnd)
                             didEnd(returnCode(*sheet, buttons));
                     });
    sheet->open();
    return sheet;
}

int KPRunAlertPanelWithArguments(QMessageBox::Icon icon, const QString& title,
                                 const QString& messageFormat, const QString& defaultButton,
                                 const QString& alternateButton, const QString& otherButton,
                                 const QList<QVariant>& arguments)
{
    const QString message = KPFormatWithArguments(messageFormat, arguments);
    CenteredAlert panel;
    const AlertButtons buttons =
        setUpAlert(panel, icon, title, message, defaultButton, alternateButton, otherButton);
    if (KPRealFloatingPanel::KPShouldUseFloatingPanels())
        KPTransformIntoKPRealFloatingPanel(&panel);
    else
        KPTransformIntoKPPanel(&panel);
    panel.exec();
    return returnCode(panel, buttons);
}
