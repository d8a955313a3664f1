#pragma once
// A shown document window whose alerts, sheets and panels are answered as
// a user answers them, for the tests that take stencils in and results out
// through its commands.

#include "tests/qtsupport/ModalAnswerer.h"
#include "tests/support/IsolatedSettings.h"
#include "tests/window/WindowTestSupport.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace gelcoat::test {

// Clicks a cell of a sheet (none when null), then one of its buttons.
inline std::function<void(QDialog*)> clickInSheet(const char* cell, const char* button = "okButton")
{
    return [cell, button](QDialog* dialog) {
        if (cell)
            dialog->findChild<QAbstractButton*>(QString::fromLatin1(cell))->click();
        dialog->findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
    };
}

// The members and setup these tests share; the test class derives from
// QObject and from this, and calls openWindow() in init() and
// closeWindow() in cleanup().
class AnsweredWindowFixture {
protected:
    // A shown window, its first result rendered and nothing edited.
    void openWindow()
    {
        QVERIFY(showNewWindow(window_));
        QTRY_VERIFY(doc().resultIsCurrent());
        answerer_ = std::make_unique<ModalAnswerer>();
        doc().clearChangeCount();
    }

    void closeWindow()
    {
        answerer_.reset();
        window_.reset();
    }

    TintDocument& doc() { return window_->document(); }
    // Runs a command and waits until every queued answer was given.
    void run(const char* id)
    {
        command(*window_, id).trigger();
        QVERIFY(waitUntil([this] { return answerer_->pending() == 0; }));
        QTest::qWait(20);
        QCOMPARE(answerer_->unexpectedCount(), 0);
    }

    void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    std::unique_ptr<IsolatedSettings> settings_;
    std::unique_ptr<TintDocumentWindow> window_;
    std::unique_ptr<ModalAnswerer> answerer_;
    QTemporaryDir dir_;
};

} // namespace gelcoat::test
