#include "document/resources/BundleImages.h"

#include "document/intake/PictureDecoder.h"
#include "document/intake/StencilIntake.h"

#include "engine/buffer/EngineLog.h"
#include "engine/shading/AquaTables.h"

#include <QFile>
#include <QLoggingCategory>

#include <mutex>

Q_LOGGING_CATEGORY(lcEngine, "gelcoat.engine")

namespace gelcoat {

namespace {

std::optional<SourcePicture> loadBundlePicture(const char* resourcePath)
{
    QFile file(QString::fromLatin1(resourcePath));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decodePicture(file.readAll());
}

// The base picture in the engine's layout: RGBA pictures pass the
// acceptance check unchanged.
std::optional<BitmapRep> loadBaseBitmap()
{
    std::optional<SourcePicture> picture = loadBundlePicture(":/images/base.tiff");
    if (!picture || !checkImage(*picture))
        return std::nullopt;
    return std::move(picture->pixels);
}

void logToQt(const std::string& line)
{
    qCWarning(lcEngine).noquote() << QString::fromStdString(line);
}

} // namespace

const std::optional<SourcePicture>& startPicture()
{
    static const std::optional<SourcePicture> picture = loadBundlePicture(":/images/start.png");
    return picture;
}

const std::optional<SourcePicture>& footPicture()
{
    static const std::optional<SourcePicture> picture =
        loadBundlePicture(":/images/leftFootColored.png");
    return picture;
}

void installEngineResources()
{
    static std::once_flag once;
    std::call_once(once, [] {
        setEngineLogSink(&logToQt);
        setBaseImageProvider(&loadBaseBitmap);
    });
}

} // namespace gelcoat
