// The document window's form as the layout rules place it: every control
// the settings table names present, a tooltip and a name for assistive
// tools on every control, and at every size no control clipped,
// overlapping another or outside the document area.  Writes screenshots of
// the form filled with the start picture and its gel, light and dark.

#include "ui_TintDocument.h"

#include "document/image/BitmapImage.h"
#include "window/LiveLayout.h"
#include "window/SimpleStencilRows.h"
#include "window/layout/WindowSizing.h"
#include "document/model/TintDocument.h"
#include "document/settings/SettingsKeys.h"
#include "tests/qtsupport/Screenshot.h"
#include "tests/qtsupport/TestSettings.h"
#include "views/resources/ViewImages.h"

#include <QFontInfo>
#include <QRegularExpression>
#include <QStyle>
#include <QTest>

#include <memory>

using namespace gelcoat;
using namespace gelcoat::layout;

namespace {

struct Form {
    QWidget area;
    Ui::TintDocument ui;
    std::unique_ptr<LiveLayout> layout;
    Form()
    {
        ui.setupUi(&area);
        layout = std::make_unique<LiveLayout>(area);
    }
    QWidget* child(const char* name) { return area.findChild<QWidget*>(QLatin1String(name)); }

    // Places every control for the area size as the window does after a
    // resize, the tinting rows included.
    void layOut(QSize size, bool simpleStencil)
    {
        area.resize(size);
        layout->place();
        arrangeTintingRows(ui, area, layout->frames(), simpleStencil);
    }
};

QString whyClipped(QWidget* w)
{
    const QFontMetrics fm(w->font());
    QString text;
    QSize needed;
    if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
        text = label->text();
        needed = {fm.horizontalAdvance(text), fm.height()};
    } else if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty()) {
        text = button->text();
        needed = button->sizeHint();
    } else if (qobject_cast<QLineEdit*>(w)) {
        // Room for a value as the window shows it, within the frame and
        // the field's text margins.
        text = QStringLiteral("0.000");
        const int frame = w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
        needed = {fm.horizontalAdvance(text) + 2 * frame + 4, fm.height() + 2 * frame};
    } else {
        return {};
    }
    if (needed.width() <= w->width() && needed.height() <= w->height())
        return {};
    return QStringLiteral("%1 \"%2\" needs %3 x %4 and has %5 x %6")
        .arg(w->objectName(), text)
        .arg(needed.width()).arg(needed.height()).arg(w->width()).arg(w->height());
}

QPalette darkPalette()
{
    QPalette p;
    const QColor text(230, 230, 230);
    p.setColor(QPalette::Window, QColor(50, 51, 54));
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, QColor(30, 31, 33));
    p.setColor(QPalette::AlternateBase, QColor(44, 45, 48));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(62, 63, 67));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Light, QColor(90, 91, 96));
    p.setColor(QPalette::Midlight, QColor(74, 75, 80));
    p.setColor(QPalette::Mid, QColor(40, 41, 44));
    p.setColor(QPalette::Dark, QColor(24, 25, 27));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, QColor(42, 111, 214));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(62, 63, 67));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    return p;
}

} // namespace

class DocumentFormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTemporarySettings(); }
    void everyControlHasItsSettingTooltipAndName()
    {
        Form form;
        // Every control the settings table shows a setting by.
        for (const SettingField& f : settingFields()) {
            for (const char* name : {f.checkBox, f.slider.slider, f.slider.field, f.circle.circle,
                                     f.circle.angleField, f.circle.radiusField})
                QVERIFY2(!name || form.child(name), name);
            if (f.slider.slider)
                QVERIFY2(form.child(f.slider.slider)->inherits("gelcoat::FloatSlider"), f.key);
        }
        QCOMPARE(form.area.size(), QSize(kBaseWidth, kBaseHeight));
        QCOMPARE(form.ui.sourceActionButton->imageName(), QStringLiteral("actionMenu"));
        QCOMPARE(form.ui.destActionButton->imageName(), QStringLiteral("actionMenu_mirror"));
        QVERIFY(form.ui.shadowWarningButton->isHidden());
        QVERIFY(form.ui.gelcoatButton->isCheckable());
        QCOMPARE(form.ui.circularRainbowRadio->property("tag").toInt(), 1);
        QCOMPARE(form.ui.linearRainbowRadio->property("tag").toInt(), 0);

        // Every control has a tooltip (the radio cells share their group's),
        // with two spaces after each full stop inside it; texts, dividers,
        // the arrows and the hue strip only decorate.  Everything but the
        // plain texts and the dividers has a name for assistive tools.
        static const QRegularExpression oneSpace(QStringLiteral("\\. \\S"));
        for (QWidget* w : form.area.findChildren<QWidget*>()) {
            const QString name = w->objectName();
            const bool plain = (qobject_cast<QLabel*>(w) && !name.endsWith(u"Arrow"))
                || name.endsWith(u"DividerBox");
            QVERIFY2(plain || !w->accessibleName().isEmpty(), qPrintable(name));
            const bool decoration = plain || qobject_cast<QLabel*>(w) || w == form.ui.hueStrip;
            const QString tip = w->parentWidget() == &form.area
                ? w->toolTip() : w->parentWidget()->toolTip();
            QVERIFY2(decoration || !tip.isEmpty(), qPrintable(name));
            QVERIFY2(!tip.contains(oneSpace), qPrintable(tip));
        }
    }

    void everySizeKeepsEveryControlWhole_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("simple");
        QTest::newRow("base, colour picture") << QSize(686, 574) << false;
        QTest::newRow("base, simple stencil") << QSize(686, 574) << true;
        QTest::newRow("smallest") << QSize(kMinimumSize.width, kMinimumSize.height) << false;
        QTest::newRow("smallest, simple") << QSize(kMinimumSize.width, kMinimumSize.height) << true;
        QTest::newRow("larger, simple") << QSize(842, 652) << true;
        QTest::newRow("zoomed") << QSize(1250, 856) << false;
    }
    void everySizeKeepsEveryControlWhole()
    {
        QFETCH(QSize, size);
        QFETCH(bool, simple);
        Form form;
        form.layOut(size, simple);
        QList<QWidget*> shown;
        for (QWidget* w : form.area.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!w->isHidden() || w == form.ui.shadowWarningButton)
                shown.append(w);
        for (QWidget* w : form.area.findChildren<QWidget*>()) {
            const QString why = whyClipped(w);
            QVERIFY2(why.isEmpty(), qPrintable(why));
        }
        for (int i = 0; i < shown.size(); ++i) {
            const QRect a = shown[i]->geometry();
            QVERIFY2(form.area.rect().contains(a), qPrintable(shown[i]->objectName() + QStringLiteral(" at %1,%2 %3x%4 in %5x%6").arg(a.x()).arg(a.y()).arg(a.width()).arg(a.height()).arg(form.area.width()).arg(form.area.height())));
            for (int j = i + 1; j < shown.size(); ++j)
                QVERIFY2(!a.intersects(shown[j]->geometry()),
                         qPrintable(shown[i]->objectName() + QStringLiteral(" overlaps ") + shown[j]->objectName() + QStringLiteral(" %1,%2 %3x%4 / %5,%6 %7x%8").arg(a.x()).arg(a.y()).arg(a.width()).arg(a.height()).arg(shown[j]->x()).arg(shown[j]->y()).arg(shown[j]->width()).arg(shown[j]->height())));
        }
        for (QWidget* radio : {form.ui.linearRainbowRadio, form.ui.circularRainbowRadio})
            QVERIFY(form.ui.rainbowTypeRadio->rect().contains(radio->geometry()));
    }

    // Pictures to look at: the form filled as a new document shows it.
    void screenshots()
    {
        qInfo() << "font" << QFontInfo(QApplication::font()).family()
                << QFontInfo(QApplication::font()).pixelSize() << "px";
        TintDocument document;
        document.remakeGelcoatWithChanges(PipelineChanges::all());
        QVERIFY(document.sourceImage() && document.pipeline().finalMixImage());
        const QImage stencil = imageFromBitmap(*document.sourceImage());
        const QImage gel = imageFromBitmap(*document.pipeline().finalMixImage());

        const struct { const char* name; bool dark; QSize size; bool simple; } shots[] = {
            {"documentForm-light", false, {686, 574}, false},
            {"documentForm-dark", true, {686, 574}, false},
            {"documentForm-simple-larger", false, {842, 652}, true},
            {"documentForm-smallest", true, {666, 564}, false}};
        for (const auto& shot : shots) {
            Form form;
            if (shot.dark)
                form.area.setPalette(darkPalette());
            form.area.setAutoFillBackground(true);
            form.layOut(shot.size, shot.simple);
            form.ui.sourceImageWell->setImage(stencil);
            form.ui.destImageWell->setImage(gel);
            form.ui.destImageWell->setImageValid(true);
            form.ui.destImageWell->setShowsSize(true);
            form.ui.gelcoatButton->setChecked(true);
            const qreal ratio = form.area.devicePixelRatioF();
            for (QLabel* arrow : {form.ui.leftArrow, form.ui.rightArrow})
                arrow->setPixmap(QPixmap::fromImage(viewImage(QStringLiteral("views"),
                                                              QStringLiteral("arrow"), ratio)));
            QPalette well = form.ui.hueWell->palette();
            well.setColor(QPalette::Window, QColor::fromHsvF(0.59f, 1.0f, 1.0f));
            form.ui.hueWell->setPalette(well);
            form.ui.hueValueField->setFloatValue(0.59f);
            form.ui.shadowWarningButton->setVisible(shot.simple);
            const QString name = QLatin1String(shot.name)
                + (ratio > 1.0 ? QStringLiteral("@%1x").arg(ratio) : QString());
            QVERIFY(!saveScreenshot(&form.area, name).isEmpty());
        }
    }
};

QTEST_MAIN(DocumentFormTest)
#include "tst_DocumentForm.moc"
