#pragma once
// Answers modal message boxes in Qt Test cases.  Code under test runs a
// QMessageBox with exec(); create a ModalAnswerer first and queue the button
// to click for each box expected, in order:
//
//     ModalAnswerer answerer;
//     answerer.answer("Yes");                 // button text (as shown)
//     KPVersionChecker::sharedVersionChecker()->askUserAboutAutomaticVersionCheck();
//     QCOMPARE(answerer.seen().size(), 1);
//     QCOMPARE(answerer.seen().first().text, ...);
//
// It polls QApplication::activeModalWidget() every 10 ms.  A box that
// arrives with nothing queued is recorded as unexpected and dismissed with
// its escape button (so a test fails instead of hanging).  Other modal
// widgets (a progress panel) are left alone.
//
// Window-modal boxes (sheets opened with open()) are answered the same way.
// Other dialogs (the program's own sheets, non-native file dialogs) are
// handed to the function queued with answerDialog(), which fills them in and
// accepts or rejects them; with no such answer next in the queue they are
// left alone, like a progress panel.

#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

struct SeenPanel {
    QString windowTitle;
    QString text;
    QString informativeText;
    QStringList buttons;  // in the order the panel lays them out
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool floating = false;  // Qt::WindowStaysOnTopHint
    bool unexpected = false;
    QString clicked;
};

class ModalAnswerer : public QObject {
    Q_OBJECT
public:
    ModalAnswerer();

    // Instead of a button text: press the Escape key on the box.
    static inline const QString escapeKey = QStringLiteral("<Escape>");

    // Clicks the button with this text on the next box.  `inspect`, if
    // given, runs with the box before the click (for screenshots or checks).
    void answer(const QString& buttonText, std::function<void(QMessageBox*)> inspect = {});
    // Hands the next dialog that is not a message box to `act`.
    void answerDialog(std::function<void(QDialog*)> act);
    // For answerDialog: chooses path in a file dialog and accepts it, after
    // recording the folder the dialog started in; an empty path cancels.
    static std::function<void(QDialog*)> chooseFile(const QString& path,
                                                     QString* startFolder = nullptr);
    const QList<SeenPanel>& seen() const { return seen_; }
    int pending() const { return int(queue_.size()); }
    int unexpectedCount() const;

private:
    void poll();

    struct Answer {
        QString button;
        std::function<void(QMessageBox*)> inspect;
        std::function<void(QDialog*)> dialog;
    };
    void answerOtherDialog(QDialog* dialog);
    QList<Answer> queue_;
    QList<SeenPanel> seen_;
    QPointer<QDialog> last_;
    QTimer timer_;
};

// The active modal widget, if it is of type T.
template <typename T>
T* activeModal()
{
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

// Spins the event loop until `condition` holds or `ms` have passed.
bool waitUntil(const std::function<bool()>& condition, int ms = 5000);
