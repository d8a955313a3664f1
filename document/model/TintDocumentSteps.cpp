// TintDocument's changes of its settings: the path every control's change
// and every undo or redo takes, and the steps the changes become.

#include "document/model/TintDocument.h"

#include "document/model/SettingsStep.h"
#include "document/settings/SettingsStepName.h"

#include <QUndoStack>

namespace gelcoat {

bool TintDocument::changeSettings(const TintSettings& next, const QString& stepName)
{
    const TintSettings before = settings_;
    if (!storeSettings(next))
        return false;
    if (dragStart_)
        setPendingEdit(documentSettingsDiffer(*dragStart_, settings_));
    else
        pushSettingsStep(before, stepName);
    return true;
}

bool TintDocument::storeSettings(const TintSettings& next)
{
    TintSettings stored = next;
    copyDisplayOptions(settings_, stored);
    if (!documentSettingsDiffer(settings_, stored))
        return false;
    const PipelineChanges changes = changesBetween(settings_, stored);
    settings_ = stored;
    if (changes.any())
        remakeGelcoatWithChanges(changes);
    return true;
}

void TintDocument::pushSettingsStep(const TintSettings& before, const QString& name)
{
    undoStack().push(new SettingsStep(*this, before, settings_,
                                      name.isEmpty() ? settingsStepName(before, settings_) : name));
}

void TintDocument::restoreSettings(const TintSettings& settings)
{
    storeSettings(settings);
    emit settingsReplaced();
}

void TintDocument::beginSettingsDrag()
{
    endSettingsDrag();
    dragStart_ = settings_;
}

void TintDocument::endSettingsDrag()
{
    if (!dragStart_)
        return;
    const TintSettings start = *dragStart_;
    dragStart_.reset();
    if (documentSettingsDiffer(start, settings_))
        pushSettingsStep(start, QString());
    setPendingEdit(false);
}

void TintDocument::forgetUndoHistory()
{
    dragStart_.reset();
    undoStack().clear();
    setPendingEdit(false);
}

} // namespace gelcoat
