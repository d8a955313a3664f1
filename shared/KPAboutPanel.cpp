#include "shared/KPAboutPanel.h"

#include "shared/KPApplicationDelegate.h"
#include "shared/KPApplicationIcon.h"
#include "shared/KPFormat.h"
#include "shared/KPLocalizedString.h"
#include "shared/KPLog.h"
#include "shared/KPPanel.h"
#include "shared/KPScreen.h"
#include "shared/KPSystemFont.h"
#include "shared/KPTextLinks.h"

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

// The panel's layout in points, y up from the bottom edge as the layout rules
// state it.  Across the top band: margin, icon, gap, name column, gap,
// mascot, right column, margin; so the fixed part of the width is
// 2 * margin + iconSize + iconGap + mascotGap + mascotSize = 164.
namespace layout {
constexpr int margin = 20;          // left and right, for every row
constexpr int columnPadding = 15;   // added to the wider text of a column
constexpr int noticePadding = 70;   // added to the notice line's width
constexpr int minimumWidth = 500;
constexpr int iconSize = 48;
constexpr int iconGap = 8;          // icon to the name column
constexpr int mascotGap = 4;        // name column to the mascot
constexpr int mascotSize = 64;
constexpr int fixedWidth = 2 * margin + iconSize + iconGap + mascotGap + mascotSize;

constexpr int bandHeight = 74;      // each white band
constexpr int bandEdge = 73;        // a separator, from the bottom and from the top
constexpr int separatorHeight = 1;
constexpr int blueBandTopInset = 72;
constexpr int bodyY = 91;           // the body's bottom edge
constexpr int bodyPadding = 5;      // added to the body's used height
constexpr int aboveBody = 97;       // the body's top edge to the panel's top
constexpr int fixedHeight = bodyY + aboveBody;

// Rows of the top band, measured down from the panel's top to the row's
// bottom edge.
constexpr int iconDrop = 61;
constexpr int nameDrop = 42;
constexpr int nameHeight = 30;
constexpr int versionDrop = 62;
constexpr int versionHeight = 18;
constexpr int mascotDrop = 69;
constexpr int creditDrop = 36;
constexpr int webDrop = 54;
constexpr int smallLineHeight = 16; // credit, web and notice lines
constexpr int noticeY = 29;

constexpr int nameFontSize = 24;
constexpr int versionFontSize = 13;
constexpr int smallFontSize = 11;
} // namespace layout

// The blue band's calibrated colour and the separators' grey.
QColor blueBandColour()
{
    return QColor::fromRgbF(0.93f, 0.93f, 1.0f, 1.0f);
}
constexpr const char* separatorStyle = "color: #b0b0c0;";

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
    return {int(std::max(metrics.nameWidth, metrics.versionWidth) + layout::columnPadding),
            int(std::max(metrics.creditWidth, metrics.webWidth) + layout::columnPadding)};
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
    return mascot.scaled(layout::mascotSize, layout::mascotSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
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
    const int noticeWidth = int(metrics.noticeWidth + layout::noticePadding);
    const int width = std::max(
        {columns.left + columns.right + layout::fixedWidth, noticeWidth, layout::minimumWidth});
    const int bodyHeight = int(metrics.bodyUsedHeight + layout::bodyPadding);
    return QSize(width, bodyHeight + layout::fixedHeight);
}

