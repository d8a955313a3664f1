#include "document/file/DocumentArchive.h"

#include "document/file/ArchiveValues.h"
#include "document/file/PlistScan.h"
#include "document/settings/SettingsKeys.h"

#include <plist/plist.h>

// Set by the build from the installed libplist's version.
#ifndef GELCOAT_PLIST_SIGNED_INTEGERS
#error "GELCOAT_PLIST_SIGNED_INTEGERS must say whether libplist has signed integers (2.3 and later)"
#endif

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace gelcoat {

namespace {

struct PlistDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

const char* yesNo(bool value)
{
    return value ? "YES" : "NO";
}

// A signed integer node, written with its sign by either libplist.
plist_t newSignedInteger(std::int64_t value)
{
#if GELCOAT_PLIST_SIGNED_INTEGERS
    return plist_new_int(value);
#else
    // One integer kind, holding the two's complement and written signed.
    return plist_new_uint(uint64_t(value));
#endif
}

QString stringOf(plist_t node)
{
    char* text = nullptr;
    plist_get_string_val(node, &text);
    const QString result = QString::fromUtf8(text);
    std::free(text);
    return result;
}

// A node as the reading rules see it. Numbers come from the scan's decoded
// text, because libplist decodes no character references in numbers, and
// before 2.3 keeps every integer as an unsigned 64-bit number.
ArchiveValue archiveValue(plist_t node, const QString& key, const PlistScan& scan)
{
    ArchiveValue value;
    switch (plist_get_node_type(node)) {
    case PLIST_UINT:
        value.kind = ArchiveValue::Kind::Integer;
        value.text = scan.numberTexts.value(key, QStringLiteral("0"));
        break;
    case PLIST_REAL:
        value.kind = ArchiveValue::Kind::Real;
        if (const auto text = scan.numberTexts.constFind(key); text != scan.numberTexts.cend())
            value.real = realElementValue(*text);
        else
            plist_get_real_val(node, &value.real);
        break;
    case PLIST_STRING:
        value.kind = ArchiveValue::Kind::String;
        value.text = stringOf(node);
        break;
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        value.kind = ArchiveValue::Kind::Boolean;
        value.boolean = b != 0;
        break;
    }
    case PLIST_DATA: value.kind = ArchiveValue::Kind::Data; break;
    default: value.kind = ArchiveValue::Kind::Other; break;
    }
    return value;
}

std::optional<QString> optionalString(plist_t dict, const char* key)
{
    plist_t node = plist_dict_get_item(dict, key);
    if (!node || plist_get_node_type(node) != PLIST_STRING)
        return std::nullopt;
    return stringOf(node);
}

} // namespace

QByteArray writeDocumentArchive(const QByteArray& sourceData, const QString& destImagePath,
                                const TintSettings& settings)
{
    PlistPtr dict(plist_new_dict());
    plist_t d = dict.get();
    plist_dict_set_item(d, archiveVersionKey, plist_new_uint(kDocumentArchiveVersion));
    if (!sourceData.isEmpty())
        plist_dict_set_item(d, sourceDataKey,
                            plist_new_data(sourceData.constData(), uint64_t(sourceData.size())));
    plist_dict_set_item(d, destImagePathKey, plist_new_string(destImagePath.toUtf8().constData()));
    for (const SettingField& field : settingFields()) {
        plist_t value = nullptr;
        switch (field.kind) {
        case SettingKind::Bool: value = plist_new_string(yesNo(settings.*field.boolField)); break;
        case SettingKind::Int: value = newSignedInteger(settings.*field.intField); break;
        // A float widened to double is exact, and libplist writes doubles
        // with 17 significant digits, so the same float reads back.
        case SettingKind::Float: value = plist_new_real(double(settings.*field.floatField)); break;
        }
        plist_dict_set_item(d, field.key, value);
    }
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(d, &xml, &length);
    QByteArray bytes(xml, qsizetype(length));
    std::free(xml);
    return bytes;
}

std::optional<DocumentArchive> readDocumentArchive(const QByteArray& bytes,
                                                   const TintSettings& current, QString* error)
{
    auto failWith = [&](const QString& reason) -> std::optional<DocumentArchive> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (bytes.size() > kMaxDocumentFileBytes)
        return failWith(QStringLiteral("the file is larger than %1 MiB")
                            .arg(kMaxDocumentFileBytes >> 20));
    if (bytes.isEmpty())
        return failWith(QStringLiteral("the file is empty"));

    QString scanError;
    const std::optional<PlistScan> scan = scanPropertyList(bytes, &scanError);
    if (!scan)
        return failWith(scanError);

    plist_t parsed = nullptr;
    plist_from_xml(bytes.constData(), uint32_t(bytes.size()), &parsed);
    PlistPtr root(parsed);
    if (!root || plist_get_node_type(root.get()) != PLIST_DICT)
        return failWith(QStringLiteral("the property list could not be parsed"));
    plist_t dict = root.get();

    DocumentArchive archive;
    auto valueFor = [&](const char* key) -> std::optional<ArchiveValue> {
        plist_t node = plist_dict_get_item(dict, key);
        if (!node)
            return std::nullopt;
        return archiveValue(node, QString::fromLatin1(key), *scan);
    };

    if (auto version = valueFor(archiveVersionKey))
        archive.archiveVersion = integerValue(*version).value_or(0);

    if (plist_t data = plist_dict_get_item(dict, sourceDataKey);
        data && plist_get_node_type(data) == PLIST_DATA) {
        uint64_t length = 0;
        const char* pointer = plist_get_data_ptr(data, &length);
        archive.sourceData = QByteArray(pointer, qsizetype(length));
    }
    archive.sourceImagePath = optionalString(dict, sourceImagePathKey).value_or(QString());
    archive.destImagePath = optionalString(dict, destImagePathKey).value_or(QString());

    archive.settings = current;
    setToDefaults(archive.settings);
    TintSettings& s = archive.settings;
    for (const SettingField& field : settingFields()) {
        const std::optional<ArchiveValue> value = valueFor(field.key);
        if (!value)
            continue;
        switch (field.kind) {
        case SettingKind::Bool:
            if (auto b = booleanValue(*value))
                s.*field.boolField = *b;
            break;
        case SettingKind::Int:
            if (auto i = integerValue(*value))
                s.*field.intField = *i;
            break;
        case SettingKind::Float:
            if (auto f = floatValue(*value))
                s.*field.floatField = *f;
            break;
        }
    }
    return archive;
}

} // namespace gelcoat
