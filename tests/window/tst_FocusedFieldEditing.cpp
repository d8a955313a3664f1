// Copy and Paste with a value field focused, by menu command and by key:
// a picture on the clipboard still becomes the stencil, text goes into the
// field, a selection is copied and otherwise the result; and clicking a
// well takes the focus from the field.

#include "tests/qtsupport/PixelChecks.h"
#include "tests/window/WindowTestSupport.h"
#include "tests/support/IsolatedSettings.h"

#include "window/export/ExportCommands.h"
#include "window/intake/StencilCommands.h"
#include "tests/qtsupport/ModalAnswerer.h"
#include "ui_TintDocument.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QDialog>
#include <QMimeData>
#include <QtTest>

#include <memory>

using namespace gelcoat;

namespace {

// A grey picture of the given side, as PNG bytes on the clipboard.
QMimeData* pictureData(int side)
{
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(QColor(90, 90, 90));
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/png"), testing::pngBytes(image));
    return data;
}

} // namespace

class FocusedFieldEditingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::IsolatedSettings> settings_;
    std::unique_ptr<TintDocumentWindow> window_;
    std::unique_ptr<ModalAnswerer> answerer_;

    TintDocument& doc() { return window_->document(); }
    FloatValueField* field() { return window_->form().hueValueField; }
    int stencilWidth() { return doc().sourceImage()->pixelsWide(); }

    // The field focused, holding typed text that it has accepted.
    void focusFieldWithValue()
    {
        field()->setFocus();
        QTRY_VERIFY(field()->hasFocus());
        test::type(field(), QStringLiteral("0.3"));
        QCOMPARE(doc().settings().userHue, 30.0f);
        field()->deselect();
    }

    // A picture taken in waits for the intake and its render.
    bool waitForStencil(int width)
    {
        return waitUntil([&] { return stencilWidth() == width && doc().resultIsCurrent(); });
    }

private slots:
    void initTestCase()
    {
        settings_ = std::make_unique<test::IsolatedSettings>("FocusedFieldEditing");
    }

    void init()
    {
        QVERIFY(test::showNewWindow(window_));
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QTRY_VERIFY(doc().resultIsCurrent());
        answerer_ = std::make_unique<ModalAnswerer>();
    }

    void cleanup()
    {
        answerer_.reset();
        window_.reset();
    }

    void pasteOfAPictureMakesTheStencil_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("menu command") << false;
        QTest::newRow("Ctrl+V") << true;
    }

    void pasteOfAPictureMakesTheStencil()
    {
        QFETCH(bool, byKey);
        focusFieldWithValue();
        const QString text = field()->text();
        QApplication::clipboard()->setMimeData(pictureData(11));
        if (byKey)
            QTest::keyClick(field(), Qt::Key_V, Qt::ControlModifier);
        else
            test::command(*window_, "paste").trigger();
        QVERIFY(waitForStencil(11));
        QCOMPARE(field()->text(), text);
    }

    void pasteOfTextGoesIntoTheField_data() { pasteOfAPictureMakesTheStencil_data(); }

    void pasteOfTextGoesIntoTheField()
    {
        QFETCH(bool, byKey);
        focusFieldWithValue();
        const int width = stencilWidth();
        // Text beside a picture: the field's paste wins.
        QMimeData* both = pictureData(13);
        both->setText(QStringLiteral("0.75"));
        QApplication::clipboard()->setMimeData(both);
        field()->selectAll();
        if (byKey)
            QTest::keyClick(field(), Qt::Key_V, Qt::ControlModifier);
        else
            test::command(*window_, "paste").trigger();
        QCOMPARE(field()->text(), QStringLiteral("0.75"));
        QTest::qWait(50);
        QCOMPARE(stencilWidth(), width);
        // The pasted text is typing like any other until accepted.
        QTest::keyClick(field(), Qt::Key_Return);
        QCOMPARE(doc().settings().userHue, 75.0f);
    }

    void copyTakesTheSelectionOrElseTheResult()
    {
        focusFieldWithValue();
        field()->setSelection(0, 2);
        QTest::keyClick(field(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("0."));

        // Nothing selected: the flatten sheet, then the result as a picture.
        field()->deselect();
        bool sheetShown = false;
        answerer_->answerDialog([&sheetShown](QDialog* sheet) {
            sheetShown = true;
            sheet->accept();
        });
        test::command(*window_, "copy").trigger();
        QVERIFY(waitUntil([&] { return sheetShown; }));
        QVERIFY(waitUntil([] {
            const QMimeData* data = QApplication::clipboard()->mimeData();
            return data && data->hasFormat(QStringLiteral("image/tiff"));
        }));
    }

    void clickingAWellTakesTheFocus()
    {
        focusFieldWithValue();
        MessageImageView* result = window_->form().destImageWell;
        QTest::mouseClick(result, Qt::LeftButton, {}, result->rect().center());
        QTRY_VERIFY(result->hasFocus());
        BugImageView* stencil = window_->form().sourceImageWell;
        field()->setFocus();
        QTRY_VERIFY(field()->hasFocus());
        QTest::mouseClick(stencil, Qt::LeftButton, {}, stencil->rect().center());
        QTRY_VERIFY(stencil->hasFocus());

        // The window's keys work again from the well.
        QApplication::clipboard()->setMimeData(pictureData(17));
        QTest::keyClick(stencil, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(waitForStencil(17));
    }
};

QTEST_MAIN(FocusedFieldEditingTest)
#include "tst_FocusedFieldEditing.moc"
