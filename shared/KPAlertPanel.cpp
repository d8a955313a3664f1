#include "KPAlertPanel.h"

#include "KPLocalizedString.h"
#include "KPPanel.h"
#include "KPScreen.h"

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

} // namespace

int KPRunAlertPanelWithArguments(QMessageBox::Icon icon, const QString& title,
                                 const QString& messageFormat, const QString& defaultButton,
                                 const QString& alternateButton, const QString& otherButton,
                                 const QList<QVariant>& arguments)
{
    const QString message = KPFormatWithArguments(messageFormat, arguments);
    CenteredAlert panel;
    panel.setIcon(icon);
    panel.setWindowTitle(QGuiApplication::applicationDisplayName());
    panel.setTextFormat(Qt::PlainText);
    if (title.isEmpty()) {
        panel.setText(message);
    } else {
        panel.setText(title);
        panel.setInformativeText(message);
    }
    if (KPRealFloatingPanel::KPShouldUseFloatingPanels())
        KPTransformIntoKPRealFloatingPanel(&panel);
    else
        KPTransformIntoKPPanel(&panel);

    QPushButton* defaultChoice = panel.addButton(
        defaultButton.isEmpty() ? KPTestLocalizedStringFromTable("OK button", "Base")
                                : defaultButton,
        QMessageBox::AcceptRole);
    QPushButton* alternateChoice =
        alternateButton.isEmpty() ? nullptr
                                  : panel.addButton(alternateButton, QMessageBox::RejectRole);
    QPushButton* otherChoice =
        otherButton.isEmpty() ? nullptr : panel.addButton(otherButton, QMessageBox::ActionRole);
    panel.setDefaultButton(defaultChoice);
    panel.setEscapeButton(alternateChoice ? alternateChoice
                          : otherChoice   ? otherChoice
                                          : defaultChoice);

    panel.exec();
    // A panel ended without a click answers as Escape would.
    const QAbstractButton* clicked = panel.clickedButton();
    if (!clicked)
        clicked = panel.escapeButton();
    if (clicked == alternateChoice)
        return KPAlertAlternateReturn;
    if (clicked == otherChoice)
        return KPAlertOtherReturn;
    return KPAlertDefaultReturn;
}
