// The document file's bytes: what the writer produces, how files from other
// property-list writers read, and which files are refused and why.

#include "document/file/ArchiveValues.h"
#include "document/file/DocumentArchive.h"
#include "document/file/PlistScan.h"
#include "document/settings/SettingsKeys.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

using namespace gelcoat;

namespace {

QByteArray plist(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n<dict>\n" +
           body + "\n</dict>\n</plist>\n";
}

QByteArray entry(const char* key, const QByteArray& value)
{
    return QByteArray("<key>") + key + "</key>" + value;
}

DocumentArchive read(const QByteArray& bytes, const TintSettings& current = {})
{
    QString error;
    std::optional<DocumentArchive> archive = readDocumentArchive(bytes, current, &error);
    EXPECT_TRUE(archive) << error.toStdString();
    return archive ? std::move(*archive) : DocumentArchive{};
}

QString refusal(const QByteArray& bytes)
{
    QString error;
    EXPECT_FALSE(readDocumentArchive(bytes, {}, &error));
    return error;
}

TintSettings unusualSettings()
{
    TintSettings s;
    s.userHue = 0.1f;
    s.userSaturation = 1e-30f;
    s.userBrightness = -123.456f;
    s.userContrast = FLT_MAX;
    s.userAlpha = std::nextafter(100.0f, 0.0f);
    s.aquaMargin = 3.0f / 7.0f;
    s.useOriginalHue = false;
    s.useOriginalSaturation = true;
    s.useOriginalBrightness = true;
    s.useRainbow = false;
    s.circularRainbow = true;
    s.rainbowXOffset = -0.333333f;
    s.rainbowYOffset = 1e-45f;   // the smallest denormal
    s.sourceBugX = std::numeric_limits<std::int32_t>::min();
    s.sourceBugY = std::numeric_limits<std::int32_t>::max();
    s.shadowDensity = 0;
    s.shadowSharpness = 106.28020f;
    s.shadowXOffset = -0.0f;
    s.shadowYOffset = 12345.678f;
    s.finalSize = 51;
    s.sourceShowsSize = false;
    s.sourceShowsBounds = true;
    s.sourceShrinksIfNecessary = false;
    s.destShowsSize = false;
    s.destShowsBounds = true;
    s.destShrinksIfNecessary = false;
    s.destInteriorStyle = 4;
    return s;
}

} // namespace

TEST(DocumentArchive, EveryFieldSurvivesARoundTripBitForBit)
{
    const TintSettings written = unusualSettings();
    const QByteArray source("stencil bytes \0 with a zero", 27);
    const QByteArray bytes = writeDocumentArchive(source, QStringLiteral("/tmp/ü a.tiff"), written);
    const DocumentArchive archive = read(bytes);
    EXPECT_EQ(archive.archiveVersion, 1);
    ASSERT_TRUE(archive.sourceData);
    EXPECT_EQ(*archive.sourceData, source);
    EXPECT_EQ(archive.destImagePath, QStringLiteral("/tmp/ü a.tiff"));
    for (const SettingField& f : settingFields()) {
        SCOPED_TRACE(f.key);
        switch (f.kind) {
        case SettingKind::Bool: EXPECT_EQ(archive.settings.*f.boolField, written.*f.boolField); break;
        case SettingKind::Int: EXPECT_EQ(archive.settings.*f.intField, written.*f.intField); break;
        case SettingKind::Float: {
            // Bit for bit, except that the writer stores −0 as 0.
            const float a = archive.settings.*f.floatField, b = written.*f.floatField;
            EXPECT_TRUE(b == 0 ? a == 0 : std::memcmp(&a, &b, sizeof a) == 0) << a << " vs " << b;
        }
        }
    }
}

