// Feeds arbitrary bytes to the document loader: the property-list check,
// libplist, the reading rules and the decoding of the stored picture.

#include "document/model/TintDocument.h"

#include <QCoreApplication>
#include <QDir>

#include <cstddef>
#include <cstdint>

using namespace gelcoat;

namespace {

TintDocument* document = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    document = new TintDocument;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     qsizetype(size));
    const DocumentOutcome outcome = document->loadDataRepresentation(
        bytes, LoadMode::Revert, QDir::temp().filePath(QStringLiteral("fuzz.gelcoat")));
    if (outcome.ok)
        (void)document->dataRepresentationOfType();
    return 0;
}
