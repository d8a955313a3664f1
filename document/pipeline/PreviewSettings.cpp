#include "document/pipeline/PreviewSettings.h"

#include "document/settings/SettingsKeys.h"
#include "engine/shadow/DropShadow.h"

#include <algorithm>
#include <cmath>

namespace gelcoat {

namespace {

// The gloss maps edge distances through the margin factor
// mf = 4 (margin / 100)² + 0.01, so the bevel is about 10 / mf pixels wide;
// a bevel scale times as wide needs mf / scale. Past margin 100 the bevel
// cannot get narrower.
float scaledAquaMargin(float aquaMargin, double scale)
{
    const double margin = std::clamp(100.0 - double(aquaMargin), 0.0, 100.0);
    const double factor = (4.0 * margin * margin / 10000.0 + 0.01) / scale;
    const double scaled = std::sqrt(std::max(0.0, (factor - 0.01) * 2500.0));
    return float(100.0 - std::min(100.0, scaled));
}

// The sharpness whose blur radius is the scaled radius (radius r comes from
// sharpness 100 − 5 (r − 1)).
float scaledSharpness(float sharpness, double scale)
{
    const int radius = shadowRadiusForSharpness(sharpness);
    const int scaled = std::max(1, int(std::lround(double(radius) * scale)));
    return float(100 - 5 * (scaled - 1));
}

} // namespace

TintSettings previewSettings(const TintSettings& exact, double scale)
{
    TintSettings s = exact;
    s.aquaMargin = scaledAquaMargin(exact.aquaMargin, scale);
    s.shadowSharpness = scaledSharpness(exact.shadowSharpness, scale);
    for (const SettingField& f : settingFields()) {
        if (!f.inStencilPixels)
            continue;
        if (f.kind == SettingKind::Int)
            s.*f.intField = int(std::lround(double(exact.*f.intField) * scale));
        else if (f.kind == SettingKind::Float)
            s.*f.floatField = float(double(exact.*f.floatField) * scale);
    }
    s.finalSize = 100.0f;
    return s;
}

} // namespace gelcoat
