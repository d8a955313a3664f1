#include "tests/qtsupport/ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

ModalAnswerer::ModalAnswerer()
{
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer_.start(10);
}

void ModalAnswerer::answer(const QString& buttonText, std::function<void(QMessageBox*)> inspect)
{
    queue_.append({buttonText, std::move(inspect), {}});
}

int ModalAnswerer::unexpectedCount() const
{
    return int(std::count_if(seen_.begin(), seen_.end(),
                             [](const SeenPanel& panel) { return panel.unexpected; }));
}

void ModalAnswerer::answerDialog(std::function<void(QDialog*)> act)
{
    queue_.append({QString(), {}, std::move(act)});
}

std::function<void(QDialog*)> ModalAnswerer::chooseFile(const QString& path, QString* startFolder)
{
    return [path, startFolder](QDialog* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        if (!files) {
            dialog->reject();
            return;
        }
        if (startFolder)
            *startFolder = files->directory().absolutePath();
        if (path.isEmpty()) {
            files->reject();
            return;
        }
        files->setDirectory(QFileInfo(path).absolutePath());
        // Typed as a user types it: selectFile() leaves a focused name
        // field alone.
        if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(QFileInfo(path).fileName());
        else
            files->selectFile(QFileInfo(path).fileName());
        static_cast<QDialog*>(files)->accept();
    };
}

void ModalAnswerer::answerOtherDialog(QDialog* dialog)
{
    // Dialogs nobody asked to answer (a progress panel) are left alone.
    if (queue_.isEmpty() || !queue_.first().dialog)
        return;
    Answer next = queue_.takeFirst();
    SeenPanel panel;
    panel.windowTitle = dialog->windowTitle();
    seen_.append(panel);
    // Queued: a dialog may run a box of its own (a file dialog asking to
    // replace a file), which this timer must still be free to answer.
    QTimer::singleShot(0, dialog, [dialog, act = std::move(next.dialog)] { act(dialog); });
}

void ModalAnswerer::poll()
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) {
        // A kept sheet opened again counts as a new one.
        last_ = nullptr;
        return;
    }
    if (dialog == last_)
        return;
    last_ = dialog;
    auto* box = qobject_cast<QMessageBox*>(dialog);
    if (!box) {
        answerOtherDialog(dialog);
        return;
    }
    SeenPanel panel;
    panel.windowTitle = box->windowTitle();
    panel.text = box->text();
    panel.informativeText = box->informativeText();
    panel.icon = box->icon();
    panel.floating = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    for (QAbstractButton* button : box->buttons())
        panel.buttons.append(button->text());
    QAbstractButton* target = nullptr;
    if (queue_.isEmpty() || queue_.first().dialog) {
        panel.unexpected = true;
        target = box->escapeButton();
    } else {
        Answer next = queue_.takeFirst();
        if (next.inspect)
            next.inspect(box);
        if (next.button == escapeKey) {
            panel.clicked = escapeKey;
            seen_.append(panel);
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* button : box->buttons())
            if (button->text() == next.button)
                target = button;
        if (!target) {
            panel.unexpected = true;
            target = box->escapeButton();
        }
    }
    panel.clicked = target ? target->text() : QString();
    seen_.append(panel);
    if (target)
        target->click();
    else
        box->reject();
}

bool waitUntil(const std::function<bool()>& condition, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}