TEST(DocumentArchive, IntegerExtremesKeepTheirSignThroughUsAndPlistlib)
{
    // Whatever the installed libplist's integer kinds, a negative number is
    // written with its sign, reads back as itself, and reads the same in
    // another property-list implementation, which writes it back so that
    // we read it again.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    for (const std::int32_t value : {kMin, -1, 0, kMax}) {
        SCOPED_TRACE(value);
        TintSettings written;
        written.sourceBugX = value;
        written.sourceBugY = value;
        written.destInteriorStyle = value;
        const QByteArray bytes = writeDocumentArchive({}, QString(), written);
        const QByteArray element = "<integer>" + QByteArray::number(value) + "</integer>";
        EXPECT_TRUE(bytes.contains("<key>SourceBugX</key>\n\t" + element)) << bytes.toStdString();
        EXPECT_TRUE(bytes.contains("<key>SourceBugY</key>\n\t" + element));
        const TintSettings ours = read(bytes).settings;
        EXPECT_EQ(ours.sourceBugX, value);
        EXPECT_EQ(ours.sourceBugY, value);
        EXPECT_EQ(ours.destInteriorStyle, value);

        const QString path = dir.filePath(QStringLiteral("ours.gelcoat"));
        const QString back = dir.filePath(QStringLiteral("plistlib.gelcoat"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        QProcess python;
        python.start(QStringLiteral("python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import plistlib, sys\n"
                                     "d = plistlib.load(open(sys.argv[1], 'rb'))\n"
                                     "print(d['SourceBugX'], d['SourceBugY'], d['DestInteriorStyle'])\n"
                                     "plistlib.dump(d, open(sys.argv[2], 'wb'))\n"),
                      path, back});
        ASSERT_TRUE(python.waitForFinished(30000));
        ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        const QByteArray number = QByteArray::number(value);
        EXPECT_EQ(python.readAllStandardOutput().trimmed(), number + ' ' + number + ' ' + number);
        QFile rewritten(back);
        ASSERT_TRUE(rewritten.open(QIODevice::ReadOnly));
        const TintSettings again = read(rewritten.readAll()).settings;
        EXPECT_EQ(again.sourceBugX, value);
        EXPECT_EQ(again.sourceBugY, value);
        EXPECT_EQ(again.destInteriorStyle, value);
    }
}

TEST(DocumentArchive, WriterFollowsTheFileLayout)
{
    const QByteArray bytes = writeDocumentArchive({}, QString(), TintSettings{});
    EXPECT_TRUE(bytes.startsWith("<?xml"));
    EXPECT_TRUE(bytes.contains("<key>ArchiveVersion</key>\n\t<integer>1</integer>"));
    EXPECT_TRUE(bytes.contains("<key>DestImagePath</key>\n\t<string></string>"));
    EXPECT_TRUE(bytes.contains("<key>UseRainbow</key>\n\t<string>YES</string>"));
    EXPECT_TRUE(bytes.contains("<key>RainbowCircular</key>\n\t<string>NO</string>"));
    EXPECT_TRUE(bytes.contains("<key>DestInteriorStyle</key>\n\t<integer>3</integer>"));
    EXPECT_TRUE(bytes.contains("<key>FinalSize</key>\n\t<real>"));
    EXPECT_FALSE(bytes.contains("SourceImagePath"));
    EXPECT_FALSE(bytes.contains("SourceData"));   // nothing to store
    EXPECT_EQ(read(bytes).destImagePath, QString());
}

