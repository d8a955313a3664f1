// Inputs the loader's fuzzer once broke on: each must now be refused or
// read without a crash.

#include "document/file/DocumentArchive.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace gelcoat;

TEST(FuzzRegressions, EveryRecordedInputIsHandled)
{
    const QDir folder(QStringLiteral(GELCOAT_FUZZ_REGRESSIONS));
    const QStringList names = folder.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QString error;
        if (!readDocumentArchive(file.readAll(), {}, &error)) {
            EXPECT_FALSE(error.isEmpty());
        }
    }
}
