#pragma once
#include <QImage>
#include <QString>
#include <functional>
#include <vector>

// One picture of the gallery: a file name and how to draw it.
struct GalleryShot {
    QString fileName;                 // e.g. "slider-80-blue-continuous.png"
    std::function<QImage()> render;   // grabs the widget(s) at device pixel ratio 1
};

std::vector<GalleryShot> sliderShots();  // SliderShots.cpp
std::vector<GalleryShot> viewShots();    // ViewShots.cpp
