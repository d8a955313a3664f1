// Stencils into a document window by every route and results out of it:
// the panels and sheets answered as a user answers them, the clipboard and
// drops with real MIME data, and what each leaves in the document.

#include "tests/window/WindowTestSupport.h"
#include "tests/support/IsolatedSettings.h"

#include "document/export/ResultExport.h"
#include "document/settings/SettingsKeys.h"
#include "document/intake/PictureDecoder.h"
#include "window/intake/StencilCommands.h"
#include "tests/qtsupport/ModalAnswerer.h"
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

std::function<void(QDialog*)> clickInSheet(const char* cell, const char* button = "okButton")
{
    return [cell, button](QDialog* dialog) {
        if (cell)
            dialog->findChild<QAbstractButton*>(QString::fromLatin1(cell))->click();
        dialog->findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
    };
}

} // namespace

class StencilsInResultsOutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::IsolatedSettings> settings_;
    std::unique_ptr<TintDocumentWindow> window_;
    std::unique_ptr<ModalAnswerer> answerer_;
    QTemporaryDir dir_;

    TintDocument& doc() { return window_->document(); }
    // Runs a command and waits until every queued answer was given.
    void run(const char* id)
    {
        test::command(*window_, id).trigger();
        QVERIFY(waitUntil([this] { return answerer_->pending() == 0; }));
        QTest::qWait(20);
        QCOMPARE(answerer_->unexpectedCount(), 0);
    }

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
        settings_ = std::make_unique<test::IsolatedSettings>("StencilsInResultsOut");
    }

    void init()
    {
        window_ = std::make_unique<TintDocumentWindow>();
        window_->setAttribute(Qt::WA_DeleteOnClose, false);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QTRY_VERIFY(doc().resultIsCurrent());
        answerer_ = std::make_unique<ModalAnswerer>();
        doc().clearChangeCount();
    }

    void cleanup()
    {
        answerer_.reset();
        window_.reset();
    }

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
        QFile pdf(deep);
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.write("%PDF-1.4\n%%EOF\n");
        pdf.close();
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

    void copyFlattensAsChosenThisOnce()
    {
        Preferences::shared().setFlatteningChoice(0);
        // Rendering off: the last result is still what leaves.
        doc().toggleTinting();
        answerer_->answerDialog([](QDialog* sheet) {
            auto* white = sheet->findChild<QAbstractButton*>(QStringLiteral("flattenOntoWhiteRadio"));
            QVERIFY(white && white->isChecked());
            saveScreenshot(sheet, QStringLiteral("sheet-flatten-choice"));
            clickInSheet("flattenOntoBlackRadio")(sheet);
        });
        run("copy");
        const QMimeData* payload = QApplication::clipboard()->mimeData();
        QVERIFY(payload);
        QCOMPARE(payload->formats(),
                 (QStringList{QStringLiteral("image/tiff"), QStringLiteral("image/png")}));
        auto copied = decodePicture(payload->data(QStringLiteral("image/tiff")));
        QVERIFY(copied);
        const BitmapRep& final = *doc().pipeline().finalMixImage();
        QCOMPARE(copied->pixels.pixelsWide(), final.pixelsWide());
        QCOMPARE(int(copied->pixels.row(0)[3]), 255);   // flattened: opaque
        QCOMPARE(int(copied->pixels.row(0)[0]), 0);     // on black

        // The next sheet opens on the preference again; Cancel copies nothing.
        QApplication::clipboard()->setText(QStringLiteral("before"));
        answerer_->answerDialog([](QDialog* sheet) {
            QVERIFY(sheet->findChild<QAbstractButton*>(QStringLiteral("flattenOntoWhiteRadio"))
                        ->isChecked());
            clickInSheet(nullptr, "cancelButton")(sheet);
        });
        run("copy");
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(Preferences::shared().flatteningChoice(), 0);
    }

    void copyAndPasteServeAFocusedField()
    {
        FloatValueField* field = window_->form().hueValueField;
        field->setFocus();
        QVERIFY(waitUntil([field] { return field->hasFocus(); }));
        field->selectAll();
        run("copy");
        QCOMPARE(QApplication::clipboard()->text(), field->text());
        QApplication::clipboard()->setText(QStringLiteral("0.25"));
        field->selectAll();
        run("paste");
        QCOMPARE(field->text(), QStringLiteral("0.25"));
    }

    // A new document exports PNG unless another format was used last.
    void exportSavesPngAndRemembers()
    {
        Preferences::shared().setFlatteningChoice(2);
        const QString chosen = dir_.filePath(QStringLiteral("result"));
        QString startedIn;
        answerer_->answerDialog(clickInSheet(nullptr));
        answerer_->answerDialog(ModalAnswerer::chooseFile(chosen, &startedIn));
        run("saveDestImage");
        const QString written = chosen + QStringLiteral(".png");
        QCOMPARE(doc().destImagePath(), written);
        QVERIFY(doc().isDocumentEdited());
        QCOMPARE(UserDefaults::standard().objectForKey(lastSaveDirKey).toString(), dir_.path());
        QFile file(written);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 encodeExportImage(*doc().pipeline().finalMixImage(), ExportFormat::Png));

        // The next panel proposes the same file; the same path is no edit.
        doc().clearChangeCount();
        QString proposedName;
        answerer_->answerDialog(clickInSheet(nullptr));
        answerer_->answerDialog([&](QDialog* dialog) {
            auto* panel = qobject_cast<QFileDialog*>(dialog);
            proposedName = panel->selectedFiles().value(0);
            static_cast<QDialog*>(panel)->accept();
        });
        answerer_->answer(QStringLiteral("&Yes"));
        run("saveDestImage");
        QCOMPARE(answerer_->seen().last().buttons.size(), 2);
        QCOMPARE(proposedName, written);
        QVERIFY(!doc().isDocumentEdited());

        // A write that fails (the file size limit, as a full disk would):
        // the "Save" alert and the old file untouched.
        const QString blocked = dir_.filePath(QStringLiteral("blocked.tiff"));
        QFile old(blocked);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("previous");
        old.close();
        answerer_->answerDialog(clickInSheet(nullptr));
        answerer_->answerDialog(ModalAnswerer::chooseFile(blocked));
        answerer_->answer(QStringLiteral("&Yes"));
        answerer_->answer(QStringLiteral("OK"));
        rlimit sizeLimit {};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &sizeLimit) == 0);
        const auto sizeSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = sizeLimit;
        tiny.rlim_cur = 16;
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &tiny) == 0);
        run("saveDestImage");
        ::setrlimit(RLIMIT_FSIZE, &sizeLimit);
        std::signal(SIGXFSZ, sizeSignal);
        QCOMPARE(answerer_->seen().last().text, QStringLiteral("Save"));
        QVERIFY(answerer_->seen().last().informativeText.contains(blocked));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("previous"));
    }

    // The panel decides the final name: it adds ".tiff" to a name without
    // a suffix and asks before replacing the file so named, and that file
    // is the one written, never another name made up after it asked.
    void exportWritesTheFileThePanelAskedAbout()
    {
        Preferences::shared().setFlatteningChoice(2);
        auto writeFile = [](const QString& path, const QByteArray& bytes) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        auto contents = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QString typed = dir_.filePath(QStringLiteral("a.tif"));
        writeFile(typed, "previous");
        writeFile(typed + QStringLiteral(".tiff"), "someone else's");
        answerer_->answerDialog(clickInSheet(nullptr));
        answerer_->answerDialog(ModalAnswerer::chooseFile(typed));
        answerer_->answer(QStringLiteral("&Yes"));
        run("saveDestImage");
        QVERIFY(answerer_->seen().last().text.contains(QStringLiteral("a.tif ")));
        QCOMPARE(doc().destImagePath(), typed);
        QCOMPARE(contents(typed), exportTiffData(*doc().pipeline().finalMixImage()));
        QCOMPARE(contents(typed + QStringLiteral(".tiff")), QByteArray("someone else's"));
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

QTEST_MAIN(StencilsInResultsOutTest)
#include "tst_StencilsInResultsOut.moc"