TEST(DocumentArchive, FilesFromOtherWritersRead)
{
    // Spaces instead of tabs, another key order, comments, a CDATA string,
    // character references, integers where reals go, numbers as strings,
    // <true/> in a boolean key, no XML declaration and no DOCTYPE.
    const QByteArray bytes =
        "<plist version=\"1.0\">\n"
        "  <dict>\n"
        "    <!-- written by hand -->\n"
        "    <key>FinalSize</key>  <string>75</string>\n"
        "    <key>ColorHue</key>\n        <integer>12</integer>\n"
        "    <key>UseRainbow</key><true/>\n"
        "    <key>RainbowCircular</key><false/>\n"
        "    <key>UseOriginalHue</key><string>no</string>\n"
        "    <key>UseOriginalSaturation</key><string>Yes</string>\n"
        "    <key>DestImagePath</key><string><![CDATA[/a&b]]>&#x2F;c</string>\n"
        "    <key>SourceBugX</key><real>-3.9</real>\n"
        "    <key>SourceBugY</key><string>  42 apples</string>\n"
        "    <key>Alpha</key><string>\t.5e2x</string>\n"
        "    <key>ArchiveVersion</key><integer>0</integer>\n"
        "    <key>Unknown</key><array><dict/><date>2020-01-01T00:00:00Z</date></array>\n"
        "  </dict>\n"
        "</plist>\n";
    const DocumentArchive a = read(bytes);
    EXPECT_EQ(a.archiveVersion, 0);
    EXPECT_EQ(a.settings.finalSize, 75);
    EXPECT_EQ(a.settings.userHue, 12);
    EXPECT_TRUE(a.settings.useRainbow);
    EXPECT_FALSE(a.settings.circularRainbow);
    EXPECT_FALSE(a.settings.useOriginalHue);
    EXPECT_TRUE(a.settings.useOriginalSaturation);
    EXPECT_EQ(a.destImagePath, QStringLiteral("/a&b/c"));
    EXPECT_EQ(a.settings.sourceBugX, -3);
    EXPECT_EQ(a.settings.sourceBugY, 42);
    EXPECT_EQ(a.settings.userAlpha, 50);
}

TEST(DocumentArchive, BooleanRuleTakesOnlyYesInAnyCase)
{
    for (const auto& [value, expected] : std::vector<std::pair<QByteArray, bool>>{
             {"<string>yes</string>", true},
             {"<string>YeS</string>", true},
             {"<string>true</string>", false},
             {"<string>1</string>", false},
             {"<string> YES</string>", false},
             {"<string></string>", false},
             {"<true/>", true},
             {"<false/>", false}}) {
        SCOPED_TRACE(value.toStdString());
        TintSettings current;
        current.useRainbow = !expected;
        EXPECT_EQ(read(plist(entry("UseRainbow", value)), current).settings.useRainbow, expected);
    }
}

TEST(DocumentArchive, NumbersSaturateTruncateAndNeverMisbehave)
{
    auto bugX = [](const QByteArray& v) { return read(plist(entry("SourceBugX", v))).settings.sourceBugX; };
    auto size = [](const QByteArray& v) { return read(plist(entry("FinalSize", v))).settings.finalSize; };
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

    EXPECT_EQ(bugX("<integer>-5</integer>"), -5);
    EXPECT_EQ(bugX("<integer>99999999999999999999999</integer>"), kMax);
    EXPECT_EQ(bugX("<integer>18446744073709551615</integer>"), kMax);   // not −1
    EXPECT_EQ(bugX("<integer>-99999999999999999999999</integer>"), kMin);
    EXPECT_EQ(bugX("<integer>0x10</integer>"), 16);
    EXPECT_EQ(bugX("<real>2.9e30</real>"), kMax);
    EXPECT_EQ(bugX("<real>-7.99</real>"), -7);
    EXPECT_EQ(bugX("<real>-inf</real>"), kMin);
    EXPECT_EQ(bugX("<real>nan</real>"), 0);   // not a number: the default stays
    EXPECT_EQ(bugX("<string>-2147483649</string>"), kMin);
    EXPECT_EQ(bugX("<string>x12</string>"), 0);
    EXPECT_EQ(bugX("<true/>"), 1);

    EXPECT_EQ(size("<string>75abc</string>"), 75);
    EXPECT_EQ(size("<string>  -1.5e1</string>"), -15);
    EXPECT_EQ(size("<string>1e999</string>"), FLT_MAX);
    EXPECT_EQ(size("<string>-1e999</string>"), -FLT_MAX);
    EXPECT_EQ(size("<string>1e-999</string>"), 0);
    EXPECT_EQ(size("<string>abc</string>"), 0);
    EXPECT_EQ(size("<real>1e300</real>"), FLT_MAX);
    EXPECT_EQ(size("<real>+infinity</real>"), FLT_MAX);
    EXPECT_EQ(size("<real>nan</real>"), 50);   // the default stays
    EXPECT_EQ(size("<integer>100</integer>"), 100);
    // Character references are decoded before a number is read.
    EXPECT_EQ(size("<real>&#55;&#53;.&#x35;</real>"), 75.5f);
    EXPECT_EQ(size("<real> &#43;1e1</real>"), 10);
    EXPECT_EQ(bugX("<integer>&#45;&#52;</integer>"), -4);
    EXPECT_EQ(size("<integer>99999999999999999999999999999999999999999</integer>"), FLT_MAX);
}

