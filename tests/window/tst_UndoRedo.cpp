// Undo and Redo in a document window as its user meets them: every kind of
// step taken back and made again with the controls, the settings and the
// result as they were, drags of sliders, circles and the bug as one step
// each, the Edit commands' names and keys, the edited mark, and what stays
// off the stack or clears it.

#include "tests/window/WindowTestSupport.h"
#include "tests/support/IsolatedSettings.h"

#include "views/slider/KPCircularSlider.h"
#include "ui_TintDocument.h"

#include <QAbstractButton>
#include <QAction>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <functional>
#include <memory>

using namespace gelcoat;
using gelcoat::test::drag;
using gelcoat::test::type;

namespace {

using WindowAction = std::function<void(TintDocumentWindow&)>;

// What the user sees and gets: every control's state (fields by the text
// they show and by the value they hold), the settings and the result.
struct Shown {
    QStringList values;
    QStringList texts;
    TintSettings settings;
    QByteArray result;
};

Shown shown(TintDocumentWindow& window)
{
    TintDocument& doc = window.document();
    doc.finishRendering();
    Shown s;
    QWidget* area = window.centralWidget();
    for (const FloatSlider* slider : area->findChildren<FloatSlider*>())
        s.values << slider->objectName() + QString::number(slider->floatValue(), 'g', 9);
    for (const FloatValueField* field : area->findChildren<FloatValueField*>()) {
        s.values << field->objectName() + QString::number(field->floatValue(), 'g', 9) +
                        (field->isEnabled() ? u'+' : u'-');
        s.texts << field->text();
    }
    for (const QAbstractButton* box : area->findChildren<QAbstractButton*>())
        if (box->isCheckable())
            s.values << box->objectName() + (box->isChecked() ? u'1' : u'0');
    for (const KPCircularSlider* circle : area->findChildren<KPCircularSlider*>()) {
        float x = 0.0f;
        float y = 0.0f;
        circle->getOffsets(&x, &y);
        s.values << circle->objectName() + QString::number(x, 'g', 9) + u',' +
                        QString::number(y, 'g', 9) + (circle->isEnabled() ? u'+' : u'-');
    }
    int bugX = 0;
    int bugY = 0;
    window.form().sourceImageWell->getBugXY(&bugX, &bugY);
    s.values << QStringLiteral("bug %1,%2").arg(bugX).arg(bugY);
    s.values << window.form().hueWell->palette().color(QPalette::Window).name();
    s.settings = doc.settings();
    if (const auto& image = doc.finalImage())
        s.result = QByteArray(reinterpret_cast<const char*>(image->bitmapData()),
                              qsizetype(image->byteCount()));
    return s;
}

QString menuText(const QAction* action)
{
    return QString(action->text()).remove(u'&');
}

// A step of each kind the window makes.
struct StepCase {
    WindowAction prepare;
    WindowAction act;
    QString name;
};

} // namespace

Q_DECLARE_METATYPE(StepCase)

class UndoRedoTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::IsolatedSettings> settings_;
    std::unique_ptr<TintDocumentWindow> window_;

    TintDocument& doc() { return window_->document(); }
    Ui::TintDocument& form() { return window_->form(); }
    QUndoStack& stack() { return doc().undoStack(); }
    QAction* undo() { return &test::command(*window_, "undo"); }
    QAction* redo() { return &test::command(*window_, "redo"); }

