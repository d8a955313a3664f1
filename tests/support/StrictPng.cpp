#include "tests/support/StrictPng.h"

#include <png.h>

namespace gelcoat::test {

std::optional<DecodedPng> decodePngStrictly(const void* data, std::size_t size,
                                            std::string* error)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    auto fail = [&]() -> std::optional<DecodedPng> {
        if (error)
            *error = image.message;
        png_image_free(&image);
        return std::nullopt;
    };
    if (!png_image_begin_read_from_memory(&image, data, size))
        return fail();
    image.format = PNG_FORMAT_RGBA;
    DecodedPng png;
    png.width = int(image.width);
    png.height = int(image.height);
    png.rgba.resize(PNG_IMAGE_SIZE(image));
    // A damaged ancillary chunk is only a warning to libpng: a fault here.
    if (!png_image_finish_read(&image, nullptr, png.rgba.data(), 0, nullptr) ||
        (image.warning_or_error & PNG_IMAGE_WARNING))
        return fail();
    return png;
}

} // namespace gelcoat::test
