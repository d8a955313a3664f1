// Stencils into a document window by every route: the panels and sheets
// answered as a user answers them, the clipboard and drops with real MIME
// data, and what each leaves in the document.

#include "tests/window/AnsweredWindowFixture.h"

#include "document/export/ResultExport.h"
#include "document/settings/SettingsKeys.h"
#include "document/intake/PictureDecoder.h"
#include "window/intake/StencilCommands.h"
#include "tests/qtsupport/Screenshot.h"
#include "document/settings/Preferences.h"
#include "document/settings/UserDefaults.h"
#include "window/sheets/AdjustSizeSheet.h"
#include "window/sheets/FlattenSheet.h"
#include "ui_AdjustSize.h"
#include "ui_TintDocument.h"

#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QDialog>
#include <QSignalSpy>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

#include <sys/resource.h>

using namespace gelcoat;
using gelcoat::test::clickInSheet;

namespace {

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage grey(int side, int level, QImage::Format format = QImage::Format_Grayscale8)
{
    QImage image(side, side, format);
    image.fill(QColor(level, level, level));
    return image;
}

// The alpha of the stencil's first pixel.
int firstAlpha(const TintDocument& doc)
{
    return doc.sourceImage()->row(0)[3];
}

// Clipboard data as the desktop's clipboard offers it: picture bytes, and a
// Qt image that the platform would make by decoding those bytes itself,
// counted here.
class PlatformClipboardData : public QMimeData {
public:
    explicit PlatformClipboardData(QByteArray png) : png_(std::move(png)) {}
    int imageRequests() const { return imageRequests_; }

    QStringList formats() const override
    {
        return {QStringLiteral("image/png"), QStringLiteral("application/x-qt-image")};
    }
    bool hasFormat(const QString& type) const override { return formats().contains(type); }

protected:
    QVariant retrieveData(const QString& type, QMetaType) const override
    {
        if (type == QStringLiteral("image/png"))
            return png_;
        if (type != QStringLiteral("application/x-qt-image"))
            return {};
        ++imageRequests_;
        return QImage::fromData(png_, "PNG");
    }

private:
    QByteArray png_;
    mutable int imageRequests_ = 0;
};

} // namespace

class StencilsInTest : public QObject, protected test::AnsweredWindowFixture {
    Q_OBJECT

    // Pastes data, which the clipboard then owns, and expects the alert
    // with nothing changed.
    void pasteExpectingTheAlert(QMimeData* data)
    {
        const qsizetype seen = answerer_->seen().size();
        QApplication::clipboard()->setMimeData(data);
        answerer_->answer(QStringLiteral("OK"));
        run("paste");
        QCOMPARE(answerer_->seen().size(), seen + 1);
        QCOMPARE(answerer_->seen().last().text, incompatibleImageTitle());
        QVERIFY(answerer_->seen().last().informativeText.startsWith(incompatibleImageMessage()));
        QVERIFY(!doc().isDocumentEdited());
        QCOMPARE(doc().sourceImage()->pixelsWide(), 10);
    }

private slots:
    void initTestCase()
    {
        settings_ = std::make_unique<test::IsolatedSettings>("StencilsIn");
    }

    void init() { openWindow(); }

    void cleanup() { closeWindow(); }

    void builtInStencilsAskFirst()
    {
        test::takeSimpleStencil(doc());
        doc().changeSetting([](TintSettings& s) { s.userHue = 12.0f; });
        doc().clearChangeCount();
        answerer_->answer(QStringLiteral("Cancel"));
        run("useMoss");
        QCOMPARE(answerer_->seen().last().text, useMossTitle());
        QCOMPARE(answerer_->seen().last().informativeText, useMossMessage());
        QVERIFY(answerer_->seen().last().informativeText.endsWith(
            QStringLiteral("also be changed.  This is not undoable.")));
        QVERIFY(doc().sourceImageIsSimple());
        QVERIFY(!doc().isDocumentEdited());

        answerer_->answer(QStringLiteral("OK"));
        run("useMoss");
        QVERIFY(!doc().sourceImageIsSimple());
        QCOMPARE(doc().settings().userHue, TintSettings().userHue);
        QVERIFY(doc().isDocumentEdited());

        answerer_->answer(QStringLiteral("OK"));
        run("useFoot");
        QCOMPARE(answerer_->seen().last().text, useFootTitle());
        QVERIFY(!doc().settings().useRainbow);
    }