private slots:
    void initTestCase() { settings_ = std::make_unique<test::IsolatedSettings>("UndoRedo"); }

    void init()
    {
        QVERIFY(test::showNewWindow(window_));
        QTRY_VERIFY(doc().resultIsCurrent());
    }

    void cleanup() { window_.reset(); }

    void everyKindOfStepComesBackAndGoesAgain_data()
    {
        QTest::addColumn<StepCase>("step");
        const WindowAction none = [](TintDocumentWindow&) {};
        // The hue shows only without the rainbow and the stencil's own hue.
        const WindowAction oneHue = [](TintDocumentWindow& w) {
            w.document().changeSetting([](TintSettings& s) {
                s.useRainbow = false;
                s.useOriginalHue = false;
            });
            w.document().refreshUIFromModel();
        };
        const auto slider = [](FloatSlider* Ui::TintDocument::*member, float value) {
            return [member, value](TintDocumentWindow& w) { drag(w.form().*member, value); };
        };
        const auto field = [](FloatValueField* Ui::TintDocument::*member, const char* text) {
            return [member, text](TintDocumentWindow& w) {
                (w.form().*member)->setFocus();
                type(w.form().*member, QString::fromLatin1(text));
            };
        };
        const auto click = [](auto member) {
            return [member](TintDocumentWindow& w) { (w.form().*member)->click(); };
        };
        using F = Ui::TintDocument;
        const struct {
            const char* row;
            StepCase step;
        } rows[] = {
            {"hue slider", {oneHue, slider(&F::hueSlider, 20), "Hue"}},
            {"saturation slider", {none, slider(&F::saturationSlider, 40), "Saturation"}},
            {"brightness slider", {none, slider(&F::brightnessSlider, 160), "Brightness"}},
            {"contrast slider", {none, slider(&F::contrastSlider, 30), "Contrast"}},
            {"opacity slider", {none, slider(&F::alphaSlider, 60), "Opacity"}},
            {"margin slider", {none, slider(&F::aquaMarginSlider, 80), "Margin"}},
            {"shadow density slider", {none, slider(&F::shadowDensitySlider, 90), "Shadow Density"}},
            {"shadow sharpness slider",
             {none, slider(&F::shadowSharpnessSlider, 20), "Shadow Sharpness"}},
            {"final size slider", {none, slider(&F::finalSizeSlider, 70), "Final Size"}},
            {"hue field", {oneHue, field(&F::hueValueField, "0.25"), "Hue"}},
            {"final size field", {none, field(&F::finalSizeValueField, "0.4"), "Final Size"}},
            {"rainbow angle field",
             {none, field(&F::rainbowAngleValueField, "0.5"), "Rainbow Sweep"}},
            {"shadow length field",
             {none, field(&F::shadowRadiusValueField, "0.75"), "Shadow Offset"}},
            {"original hue", {none, click(&F::useOriginalHueButton), "Original Hue"}},
            {"original saturation",
             {none, click(&F::useOriginalSaturationButton), "Original Saturation"}},
            {"original brightness",
             {none, click(&F::useOriginalBrightnessButton), "Original Brightness"}},
            {"rainbow switch", {none, click(&F::useRainbowCheckbox), "Rainbow"}},
            {"rainbow type", {none, click(&F::circularRainbowRadio), "Rainbow Type"}},
            {"rainbow circle",
             {none,
              [](TintDocumentWindow& w) {
                  w.form().rainbowCircle->setOffsets(0.3f, 0.2f);
                  emit w.form().rainbowCircle->activated();
              },
              "Rainbow Sweep"}},
            {"shadow circle",
             {none,
              [](TintDocumentWindow& w) {
                  w.form().shadowCircle->setOffsets(6.0f, -9.0f);
                  emit w.form().shadowCircle->activated();
              },
              "Shadow Offset"}},
            {"rainbow centre",
             {none,
              [](TintDocumentWindow& w) {
                  w.form().sourceImageWell->setBugXY(30, -20);
                  emit w.form().sourceImageWell->sourceBugChanged();
              },
              "Rainbow Centre"}},
            {"graphite preset",
             {none, [](TintDocumentWindow& w) { test::command(w, "useGraphitePresets").trigger(); },
              "Graphite"}},
            {"default settings",
             {slider(&F::shadowDensitySlider, 10),
              [](TintDocumentWindow& w) { test::command(w, "useDefaultSettings").trigger(); },
              "Default Settings"}},
        };
        for (const auto& row : rows)
            QTest::newRow(row.row) << row.step;
    }

    void everyKindOfStepComesBackAndGoesAgain()
    {
        QFETCH(StepCase, step);
        step.prepare(*window_);
        const int steps = stack().count();
        const Shown before = shown(*window_);
        step.act(*window_);
        QCOMPARE(stack().count(), steps + 1);
        QCOMPARE(menuText(undo()), QStringLiteral("Undo ") + step.name);
        const Shown after = shown(*window_);
        QVERIFY(!(after.settings == before.settings));
        QVERIFY(after.result != before.result);

        undo()->trigger();
        const Shown undone = shown(*window_);
        QCOMPARE(undone.values, before.values);
        QCOMPARE(undone.texts, before.texts);
        QVERIFY(undone.settings == before.settings);
        QVERIFY(undone.result == before.result);
        QCOMPARE(menuText(redo()), QStringLiteral("Redo ") + step.name);

        redo()->trigger();
        const Shown redone = shown(*window_);
        // A typed field shows the value as any other does once redone.
        QCOMPARE(redone.values, after.values);
        QVERIFY(redone.settings == after.settings);
        QVERIFY(redone.result == after.result);
    }

    void dragsAreOneStepEach()
    {
        // A slider pressed beside its handle, dragged and let go.
        FloatSlider* slider = form().contrastSlider;
        const int y = slider->height() / 2;
        QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(10, y));
        for (int x = 20; x < slider->width() - 10; x += 15)
            QTest::mouseMove(slider, QPoint(x, y));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(slider->width() - 20, y));
        QCOMPARE(stack().count(), 1);
        QCOMPARE(menuText(undo()), QStringLiteral("Undo Contrast"));
        QVERIFY(doc().settings().userContrast != 100.0f);

        // The shadow circle, moved about with the button down.
        KPCircularSlider* circle = form().shadowCircle;
        const QPoint centre = circle->rect().center();
        QTest::mousePress(circle, Qt::LeftButton, {}, centre + QPoint(0, 8));
        for (int step = 0; step < 6; ++step)
            QTest::mouseMove(circle, centre + QPoint(step * 3, 8 - step * 3));
        QTest::mouseRelease(circle, Qt::LeftButton, {}, centre + QPoint(20, -12));
        QCOMPARE(stack().count(), 2);
        QCOMPARE(menuText(undo()), QStringLiteral("Undo Shadow Offset"));

        // The bug dragged over the stencil.
        BugImageView* well = form().sourceImageWell;
        const QPoint middle = well->rect().center();
        QTest::mousePress(well, Qt::LeftButton, {}, middle);
        for (int step = 1; step < 6; ++step)
            QTest::mouseMove(well, middle + QPoint(step * 4, step * 2));
        QTest::mouseRelease(well, Qt::LeftButton, {}, middle + QPoint(30, 16));
        QCOMPARE(stack().count(), 3);
        QCOMPARE(menuText(undo()), QStringLiteral("Undo Rainbow Centre"));

        // Each undo takes one whole drag back.
        undo()->trigger();
        QCOMPARE(doc().settings().sourceBugX, 0);
        undo()->trigger();
        QCOMPARE(doc().settings().shadowYOffset, -5.0f);
        undo()->trigger();
        QCOMPARE(doc().settings().userContrast, 100.0f);
        QVERIFY(!undo()->isEnabled());
        QCOMPARE(menuText(undo()), QStringLiteral("Undo"));
    }

    void keysReachTheStackFromAFocusedField()
    {
        QCOMPARE(undo()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QVERIFY(redo()->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        FloatValueField* field = form().saturationValueField;
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        type(field, QStringLiteral("0.2"));
        QCOMPARE(doc().settings().userSaturation, 60.0f);

        // Typing not yet accepted is undone first, in the field alone.
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("0.9"));
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(field->text(), QStringLiteral("0.2"));
        QCOMPARE(doc().settings().userSaturation, 60.0f);
        QCOMPARE(stack().count(), 1);

        // Then the document's last step, the field still focused.
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(doc().settings().userSaturation, 150.0f);
        QCOMPARE(field->text(), QStringLiteral("0.500"));
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(doc().settings().userSaturation, 60.0f);
        QVERIFY(field->hasFocus());
    }

    void theEditedMarkFollowsSaveUndoAndRedo()
    {
        QTemporaryDir dir;
        QVERIFY(!window_->isWindowModified());
        drag(form().hueSlider, 10);
        QVERIFY(window_->isWindowModified());
        undo()->trigger();
        QVERIFY(!window_->isWindowModified());
        redo()->trigger();
        QVERIFY(window_->isWindowModified());
        QVERIFY(doc().saveDocumentAs(dir.filePath(QStringLiteral("marked.gelcoat"))).ok);
        QVERIFY(!window_->isWindowModified());
        undo()->trigger();
        QVERIFY(window_->isWindowModified());
        redo()->trigger();
        QVERIFY(!window_->isWindowModified());

        // Revert to Saved leaves nothing to undo.
        drag(form().hueSlider, 30);
        QVERIFY(doc().revertDocumentToSaved().ok);
        QCOMPARE(form().hueSlider->floatValue(), 10.0f);
        QVERIFY(!undo()->isEnabled());
        QVERIFY(!window_->isWindowModified());
    }

    void displayOptionsStayOffTheStackAndStencilsClearIt()
    {
        for (const char* id : {"showSourceBounds", "showDestSize", "scaleDestDisplayToFit",
                               "useDarkBackgroundForDest", "toggleTinting", "toggleTinting"})
            test::command(*window_, id).trigger();
        QCOMPARE(stack().count(), 0);
        QVERIFY(!undo()->isEnabled());
        QVERIFY(!doc().isDocumentEdited());

        drag(form().hueSlider, 10);
        drag(form().alphaSlider, 50);
        QVERIFY(doc().invertSource());
        QCOMPARE(stack().count(), 0);
        QVERIFY(!undo()->isEnabled());
        QVERIFY(doc().isDocumentEdited());
        // The settings stay as they were made.
        QCOMPARE(form().hueSlider->floatValue(), 10.0f);
    }
};

QTEST_MAIN(UndoRedoTest)
#include "tst_UndoRedo.moc"
