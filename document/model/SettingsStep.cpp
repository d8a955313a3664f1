#include "document/model/SettingsStep.h"

#include "document/model/TintDocument.h"

namespace gelcoat {

SettingsStep::SettingsStep(TintDocument& document, const TintSettings& before,
                           const TintSettings& after, const QString& name)
    : QUndoCommand(name), document_(document), before_(before), after_(after)
{
}

void SettingsStep::undo()
{
    document_.restoreSettings(before_);
}

void SettingsStep::redo()
{
    if (made_) {
        made_ = false;
        return;
    }
    document_.restoreSettings(after_);
}

} // namespace gelcoat
