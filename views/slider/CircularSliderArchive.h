#pragma once
// The circular slider's archive in a QDataStream: a class name and version,
// the view's frame, then the fields in their fixed order. Versions 0 to 3
// are read; fields a version lacks take their defaults. The target and the
// action of the old format have no counterpart (the slider has a signal).

#include "views/slider/CircularSliderModel.h"

#include <QRect>
#include <QString>

#include <optional>

class QDataStream;

namespace gelcoat {

inline constexpr std::int32_t kCircularSliderArchiveVersion = 3;
inline constexpr char kCircularSliderClassName[] = "KPCircularSlider";

struct CircularSliderArchive {
    QRect frame;
    CircularSliderState state;
};

void writeCircularSlider(QDataStream& out, const CircularSliderArchive& archive);

// Reads one slider. On a broken, truncated or foreign archive, or values no
// slider can hold, returns nothing and says why in *error.
std::optional<CircularSliderArchive> readCircularSlider(QDataStream& in, QString* error);

} // namespace gelcoat
