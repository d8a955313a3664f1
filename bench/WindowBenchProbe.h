#pragma once
// What the window benchmarks read of a document window: which picture the
// result well shows, and whether it is the exact result of the settings.

#include "window/TintDocumentWindow.h"
#include "document/model/TintDocument.h"
#include "ui_TintDocument.h"

namespace gelcoat::bench {

// A preview, or the result's copy reduced to the well, stands in for the
// result when there is one.
inline qint64 shownPictureKey(TintDocumentWindow& window)
{
    const MessageImageView* well = window.form().destImageWell;
    return well->standIn().isNull() ? well->image().cacheKey() : well->standIn().cacheKey();
}

// The worker has handed back the render of the current settings, and the
// window has put it in the well.
inline bool exactResultShown(TintDocumentWindow& window)
{
    return window.document().resultIsCurrent() && !window.form().destImageWell->image().isNull();
}

} // namespace gelcoat::bench