TEST(DocumentArchive, ValuesOfTheWrongKindLeaveTheField)
{
    TintSettings current;
    current.destShowsSize = false;
    const DocumentArchive a = read(
        plist(entry("FinalSize", "<data>AAAA</data>") + entry("SourceBugX", "<dict/>") +
              entry("UseRainbow", "<integer>1</integer>") +
              entry("DestShowsSize", "<array/>") + entry("ArchiveVersion", "<data></data>") +
              entry("DestImagePath", "<integer>3</integer>") +
              entry("SourceData", "<string>not data</string>")),
        current);
    EXPECT_EQ(a.settings.finalSize, 50);
    EXPECT_EQ(a.settings.sourceBugX, 0);
    EXPECT_TRUE(a.settings.useRainbow);
    EXPECT_FALSE(a.settings.destShowsSize);
    EXPECT_EQ(a.archiveVersion, 0);
    EXPECT_EQ(a.destImagePath, QString());
    EXPECT_FALSE(a.sourceData);
}

TEST(DocumentArchive, MissingKeysGiveDefaultsButKeepDisplayOptions)
{
    TintSettings current = unusualSettings();
    const DocumentArchive a = read(plist(entry("ArchiveVersion", "<integer>1</integer>")), current);
    TintSettings expected = current;
    setToDefaults(expected);
    EXPECT_EQ(a.settings, expected);
    EXPECT_FALSE(a.settings.sourceShowsSize);   // display values as they were
    EXPECT_EQ(a.settings.destInteriorStyle, 4);
    EXPECT_EQ(a.settings.userHue, 59);
}

TEST(DocumentArchive, VersionIsReadAsWritten)
{
    EXPECT_EQ(read(plist("")).archiveVersion, 0);
    EXPECT_EQ(read(plist(entry("ArchiveVersion", "<integer>2</integer>"))).archiveVersion, 2);
    EXPECT_EQ(read(plist(entry("ArchiveVersion", "<string>7</string>"))).archiveVersion, 7);
    EXPECT_EQ(read(plist(entry("ArchiveVersion", "<integer>-1</integer>"))).archiveVersion, -1);
}

TEST(DocumentArchive, BrokenFilesAreRefusedWithWhatAndWhere)
{
    const QByteArray good = writeDocumentArchive(QByteArray(5000, 'x'), QString(), TintSettings{});
    EXPECT_TRUE(refusal(good.left(good.size() / 2)).contains(QStringLiteral("line ")));
    EXPECT_FALSE(refusal(QByteArray()).isEmpty());
    EXPECT_FALSE(refusal("GIF89a garbage").isEmpty());
    EXPECT_FALSE(refusal(QByteArray(1000, '\0')).isEmpty());
    EXPECT_TRUE(refusal("<plist><array><integer>1</integer></array></plist>")
                    .contains(QStringLiteral("not a dictionary")));
    EXPECT_TRUE(refusal("<plist><dict><key>a</key></dict></plist>").contains(QStringLiteral("no value")));
    EXPECT_TRUE(refusal("<plist><dict><string>a</string></dict></plist>").contains(QStringLiteral("<key>")));
    EXPECT_TRUE(refusal("<plist><dict/><dict/></plist>").contains(QStringLiteral("exactly one")));
    EXPECT_TRUE(refusal("<plist><dict><key>a</key><foo/></dict></plist>").contains(QStringLiteral("<foo>")));
    EXPECT_TRUE(refusal("<plist><dict><key>a</key><data>*</data></dict></plist>").contains(QStringLiteral("Base64")));
    EXPECT_TRUE(refusal("<plist>\n<dict>\n<key>a</key>\n<integer>12x</integer></dict></plist>")
                    .startsWith(QStringLiteral("line 4, column ")));
    EXPECT_TRUE(refusal("<plist><dict><key>a</key><real>1.2.3</real></dict></plist>").contains(QStringLiteral("not a number")));
    EXPECT_TRUE(refusal("<plist><dict><key>a</key><string>&undefined;</string></dict></plist>").contains(QStringLiteral("line 1")));

    // Faults libplist itself would assert on are refused before it runs.
    EXPECT_TRUE(refusal(QByteArray("<plist><dict><key>a</key>\n<string>x\0y</string></dict></plist>", 60))
                    .startsWith(QStringLiteral("line 2, column 10: the file holds a NUL byte")));
    EXPECT_TRUE(refusal("<?xml version=\"1.0\" encoding=\"UTF-7\"?><plist><dict/></plist>")
                    .contains(QStringLiteral("UTF-7")));
    EXPECT_TRUE(refusal(QByteArray("\xFF\xFE<\0p\0", 6)).contains(QStringLiteral("NUL")));

    QByteArray deep = "<plist><dict><key>a</key>";
    for (int i = 0; i < 100000; ++i)
        deep += "<array>";
    EXPECT_TRUE(refusal(deep).contains(QStringLiteral("nested")));
}

