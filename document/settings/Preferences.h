#pragma once
// The application's preferences: their keys, registered defaults and
// current values. Read once per process on first use and written back at
// once on every change; the two display preferences announce their changes
// through PreferenceNotifications. The preferences window edits them from
// the application; document windows read them from here.

#include "document/export/FlattenChoice.h"
#include "document/intake/VectorPicture.h"

#include <cstdint>

namespace gelcoat {

extern const char* const showTooltipsKey;     // "ShowTooltips"
extern const char* const showRainbowKey;      // "ShowRainbow"
extern const char* const flatteningChoiceKey; // "FlatteningChoice"
extern const char* const vectorSideKey;       // "VectorSide"

class Preferences {
public:
    // Registers the defaults and reads the stored values on the first call.
    static Preferences& shared();

    bool showTooltips() const { return showTooltips_; }
    bool showRainbowStrip() const { return showRainbowStrip_; }
    std::int32_t flatteningChoice() const { return flatteningChoice_; }
    // The longer side, in pixels, of the bitmap an SVG stencil is drawn
    // into; always within 1 and kMaxVectorSide.
    int vectorSide() const { return vectorSide_; }

    // Each stores, writes and announces only a change; false when the value
    // was already stored.
    bool setShowTooltips(bool shows);
    bool setShowRainbowStrip(bool shows);
    bool setFlatteningChoice(std::int32_t choice);
    // A side outside the allowed range is brought within it.
    bool setVectorSide(int side);

private:
    Preferences();

    bool showTooltips_ = true;
    bool showRainbowStrip_ = true;
    std::int32_t flatteningChoice_ = std::int32_t(FlattenChoice::White);
    int vectorSide_ = kDefaultVectorSide;
};

} // namespace gelcoat
