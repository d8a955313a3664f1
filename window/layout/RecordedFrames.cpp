#include "window/layout/RecordedFrames.h"

#include <algorithm>

namespace gelcoat::layout {

namespace {

// x, y (the bottom edge, measured up from the bottom of the document
// area), width, height: the geometries of resources/ui/TintDocument.ui
// turned y-up in a document area 574 high.  A test keeps the two equal.
constexpr std::array<LaidOutView, kLaidOutViewCount> kViews{{
    {"sourceActionButton", {294, 540, 30, 22}, FollowTopAtCentre},
    {"destActionButton", {362, 540, 30, 22}, FollowTopAtCentre},
    {"gelcoatButton", {323, 408, 40, 40}, CentreBetweenWells},
    {"leftArrow", {292, 418, 28, 20}, CentreBetweenWells},
    {"rightArrow", {366, 418, 28, 20}, CentreBetweenWells},
    {"destImageWell", {396, 294, 276, 268}, GrowRightWell},
    {"sourceImageWell", {14, 294, 276, 268}, GrowLeftWell},
    {"useOriginalHueButton", {260, 234, 74, 22}, MoveWithRightHalf},
    {"useOriginalSaturationButton", {260, 130, 74, 22}, MoveWithRightHalf},
    {"useOriginalBrightnessButton", {260, 78, 74, 22}, MoveWithRightHalf},
    {"hueWell", {50, 236, 30, 18}, Fixed},
    {"hueSlider", {148, 234, 106, 22}, StretchLeftHalf},
    {"hueValueField", {84, 234, 58, 22}, Fixed},
    {"hueStrip", {154, 226, 94, 7}, StretchLeftHalf},
    {"useRainbowCheckbox", {14, 196, 80, 22}, Fixed},
    {"rainbowTypeRadio", {100, 170, 84, 48}, Fixed},
    {"rainbowCircle", {194, 162, 60, 60}, Fixed},
    {"rainbowAngleValueField", {266, 196, 58, 22}, Fixed},
    {"rainbowRadiusValueField", {266, 166, 58, 22}, Fixed},
    {"saturationSlider", {148, 130, 106, 22}, StretchLeftHalf},
    {"saturationValueField", {84, 130, 58, 22}, Fixed},
    {"brightnessSlider", {148, 78, 106, 22}, StretchLeftHalf},
    {"brightnessValueField", {84, 78, 58, 22}, Fixed},
    {"contrastSlider", {148, 26, 186, 22}, StretchLeftHalf},
    {"contrastValueField", {84, 26, 58, 22}, Fixed},
    {"aquaMarginSlider", {428, 234, 244, 22}, StretchRightHalf},
    {"aquaMarginValueField", {352, 234, 56, 22}, MoveWithRightHalf},
    {"alphaSlider", {428, 182, 244, 22}, StretchRightHalf},
    {"alphaValueField", {352, 182, 56, 22}, MoveWithRightHalf},
    {"finalSizeSlider", {428, 26, 244, 22}, StretchRightHalf},
    {"finalSizeValueField", {352, 26, 56, 22}, MoveWithRightHalf},
    {"shadowDensitySlider", {428, 130, 122, 22}, StretchRightHalf},
    {"shadowDensityValueField", {352, 130, 56, 22}, MoveWithRightHalf},
    {"shadowSharpnessSlider", {428, 78, 122, 22}, StretchRightHalf},
    {"shadowSharpnessValueField", {352, 78, 56, 22}, MoveWithRightHalf},
    {"shadowWarningButton", {352, 102, 70, 24}, MoveWithRightHalf},
    {"shadowCircle", {612, 85, 60, 60}, MoveToRightEdge},
    {"shadowAngleValueField", {556, 130, 50, 22}, MoveToRightEdge},
    {"shadowRadiusValueField", {556, 78, 50, 22}, MoveToRightEdge},
    {"marginStaticText", {352, 257, 70, 15}, MoveWithRightHalf},
    {"narrowStaticText", {430, 220, 80, 14}, MoveWithRightHalf},
    {"wideStaticText", {590, 220, 80, 14}, MoveToRightEdge},
    {"alphaStaticText", {352, 205, 70, 15}, MoveWithRightHalf},
    {"transparentStaticText", {430, 168, 80, 14}, MoveWithRightHalf},
    {"opaqueStaticText", {590, 168, 80, 14}, MoveToRightEdge},
    {"shadowStaticText", {352, 153, 70, 15}, MoveWithRightHalf},
    {"noneStaticText", {430, 116, 50, 14}, MoveWithRightHalf},
    {"darkStaticText", {498, 116, 50, 14}, MoveToRightEdge},
    {"diffuseStaticText", {430, 64, 50, 14}, MoveWithRightHalf},
    {"sharpStaticText", {498, 64, 50, 14}, MoveToRightEdge},
    {"finalSizeStaticText", {352, 49, 70, 15}, MoveWithRightHalf},
    {"zeroStaticText", {430, 12, 20, 14}, MoveWithRightHalf},
    {"oneQuarterStaticText", {481, 12, 24, 14}, OneQuarterAlong},
    {"oneHalfStaticText", {538, 12, 24, 14}, OneHalfAlong},
    {"threeQuartersStaticText", {595, 12, 24, 14}, ThreeQuartersAlong},
    {"fullStaticText", {640, 12, 30, 14}, MoveToRightEdge},
    {"horizontalDividerBox", {14, 281, 658, 3}, SpanBothHalves},
    {"verticalDividerBox", {342, 14, 3, 258}, MoveWithRightHalf},
    {"hueStaticText", {14, 234, 34, 22}, Fixed},
    {"saturationStaticText", {14, 130, 66, 22}, Fixed},
    {"brightnessStaticText", {14, 78, 66, 22}, Fixed},
    {"contrastStaticText", {14, 26, 66, 22}, Fixed},
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