// Long text is read without being held whole; its faults, and faults after
// it, are still found where the file has them.
TEST(DocumentArchive, LongTextKeepsFaultsAndTheirPlaces)
{
    const QByteArray head = "<plist>\n<dict>\n<key>Notes</key>";
    EXPECT_TRUE(refusal(head + "<string>" + QByteArray(5000, 'x') + "\n" + QByteArray(3000, 'y') +
                        "</string><key>a</key><integer>12x</integer></dict></plist>")
                    .startsWith(QStringLiteral("line 4, column 3043: <integer>")));
    EXPECT_TRUE(refusal(head + "<data>" + QByteArray(5000, 'A') + "*</data></dict></plist>")
                    .startsWith(QStringLiteral("line 3, column 5024: <data> holds a character")));
    EXPECT_TRUE(refusal(head + "<string>\xC3\xA9" + QByteArray(5000, 'x') + "\r\n" +
                        QByteArray(100, 'z') + "&bogus;</string></dict></plist>")
                    .startsWith(QStringLiteral("line 4, column 107: ")));
    const QByteArray afterLongKey = "<plist><dict><key>" + QByteArray(3000, 'k') +
                                    "</key><integer>1</integer><key>FinalSize</key>"
                                    "<integer>&#55;&#53;</integer></dict></plist>";
    EXPECT_EQ(read(afterLongKey).settings.finalSize, 75);
}

TEST(DocumentArchive, HugeFilesAreRefusedBeforeParsing)
{
    QByteArray huge;
    huge.resize(kMaxDocumentFileBytes + 1);
    huge.fill(' ');
    EXPECT_TRUE(refusal(huge).contains(QStringLiteral("larger than")));
}

TEST(ArchiveValues, StringsReadTheirLeadingNumber)
{
    EXPECT_EQ(integerFromString(QStringLiteral("\n\t 12.9")), 12);
    EXPECT_EQ(integerFromString(QStringLiteral("+8")), 8);
    EXPECT_EQ(integerFromString(QStringLiteral("-")), 0);
    EXPECT_EQ(integerFromString(QString(400, u'9')), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(floatFromString(QStringLiteral("3.")), 3.0f);
    EXPECT_EQ(floatFromString(QStringLiteral(".25")), 0.25f);
    EXPECT_EQ(floatFromString(QStringLiteral("2e")), 2.0f);
    EXPECT_EQ(floatFromString(QStringLiteral("1e+3z")), 1000.0f);
    EXPECT_EQ(floatFromString(QStringLiteral("0.") + QString(500, u'0') + QStringLiteral("1")), 0.0f);
    EXPECT_EQ(floatFromString(QString(500, u'9')), FLT_MAX);
    EXPECT_EQ(floatFromString(QStringLiteral("inf")), 0.0f);
}
