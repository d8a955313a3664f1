#pragma once
// The drawings of the circular slider's bases and knobs.

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

struct SliderPicture {
    QString name;                    // resource name, without extension
    std::function<QImage(int)> draw; // at 1 or 2 pixels a point
};

std::vector<SliderPicture> sliderPictures();
