#include "shared/KPTextLinks.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTextBrowser>
#include <QTextCharFormat>
#include <QTextCursor>

qsizetype KPLinkPosition(const QString& text, const QString& linkText)
{
    if (linkText.isEmpty())
        return -1;
    const qsizetype position = text.lastIndexOf(linkText);
    return position > 0 ? position : -1;
}

namespace {

// Links go to the desktop (mail program, web browser), never into the view.
void openLinksOnDesktop(QTextBrowser* view)
{
    if (view->property("KPOpensLinks").toBool())
        return;
    view->setProperty("KPOpensLinks", true);
    view->setOpenLinks(false);
    QObject::connect(view, &QTextBrowser::anchorClicked, view,
                     [](const QUrl& url) { QDesktopServices::openUrl(url); });
}

} // namespace

void KPMakeBorderlessTextView(QTextBrowser* view)
{
    view->setFrameShape(QFrame::NoFrame);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setStyleSheet(QStringLiteral("QTextBrowser { background: transparent; }"));
    view->document()->setDocumentMargin(0);
}

bool KPFixTextToGoToLink(QTextBrowser* view, const QString& linkText, const QString& url)
{
    if (!view)
        return false;
    openLinksOnDesktop(view);
    const qsizetype position = KPLinkPosition(view->document()->toPlainText(), linkText);
    if (position < 0)
        return false;
    QTextCursor cursor(view->document());
    cursor.setPosition(int(position));
    cursor.setPosition(int(position + linkText.size()), QTextCursor::KeepAnchor);
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(url);
    link.setForeground(Qt::blue);
    link.setFontUnderline(true);
    cursor.mergeCharFormat(link);
    return true;
}

QTextBrowser* KPFixTextToGoToLink(QLabel* field, const QString& linkText, const QString& url)
{
    if (!field || !field->parentWidget())
        return nullptr;
    auto* view = new QTextBrowser(field->parentWidget());
    view->setGeometry(field->geometry());
    view->setReadOnly(true);
    view->setTextInteractionFlags(Qt::TextBrowserInteraction);
    view->viewport()->setAutoFillBackground(false);
    view->setAttribute(Qt::WA_TranslucentBackground);
    KPMakeBorderlessTextView(view);
    view->setFont(field->font());
    view->document()->setDefaultFont(field->font());
    view->setPlainText(field->text());
    QTextCursor all(view->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat alignment;
    alignment.setAlignment(field->alignment() & Qt::AlignHorizontal_Mask);
    all.mergeBlockFormat(alignment);
    KPFixTextToGoToLink(view, linkText, url);
    view->setToolTip(field->toolTip());
    view->setVisible(field->isVisibleTo(field->parentWidget()));
    field->hide();
    field->deleteLater();
    return view;
}
