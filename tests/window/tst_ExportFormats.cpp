// Export Result in PNG, TIFF and WebP through the save panel's type filter,
// the icon-set sheet, and the name a dragged result's file takes.

#include "tests/window/WindowTestSupport.h"
#include "tests/support/IsolatedSettings.h"
#include "tests/qtsupport/ModalAnswerer.h"
#include "tests/qtsupport/Screenshot.h"

#include "document/export/ExportFormat.h"
#include "document/intake/PictureDecoder.h"
#include "document/settings/Preferences.h"
#include "document/settings/SettingsKeys.h"
#include "document/settings/UserDefaults.h"
#include "views/imageview/MessageImageView.h"
#include "window/export/ExportCommands.h"
#include "window/export/IconSetCommand.h"
#include "window/sheets/IconSetSheet.h"
#include "ui_IconSet.h"
#include "ui_TintDocument.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QImageReader>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace gelcoat;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Picks a type in the panel's filter list as a user does, then types the
// name and accepts. The name field is read back into *confirmed just
// before the panel closes.
std::function<void(QDialog*)> exportAs(const QString& folder, ExportFormat format,
                                       const QString& typed, QString* seenFilter = nullptr)
{
    return [=](QDialog* dialog) {
        auto* panel = qobject_cast<QFileDialog*>(dialog);
        QVERIFY(panel);
        if (seenFilter)
            *seenFilter = panel->selectedNameFilter();
        panel->setDirectory(folder);
        auto* name = panel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(typed);
        auto* types = panel->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        const int index = types->findText(exportNameFilter(format));
        QVERIFY(index >= 0);
        // A click in the list sends both signals.
        types->setCurrentIndex(index);
        emit types->activated(index);
        emit types->textActivated(types->itemText(index));
        static_cast<QDialog*>(panel)->accept();
    };
}

std::function<void(QDialog*)> okInSheet()
{
    return [](QDialog* dialog) { dialog->findChild<QAbstractButton*>(QStringLiteral("okButton"))->click(); };
}

} // namespace

class ExportFormatsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::IsolatedSettings> settings_;
    std::unique_ptr<TintDocumentWindow> window_;
    std::unique_ptr<ModalAnswerer> answerer_;
    QTemporaryDir dir_;

    TintDocument& doc() { return window_->document(); }
    ExportCommands& result() { return window_->exportCommands(); }

    void run(const char* id)
    {
        test::command(*window_, id).trigger();
        QVERIFY(waitUntil([this] { return answerer_->pending() == 0; }));
        QTest::qWait(20);
        for (const SeenPanel& panel : answerer_->seen())
            if (panel.unexpected)
                qWarning() << "unexpected box:" << panel.text << panel.informativeText;
        QCOMPARE(answerer_->unexpectedCount(), 0);
    }

    void exportAs(ExportFormat format, const QString& typed, QString* seenFilter = nullptr)
    {
        answerer_->answerDialog(okInSheet());
        answerer_->answerDialog(::exportAs(dir_.path(), format, typed, seenFilter));
        run("saveDestImage");
    }

