// Results out of a document window: copy and export through the flatten
// sheet and the save panel, answered as a user answers them, and what
// reaches the clipboard and the disk.

#include "tests/window/AnsweredWindowFixture.h"

#include "document/export/ResultExport.h"
#include "document/intake/PictureDecoder.h"
#include "document/settings/Preferences.h"
#include "document/settings/SettingsKeys.h"
#include "document/settings/UserDefaults.h"
#include "tests/qtsupport/Screenshot.h"
#include "ui_TintDocument.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMimeData>
#include <QtTest>

#include <csignal>
#include <memory>

#include <sys/resource.h>

using namespace gelcoat;
using gelcoat::test::clickInSheet;

class ResultsOutTest : public QObject, protected test::AnsweredWindowFixture {
    Q_OBJECT

private slots:
    void initTestCase() { settings_ = std::make_unique<test::IsolatedSettings>("ResultsOut"); }

    void init() { openWindow(); }

    void cleanup() { closeWindow(); }

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
        writeFile(blocked, "previous");
        QFile old(blocked);
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
};

QTEST_MAIN(ResultsOutTest)
#include "tst_ResultsOut.moc"
