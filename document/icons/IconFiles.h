#pragma once
// An icon set's pictures as files: PNG files NAME-N.png in a folder, a
// freedesktop hicolor tree (NxN/apps/NAME.png, and scalable/apps/NAME.svg
// for a vector stencil), one Windows .ico or one macOS .icns.

#include "document/icons/IconImages.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace gelcoat {

enum class IconSetForm { PngFiles, Hicolor, Ico, Icns };

// One file of a set: where it goes (relative to the set's folder, or empty
// for the .ico or .icns file itself) and its bytes.
struct IconFile {
    QString relativePath;
    QByteArray bytes;
};

// The largest size a Windows icon holds.
inline constexpr int kMaxIcoSize = 256;

// The sizes a macOS icon has a PNG place for.
bool icnsHoldsSize(int size);

// A Windows icon of every image up to 256 pixels, each stored as PNG; empty
// when none fits or one cannot be encoded.
QByteArray encodeIco(const std::vector<IconImage>& icons);
// A macOS icon of every image of a size it has a place for (16, 32, 64,
// 128, 256, 512, 1024), each stored as PNG; empty when none fits.
QByteArray encodeIcns(const std::vector<IconImage>& icons);

// The files of a set. name is NAME (for the folder forms); scalableSvg, the
// vector stencil's own SVG, goes into a hicolor tree when not empty. Sizes
// a form cannot hold are left out and named in *leftOut. Empty, with the
// reason in *error, when a picture cannot be encoded or the form keeps
// none of the sizes.
std::vector<IconFile> iconSetFiles(const std::vector<IconImage>& icons, IconSetForm form,
                                   const QString& name, const QByteArray& scalableSvg,
                                   std::vector<int>* leftOut, QString* error);

// Writes the files all or none, under folder (folder forms, made when
// missing) or as the file out (.ico, .icns); false with the reason in
// *error. Native paths, as the command line gives them.
bool writeIconSet(const QByteArray& out, const std::vector<IconFile>& files, QString* error);

} // namespace gelcoat
