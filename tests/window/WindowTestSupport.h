#pragma once
// Driving a document window as its user does, and pictures to feed it.

#include "window/TintDocumentWindow.h"
#include "window/commands/CommandActions.h"
#include "views/controls/FloatSlider.h"
#include "views/controls/FloatValueField.h"
#include "document/intake/QtPictureReader.h"
#include "document/model/TintDocument.h"
#include "tests/qtsupport/PixelChecks.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <memory>

namespace gelcoat::test {

// The window's action for a command; a missing one ends the test, naming it.
inline QAction& command(TintDocumentWindow& window, const char* id)
{
    QAction* action = window.commands().action(QString::fromLatin1(id));
    if (!action)
        qFatal("the window has no command %s", id);
    return *action;
}

// A new document window, shown and exposed; it stays when closed, so the
// test decides when it goes.
inline bool showNewWindow(std::unique_ptr<TintDocumentWindow>& window)
{
    window = std::make_unique<TintDocumentWindow>();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    return QTest::qWaitForWindowExposed(window.get());
}

// Moves a slider as a drag would, ending at value.
inline void drag(FloatSlider* slider, float value)
{
    slider->setFloatValue(value);
    emit slider->floatValueEdited(value);
}

// Types text into a field and presses Return.
inline void type(FloatValueField* field, const QString& text)
{
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

// A simple stencil (RGB, no alpha) of the given size: a black disc on
// white, or black to the edges when `toEdges`, through the program's own
// intake.
inline bool takeSimpleStencil(TintDocument& document, int side = 64, bool toEdges = false)
{
    QImage image(side, side, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::black);
    painter.setPen(Qt::NoPen);
    if (toEdges)
        painter.drawRect(image.rect());
    else
        painter.drawEllipse(image.rect().adjusted(side / 8, side / 8, -side / 8, -side / 8));
    painter.end();
    auto picture = readPictureWithQt(testing::pngBytes(image), "png");
    return picture && document.useImage(std::move(*picture), QString(), true, false);
}

} // namespace gelcoat::test