private slots:
    void initTestCase() { settings_ = std::make_unique<test::IsolatedSettings>("ExportFormats"); }

    void init()
    {
        Preferences::shared().setFlatteningChoice(2);
        QVERIFY(test::showNewWindow(window_));
        QTRY_VERIFY(doc().resultIsCurrent());
        answerer_ = std::make_unique<ModalAnswerer>();
    }

    void cleanup()
    {
        answerer_.reset();
        window_.reset();
    }

    // Each type filter writes its own kind of file under the name the
    // panel confirmed, and every one reads back as the result itself.
    void eachTypeFilterWritesItsFormat()
    {
        QString firstFilter;
        exportAs(ExportFormat::Png, QStringLiteral("gel"), &firstFilter);
        QCOMPARE(firstFilter, exportNameFilter(ExportFormat::Png));   // a new document's default
        exportAs(ExportFormat::Tiff, QStringLiteral("gel"));
        exportAs(ExportFormat::WebP, QStringLiteral("gel"));
        const BitmapRep& final = *doc().pipeline().finalMixImage();
        for (const ExportFormat format : exportFormats()) {
            const QString path = dir_.filePath(QStringLiteral("gel.") + exportSuffix(format));
            const QByteArray bytes = contents(path);
            QCOMPARE(bytes, encodeExportImage(final, format));
            QString error;
            const auto back = decodePicture(bytes, &error);
            QVERIFY2(back, qPrintable(error));
            QVERIFY(back->pixels.samePixels(final));
        }
        QCOMPARE(doc().destImagePath(), dir_.filePath(QStringLiteral("gel.webp")));
        QCOMPARE(UserDefaults::standard().objectForKey(lastSaveFormatKey).toString(),
                 QStringLiteral("webp"));

        // A new document's panel starts with the format used last.
        window_ = std::make_unique<TintDocumentWindow>();
        window_->setAttribute(Qt::WA_DeleteOnClose, false);
        window_->show();
        QTRY_VERIFY(doc().resultIsCurrent());
        QString seen;
        exportAs(ExportFormat::Png, QStringLiteral("again"), &seen);
        QCOMPARE(seen, exportNameFilter(ExportFormat::WebP));
    }

    // A name typed with a suffix takes the suffix of the type then chosen,
    // and the file so named, the one the panel asked about, is written.
    void theConfirmedNameIsTheOneWritten()
    {
        exportAs(ExportFormat::WebP, QStringLiteral("logo.png"));
        const QString written = dir_.filePath(QStringLiteral("logo.webp"));
        QCOMPARE(doc().destImagePath(), written);
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("logo.png"))));
        QCOMPARE(contents(written), encodeExportImage(*doc().pipeline().finalMixImage(),
                                                      ExportFormat::WebP));
    }

    // The window's PNG is gelcoat-render's PNG of the same document.
    void pngExportIsWhatTheRendererWrites()
    {
        test::takeSimpleStencil(doc(), 80);
        doc().changeSetting([](TintSettings& s) { s.userHue = 59.0f; s.finalSize = 75.0f; });
        QTRY_VERIFY(doc().resultIsCurrent());
        const QString document = dir_.filePath(QStringLiteral("blue.gelcoat"));
        QVERIFY(doc().saveDocumentAs(document).ok);
        exportAs(ExportFormat::Png, QStringLiteral("from-window"));
        QProcess render;
        render.start(QStringLiteral(GELCOAT_RENDER_BINARY),
                     {document, QStringLiteral("-o"), dir_.filePath(QStringLiteral("render.png"))});
        QVERIFY(render.waitForFinished(60000));
        QCOMPARE(render.exitCode(), 0);
        const QByteArray fromWindow = contents(dir_.filePath(QStringLiteral("from-window.png")));
        QVERIFY(!fromWindow.isEmpty());
        // The same pixels; the files may differ in the resolution note,
        // which follows the screen Qt sees.
        const auto windowPixels = decodePicture(fromWindow);
        const auto renderPixels = decodePicture(contents(dir_.filePath(QStringLiteral("render.png"))));
        QVERIFY(windowPixels && renderPixels);
        QVERIFY(windowPixels->pixels.samePixels(renderPixels->pixels));
        QVERIFY(windowPixels->pixels.samePixels(*doc().pipeline().finalMixImage()));
        // And the result dragged out is a file named after the document.
        QCOMPARE(window_->form().destImageWell->dragFileName(), QStringLiteral("blue.png"));
    }

    void iconSetSheetMakesTheSetChosen()
    {
        QCOMPARE(window_->form().destImageWell->dragFileName(), QStringLiteral("Untitled.png"));
        IconSetSheet& sheet = result().iconSet().sheet();
        QString screenshot;
        answerer_->answerDialog([&](QDialog* dialog) {
            Ui::IconSet& form = *sheet.form();
            // The common sizes come ticked; 1024 does not.
            QVERIFY(form.iconSize16Check->isChecked() && form.iconSize512Check->isChecked());
            QVERIFY(!form.iconSize1024Check->isChecked());
            QVERIFY(form.keepTransparencyRadio->isChecked());   // from the preference
            QCOMPARE(dialog->windowModality(), Qt::WindowModal);
            screenshot = saveScreenshot(dialog, QStringLiteral("IconSetSheet"));
            form.iconSize24Check->setChecked(false);
            form.icoRadio->setChecked(true);
            form.flattenOntoWhiteRadio->setChecked(true);
            form.okButton->click();
        });
        answerer_->answerDialog(ModalAnswerer::chooseFile(dir_.filePath(QStringLiteral("app-icon"))));
        run("exportIconSet");
        QVERIFY(!screenshot.isEmpty());
        qInfo() << "icon-set sheet:" << screenshot;

        QImageReader reader(dir_.filePath(QStringLiteral("app-icon.ico")), "ico");
        std::vector<int> sizes;
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage icon = reader.read();
            sizes.push_back(icon.width());
            QCOMPARE(icon.pixelColor(0, 0), QColor(Qt::white));   // flattened
        }
        std::sort(sizes.begin(), sizes.end());
        QCOMPARE(sizes, (std::vector<int>{16, 32, 48, 64, 128, 256}));

        // Without a size ticked there is nothing to confirm.
        answerer_->answerDialog([&](QDialog* dialog) {
            for (QCheckBox* check : dialog->findChildren<QCheckBox*>())
                check->setChecked(false);
            QVERIFY(!sheet.form()->okButton->isEnabled());
            sheet.form()->iconSize32Check->setChecked(true);
            sheet.form()->hicolorRadio->setChecked(true);
            sheet.form()->okButton->click();
        });
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("icons")));
        answerer_->answerDialog(ModalAnswerer::chooseFile(dir_.filePath(QStringLiteral("icons"))));
        run("exportIconSet");
        QCOMPARE(QImage(dir_.filePath(QStringLiteral("icons/32x32/apps/Untitled.png"))).size(),
                 QSize(32, 32));
    }

    void theCommandIsInTheResultsPopUp()
    {
        QAction* iconSet = &test::command(*window_, "exportIconSet");
        QVERIFY(window_->form().destActionButton->menu()->actions().contains(iconSet));
    }
};

QTEST_MAIN(ExportFormatsTest)
#include "tst_ExportFormats.moc"
