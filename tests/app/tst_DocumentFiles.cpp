// Documents in their windows: saving, reverting, the questions before an
// edited window closes or the program quits, opening files (several, one
// already open, broken ones, one whose picture is missing), the recent
// documents, and a file that another program changes under an open window.

#include "tests/app/AppTestSupport.h"

#include "app/delegate/AppDelegate.h"
#include "window/commands/CommandActions.h"
#include "app/documents/RecentDocuments.h"
#include "app/windows/DocumentWindows.h"

#include "window/TintDocumentWindow.h"
#include "document/model/TintDocument.h"
#include "tests/qtsupport/ModalAnswerer.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace gelcoat;

namespace {

struct ProgramDelegate : AppDelegate {
    ProgramDelegate() { setDocumentWindowFactory(newDocumentWindow); }
};

TintDocumentWindow* lastWindow(const AppDelegate& delegate)
{
    return qobject_cast<TintDocumentWindow*>(delegate.lastDocumentWindow());
}

QAction* command(TintDocumentWindow* window, const char* id)
{
    return window->commands().action(QString::fromLatin1(id));
}

void setHue(TintDocumentWindow* window, float hue)
{
    window->document().changeSetting([hue](TintSettings& s) { s.userHue = hue; });
}

// Picks path in the next file panel, or cancels it when path is empty.
void answerNextPanel(const QString& path)
{
    // The panel may ask a question of its own while it accepts (a file to
    // replace): the timer keeps running through that nested loop and says
    // yes.  It answers questions only while its own panel is showing, and
    // stops as soon as that panel has gone, so that it never takes a later
    // question meant for somebody else.
    struct State {
        bool answered = false;
        QPointer<QFileDialog> panel;
    };
    auto* timer = new QTimer(qApp);
    auto state = std::make_shared<State>();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, path, state] {
        if (!state->answered) {
            auto* shown = activeModal<QFileDialog>();
            if (!shown || !shown->isVisible())
                return;
            state->answered = true;
            state->panel = shown;
            // Queued, so that this timer is free to answer the panel's question.
            QTimer::singleShot(0, shown, [shown, path] { ModalAnswerer::chooseFile(path)(shown); });
            return;
        }
        if (!state->panel || !state->panel->isVisible()) {
            timer->stop();
            timer->deleteLater();
        } else if (auto* box = activeModal<QMessageBox>()) {
            if (QAbstractButton* yes = box->button(QMessageBox::Yes))
                yes->click();
            else
                box->accept();
        }
    });
    timer->start(10);
}

QList<TintDocumentWindow*> visibleDocumentWindows()
{
    QList<TintDocumentWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<TintDocumentWindow*>(widget); window && window->isVisible())
            windows << window;
    return windows;
}

float savedHue(const QString& path)
{
    TintDocument document;
    return document.readFromFile(path).ok ? document.settings().userHue : -1.0f;
}

// Another program (here another document of this one) saves its own
// version of the file.
void saveElsewhere(const QString& path, float hue)
{
    TintDocument other;
    QVERIFY(other.readFromFile(path).ok);
    other.changeSetting([hue](TintSettings& s) { s.userHue = hue; });
    QVERIFY(other.saveDocument().ok);
}

void bringToFront(QWidget* window)
{
    window->raise();
    window->activateWindow();
    // In front, or already asking a question in a sheet of its own.
    QTRY_VERIFY(window->isActiveWindow() ||
                (QApplication::activeWindow() &&
                 QApplication::activeWindow()->parentWidget() == window));
    // The window looks at its file once it is in front.
    QCoreApplication::processEvents();
}

const QString kChangedOnDisk = QStringLiteral(
    "The document could not be saved because it has been changed by another application.");

} // namespace

class DocumentFilesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        startWithCleanSettings();
        QVERIFY(dir_.isValid());
    }

    void cleanup()
    {
        // Nothing is asked at the end of a case: edits are dropped.
        for (TintDocumentWindow* window : visibleDocumentWindows()) {
            window->document().clearChangeCount();
            window->close();
        }
        QTRY_VERIFY(visibleDocumentWindows().isEmpty());
    }

    void untitledWindowsAreNamedAndSavedUnderTheirNewName()
    {
        ProgramDelegate delegate;
        delegate.newDocument();
        QPointer<TintDocumentWindow> first = lastWindow(delegate);
        delegate.newDocument();
        TintDocumentWindow* second = lastWindow(delegate);
        QCOMPARE(first->windowTitle(), QStringLiteral("Untitled[*]"));
        QCOMPARE(second->windowTitle(), QStringLiteral("Untitled 2[*]"));
        QVERIFY(!command(second, "revertDocumentToSaved")->isEnabled());

        setHue(second, 20);
        QVERIFY(second->isWindowModified());
        // A cancelled panel writes nothing; the name chosen gets the extension.
        answerNextPanel(QString());
        command(second, "saveDocument")->trigger();
        QTRY_VERIFY(!activeModal<QFileDialog>());
        QVERIFY(second->isWindowModified());
        answerNextPanel(path("named"));
        command(second, "saveDocument")->trigger();
        QTRY_COMPARE(second->windowTitle(), QStringLiteral("named.gelcoat[*]"));
        QVERIFY(!second->isWindowModified());
        QCOMPARE(savedHue(path("named.gelcoat")), 20.0f);
        QCOMPARE(RecentDocuments::paths().value(0), path("named.gelcoat"));

        // Save writes the same file again without asking.
        setHue(second, 30);
        command(second, "saveDocument")->trigger();
        QCOMPARE(savedHue(path("named.gelcoat")), 30.0f);
        QVERIFY(!second->isWindowModified());
        // Save As a second name; the menu carries all three commands after Close.
        const QList<QAction*> file =
            second->menuBar()->findChild<QMenu*>(QStringLiteral("fileMenu"))->actions();
        const qsizetype close = file.indexOf(command(second, "closeWindow"));
        QCOMPARE(file.mid(close + 1, 3),
                 (QList<QAction*>{command(second, "saveDocument"), command(second, "saveDocumentAs"),
                                  command(second, "revertDocumentToSaved")}));
        answerNextPanel(path("renamed.gelcoat"));
        command(second, "saveDocumentAs")->trigger();
        QTRY_COMPARE(second->windowTitle(), QStringLiteral("renamed.gelcoat[*]"));
        QCOMPARE(RecentDocuments::paths().mid(0, 2),
                 (QStringList{path("renamed.gelcoat"), path("named.gelcoat")}));
    }

    void closingAnEditedWindowAsksFirst_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<float>("hueOnDisk");
        QTest::newRow("save") << QStringLiteral("Save") << true << 75.0f;
        QTest::newRow("don't save") << QStringLiteral("Don't Save") << true << 59.0f;
        QTest::newRow("cancel") << QStringLiteral("Cancel") << false << 59.0f;
    }

    void closingAnEditedWindowAsksFirst()
    {
        QFETCH(QString, answer);
        QFETCH(bool, closes);
        QFETCH(float, hueOnDisk);
        const QString file = savedDocument(QStringLiteral("close-%1.gelcoat").arg(answer.size()));
        ProgramDelegate delegate;
        QCOMPARE(delegate.openDocumentFiles({file}), 1);
        QPointer<TintDocumentWindow> window = lastWindow(delegate);
        setHue(window, 75);

        ModalAnswerer answerer;
        answerer.answer(answer, [](QMessageBox* sheet) {
            QCOMPARE(sheet->windowModality(), Qt::WindowModal);
            saveScreenshot(sheet, QStringLiteral("closeSheet"));
        });
        QVERIFY(!window->close());
        QTRY_COMPARE(answerer.pending(), 0);
        const SeenPanel& sheet = answerer.seen().first();
        QVERIFY(sheet.informativeText.contains(QStringLiteral("lost")));
        QVERIFY(sheet.text.contains(QFileInfo(file).fileName()));
        QCOMPARE(sheet.buttons.size(), 3);
        if (closes)
            QTRY_VERIFY(!window);
        else
            QVERIFY(waitUntil([] { return false; }, 50) || window->isWindowModified());
        QCOMPARE(savedHue(file), hueOnDisk);
        QCOMPARE(answerer.unexpectedCount(), 0);
    }

    void quittingAsksEveryEditedWindowAndCancelStopsIt()
    {
        ProgramDelegate delegate;
        delegate.newDocument();
        QPointer<TintDocumentWindow> first = lastWindow(delegate);
        delegate.newDocument();
        QPointer<TintDocumentWindow> second = lastWindow(delegate);
        setHue(first, 10);
        setHue(second, 12);

        ModalAnswerer answerer;
        answerer.answer(QStringLiteral("Cancel"));
        delegate.terminate();
        QTRY_COMPARE(answerer.pending(), 0);
        QTest::qWait(50);
        QCOMPARE(visibleDocumentWindows().size(), 2);
        QCOMPARE(answerer.seen().size(), 1);

        answerer.answer(QStringLiteral("Don't Save"));
        answerer.answer(QStringLiteral("Don't Save"));
        delegate.terminate();
        QTRY_VERIFY(!first && !second);
        QCOMPARE(answerer.seen().size(), 3);
        QCOMPARE(answerer.unexpectedCount(), 0);
    }

    void openingSeveralFilesRaisesOnesAlreadyOpenAndRefusesBrokenOnes()
    {
        const QString a = savedDocument(QStringLiteral("a.gelcoat"));
        const QString b = savedDocument(QStringLiteral("b.gelcoat"));
        QFile broken(path("broken.gelcoat"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a property list");
        broken.close();
        // A picture opens as the stencil of a new untitled document.
        const QString picture = path("stencil.png");
        QImage disc(20, 16, QImage::Format_ARGB32);
        disc.fill(Qt::black);
        QVERIFY(disc.save(picture));

        ProgramDelegate delegate;
        ModalAnswerer answerer;
        answerer.answer(QStringLiteral("OK"));
        const QString aAgain = dir_.path() + QStringLiteral("/./a.gelcoat");
        QCOMPARE(delegate.openDocumentFiles({a, b, broken.fileName(), aAgain, picture}), 4);
        QCOMPARE(answerer.seen().size(), 1);
        QCOMPARE(answerer.seen().first().text, QStringLiteral("Open"));
        QCOMPARE(answerer.seen().first().icon, QMessageBox::Critical);
        QStringList titles;
        for (TintDocumentWindow* window : visibleDocumentWindows())
            titles << window->windowTitle();
        titles.sort();
        QCOMPARE(titles, (QStringList{QStringLiteral("Untitled[*]"), QStringLiteral("a.gelcoat[*]"),
                                      QStringLiteral("b.gelcoat[*]")}));
        QCOMPARE(lastWindow(delegate)->document().sourceImage()->pixelsWide(), 20);

        // Open Recent lists them newest first and opens through the delegate.
        QCOMPARE(RecentDocuments::paths().mid(0, 2), (QStringList{b, a}));
        auto* recent = lastWindow(delegate)->menuBar()->findChild<QMenu*>(
            QStringLiteral("openRecentMenu"));
        emit recent->aboutToShow();
        QCOMPARE(recent->actions().first()->text(), QStringLiteral("b.gelcoat"));
        recent->actions().first()->trigger();
        QCOMPARE(visibleDocumentWindows().size(), 3);
        recent->findChild<QAction*>(QStringLiteral("clearRecentDocuments"))->trigger();
        QVERIFY(RecentDocuments::paths().isEmpty());

        // A picture the intake refuses (a PDF drawing) is said to be
        // incompatible, with the reason, and leaves no window behind.
        QFile drawing(path("drawing.pdf"));
        QVERIFY(drawing.open(QIODevice::WriteOnly));
        drawing.write("%PDF-1.4\n%%EOF\n");
        drawing.close();
        answerer.answer(QStringLiteral("OK"));
        QCOMPARE(delegate.openDocumentFiles({drawing.fileName()}), 0);
        QCOMPARE(answerer.seen().last().text, QStringLiteral("Incompatible image"));
        QVERIFY(answerer.seen().last().informativeText.endsWith(
            QStringLiteral("\n\na PDF is a vector picture")));
        QCOMPARE(visibleDocumentWindows().size(), 3);
        const QWidgetList all = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(all.begin(), all.end(),
                               [](QWidget* widget) {
                                   return qobject_cast<TintDocumentWindow*>(widget) != nullptr;
                               }),
                 3);
        QCOMPARE(answerer.unexpectedCount(), 0);
    }

    void aMissingPictureIsReplacedOnOpenAndWarnedOfAfterARevert()
    {
        const QString moved = path("moved.png");
        QImage picture(24, 24, QImage::Format_ARGB32);
        picture.fill(QColor(0, 0, 0, 200));
        QVERIFY(picture.save(moved));
        QFile file(path("external.gelcoat"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                   "<key>ArchiveVersion</key><integer>1</integer>"
                   "<key>SourceImagePath</key><string>/nowhere/lost.png</string>"
                   "<key>ColorHue</key><real>40</real></dict></plist>\n");
        file.close();

        ProgramDelegate delegate;
        ModalAnswerer answerer;
        answerer.answer(QStringLiteral("OK"));
        answerNextPanel(moved);
        QCOMPARE(delegate.openDocumentFiles({file.fileName()}), 1);
        QVERIFY(answerer.seen().first().informativeText.contains(QStringLiteral("lost.png")));
        TintDocumentWindow* window = lastWindow(delegate);
        QCOMPARE(window->document().sourceImagePath(), moved);
        QCOMPARE(window->document().sourceImage()->pixelsWide(), 24);

        // Revert asks first; Cancel keeps the edit.
        setHue(window, 90);
        answerer.answer(QStringLiteral("Cancel"));
        command(window, "revertDocumentToSaved")->trigger();
        QTRY_COMPARE(answerer.pending(), 0);
        QCOMPARE(window->document().settings().userHue, 90.0f);
        // Revert reloads, keeps the picture it has, and warns once it is done.
        answerer.answer(QStringLiteral("Revert"));
        answerer.answer(QStringLiteral("OK"));
        command(window, "revertDocumentToSaved")->trigger();
        QTRY_COMPARE(answerer.pending(), 0);
        QCOMPARE(window->document().settings().userHue, 40.0f);
        QVERIFY(!window->isWindowModified());
        QCOMPARE(window->document().sourceImage()->pixelsWide(), 24);
        const SeenPanel& warning = answerer.seen().last();
        QCOMPARE(warning.text, QStringLiteral("Revert"));
        QVERIFY(warning.informativeText.contains(QStringLiteral("Other aspects")));
        QCOMPARE(answerer.unexpectedCount(), 0);
    }

    void savingOverAnotherProgramsVersionAsksFirst_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<float>("hueOnDisk");
        QTest::addColumn<float>("hueShown");
        QTest::newRow("save anyway") << QStringLiteral("Save Anyway") << 75.0f << 75.0f;
        QTest::newRow("revert") << QStringLiteral("Revert") << 33.0f << 33.0f;
        QTest::newRow("cancel") << QStringLiteral("Cancel") << 33.0f << 75.0f;
    }

    void savingOverAnotherProgramsVersionAsksFirst()
    {
        QFETCH(QString, answer);
        QFETCH(float, hueOnDisk);
        QFETCH(float, hueShown);
        const QString file = savedDocument(QStringLiteral("changed-%1.gelcoat").arg(answer.size()));
        ProgramDelegate delegate;
        QCOMPARE(delegate.openDocumentFiles({file}), 1);
        TintDocumentWindow* window = lastWindow(delegate);
        setHue(window, 75);
        saveElsewhere(file, 33);

        ModalAnswerer answerer;
        answerer.answer(answer, [answer](QMessageBox* sheet) {
            QCOMPARE(sheet->windowModality(), Qt::WindowModal);
            // Return keeps both versions.
            QCOMPARE(sheet->defaultButton()->text(), QStringLiteral("Cancel"));
            if (answer == QStringLiteral("Cancel"))
                saveScreenshot(sheet, QStringLiteral("changedOnDiskSheet"));
        });
        command(window, "saveDocument")->trigger();
        QTRY_COMPARE(answerer.pending(), 0);
        const SeenPanel& sheet = answerer.seen().first();
        QCOMPARE(sheet.text, kChangedOnDisk);
        QCOMPARE(sheet.buttons.size(), 3);
        for (const QString& button : {QStringLiteral("Save Anyway"), QStringLiteral("Revert"),
                                      QStringLiteral("Cancel")})
            QVERIFY(sheet.buttons.contains(button));
        QTRY_COMPARE(window->document().settings().userHue, hueShown);
        QCOMPARE(savedHue(file), hueOnDisk);
        QCOMPARE(window->isWindowModified(), hueShown != hueOnDisk);

        if (window->isWindowModified()) {
            // Save As onto the same file asks the same, after the panel's own
            // question about replacing it.
            answerer.answerDialog(ModalAnswerer::chooseFile(file));
            answerer.answer(QStringLiteral("&Yes"));
            answerer.answer(QStringLiteral("Cancel"));
            command(window, "saveDocumentAs")->trigger();
            QTRY_COMPARE(answerer.pending(), 0);
            QCOMPARE(answerer.seen().last().text, kChangedOnDisk);
            QCOMPARE(savedHue(file), 33.0f);
            QVERIFY(window->isWindowModified());
        } else {
            // Settled: the next save writes without a question.
            setHue(window, 80);
            command(window, "saveDocument")->trigger();
            QCOMPARE(savedHue(file), 80.0f);
            QCOMPARE(answerer.seen().size(), 1);
        }
        QCOMPARE(answerer.unexpectedCount(), 0);
    }

    void aWindowBroughtToTheFrontOffersTheChangedFile()
    {
        const QString file = savedDocument(QStringLiteral("front.gelcoat"));
        ProgramDelegate delegate;
        QCOMPARE(delegate.openDocumentFiles({file}), 1);
        TintDocumentWindow* window = lastWindow(delegate);
        delegate.newDocument();
        TintDocumentWindow* otherWindow = lastWindow(delegate);
        bringToFront(otherWindow);

        ModalAnswerer answerer;
        saveElsewhere(file, 44);
        answerer.answer(QStringLiteral("Revert"), [](QMessageBox* sheet) {
            QCOMPARE(sheet->windowModality(), Qt::WindowModal);
            saveScreenshot(sheet, QStringLiteral("changedOnDiskRevertSheet"));
        });
        bringToFront(window);
        QTRY_COMPARE(answerer.pending(), 0);
        QCOMPARE(answerer.seen().last().buttons.size(), 2);
        QVERIFY(answerer.seen().last().text.contains(QStringLiteral("front.gelcoat")));
        QTRY_COMPARE(window->document().settings().userHue, 44.0f);
        QVERIFY(!window->isWindowModified());

        // Ignored, a version is offered once, not at every return to the front.
        saveElsewhere(file, 50);
        answerer.answer(QStringLiteral("Ignore"));
        bringToFront(otherWindow);
        bringToFront(window);
        QTRY_COMPARE(answerer.pending(), 0);
        bringToFront(otherWindow);
        bringToFront(window);
        QVERIFY(!waitUntil([] { return activeModal<QMessageBox>() != nullptr; }, 100));
        QCOMPARE(answerer.seen().size(), 2);
        QCOMPARE(window->document().settings().userHue, 44.0f);
        // ...but a save over it still asks.
        setHue(window, 45);
        answerer.answer(QStringLiteral("Cancel"));
        command(window, "saveDocument")->trigger();
        QTRY_COMPARE(answerer.pending(), 0);
        QCOMPARE(answerer.seen().last().text, kChangedOnDisk);
        QCOMPARE(savedHue(file), 50.0f);

        // A window with edits of its own is not offered a revert.
        saveElsewhere(file, 60);
        bringToFront(otherWindow);
        bringToFront(window);
        QVERIFY(!waitUntil([] { return activeModal<QMessageBox>() != nullptr; }, 100));
        QCOMPARE(answerer.seen().size(), 3);
        QCOMPARE(answerer.unexpectedCount(), 0);
    }

private:
    QString path(const QString& name) const { return dir_.filePath(name); }

    QString savedDocument(const QString& name) const
    {
        TintDocument document;
        return document.saveDocumentAs(path(name)).ok ? path(name) : QString();
    }

    QTemporaryDir dir_;
};

QTEST_MAIN(DocumentFilesTest)
#include "tst_DocumentFiles.moc"
