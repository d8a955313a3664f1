#pragma once
// Makes a mouse drag of a control one undoable step: the document hears of
// the press before the control acts on it, and of the release after the
// control has made its last change, so that every change in between is one
// step from the value at the press to the value at the release.

#include <QObject>

class QWidget;

namespace gelcoat {

class TintDocument;

class SettingsDrags : public QObject {
    Q_OBJECT
public:
    SettingsDrags(TintDocument& document, QObject* parent);

    void watch(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TintDocument& document_;
};

} // namespace gelcoat
