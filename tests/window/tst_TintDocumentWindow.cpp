// The document window driven as its user drives it: each control's handler,
// the refresh from the document, the commands and the preferences' notices.

#include "tests/window/WindowTestSupport.h"
#include "tests/support/IsolatedSettings.h"

#include "tests/qtsupport/Screenshot.h"
#include "document/settings/Preferences.h"
#include "document/settings/UserDefaults.h"
#include "ui_TintDocument.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace gelcoat;
using gelcoat::test::drag;
using gelcoat::test::type;

namespace {

enum class Stage { Tint, Shadow, FinalSize, None };

// Which stages ran between two counts.
Stage stagesRun(const StageCounts& before, const StageCounts& after)
{
    if (after == before)
        return Stage::None;
    if (after.tinted > before.tinted && after.shadow == before.shadow)
        return Stage::Tint;
    if (after.shadow > before.shadow && after.tinted == before.tinted)
        return Stage::Shadow;
    if (after.finalMix > before.finalMix && after.composite == before.composite)
        return Stage::FinalSize;
    return Stage(-1);
}

struct ScalarCase {
    FloatSlider* Ui::TintDocument::*slider;
    FloatValueField* Ui::TintDocument::*field;
    float TintSettings::*setting;
    double factor;
    Stage stage;
};

} // namespace

Q_DECLARE_METATYPE(ScalarCase)

class TintDocumentWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::IsolatedSettings> settings_;
    std::unique_ptr<TintDocumentWindow> window_;

    TintDocument& doc() { return window_->document(); }
    Ui::TintDocument& form() { return window_->form(); }
    StageCounts counts() { return doc().pipeline().stageCounts(); }
    void clean() { doc().clearChangeCount(); }