    void openPanelRemembersItsFolder()
    {
        const QString path = dir_.filePath(QStringLiteral("grey.png"));
        QVERIFY(grey(6, 200).save(path));
        QString startedIn;
        answerer_->answerDialog(ModalAnswerer::chooseFile(path, &startedIn));
        run("chooseSourceImage");
        // Taken in once the panel has closed.
        QTRY_COMPARE(doc().sourceImagePath(), path);
        QCOMPARE(startedIn, fallbackPanelFolder());
        QVERIFY(doc().sourceImageIsSimple());
        QCOMPARE(firstAlpha(doc()), 200);
        QCOMPARE(doc().sourceImagePath(), path);
        QVERIFY(doc().isDocumentEdited());
        QCOMPARE(UserDefaults::standard().objectForKey(lastOpenDirKey).toString(), dir_.path());

        // Cancel changes nothing; the panel starts where the last one ended.
        doc().clearChangeCount();
        answerer_->answerDialog(ModalAnswerer::chooseFile(QString(), &startedIn));
        run("chooseSourceImage");
        QCOMPARE(startedIn, dir_.path());
        QVERIFY(!doc().isDocumentEdited());

        // A PDF is refused with the alert, the source kept.
        const QString deep = dir_.filePath(QStringLiteral("deep.pdf"));
        writeFile(deep, "%PDF-1.4\n%%EOF\n");
        answerer_->answerDialog(ModalAnswerer::chooseFile(deep));
        answerer_->answer(QStringLiteral("OK"));
        run("chooseSourceImage");
        QCOMPARE(answerer_->seen().last().text, incompatibleImageTitle());
        QCOMPARE(answerer_->seen().last().icon, QMessageBox::Critical);
        QCOMPARE(doc().sourceImagePath(), path);
        QVERIFY(!doc().isDocumentEdited());
    }

    // Raw bytes come first, so a grey picture stays a mask; a file link
    // next; the in-process image last, as a 32-bit picture.
    void pasteDecodesTheRawBytes()
    {
        auto* both = new QMimeData;
        both->setImageData(QImage(3, 3, QImage::Format_ARGB32_Premultiplied));
        both->setData(QStringLiteral("image/png"), encoded(grey(5, 100), "PNG"));
        QApplication::clipboard()->setMimeData(both);
        run("paste");
        QVERIFY(doc().sourceImageIsSimple());
        QCOMPARE(doc().sourceImage()->pixelsWide(), 5);
        QCOMPARE(firstAlpha(doc()), 100);
        QVERIFY(doc().sourceImagePath().isEmpty());

        auto* link = new QMimeData;
        const QString path = dir_.filePath(QStringLiteral("link.png"));
        QVERIFY(grey(7, 10).save(path));
        link->setUrls({QUrl::fromLocalFile(path)});
        QApplication::clipboard()->setMimeData(link);
        run("paste");
        QCOMPARE(doc().sourceImage()->pixelsWide(), 7);

        auto* qtImage = new QMimeData;
        QImage colour(9, 2, QImage::Format_ARGB32);
        colour.fill(QColor(0, 0, 255, 255));
        qtImage->setImageData(colour);
        QApplication::clipboard()->setMimeData(qtImage);
        run("paste");
        QVERIFY(!doc().sourceImageIsSimple());
        QCOMPARE(doc().sourceImage()->pixelsWide(), 9);

        // Words are no picture: nothing happens, without a message.
        doc().clearChangeCount();
        QApplication::clipboard()->setText(QStringLiteral("words"));
        run("paste");
        QVERIFY(!doc().isDocumentEdited());
    }

