#pragma once
#include <QColor>
#include <QImage>
#include <QPalette>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

// The grey of a window, behind every picture.
inline const QColor windowColour(236, 236, 236);

// The window fills its background with windowColour.
inline void useWindowBackground(QWidget& window)
{
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, windowColour);
    window.setPalette(palette);
}

// One picture of the gallery: a file name and how to draw it.
struct GalleryShot {
    QString fileName;                 // e.g. "slider-80-blue-continuous.png"
    std::function<QImage()> render;   // grabs the widget(s) at device pixel ratio 1
};

std::vector<GalleryShot> sliderShots();  // SliderShots.cpp
std::vector<GalleryShot> viewShots();    // ViewShots.cpp
std::vector<GalleryShot> windowShots();  // WindowShots.cpp
