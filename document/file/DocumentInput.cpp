#include "document/file/DocumentInput.h"

#include <QFile>
#include <QFileInfo>

namespace gelcoat {

bool isDocumentInput(const QString& path)
{
    if (path.endsWith(QStringLiteral(".gelcoat"), Qt::CaseInsensitive))
        return true;
    // Only regular files are peeked at: opening a FIFO would wait for a writer.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray head = file.read(1024);
    return head.contains("<plist") || head.contains("<!DOCTYPE plist");
}

} // namespace gelcoat
