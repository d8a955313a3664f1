#pragma once
// What the window benchmarks read of a document window: which picture the
// result well shows, and whether it is the exact result of the settings.

#include "window/TintDocumentWindow.h"
#include "ui_TintDocument.h"

namespace gelcoat::bench {

inline qint64 shownPictureKey(TintDocumentWindow& window)
{
    return window.form().destImageWell->image().cacheKey();
}

// The window renders inside each handler: whatever it shows is exact.
inline bool exactResultShown(TintDocumentWindow& window)
{
    return !window.form().destImageWell->image().isNull();
}

} // namespace gelcoat::bench
