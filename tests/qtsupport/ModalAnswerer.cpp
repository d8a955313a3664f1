#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>

ModalAnswerer::ModalAnswerer()
{
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer_.start(10);
}

void ModalAnswerer::answer(const QString& buttonText, std::function<void(QMessageBox*)> inspect)
{
    queue_.append({buttonText, std::move(inspect)});
}

int ModalAnswerer::unexpectedCount() const
{
    return int(std::count_if(seen_.begin(), seen_.end(),
                             [](const SeenPanel& panel) { return panel.unexpected; }));
}

void ModalAnswerer::poll()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box == last_)
        return;
    last_ = box;
    SeenPanel panel;
    panel.windowTitle = box->windowTitle();
    panel.text = box->text();
    panel.informativeText = box->informativeText();
    panel.icon = box->icon();
    panel.floating = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    for (QAbstractButton* button : box->buttons())
        panel.buttons.append(button->text());
    QAbstractButton* target = nullptr;
    if (queue_.isEmpty()) {
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
