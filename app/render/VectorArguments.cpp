#include "app/render/VectorArguments.h"

#include "document/intake/VectorPicture.h"

#include <QFile>
#include <QFileInfo>

namespace gelcoat {

bool argumentsNameVectorPicture(const QByteArrayList& args)
{
    for (const QByteArray& arg : args) {
        const QString name = QFile::decodeName(arg);
        if (arg.isEmpty() || !QFileInfo(name).isFile())
            continue;
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray head = file.read(64 * 1024);
        if (looksLikeSvg(head) || looksLikeGzip(head))
            return true;
    }
    return false;
}

} // namespace gelcoat
