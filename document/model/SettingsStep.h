#pragma once
// One step of a document's undo stack: the settings before and after a
// change, and its name. It holds the two settings records and never an
// image; undoing or redoing puts one record back through the document's
// own change path, which remakes only the stages the difference touches.

#include "document/settings/TintSettings.h"

#include <QUndoCommand>

namespace gelcoat {

class TintDocument;

class SettingsStep : public QUndoCommand {
public:
    // A change already made: pushing the step does not make it again.
    SettingsStep(TintDocument& document, const TintSettings& before, const TintSettings& after,
                 const QString& name);

    void undo() override;
    void redo() override;

    const TintSettings& before() const { return before_; }
    const TintSettings& after() const { return after_; }

private:
    TintDocument& document_;
    TintSettings before_;
    TintSettings after_;
    bool made_ = true;
};

} // namespace gelcoat
