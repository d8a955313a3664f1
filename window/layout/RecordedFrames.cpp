#include "window/layout/RecordedFrames.h"

#include <algorithm>
#include <iterator>

namespace gelcoat::layout {

namespace {

struct Rule {
    std::string_view outlet;
    int mode;
};

// Everything above the divider follows the top edge and the wells share
// the growth; below it the left half stretches, the right half moves and
// stretches, and the controls at the right end move with it.
constexpr Rule kRules[] = {
    {"sourceActionButton", FollowTopAtCentre},
    {"destActionButton", FollowTopAtCentre},
    {"gelcoatButton", CentreBetweenWells},
    {"leftArrow", CentreBetweenWells},
    {"rightArrow", CentreBetweenWells},
    {"destImageWell", GrowRightWell},
    {"sourceImageWell", GrowLeftWell},
    {"useOriginalHueButton", MoveWithRightHalf},
    {"useOriginalSaturationButton", MoveWithRightHalf},
    {"useOriginalBrightnessButton", MoveWithRightHalf},
    {"hueSlider", StretchLeftHalf},
    {"hueStrip", StretchLeftHalf},
    {"saturationSlider", StretchLeftHalf},
    {"brightnessSlider", StretchLeftHalf},
    {"contrastSlider", StretchLeftHalf},
    {"aquaMarginSlider", StretchRightHalf},
    {"aquaMarginValueField", MoveWithRightHalf},
    {"alphaSlider", StretchRightHalf},
    {"alphaValueField", MoveWithRightHalf},
    {"finalSizeSlider", StretchRightHalf},
    {"finalSizeValueField", MoveWithRightHalf},
    {"shadowDensitySlider", StretchRightHalf},
    {"shadowDensityValueField", MoveWithRightHalf},
    {"shadowSharpnessSlider", StretchRightHalf},
    {"shadowSharpnessValueField", MoveWithRightHalf},
    {"shadowWarningButton", MoveWithRightHalf},
    {"shadowCircle", MoveToRightEdge},
    {"shadowAngleValueField", MoveToRightEdge},
    {"shadowRadiusValueField", MoveToRightEdge},
    {"marginStaticText", MoveWithRightHalf},
    {"narrowStaticText", MoveWithRightHalf},
    {"wideStaticText", MoveToRightEdge},
    {"alphaStaticText", MoveWithRightHalf},
    {"transparentStaticText", MoveWithRightHalf},
    {"opaqueStaticText", MoveToRightEdge},
    {"shadowStaticText", MoveWithRightHalf},
    {"noneStaticText", MoveWithRightHalf},
    {"darkStaticText", MoveToRightEdge},
    {"diffuseStaticText", MoveWithRightHalf},
    {"sharpStaticText", MoveToRightEdge},
    {"finalSizeStaticText", MoveWithRightHalf},
    {"zeroStaticText", MoveWithRightHalf},
    {"oneQuarterStaticText", OneQuarterAlong},
    {"oneHalfStaticText", OneHalfAlong},
    {"threeQuartersStaticText", ThreeQuartersAlong},
    {"fullStaticText", MoveToRightEdge},
    {"horizontalDividerBox", SpanBothHalves},
    {"verticalDividerBox", MoveWithRightHalf},
};

} // namespace

int resizeRule(std::string_view outlet)
{
    const auto found = std::find_if(std::begin(kRules), std::end(kRules),
                                    [&](const Rule& rule) { return rule.outlet == outlet; });
    return found == std::end(kRules) ? int(Fixed) : found->mode;
}

void RecordedFrames::record(std::string_view outlet, const DownRect& inForm)
{
    views_.push_back({std::string(outlet), upFrame(inForm, kBaseHeight), resizeRule(outlet)});
}

std::optional<Frame> RecordedFrames::recorded(std::string_view outlet) const
{
    for (const View& view : views_)
        if (view.outlet == outlet)
            return view.frame;
    return std::nullopt;
}

std::vector<DownRect> RecordedFrames::place(int areaWidth, int areaHeight) const
{
    const Growth growth = growthOf(areaWidth, areaHeight);
    std::vector<DownRect> placed;
    placed.reserve(views_.size());
    for (const View& view : views_)
        placed.push_back(downRect(resizeFrame(view.frame, growth, view.mode), areaHeight));
    return placed;
}

TintingRows RecordedFrames::tintingRows(bool simpleStencil, int areaWidth, int areaHeight) const
{
    const auto frame = [this](std::string_view outlet) {
        return recorded(outlet).value_or(Frame{});
    };
    Frame rows[] = {frame("hueSlider"), frame("hueStrip"), frame("saturationSlider"),
                    frame("brightnessSlider")};
    if (simpleStencil) {
        const float rowWidth = frame("contrastSlider").width;
        rows[1].width = rowWidth - (rows[0].width - rows[1].width);
        rows[0].width = rowWidth;
        rows[2].width = rowWidth;
        rows[3].width = rowWidth;
    }
    const Growth growth = growthOf(areaWidth, areaHeight);
    const auto placed = [&](const Frame& f) {
        return downRect(resizeFrame(f, growth, StretchLeftHalf), areaHeight);
    };
    return {placed(rows[0]), placed(rows[1]), placed(rows[2]), placed(rows[3])};
}

} // namespace gelcoat::layout
