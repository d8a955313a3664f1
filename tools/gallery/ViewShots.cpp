#include "Gallery.h"

std::vector<GalleryShot> viewShots()
{
    return {};
}
