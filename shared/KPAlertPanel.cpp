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

namespace {

struct AlertChoices {
    QPushButton* defaultChoice = nullptr;
    QPushButton* alternateChoice = nullptr;
    QPushButton* otherChoice = nullptr;

    // A box ended without a click answers as Escape would.
    int returnCode(const QMessageBox& box) const
    {
        const QAbstractButton* clicked = box.clickedButton();
        if (!clicked)
            clicked = box.escapeButton();
        if (clicked == alternateChoice)
            return KPAlertAlternateReturn;
        if (clicked == otherChoice)
            return KPAlertOtherReturn;
        return KPAlertDefaultReturn;
    }
};

AlertChoices setUpAlert(QMessageBox& box, QMessageBox::Icon icon, const QString& title,
                        const QString& message, const QString& defaultButton,
                        const QString& alternateButton, const QString& otherButton)
{
    box.setIcon(icon);
    box.setWindowTitle(QGuiApplication::applicationDisplayName());
    box.setTextFormat(Qt::PlainText);
    if (title.isEmpty()) {
        box.setText(message);
    } else {
        box.setText(title);
        box.setInformativeText(message);
    }
    AlertChoices choices;
    choices.defaultChoice = box.addButton(
        defaultButton.isEmpty() ? KPTestLocalizedStringFromTable("OK button", "Base")
                                : defaultButton,
        QMessageBox::AcceptRole);
    if (!alternateButton.isEmpty())
        choices.alternateChoice = box.addButton(alternateButton, QMessageBox::RejectRole);
    if (!otherButton.isEmpty())
        choices.otherChoice = box.addButton(otherButton, QMessageBox::ActionRole);
    box.setDefaultButton(choices.defaultChoice);
    box.setEscapeButton(choices.alternateChoice ? choices.alternateChoice
                        : choices.otherChoice   ? choices.otherChoice
                                                : choices.defaultChoice);
    return choices;
}

} // namespace

int KPRunAlertPanelWithArguments(QMessageBox::Icon icon, const QString& title,
                                 const QString& messageFormat, const QString& defaultButton,
                                 const QString& alternateButton, const QString& otherButton,
                                 const QList<QVariant>& arguments)
{
    CenteredAlert panel;
    const AlertChoices choices =
        setUpAlert(panel, icon, title, KPFormatWithArguments(messageFormat, arguments),
                   defaultButton, alternateButton, otherButton);
    if (KPRealFloatingPanel::KPShouldUseFloatingPanels())
        KPTransformIntoKPRealFloatingPanel(&panel);
    else
        KPTransformIntoKPPanel(&panel);
    panel.exec();
    return choices.returnCode(panel);
}

QMessageBox* KPBeginAlertSheet(QMessageBox::Icon icon, QWidget* window, const QString& title,
                               const QString& message, const QString& defaultButton,
                               const QString& alternateButton, const QString& otherButton,
                               std::function<void(int)> done)
{
    auto* sheet = new QMessageBox(window);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowModality(Qt::WindowModal);
    const AlertChoices choices =
        setUpAlert(*sheet, icon, title, message, defaultButton, alternateButton, otherButton);
    QObject::connect(sheet, &QMessageBox::finished, sheet,
                     [sheet, choices, done = std::move(done)] {
                         if (done)
                             done(choices.returnCode(*sheet));
                     });
    sheet->open();
    return sheet;
}
