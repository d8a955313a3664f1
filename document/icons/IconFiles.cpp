#include "document/icons/IconFiles.h"

#include "document/export/PngWriter.h"
#include "document/io/RegularFile.h"

#include <QFile>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <memory>

#include <sys/stat.h>

namespace gelcoat {

namespace {

// The PNG element type of each size in a macOS icon.
struct IcnsPlace {
    int size;
    char type[5];
};
constexpr IcnsPlace kIcnsPlaces[] = {{16, "icp4"},  {32, "icp5"},  {64, "icp6"},  {128, "ic07"},
                                     {256, "ic08"}, {512, "ic09"}, {1024, "ic10"}};

template <typename T>
void appendLittle(QByteArray& out, T v)
{
    char bytes[sizeof(T)];
    qToLittleEndian<T>(v, bytes);
    out.append(bytes, sizeof(T));
}

void appendBig32(QByteArray& out, quint32 v)
{
    char bytes[4];
    qToBigEndian<quint32>(v, bytes);
    out.append(bytes, 4);
}

// Makes the folder and those above it that are missing, by the bytes of
// its name.
bool makeFolders(const QByteArray& path, QString* error)
{
    for (qsizetype slash = path.indexOf('/', 1); ; slash = path.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? path : path.left(slash);
        struct stat info {};
        if (!part.isEmpty() && ::mkdir(part.constData(), 0777) != 0 && errno != EEXIST) {
            *error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        if (!part.isEmpty() && (::stat(part.constData(), &info) != 0 || !S_ISDIR(info.st_mode))) {
            *error = QStringLiteral("%1 is not a folder").arg(QFile::decodeName(part));
            return false;
        }
        if (slash < 0)
            return true;
    }
}

} // namespace

bool icnsHoldsSize(int size)
{
    for (const IcnsPlace& place : kIcnsPlaces)
        if (place.size == size)
            return true;
    return false;
}

QByteArray encodeIco(const std::vector<IconImage>& icons)
{
    std::vector<std::pair<int, QByteArray>> entries;
    for (const IconImage& icon : icons) {
        if (icon.size > kMaxIcoSize)
            continue;
        QByteArray png = encodePng(icon.image);
        if (png.isEmpty())
            return {};
        entries.emplace_back(icon.size, std::move(png));
    }
    if (entries.empty())
        return {};
    QByteArray ico;
    appendLittle<quint16>(ico, 0);   // reserved
    appendLittle<quint16>(ico, 1);   // an icon, not a cursor
    appendLittle<quint16>(ico, quint16(entries.size()));
    quint32 offset = quint32(6 + 16 * entries.size());
    for (const auto& [size, png] : entries) {
        const char side = char(size == 256 ? 0 : size);   // 0 stands for 256
        ico.append(side).append(side).append(char(0)).append(char(0));
        appendLittle<quint16>(ico, 1);    // colour planes
        appendLittle<quint16>(ico, 32);   // bits per pixel
        appendLittle<quint32>(ico, quint32(png.size()));
        appendLittle<quint32>(ico, offset);
        offset += quint32(png.size());
    }
    for (const auto& entry : entries)
        ico.append(entry.second);
    return ico;
}

QByteArray encodeIcns(const std::vector<IconImage>& icons)
{
    QByteArray elements;
    for (const IconImage& icon : icons) {
        for (const IcnsPlace& place : kIcnsPlaces) {
            if (place.size != icon.size)
                continue;
            const QByteArray png = encodePng(icon.image);
            if (png.isEmpty())
                return {};
            elements.append(place.type, 4);
            appendBig32(elements, quint32(png.size() + 8));
            elements.append(png);
        }
    }
    if (elements.isEmpty())
        return {};
    QByteArray icns("icns");
    appendBig32(icns, quint32(elements.size() + 8));
    return icns + elements;
}

std::vector<IconFile> iconSetFiles(const std::vector<IconImage>& icons, IconSetForm form,
                                   const QString& name, const QByteArray& scalableSvg,
                                   std::vector<int>* leftOut, QString* error)
{
    std::vector<IconFile> files;
    leftOut->clear();
    auto fail = [&](const QString& reason) {
        *error = reason;
        return std::vector<IconFile>();
    };
    if (form == IconSetForm::Ico || form == IconSetForm::Icns) {
        for (const IconImage& icon : icons)
            if (form == IconSetForm::Ico ? icon.size > kMaxIcoSize : !icnsHoldsSize(icon.size))
                leftOut->push_back(icon.size);
        if (leftOut->size() == icons.size())
            return fail(form == IconSetForm::Ico
                            ? QStringLiteral("a Windows icon holds sizes up to 256 only")
                            : QStringLiteral("a macOS icon holds the sizes 16, 32, 64, 128, "
                                             "256, 512 and 1024 only"));
        const QByteArray bytes = form == IconSetForm::Ico ? encodeIco(icons) : encodeIcns(icons);
        if (bytes.isEmpty())
            return fail(QStringLiteral("the icon could not be encoded"));
        files.push_back({QString(), bytes});
        return files;
    }
    for (const IconImage& icon : icons) {
        QByteArray png = encodePng(icon.image);
        if (png.isEmpty())
            return fail(QStringLiteral("the %1 × %1 image could not be encoded").arg(icon.size));
        const QString path =
            form == IconSetForm::Hicolor
                ? QStringLiteral("%1x%1/apps/%2.png").arg(icon.size).arg(name)
                : QStringLiteral("%1-%2.png").arg(name).arg(icon.size);
        files.push_back({path, std::move(png)});
    }
    if (form == IconSetForm::Hicolor && !scalableSvg.isEmpty())
        files.push_back({QStringLiteral("scalable/apps/%1.svg").arg(name), scalableSvg});
    return files;
}

bool writeIconSet(const QByteArray& out, const std::vector<IconFile>& files, QString* error)
{
    std::vector<std::unique_ptr<PendingFile>> pending;
    QByteArray folder = out;
    while (folder.size() > 1 && folder.endsWith('/'))
        folder.chop(1);
    for (const IconFile& file : files) {
        QByteArray path = out;
        if (!file.relativePath.isEmpty()) {
            path = folder + '/' + QFile::encodeName(file.relativePath);
            const qsizetype slash = path.lastIndexOf('/');
            QString reason;
            if (!makeFolders(path.left(slash), &reason)) {
                *error = QStringLiteral("the folder %1 cannot be made: %2")
                             .arg(QFile::decodeName(path.left(slash)), reason);
                return false;
            }
        }
        // A folder at a file's name would fail only when the files are put
        // in place, after others of the set were.
        struct stat info {};
        if (::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode)) {
            *error = QStringLiteral("%1 is a folder").arg(QFile::decodeName(path));
            return false;
        }
        pending.push_back(std::make_unique<PendingFile>(path));
        QString reason;
        if (!pending.back()->write(file.bytes, &reason)) {
            *error = QStringLiteral("%1 cannot be written: %2").arg(QFile::decodeName(path), reason);
            return false;
        }
    }
    for (std::size_t i = 0; i < pending.size(); ++i) {
        QString reason;
        if (!pending[i]->commit(&reason)) {
            *error = QStringLiteral("a file of the set cannot be written: %1").arg(reason);
            return false;
        }
    }
    return true;
}

} // namespace gelcoat