    // A picture that is there but cannot be made is incompatible, as a
    // refused one is; one far too large is turned away by its header, and
    // the clipboard is never asked to decode it some other way.
    void pasteRefusesDamagedAndOversizedPictures()
    {
        test::takeSimpleStencil(doc(), 10);
        doc().clearChangeCount();
        auto* truncated = new QMimeData;
        truncated->setData(QStringLiteral("image/png"), encoded(grey(40, 100), "PNG").left(60));
        pasteExpectingTheAlert(truncated);
        if (QTest::currentTestFailed())
            return;
        auto* junk = new QMimeData;
        junk->setData(QStringLiteral("image/tiff"), QByteArray("II*\0junk", 8));
        pasteExpectingTheAlert(junk);
        if (QTest::currentTestFailed())
            return;

        // 20000 × 20000 at one bit per pixel: a small file, a huge picture.
        QImage huge(20000, 20000, QImage::Format_Mono);
        huge.fill(0);
        auto* oversized = new PlatformClipboardData(encoded(huge, "PNG"));
        huge = QImage();
        pasteExpectingTheAlert(oversized);
        QCOMPARE(oversized->imageRequests(), 0);
        QCOMPARE(answerer_->seen().size(), 3);
    }

    // A drop is read at once and taken in once it has ended.
    void dropsOnTheSourceWell()
    {
        BugImageView* well = window_->form().sourceImageWell;
        QSignalSpy ended(&window_->stencilCommands(), &StencilCommands::dropTakenIn);
        QMimeData file;
        const QString path = dir_.filePath(QStringLiteral("drop.png"));
        QVERIFY(grey(11, 77).save(path));
        file.setUrls({QUrl::fromLocalFile(path)});
        emit well->dataDropped(&file);
        file.clear();
        QTRY_COMPARE(ended.size(), 1);
        QVERIFY(ended.last().first().toBool());
        QCOMPARE(well->image().size(), QSize(11, 11));
        QCOMPARE(firstAlpha(doc()), 77);

        // Refused and broken drops leave the current source in the view.
        QMimeData deep;
        deep.setData(QStringLiteral("image/pdf"), QByteArray("%PDF-1.4\n%%EOF\n"));
        answerer_->answer(QStringLiteral("OK"));
        well->setImage(QImage(2, 2, QImage::Format_ARGB32_Premultiplied));
        emit well->dataDropped(&deep);
        QVERIFY(waitUntil([this] { return answerer_->pending() == 0; }));
        QTRY_COMPARE(ended.size(), 2);
        QCOMPARE(answerer_->seen().last().text, incompatibleImageTitle());
        QCOMPARE(well->image().size(), QSize(11, 11));
        QMimeData broken;
        broken.setData(QStringLiteral("image/tiff"), QByteArray("II*\0junk", 8));
        well->setImage(QImage(2, 2, QImage::Format_ARGB32_Premultiplied));
        answerer_->answer(QStringLiteral("OK"));
        emit well->dataDropped(&broken);
        QTRY_COMPARE(ended.size(), 3);
        QVERIFY(waitUntil([this] { return answerer_->pending() == 0; }));
        QVERIFY(!ended.last().first().toBool());
        QCOMPARE(well->image().size(), QSize(11, 11));
        QCOMPARE(answerer_->seen().size(), 2);
        QCOMPARE(answerer_->seen().last().text, incompatibleImageTitle());
    }