private slots:
    void initTestCase() { settings_ = std::make_unique<test::IsolatedSettings>("WindowTests"); }

    void init()
    {
        QVERIFY(test::showNewWindow(window_));
        QTRY_VERIFY(doc().resultIsCurrent());
    }

    void cleanup() { window_.reset(); }

    void opensOnMossAndItsGel()
    {
        QVERIFY(!form().sourceImageWell->image().isNull());
        QVERIFY(!form().destImageWell->image().isNull());
        QVERIFY(form().destImageWell->isImageValid());
        QVERIFY(form().shadowWarningButton->isHidden());
        QVERIFY(!doc().isDocumentEdited());
        QCOMPARE(window_->windowTitle(), QStringLiteral("Untitled[*]"));
        QCOMPARE(form().rainbowCircle->maximumDistance(), 0.5f);
        QCOMPARE(form().shadowCircle->maximumDistance(), 20.0f);
        QCOMPARE(form().shadowCircle->angleUnits(), slider::kCompassDegrees);
        QVERIFY(form().sourceImageWell->showsSizeOnLeft());
        QVERIFY(!form().destImageWell->showsSizeOnLeft());
        // The controls show the defaults, fields in three decimals.
        QCOMPARE(form().hueValueField->text(), QStringLiteral("0.590"));
        QCOMPARE(form().saturationSlider->floatValue(), 150.0f);
        QCOMPARE(form().rainbowRadiusValueField->floatValue(),
                 float(std::hypot(0.07f, -0.1f) * 2.0));
        QCOMPARE(form().shadowRadiusValueField->text(), QStringLiteral("0.250"));
        QCOMPARE(form().shadowAngleValueField->text(), QStringLiteral("0.500"));
        saveScreenshot(window_.get(), QStringLiteral("window-moss"));

    }

    void scalarHandlers_data()
    {
        QTest::addColumn<ScalarCase>("c");
        using U = Ui::TintDocument;
        using S = TintSettings;
        QTest::newRow("hue") << ScalarCase{&U::hueSlider, &U::hueValueField, &S::userHue, 100,
                                           Stage::Tint};
        QTest::newRow("saturation") << ScalarCase{&U::saturationSlider, &U::saturationValueField,
                                                  &S::userSaturation, 300, Stage::Tint};
        QTest::newRow("brightness") << ScalarCase{&U::brightnessSlider, &U::brightnessValueField,
                                                  &S::userBrightness, 200, Stage::Tint};
        QTest::newRow("contrast") << ScalarCase{&U::contrastSlider, &U::contrastValueField,
                                                &S::userContrast, 200, Stage::Tint};
        QTest::newRow("alpha") << ScalarCase{&U::alphaSlider, &U::alphaValueField, &S::userAlpha,
                                             100, Stage::Tint};
        QTest::newRow("margin") << ScalarCase{&U::aquaMarginSlider, &U::aquaMarginValueField,
                                              &S::aquaMargin, 100, Stage::Tint};
        QTest::newRow("density") << ScalarCase{&U::shadowDensitySlider,
                                               &U::shadowDensityValueField, &S::shadowDensity,
                                               100, Stage::Shadow};
        QTest::newRow("sharpness") << ScalarCase{&U::shadowSharpnessSlider,
                                                 &U::shadowSharpnessValueField,
                                                 &S::shadowSharpness, 100, Stage::Shadow};
        QTest::newRow("final size") << ScalarCase{&U::finalSizeSlider, &U::finalSizeValueField,
                                                  &S::finalSize, 100, Stage::FinalSize};
    }

    void scalarHandlers()
    {
        QFETCH(ScalarCase, c);
        FloatSlider* slider = form().*c.slider;
        FloatValueField* field = form().*c.field;
        const float stored = doc().settings().*c.setting;

        // The value already stored, from either control: nothing happens.
        StageCounts before = counts();
        drag(slider, stored);
        type(field, field->text());
        QVERIFY(!doc().isDocumentEdited());
        QCOMPARE(counts(), before);

        // A new value from the slider: stored, field in step, one remake.
        const float moved = float(c.factor * 0.25);
        drag(slider, moved);
        QCOMPARE(doc().settings().*c.setting, moved);
        QVERIFY(doc().isDocumentEdited());
        QCOMPARE(field->text(), QStringLiteral("0.250"));
        QCOMPARE(stagesRun(before, counts()), c.stage);
        QVERIFY(form().destImageWell->isImageValid());

        // A typed value, beyond the slider's scale too: stored times the
        // factor, the slider follows, the text stays as typed.
        clean();
        before = counts();
        type(field, QStringLiteral("2"));
        QCOMPARE(doc().settings().*c.setting, float(2 * c.factor));
        QCOMPARE(slider->floatValue(), float(2 * c.factor));
        QCOMPARE(field->text(), QStringLiteral("2"));
        QVERIFY(doc().isDocumentEdited());
        QCOMPARE(stagesRun(before, counts()), c.stage);
    }

    void hueWellShowsTheHueOnTheColourCircle()
    {
        type(form().hueValueField, QStringLiteral("0.5"));
        QCOMPARE(doc().settings().userHue, 50.0f);
        QCOMPARE(form().hueSlider->floatValue(), 50.0f);
        const auto wellHue = [this] {
            return form().hueWell->palette().color(QPalette::Window).hsvHueF();
        };
        QCOMPARE(wellHue(), 0.5f);
        type(form().hueValueField, QStringLiteral("1.5"));
        QCOMPARE(wellHue(), 0.5f);
        type(form().hueValueField, QStringLiteral("-0.25"));
        QCOMPARE(wellHue(), 0.75f);
    }

    void sharpnessWaitsForADensity()
    {
        drag(form().shadowDensitySlider, 0.0f);
        clean();
        StageCounts before = counts();
        drag(form().shadowSharpnessSlider, 10.0f);
        QCOMPARE(doc().settings().shadowSharpness, 10.0f);
        QVERIFY(doc().isDocumentEdited());
        QCOMPARE(counts(), before);
        drag(form().shadowDensitySlider, 40.0f);
        QCOMPARE(stagesRun(before, counts()), Stage::Shadow);
    }

    void switchesAndTheRainbowControls()
    {
        StageCounts before = counts();
        form().useOriginalSaturationButton->click();
        QVERIFY(doc().settings().useOriginalSaturation);
        QCOMPARE(stagesRun(before, counts()), Stage::Tint);

        form().circularRainbowRadio->click();
        QVERIFY(doc().settings().circularRainbow);
        clean();
        before = counts();
        form().circularRainbowRadio->click();
        QVERIFY(!doc().isDocumentEdited());
        QCOMPARE(counts(), before);

        form().useRainbowCheckbox->click();
        QVERIFY(!doc().settings().useRainbow);
        QCOMPARE(stagesRun(before, counts()), Stage::Tint);
        for (QWidget* control :
             std::initializer_list<QWidget*>{form().rainbowCircle, form().rainbowAngleValueField,
                                             form().rainbowRadiusValueField,
                                             form().rainbowTypeRadio})
            QVERIFY(!control->isEnabled());
        QVERIFY(form().shadowCircle->isEnabled());

        // The bug means nothing without the rainbow: edited, nothing drawn.
        clean();
        before = counts();
        form().sourceImageWell->setBugXY(5, -3);
        emit form().sourceImageWell->sourceBugChanged();
        QCOMPARE(doc().settings().sourceBugX, 5);
        QCOMPARE(doc().settings().sourceBugY, -3);
        QVERIFY(doc().isDocumentEdited());
        QCOMPARE(counts(), before);

        form().useRainbowCheckbox->click();
        QVERIFY(form().rainbowCircle->isEnabled());
        QVERIFY(form().rainbowTypeRadio->isEnabled());
    }

    void circlesAndTheirFields()
    {
        // A drag on the shadow circle: offsets stored, fields follow.
        StageCounts before = counts();
        form().shadowCircle->setOffsets(10.0f, 0.0f);
        emit form().shadowCircle->activated();
        QCOMPARE(doc().settings().shadowXOffset, 10.0f);
        QCOMPARE(doc().settings().shadowYOffset, 0.0f);
        QCOMPARE(form().shadowAngleValueField->text(), QStringLiteral("0.250"));
        QCOMPARE(form().shadowRadiusValueField->text(), QStringLiteral("0.500"));
        QCOMPARE(stagesRun(before, counts()), Stage::Shadow);

        // Rainbow fields: a quarter turn at twice the circle's reach is held
        // at its edge, pointing right; the typed radius stays.
        before = counts();
        type(form().rainbowAngleValueField, QStringLiteral("0.25"));
        type(form().rainbowRadiusValueField, QStringLiteral("2"));
        QCOMPARE(doc().settings().rainbowXOffset, 0.5f);
        QVERIFY(std::abs(doc().settings().rainbowYOffset) < 1e-6f);
        QCOMPARE(form().rainbowRadiusValueField->text(), QStringLiteral("2"));
        QCOMPARE(stagesRun(before, counts()), Stage::Tint);

        // Fields that name the stored point change nothing.
        clean();
        before = counts();
        type(form().shadowRadiusValueField, form().shadowRadiusValueField->text());
        QVERIFY(!doc().isDocumentEdited());
        QCOMPARE(counts(), before);
    }

    void refreshSetsEveryControlAndMarksNothing()
    {
        doc().useInactivePresets();
        clean();
        doc().refreshUIFromModel();
        QVERIFY(!doc().isDocumentEdited());
        QVERIFY(!form().useRainbowCheckbox->isChecked());
        QVERIFY(!form().useOriginalHueButton->isChecked());
        QCOMPARE(form().saturationSlider->floatValue(), 0.0f);
        QCOMPARE(form().brightnessSlider->floatValue(), doc().settings().userBrightness);
        QCOMPARE(form().contrastValueField->floatValue(),
                 float(double(doc().settings().userContrast) / 200.0));
        QVERIFY(!form().rainbowCircle->isEnabled());
    }

    void displayCommandsWriteTheDefaults()
    {
        TintDocumentWindow& window = *window_;
        const char* const backgrounds[] = {"useLightBackgroundForDest", "useDarkBackgroundForDest",
                                           "useBlackBackgroundForDest", "useWhiteBackgroundForDest",
                                           "useCheckeredBackgroundForDest"};
        // The pop-up buttons carry the very actions of the menus.
        QVERIFY(form().destActionButton->menu()->actions().contains(
            &test::command(window, backgrounds[0])));
        QVERIFY(form().sourceActionButton->menu()->actions().contains(
            &test::command(window, "showSourceBounds")));
        test::command(window, backgrounds[3]).trigger();
        test::command(window, backgrounds[0]).trigger();
        QCOMPARE(doc().settings().destInteriorStyle, 0);
        QCOMPARE(form().destImageWell->interiorStyle(), 0);
        QCOMPARE(UserDefaults::standard().integerForKey(QStringLiteral("DestInteriorStyle")), 0);
        QAction& light = test::command(window, backgrounds[0]);
        QVERIFY(light.actionGroup());
        QCOMPARE(light.actionGroup()->checkedAction(), &light);
        int checked = 0;
        for (const char* id : backgrounds)
            checked += test::command(window, id).isChecked();
        QCOMPARE(checked, 1);

        QAction& destSize = test::command(window, "showDestSize");
        QVERIFY(destSize.isChecked());
        destSize.trigger();
        QVERIFY(!form().destImageWell->showsSize());
        QVERIFY(!destSize.isChecked());
        QVERIFY(!UserDefaults::standard().boolForKey(QStringLiteral("DestShowsSize")));
        test::command(window, "showSourceBounds").trigger();
        QVERIFY(form().sourceImageWell->showsBounds());
        QVERIFY(UserDefaults::standard().boolForKey(QStringLiteral("SourceShowsBounds")));
        QVERIFY(!doc().isDocumentEdited());

        // A later window starts with them.
        TintDocumentWindow later;
        QCOMPARE(later.form().destImageWell->interiorStyle(), 0);
        QVERIFY(!test::command(later, "showDestSize").isChecked());
        QVERIFY(later.form().sourceImageWell->showsBounds());
        test::command(window, backgrounds[3]).trigger();
        destSize.trigger();
        test::command(window, "showSourceBounds").trigger();
    }

    void renderingSwitchAgreesEverywhere()
    {
        QAction* toggle = &test::command(*window_, "toggleTinting");
        QVERIFY(toggle->isChecked() && toggle->isEnabled());
        const qint64 brightArrow = form().leftArrow->pixmap().cacheKey();
        toggle->trigger();
        QVERIFY(!doc().gelcoatOn());
        QVERIFY(!toggle->isChecked() && toggle->isEnabled());
        QVERIFY(!form().gelcoatButton->isChecked());
        QTRY_VERIFY(!form().destImageWell->isImageValid());
        QVERIFY(form().leftArrow->pixmap().cacheKey() != brightArrow);
        saveScreenshot(window_.get(), QStringLiteral("window-rendering-off"));

        form().gelcoatButton->click();
        QVERIFY(doc().gelcoatOn());
        QVERIFY(toggle->isChecked());
        QTRY_VERIFY(form().destImageWell->isImageValid());
        QVERIFY(!doc().isDocumentEdited());
    }

    void presetsAndDefaultSettings()
    {
        form().sourceImageWell->setBugXY(4, 4);
        emit form().sourceImageWell->sourceBugChanged();
        clean();
        test::command(*window_, "useBluePresets").trigger();
        QVERIFY(doc().isDocumentEdited());
        QCOMPARE(form().saturationSlider->floatValue(), 127.53623f);
        QVERIFY(!form().useRainbowCheckbox->isChecked());
        QCOMPARE(doc().settings().sourceBugX, 4);

        test::command(*window_, "useDefaultSettings").trigger();
        QCOMPARE(doc().settings().sourceBugX, 0);
        QVERIFY(form().useRainbowCheckbox->isChecked());
        QCOMPARE(form().saturationSlider->floatValue(), 150.0f);
        QVERIFY(form().destImageWell->isImageValid());
    }

    void simpleStencilsLoseTheUseOriginalBoxes()
    {
        const int contrastWidth = form().contrastSlider->width();
        const QRect hue = form().hueSlider->geometry();
        const int stripShortfall = hue.width() - form().hueStrip->width();
        QVERIFY(!form().useOriginalHueButton->isHidden());
        QVERIFY(test::takeSimpleStencil(doc()));
        QVERIFY(doc().sourceImageIsSimple());
        QVERIFY(form().useOriginalHueButton->isHidden());
        QVERIFY(form().useOriginalBrightnessButton->isHidden());
        QCOMPARE(form().hueSlider->width(), contrastWidth);
        QCOMPARE(form().saturationSlider->width(), contrastWidth);
        QCOMPARE(form().hueStrip->width(), contrastWidth - stripShortfall);
        QTRY_VERIFY(doc().resultIsCurrent());
        saveScreenshot(window_.get(), QStringLiteral("window-simple-stencil"));

        doc().takeMossStencil();
        QVERIFY(!form().useOriginalHueButton->isHidden());
        QCOMPARE(form().hueSlider->geometry(), hue);
        QTRY_VERIFY(doc().resultIsCurrent());
        saveScreenshot(window_.get(), QStringLiteral("window-colour-picture"));
    }

    void shadowWarningFollowsTheClippedShadow()
    {
        QVERIFY(test::takeSimpleStencil(doc(), 64, true));
        QTRY_VERIFY(!form().shadowWarningButton->isHidden());
        test::command(*window_, "toggleTinting").trigger();
        QTRY_VERIFY(form().shadowWarningButton->isHidden());
        test::command(*window_, "toggleTinting").trigger();
        QTRY_VERIFY(!form().shadowWarningButton->isHidden());
        drag(form().shadowDensitySlider, 0.0f);
        QTRY_VERIFY(form().shadowWarningButton->isHidden());
    }

    void rainbowStripPreferenceReachesEveryWindow()
    {
        TintDocumentWindow second;
        Preferences::shared().setShowRainbowStrip(false);
        QVERIFY(form().hueStrip->isHidden());
        QVERIFY(second.form().hueStrip->isHidden());
        TintDocumentWindow third;
        QVERIFY(third.form().hueStrip->isHidden());
        Preferences::shared().setShowRainbowStrip(true);
        QVERIFY(!form().hueStrip->isHidden());
        QVERIFY(!second.form().hueStrip->isHidden());
    }
};

QTEST_MAIN(TintDocumentWindowTest)
#include "tst_TintDocumentWindow.moc"
