// The float slider and the number field: exact values both ways, signals
// only for what the user does, mouse positions over the range, typed text
// kept as typed, one locale, and text that is no number.

#include "views/controls/FloatSlider.h"
#include "views/controls/FloatValueField.h"
#include "tests/qtsupport/TestSettings.h"

#include <QSignalSpy>
#include <QTest>
#include <QValidator>

#include <cmath>
#include <memory>

using namespace gelcoat;

class FloatSliderAndValueFieldTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTemporarySettings(); }
    void sliderGivesBackTheFloatSetByCode()
    {
        FloatSlider slider;
        slider.setFloatRange(0.0, 300.0);
        QSignalSpy edited(&slider, &FloatSlider::floatValueEdited);
        QSignalSpy moved(&slider, &QAbstractSlider::valueChanged);
        for (float v : {127.53623f, 0.0f, 300.0f, 1e-7f, 299.99997f, -5.0f, 1e9f, -0.0f}) {
            slider.setFloatValue(v);
            QCOMPARE(std::signbit(slider.floatValue()), std::signbit(v));
            QCOMPARE(slider.floatValue(), v);
        }
        QVERIFY(moved.count() > 0);
        // A value off the range rests the handle at the nearer end.
        slider.setFloatValue(-5.0f);
        QCOMPARE(slider.value(), 0);
        slider.setFloatValue(1e9f);
        QCOMPARE(slider.value(), FloatSlider::kScaleSteps);
        slider.setFloatValue(std::nanf(""));
        QCOMPARE(slider.value(), 0);
        // A new range moves the handle and keeps the value.
        slider.setFloatValue(150.0f);
        slider.setFloatMaximum(600.0);
        QCOMPARE(slider.value(), FloatSlider::kScaleSteps / 4);
        QCOMPARE(slider.floatValue(), 150.0f);
        QCOMPARE(edited.count(), 0);
    }

    void sliderReportsTheUsersMoves()
    {
        FloatSlider slider;
        slider.setFloatRange(0.0, 200.0);
        slider.resize(220, 22);
        slider.setFloatValue(37.5f);
        QSignalSpy edited(&slider, &FloatSlider::floatValueEdited);
        QTest::keyClick(&slider, Qt::Key_Right);
        QCOMPARE(edited.count(), 1);
        QCOMPARE(edited.last().at(0).toFloat(), 39.5f);
        QCOMPARE(slider.floatValue(), 39.5f);
        QTest::keyClick(&slider, Qt::Key_End);
        QCOMPARE(slider.floatValue(), 200.0f);
        QCOMPARE(edited.count(), 2);
    }

    void mouseMapsPositionsOverTheRange()
    {
        FloatSlider slider;
        slider.setFloatRange(-100.0, 100.0);
        slider.resize(230, 22);
        const int y = slider.height() / 2;
        // Beyond either end gives the end itself, not a value near it.
        QCOMPARE(slider.floatValueAt({-50, y}), -100.0f);
        QCOMPARE(slider.floatValueAt({500, y}), 100.0f);
        QVERIFY(std::abs(slider.floatValueAt({slider.width() / 2, y})) < 2.0f);
        QVERIFY(slider.floatValueAt({slider.width() / 4, y}) < -40.0f);

        // A click beside the handle jumps there and a drag follows the mouse.
        slider.setFloatValue(-100.0f);
        QSignalSpy edited(&slider, &FloatSlider::floatValueEdited);
        const QPoint click(slider.width() * 3 / 4, y);
        QTest::mousePress(&slider, Qt::LeftButton, {}, click);
        QCOMPARE(edited.count(), 1);
        QCOMPARE(slider.floatValue(), slider.floatValueAt(click));
        QVERIFY(slider.floatValue() > 40.0f && slider.floatValue() < 60.0f);
        QMouseEvent move(QEvent::MouseMove, QPointF(slider.width() + 40, y),
                         slider.mapToGlobal(QPointF(slider.width() + 40, y)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&slider, &move);
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, {slider.width() + 40, y});
        QCOMPARE(slider.floatValue(), 100.0f);
        QCOMPARE(edited.last().at(0).toFloat(), 100.0f);
    }

    void fieldShowsThreeDecimalsAndGivesBackTheExactFloat()
    {
        FloatValueField field;
        QSignalSpy finished(&field, &QLineEdit::editingFinished);
        const float v = float(127.53623 / 300.0);
        field.setFloatValue(v);
        QCOMPARE(field.text(), QStringLiteral("0.425"));
        QCOMPARE(field.floatValue(), v);
        field.setFloatValue(-1234567.0f);
        QCOMPARE(field.text(), QStringLiteral("-1234567.000"));
        QCOMPARE(finished.count(), 0);
    }

    void fieldKeepsWhatTheUserTyped()
    {
        FloatValueField field;
        field.setFloatValue(0.25f);
        QSignalSpy finished(&field, &QLineEdit::editingFinished);
        field.selectAll();
        QTest::keyClicks(&field, QStringLiteral("2"));
        QTest::keyClick(&field, Qt::Key_Return);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(field.text(), QStringLiteral("2"));
        QCOMPARE(field.floatValue(), 2.0f);
        // No range and no rounding.
        for (QString typed : {QStringLiteral("-7.123456789"), QStringLiteral("123456789.5"),
                              QStringLiteral(".5")}) {
            int at = 0;
            QCOMPARE(field.validator()->validate(typed, at), QValidator::Acceptable);
            field.setText(typed);
            QCOMPARE(field.floatValue(), float(typed.toDouble()));
        }
    }

    void fieldUsesOneLocaleWhateverTheUsersLanguage()
    {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        {
            FloatValueField field;
            field.setFloatValue(0.5f);
            QCOMPARE(field.text(), QStringLiteral("0.500"));
            int at = 0;
            QString comma = QStringLiteral("0,5");
            QVERIFY(field.validator()->validate(comma, at) != QValidator::Acceptable);
            QString grouped = QStringLiteral("1,000.5");
            QVERIFY(field.validator()->validate(grouped, at) != QValidator::Acceptable);
            QString point = QStringLiteral("0.75");
            QCOMPARE(field.validator()->validate(point, at), QValidator::Acceptable);
        }
        QLocale::setDefault(saved);
    }

    void textThatIsNoNumberLosesNothing()
    {
        QWidget window;
        auto* field = new FloatValueField(&window);
        auto* other = new QLineEdit(&window);
        other->move(0, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        field->setFloatValue(0.125f);
        field->setFocus();
        QSignalSpy finished(field, &QLineEdit::editingFinished);

        // Nothing, or a lone sign, when the field loses focus.
        for (const QString& text : {QString(), QStringLiteral("-")}) {
            field->setFocus();
            field->setText(text);
            other->setFocus();
            QCOMPARE(field->text(), QStringLiteral("0.125"));
            QCOMPARE(field->floatValue(), 0.125f);
        }
        QCOMPARE(finished.count(), 0);

        // A number beyond a float: the last good text is back before any
        // listener of editingFinished reads the value.
        float readBack = 0.0f;
        connect(field, &QLineEdit::editingFinished, this,
                [&] { readBack = field->floatValue(); });
        field->setFocus();
        field->setText(QStringLiteral("3"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(readBack, 3.0f);
        field->setText(QStringLiteral("1") + QString(60, QLatin1Char('0')));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(field->text(), QStringLiteral("3"));
        QCOMPARE(readBack, 3.0f);
    }
};

QTEST_MAIN(FloatSliderAndValueFieldTest)
#include "tst_FloatSliderAndValueField.moc"