    void invertAndAdjustSize()
    {
        test::takeSimpleStencil(doc(), 10, true);
        run("invertSource");
        QCOMPARE(firstAlpha(doc()), 0);
        run("invertSource");
        QCOMPARE(firstAlpha(doc()), 255);

        answerer_->answerDialog([](QDialog* sheet) {
            auto* top = sheet->findChild<QLineEdit*>(QStringLiteral("topMarginTextfield"));
            QCOMPARE(sheet->focusWidget(), top);
            QCOMPARE(top->selectedText(), QStringLiteral("0"));
            QCOMPARE(sheet->windowModality(), Qt::WindowModal);
            QTest::keyClicks(top, QStringLiteral("2"));
            auto* left = sheet->findChild<QLineEdit*>(QStringLiteral("leftMarginTextfield"));
            left->selectAll();
            QTest::keyClicks(left, QStringLiteral("-3"));
            sheet->findChild<QLineEdit*>(QStringLiteral("rightMarginTextfield"))
                ->setText(QStringLiteral("1"));
            saveScreenshot(sheet, QStringLiteral("sheet-adjust-size"));
            sheet->findChild<QAbstractButton*>(QStringLiteral("okButton"))->click();
        });
        run("adjustSourceSize");
        QCOMPARE(doc().sourceImage()->pixelsWide(), 8);
        QCOMPARE(doc().sourceImage()->pixelsHigh(), 12);
        QCOMPARE(firstAlpha(doc()), 0);

        // Margins that leave nothing: the alert sheet, nothing changed.
        doc().clearChangeCount();
        answerer_->answerDialog([](QDialog* sheet) {
            sheet->findChild<QLineEdit*>(QStringLiteral("leftMarginTextfield"))
                ->setText(QStringLiteral("-8"));
            sheet->findChild<QAbstractButton*>(QStringLiteral("okButton"))->click();
        });
        answerer_->answer(QStringLiteral("OK"));
        run("adjustSourceSize");
        QCOMPARE(answerer_->seen().last().text, adjustSizeTitle());
        QCOMPARE(answerer_->seen().last().informativeText, adjustSizeObliteratedMessage());
        answerer_->answerDialog(clickInSheet(nullptr, "cancelButton"));
        run("adjustSourceSize");
        QCOMPARE(doc().sourceImage()->pixelsWide(), 8);
        QVERIFY(!doc().isDocumentEdited());

        // The shadow warning opens the sheet with the clipping reported.
        doc().changeSetting([](TintSettings& s) { s.shadowXOffset = 12.0f; });
        QTRY_VERIFY(!window_->form().shadowWarningButton->isHidden());
        const ShadowReport clip = doc().pipeline().shadowWarning();
        std::optional<StencilMargins> shown;
        answerer_->answerDialog([&shown](QDialog* sheet) {
            auto read = [sheet](const char* name) {
                return sheet->findChild<QLineEdit*>(QString::fromLatin1(name))->text().toInt();
            };
            shown = StencilMargins{read("topMarginTextfield"), read("bottomMarginTextfield"),
                                   read("leftMarginTextfield"), read("rightMarginTextfield")};
            sheet->reject();
        });
        window_->form().shadowWarningButton->click();
        QVERIFY(waitUntil([&shown] { return shown.has_value(); }));
        QCOMPARE(shown->right, clip.right);
        QCOMPARE(shown->left, clip.left);
        QCOMPARE(shown->top, clip.top);
        QVERIFY(clip.right > 0);
    }

    void popUpButtonsCarryTheCommands()
    {
        const QList<QAction*> source = window_->form().sourceActionButton->menu()->actions();
        for (const char* id :
             {"chooseSourceImage", "paste", "invertSource", "adjustSourceSize", "useMoss", "useFoot"})
            QVERIFY2(source.contains(&test::command(*window_, id)), id);
        const QList<QAction*> dest = window_->form().destActionButton->menu()->actions();
        for (const char* id : {"copy", "saveDestImage"})
            QVERIFY2(dest.contains(&test::command(*window_, id)), id);
        QCOMPARE(test::command(*window_, "copy").shortcut(), QKeySequence(QKeySequence::Copy));
        QCOMPARE(test::command(*window_, "paste").shortcut(), QKeySequence(QKeySequence::Paste));
    }
};

QTEST_MAIN(StencilsInTest)
#include "tst_StencilsIn.moc"
