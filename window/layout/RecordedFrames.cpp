#include "layout/RecordedFrames.h"

#include <algorithm>

namespace gelcoat::layout {

namespace {

// x, y (the bottom edge, measured up from the bottom of the document
// area), width, height: the geometries of resources/ui/TintDocument.ui
// turned y-up in a document area 574 high.  A test keeps the two equal.
constexpr std::array<LaidOutView, kLaidOutViewCount> kViews{{
    {"sourceActionButton", {294, 540, 30, 22}, FollowTopAtCentre},
    {"destActionButton", {362, 540, 30, 22}, FollowTopAtCentre},
    {"gelcoatButton", {323, 394, 40, 40}, CentreBetweenWells},
    {"leftArrow", {292, 404, 28, 20}, CentreBetweenWells},
    {"rightArrow", {366, 404, 28, 20}, CentreBetweenWells},
    {"destImageWell", {396, 266, 276, 296}, GrowRightWell},
    {"sourceImageWell", {14, 266, 276, 296}, GrowLeftWell},
    {"useOriginalHueButton", {264, 222, 70, 22}, MoveWithRightHalf},
    {"useOriginalSaturationButton", {264, 108, 70, 22}, MoveWithRightHalf},
    {"useOriginalBrightnessButton", {264, 74, 70, 22}, MoveWithRightHalf},
    {"hueWell", {50, 224, 30, 18}, Fixed},
    {"hueSlider", {148, 222, 110, 22}, StretchLeftHalf},
    {"hueValueField", {84, 222, 58, 22}, Fixed},
    {"hueStrip", {154, 214, 98, 7}, StretchLeftHalf},
    {"useRainbowCheckbox", {14, 180, 76, 22}, Fixed},
    {"rainbowTypeRadio", {96, 156, 84, 48}, Fixed},
    {"rainbowCircle", {196, 148, 60, 60}, Fixed},
    {"rainbowAngleValueField", {276, 182, 58, 22}, Fixed},
    {"rainbowRadiusValueField", {276, 154, 58, 22}, Fixed},
    {"saturationSlider", {148, 108, 110, 22}, StretchLeftHalf},
    {"saturationValueField", {84, 108, 58, 22}, Fixed},
    {"brightnessSlider", {148, 74, 110, 22}, StretchLeftHalf},
    {"brightnessValueField", {84, 74, 58, 22}, Fixed},
    {"contrastSlider", {148, 40, 186, 22}, StretchLeftHalf},
    {"contrastValueField", {84, 40, 58, 22}, Fixed},
    {"aquaMarginSlider", {428, 220, 244, 22}, StretchRightHalf},
    {"aquaMarginValueField", {352, 206, 56, 22}, MoveWithRightHalf},
    {"alphaSlider", {428, 172, 244, 22}, StretchRightHalf},
    {"alphaValueField", {352, 158, 56, 22}, MoveWithRightHalf},
    {"finalSizeSlider", {428, 28, 244, 22}, StretchRightHalf},
    {"finalSizeValueField", {352, 14, 56, 22}, MoveWithRightHalf},
    {"shadowDensitySlider", {428, 124, 122, 22}, StretchRightHalf},
    {"shadowDensityValueField", {352, 110, 56, 22}, MoveWithRightHalf},
    {"shadowSharpnessSlider", {428, 76, 122, 22}, StretchRightHalf},
    {"shadowSharpnessValueField", {352, 62, 56, 22}, MoveWithRightHalf},
    {"shadowWarningButton", {352, 84, 70, 18}, MoveWithRightHalf},
    {"shadowCircle", {612, 80, 60, 60}, MoveToRightEdge},
    {"shadowAngleValueField", {556, 114, 50, 22}, MoveToRightEdge},
    {"shadowRadiusValueField", {556, 84, 50, 22}, MoveToRightEdge},
    {"marginStaticText", {352, 230, 70, 16}, MoveWithRightHalf},
    {"narrowStaticText", {428, 206, 80, 14}, MoveWithRightHalf},
    {"wideStaticText", {592, 206, 80, 14}, MoveToRightEdge},
    {"alphaStaticText", {352, 182, 70, 16}, MoveWithRightHalf},
    {"transparentStaticText", {428, 158, 80, 14}, MoveWithRightHalf},
    {"opaqueStaticText", {592, 158, 80, 14}, MoveToRightEdge},
    {"shadowStaticText", {352, 134, 70, 16}, MoveWithRightHalf},
    {"noneStaticText", {428, 110, 80, 14}, MoveWithRightHalf},
    {"darkStaticText", {470, 110, 80, 14}, MoveToRightEdge},
    {"diffuseStaticText", {428, 62, 80, 14}, MoveWithRightHalf},
    {"sharpStaticText", {470, 62, 80, 14}, MoveToRightEdge},
    {"finalSizeStaticText", {352, 38, 70, 16}, MoveWithRightHalf},
    {"zeroStaticText", {428, 14, 80, 14}, MoveWithRightHalf},
    {"oneQuarterStaticText", {478, 14, 30, 14}, OneQuarterAlong},
    {"oneHalfStaticText", {535, 14, 30, 14}, OneHalfAlong},
    {"threeQuartersStaticText", {592, 14, 30, 14}, ThreeQuartersAlong},
    {"fullStaticText", {592, 14, 80, 14}, MoveToRightEdge},
    {"horizontalDividerBox", {14, 254, 658, 3}, SpanBothHalves},
    {"verticalDividerBox", {342, 14, 3, 232}, MoveWithRightHalf},
}};

Frame recorded(std::string_view outlet) { return laidOutView(outlet)->frame; }

} // namespace

const std::array<LaidOutView, kLaidOutViewCount>& laidOutViews() { return kViews; }

std::optional<LaidOutView> laidOutView(std::string_view outlet)
{
    const auto found = std::find_if(kViews.begin(), kViews.end(),
                                    [&](const LaidOutView& view) { return view.outlet == outlet; });
    if (found == kViews.end())
        return std::nullopt;
    return *found;
}

std::array<PlacedView, kLaidOutViewCount> placeViews(const Growth& growth)
{
    std::array<PlacedView, kLaidOutViewCount> placed;
    std::transform(kViews.begin(), kViews.end(), placed.begin(), [&](const LaidOutView& view) {
        return PlacedView{view.outlet, resizeFrame(view.frame, growth, view.mode)};
    });
    return placed;
}

TintingRows tintingRows(bool simpleStencil, const Growth& growth)
{
    TintingRows rows{recorded("hueSlider"), recorded("hueStrip"), recorded("saturationSlider"),
                     recorded("brightnessSlider")};
    if (simpleStencil) {
        const float rowWidth = recorded("contrastSlider").width;
        rows.hueStrip.width = rowWidth - (rows.hueSlider.width - rows.hueStrip.width);
        rows.hueSlider.width = rowWidth;
        rows.saturationSlider.width = rowWidth;
        rows.brightnessSlider.width = rowWidth;
    }
    for (Frame* frame : {&rows.hueSlider, &rows.hueStrip, &rows.saturationSlider,
                         &rows.brightnessSlider})
        *frame = resizeFrame(*frame, growth, StretchLeftHalf);
    return rows;
}

} // namespace gelcoat::layout
