#include "Gallery.h"

// Placeholder until the circular slider's shots are written.
std::vector<GalleryShot> sliderShots()
{
    return {};
}
