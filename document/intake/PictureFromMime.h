#pragma once
// Pictures offered by the clipboard or a drop, read through the intake's
// own decoder so that a grey picture stays grey (and becomes a mask) rather
// than being widened to colour on the way in.

#include "document/intake/PictureDecoder.h"
#include "document/intake/SourcePicture.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QMimeData;

namespace gelcoat {

// What the data offers as a picture, taken out of it so that the decoding
// can run on another thread: a clipboard or a drop is only read on the
// interface thread, and only for as long as its event lasts.
struct OfferedPicture {
    // Raw bytes of the image/ types in the order offered, up to the first
    // whose bytes begin as a picture of a known kind: whether that one
    // decodes or not, the types after it are never fetched.
    std::vector<QByteArray> imageBytes;
    bool offersImageBytes = false;
    QStringList localFiles;
    // The in-process Qt image, taken only when no image bytes are offered.
    std::optional<QImage> qtImage;
};

// Reads what the data offers; cheap, however large the picture.
OfferedPicture offeredPicture(const QMimeData* data);

// The first picture the offer yields, trying in turn: raw image bytes of
// any image/ type the decoder reads, then a local file named in a URL list
// (a file manager's drag or copy), then the in-process Qt image taken as a
// 32-bit picture. Nothing when none of them decodes; error then says why
// when the data did offer a picture (damaged, too large, not a picture
// after all) and stays empty when it offered none. Safe on any thread.
//
// Raw image bytes have the last word: when they do not decode, the Qt
// image is not asked for, since a clipboard makes it by decoding the same
// bytes again with none of the intake's checks (a truncated file filled
// in, a picture far too large decoded in full).
std::optional<SourcePicture> pictureFromOffer(const OfferedPicture& offer,
                                              QString* error = nullptr,
                                              const PictureOptions& options = {});

// Both at once, on the interface thread.
std::optional<SourcePicture> pictureFromMimeData(const QMimeData* data, QString* error = nullptr);

} // namespace gelcoat
