#pragma once
// The picture of a critical alert: the application icon with a small
// warning badge at its lower right, so that a question the program asks in
// earnest does not look like a failure, as a bare red error sign would.

#include <QPixmap>

class QMessageBox;

// side × side device-independent pixels at the given pixel ratio; a null
// pixmap when the application has no icon.
QPixmap KPCriticalAlertIcon(int side, qreal devicePixelRatio);

// Puts that picture in place of the message box's own critical sign; the
// box still reports QMessageBox::Critical as its icon.  Does nothing for
// other kinds of box or without an application icon.
void KPBadgeCriticalAlert(QMessageBox& box);
