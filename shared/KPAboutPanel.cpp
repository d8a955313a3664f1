#include "KPAboutPanel.h"

#include "BuildSettings.h"
#include "KPApplicationDelegate.h"
#include "KPApplicationIcon.h"
#include "KPFormat.h"
#include "KPLocalizedString.h"
#include "KPLog.h"
#include "KPPanel.h"
#include "KPScreen.h"
#include "KPSystemFont.h"
#include "KPTextLinks.h"

#include <QFontMetricsF>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

namespace {

constexpr int bandHeight = 74;
constexpr int mascotSize = 64;

// The panel's three bands: white, light blue, white.
class KPBandView : public QWidget {
public:
    KPBandView(const QColor& color, QWidget* parent) : QWidget(parent), color_(color) {}

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter(this).fillRect(event->rect(), color_);
    }

private:
    QColor color_;
};

QPointer<KPPanel>& aboutPanelSlot()
{
    static QPointer<KPPanel> slot;
    return slot;
}

// Sizes are pixels at scale 1, as the layout rules count them.
double textWidth(const QString& text, int pixelSize)
{
    return QFontMetricsF(KPSystemFont(pixelSize)).horizontalAdvance(text);
}

// The top band's two text columns: name and version on the left, credit
// and web lines on the right.
struct TextColumns {
    int left;
    int right;
};

TextColumns textColumns(const KPAboutPanelMetrics& metrics)
{
    return {int(std::max(metrics.nameWidth, metrics.versionWidth) + 15),
            int(std::max(metrics.creditWidth, metrics.webWidth) + 15)};
}

QString creditLine()
{
    return KPFormat(QString::fromUtf8(gelcoat::build::creditLine),
                    QString::fromUtf8(gelcoat::build::supportAddress));
}

