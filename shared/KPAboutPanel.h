#pragma once
// The standard about panel: application icon, name and version, the maker's
// mascot, credit, web and notice lines, and a body text whose named
// stretches link to web pages.  At most one is open at a time.
//
// Texts: "Version %@", "Visit %@ for more!" (table "About"), "About panel
// body text" (table "Localizable").  The credit and notice lines, the
// support address and the web site come from the application's identity
// (KPApplicationIdentity); the support address in the credit line links to a
// mail, the web site's host in the web line to the web site.  The mascot is the image
// resource KPAboutMascotResource: the application puts it into its resources.

#include <QMap>
#include <QPixmap>
#include <QSize>
#include <QString>

class KPPanel;

// Link text in the body -> address it opens.  Applied in key order.
using KPURLDictionary = QMap<QString, QString>;

inline constexpr const char* KPAboutMascotResource = ":/images/vedividi5.16D.png";

// Measured widths (pixels at 24, 13, 11, 11 and 11 px) and the body text's
// used height, from which the panel's size follows.
struct KPAboutPanelMetrics {
    double nameWidth = 0;
    double versionWidth = 0;
    double creditWidth = 0;
    double webWidth = 0;
    double noticeWidth = 0;
    double bodyUsedHeight = 0;
};

// Width: the two text columns plus 164, at least the notice line plus 70,
// at least 500.  Height: the body's used height plus 5, plus 188.
QSize KPAboutPanelSize(const KPAboutPanelMetrics& metrics);

class KPAboutPanel {
public:
    // Shows the about panel for KPApplicationDelegate with a 48 x 48 icon,
    // building it if none is open, and brings it to the front.
    static void runStandardKPAboutPanelWithURLDictionary(const KPURLDictionary& urls);
    // A new panel (deleted when closed), not shown.
    static KPPanel* standardKPAboutPanelForAppName(const QString& name, const QString& version,
                                                   const QPixmap& icon,
                                                   const KPURLDictionary& urls);
    // The open about panel, or null.
    static KPPanel* currentAboutPanel();
};
