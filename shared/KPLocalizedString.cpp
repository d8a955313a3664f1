#include "shared/KPLocalizedString.h"

#include "shared/KPLog.h"

#include <QHash>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {

// One translator per table, loaded on first use; a table without a compiled
// file stays empty so that every key of it reads as missing.
const QTranslator& tableTranslator(const QString& table)
{
    static QHash<QString, std::shared_ptr<QTranslator>> translators;
    auto found = translators.find(table);
    if (found == translators.end()) {
        auto translator = std::make_shared<QTranslator>();
        // "<table>_<language>.qm" for the user's language when there is one,
        // else the table as written.
        const QString folder = QStringLiteral(":/strings");
        if (!translator->load(QLocale(), table, QStringLiteral("_"), folder)
            && !translator->load(table, folder))
            qCWarning(kpSharedLog, "String table \"%s\" not found", qPrintable(table));
        found = translators.insert(table, translator);
    }
    return **found;
}

} // namespace

QString KPTestLocalizedStringFromTable(const QString& key, const QString& table)
{
    // QTranslator answers a null string for a key it lacks, which tells a
    // missing key from one whose text equals the key.
    const QString text = tableTranslator(table).translate(table.toUtf8().constData(),
                                                          key.toUtf8().constData());
    if (!text.isNull())
        return text;
    qCWarning(kpSharedLog, "No value found for key \"%s\"", qPrintable(key));
    return QStringLiteral("*%1*").arg(key);
}