QLabel* addLabel(QWidget* parent, const QString& text, int pixelSize, const QRect& frame,
                 Qt::Alignment alignment)
{
    auto* label = new QLabel(text, parent);
    label->setFont(KPSystemFont(pixelSize));
    label->setGeometry(frame);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPixmap mascotImage()
{
    const QPixmap mascot(QString::fromLatin1(KPAboutMascotResource));
    if (mascot.isNull()) {
        static bool logged = false;
        if (!logged)
            qCWarning(kpSharedLog, "About panel mascot image %s not found", KPAboutMascotResource);
        logged = true;
        return mascot;
    }
    return mascot.scaled(mascotSize, mascotSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// Hides the panel while another application is active, like any panel that
// does not float; it comes back with the application.
void hideWhileInactive(KPPanel* panel)
{
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, panel,
                     [panel, hidden = false](Qt::ApplicationState state) mutable {
                         if (state == Qt::ApplicationInactive && panel->isVisible()) {
                             hidden = true;
                             panel->hide();
                         } else if (state == Qt::ApplicationActive && hidden) {
                             hidden = false;
                             panel->show();
                         }
                     });
}

} // namespace

QSize KPAboutPanelSize(const KPAboutPanelMetrics& metrics)
{
    const TextColumns columns = textColumns(metrics);
    const int k = int(metrics.noticeWidth + 70);
    const int width = std::max({columns.left + columns.right + 164, k, 500});
    const int bodyHeight = int(metrics.bodyUsedHeight + 5);
    return QSize(width, bodyHeight + 188);
}

KPPanel* KPAboutPanel::standardKPAboutPanelForAppName(const QString& name, const QString& version,
                                                     const QPixmap& icon,
                                                     const KPURLDictionary& urls)
{
    const QString versionLine = KPFormat(KPTestLocalizedStringFromTable("Version %@", "About"), version);
    const QString credit = creditLine();
    const QUrl site(QString::fromUtf8(gelcoat::build::makerWebSite));
    const QString webLine =
        KPFormat(KPTestLocalizedStringFromTable("Visit %@ for more!", "About"), site.host());
    const QString notice = QString::fromUtf8(gelcoat::build::noticeLine);
    const QString body = KPTestLocalizedStringFromTable("About panel body text", "Localizable");

    KPAboutPanelMetrics metrics;
    metrics.nameWidth = textWidth(name, 24);
    metrics.versionWidth = textWidth(versionLine, 13);
    metrics.creditWidth = textWidth(credit, 11);
    metrics.webWidth = textWidth(webLine, 11);
    metrics.noticeWidth = textWidth(notice, 11);

    const bool floating = KPRealFloatingPanel::KPShouldUseFloatingPanels();
    KPPanel* panel = floating ? new KPRealFloatingPanel : new KPPanel;
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setWindowTitle(name);

    auto* bodyView = new QTextBrowser(panel);
    KPMakeBorderlessTextView(bodyView);
    bodyView->document()->setDefaultFont(KPSystemFont(11));
    bodyView->setPlainText(body);
    for (auto link = urls.cbegin(); link != urls.cend(); ++link)
        KPFixTextToGoToLink(bodyView, link.key(), link.value());

    // The width follows from the lines; the body is laid out at that width
    // to find the height.
    const int width = KPAboutPanelSize(metrics).width();
    bodyView->document()->setTextWidth(width - 40);
    metrics.bodyUsedHeight = bodyView->document()->size().height();
    const QSize size = KPAboutPanelSize(metrics);
    const int height = size.height();
    const int bodyHeight = height - 188;
    panel->setFixedSize(size);
    auto place = [height](int x, int y, int w, int h) {
        return KPFlipRect(QRect(x, y, w, h), height);
    };

    auto* bottomBand = new KPBandView(Qt::white, panel);
    bottomBand->setGeometry(place(0, 0, width, bandHeight));
    auto* blueBand = new KPBandView(QColor::fromRgbF(0.93, 0.93, 1.0, 1.0), panel);
    blueBand->setGeometry(place(0, 73, width, height - 72 - 73));
    auto* topBand = new KPBandView(Qt::white, panel);
    topBand->setGeometry(place(0, height - bandHeight, width, bandHeight));
    for (int y : {73, height - 73}) {
        auto* separator = new QFrame(panel);
        separator->setFrameShape(QFrame::HLine);
        separator->setFrameShadow(QFrame::Plain);
        separator->setStyleSheet(QStringLiteral("color: #b0b0c0;"));
        separator->setGeometry(place(0, y, width, 1));
    }

    // Top band: icon, name and version on the left, the mascot, then the
    // credit and web lines against the right edge.
    const auto [columnA, columnB] = textColumns(metrics);
    auto* iconView = new QLabel(panel);
    iconView->setGeometry(place(20, height - 61, 48, 48));
    iconView->setPixmap(icon);
    addLabel(panel, name, 24, place(76, height - 42, columnA, 30), Qt::AlignLeft);
    addLabel(panel, versionLine, 13, place(76, height - 62, columnA, 18), Qt::AlignLeft);
    auto* mascotView = new QLabel(panel);
    mascotView->setGeometry(place(80 + columnA, height - 69, mascotSize, mascotSize));
    mascotView->setAlignment(Qt::AlignCenter);
    mascotView->setPixmap(mascotImage());
    mascotView->setObjectName(QStringLiteral("mascot"));
    const int rightColumnX = width - 20 - columnB;
    QLabel* creditField =
        addLabel(panel, credit, 11, place(rightColumnX, height - 36, columnB, 16), Qt::AlignRight);
    QLabel* webField =
        addLabel(panel, webLine, 11, place(rightColumnX, height - 54, columnB, 16), Qt::AlignRight);
    const QString address = QString::fromUtf8(gelcoat::build::supportAddress);
    KPFixTextToGoToLink(creditField, address, QStringLiteral("mailto:") + address)
        ->setObjectName(QStringLiteral("credit"));
    KPFixTextToGoToLink(webField, site.host(), site.toString())->setObjectName(QStringLiteral("web"));

    // Blue band: the body.  Bottom band: the notice.
    bodyView->setGeometry(place(20, 91, width - 40, bodyHeight));
    bodyView->setObjectName(QStringLiteral("body"));
    bodyView->raise();
    addLabel(panel, notice, 11, place(20, 29, width - 40, 16), Qt::AlignHCenter)
        ->setObjectName(QStringLiteral("notice"));

    KPCenterOnPrimaryScreen(panel);
    if (!floating)
        hideWhileInactive(panel);
    return panel;
}

void KPAboutPanel::runStandardKPAboutPanelWithURLDictionary(const KPURLDictionary& urls)
{
    QPointer<KPPanel>& slot = aboutPanelSlot();
    if (!slot) {
        KPPanel* panel = standardKPAboutPanelForAppName(
            KPCurrentApplicationName(), KPCurrentApplicationVersion(),
            KPApplicationIconScaledToSize(QSize(48, 48)), urls);
        // Closing empties the slot at once, though deletion comes later.
        QObject::connect(panel, &QDialog::finished, panel, [] { aboutPanelSlot() = nullptr; });
        slot = panel;
    }
    slot->show();
    slot->raise();
    slot->activateWindow();
}

KPPanel* KPAboutPanel::currentAboutPanel()
{
    return aboutPanelSlot();
}