KPPanel* KPAboutPanel::standardKPAboutPanelForAppName(const QString& name, const QString& version,
                                                     const QPixmap& icon,
                                                     const KPURLDictionary& urls)
{
    using namespace layout;
    const KPApplicationIdentity& identity = KPCurrentApplicationIdentity();
    const QString versionLine = KPFormat(KPTestLocalizedStringFromTable("Version %@", "About"), version);
    const QString credit = KPFormat(identity.creditLine, identity.supportAddress);
    const QUrl site(identity.webSite);
    const QString webLine =
        KPFormat(KPTestLocalizedStringFromTable("Visit %@ for more!", "About"), site.host());
    const QString body = KPTestLocalizedStringFromTable("About panel body text", "Localizable");

    KPAboutPanelMetrics metrics;
    metrics.nameWidth = textWidth(name, nameFontSize);
    metrics.versionWidth = textWidth(versionLine, versionFontSize);
    metrics.creditWidth = textWidth(credit, smallFontSize);
    metrics.webWidth = textWidth(webLine, smallFontSize);
    metrics.noticeWidth = textWidth(identity.noticeLine, smallFontSize);

    const bool floating = KPRealFloatingPanel::KPShouldUseFloatingPanels();
    KPPanel* panel = floating ? new KPRealFloatingPanel : new KPPanel;
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setWindowTitle(name);

    auto* bodyView = new QTextBrowser(panel);
    KPMakeBorderlessTextView(bodyView);
    bodyView->document()->setDefaultFont(KPSystemFont(smallFontSize));
    bodyView->setPlainText(body);
    for (auto link = urls.cbegin(); link != urls.cend(); ++link)
        KPFixTextToGoToLink(bodyView, link.key(), link.value());

    // The width follows from the lines; the body is laid out at that width
    // to find the height.
    const int width = KPAboutPanelSize(metrics).width();
    const int rowWidth = width - 2 * margin;
    bodyView->document()->setTextWidth(rowWidth);
    metrics.bodyUsedHeight = bodyView->document()->size().height();
    const QSize size = KPAboutPanelSize(metrics);
    const int height = size.height();
    const int bodyHeight = height - fixedHeight;
    panel->setFixedSize(size);
    auto place = [height](int x, int y, int w, int h) {
        return KPFlipRect(QRect(x, y, w, h), height);
    };
    auto placeFromTop = [height](int x, int drop, int w, int h) {
        return KPFlipRect(QRect(x, height - drop, w, h), height);
    };

    auto* bottomBand = new KPBandView(Qt::white, panel);
    bottomBand->setGeometry(place(0, 0, width, bandHeight));
    auto* blueBand = new KPBandView(blueBandColour(), panel);
    blueBand->setGeometry(place(0, bandEdge, width, height - blueBandTopInset - bandEdge));
    auto* topBand = new KPBandView(Qt::white, panel);
    topBand->setGeometry(placeFromTop(0, bandHeight, width, bandHeight));
    for (int y : {bandEdge, height - bandEdge}) {
        auto* separator = new QFrame(panel);
        separator->setFrameShape(QFrame::HLine);
        separator->setFrameShadow(QFrame::Plain);
        separator->setStyleSheet(QString::fromLatin1(separatorStyle));
        separator->setGeometry(place(0, y, width, separatorHeight));
    }

    // Top band: icon, name and version on the left, the mascot, then the
    // credit and web lines against the right edge.
    const auto [columnA, columnB] = textColumns(metrics);
    const int nameX = margin + iconSize + iconGap;
    auto* iconView = new QLabel(panel);
    iconView->setGeometry(placeFromTop(margin, iconDrop, iconSize, iconSize));
    iconView->setPixmap(icon);
    addLabel(panel, name, nameFontSize, placeFromTop(nameX, nameDrop, columnA, nameHeight),
             Qt::AlignLeft);
    addLabel(panel, versionLine, versionFontSize,
             placeFromTop(nameX, versionDrop, columnA, versionHeight), Qt::AlignLeft);
    auto* mascotView = new QLabel(panel);
    mascotView->setGeometry(
        placeFromTop(nameX + columnA + mascotGap, mascotDrop, mascotSize, mascotSize));
    mascotView->setAlignment(Qt::AlignCenter);
    mascotView->setPixmap(mascotImage());
    mascotView->setObjectName(QStringLiteral("mascot"));
    const int rightColumnX = width - margin - columnB;
    QLabel* creditField = addLabel(panel, credit, smallFontSize,
                                   placeFromTop(rightColumnX, creditDrop, columnB, smallLineHeight),
                                   Qt::AlignRight);
    QLabel* webField = addLabel(panel, webLine, smallFontSize,
                                placeFromTop(rightColumnX, webDrop, columnB, smallLineHeight),
                                Qt::AlignRight);
    const QString& address = identity.supportAddress;
    KPFixTextToGoToLink(creditField, address, QStringLiteral("mailto:") + address)
        ->setObjectName(QStringLiteral("credit"));
    KPFixTextToGoToLink(webField, site.host(), site.toString())->setObjectName(QStringLiteral("web"));

    // Blue band: the body.  Bottom band: the notice.
    bodyView->setGeometry(place(margin, bodyY, rowWidth, bodyHeight));
    bodyView->setObjectName(QStringLiteral("body"));
    bodyView->raise();
    addLabel(panel, identity.noticeLine, smallFontSize,
             place(margin, noticeY, rowWidth, smallLineHeight), Qt::AlignHCenter)
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
            KPApplicationIconScaledToSize(QSize(layout::iconSize, layout::iconSize)), urls);
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
