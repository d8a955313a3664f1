#include "windows/PlaceholderDocumentWindow.h"

#include "menus/MenuBuilder.h"

#include <QLabel>

namespace gelcoat {

namespace {
// The document window's base frame.
constexpr int kDocumentWidth = 686;
constexpr int kDocumentHeight = 574;
} // namespace

PlaceholderDocumentWindow::PlaceholderDocumentWindow(int untitledNumber)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("documentWindow"));
    setWindowTitle(untitledNumber <= 1 ? tr("Untitled") : tr("Untitled %1").arg(untitledNumber));
    auto* label = new QLabel(tr("Stencils are tinted here in a later version."), this);
    label->setAlignment(Qt::AlignCenter);
    setCentralWidget(label);
    MenuBuilder::install(*this);
    resize(kDocumentWidth, kDocumentHeight);
}

} // namespace gelcoat
