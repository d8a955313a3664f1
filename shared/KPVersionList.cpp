// Reading the published version list: its text encoding, finding this
// application's line, and ordering version strings.

#include "shared/KPVersionChecker.h"

#include <QStringList>

#include <array>
#include <climits>

namespace {

// Mac OS Roman, bytes 0x80 to 0xFF; the lower half is ASCII.
constexpr std::array<char16_t, 128> macRomanHighHalf = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4,
    0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF,
    0x00F1, 0x00F3, 0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020,
    0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4,
    0x00A8, 0x2260, 0x00C6, 0x00D8, 0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202,
    0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF, 0x00A1,
    0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, 0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3,
    0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02, 0x2021, 0x00B7, 0x201A,
    0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC,
    0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC, 0x00AF,
    0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

// The leading whole number of a component: blanks, a sign, digits; anything
// else reads as 0.  Too large a number stops at the integer limits.
long long leadingInteger(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min<long long>(value * 10 + (text[i].unicode() - u'0'), INT_MAX);
    return negative ? -value : value;
}

struct ParsedVersion {
    QStringList components;
    bool alpha = false;
    bool beta = false;
    long long alphaNumber = 0;
    long long betaNumber = 0;
    bool release() const { return !alpha && !beta; }
};

ParsedVersion parseVersion(const QString& version)
{
    ParsedVersion parsed;
    const QStringList alphaParts = version.split(u'a');
    parsed.alpha = alphaParts.size() >= 2;
    if (parsed.alpha)
        parsed.alphaNumber = leadingInteger(alphaParts[1]);
    const QStringList betaParts = alphaParts[0].split(u'b');
    parsed.beta = betaParts.size() >= 2;
    if (parsed.beta)
        parsed.betaNumber = leadingInteger(betaParts[1]);
    parsed.components = betaParts[0].split(u'.');
    return parsed;
}

} // namespace

QString KPVersionChecker::decodeMacRoman(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        text += code < 0x80 ? QChar(code) : QChar(macRomanHighHalf[code - 0x80]);
    }
    return text;
}

QString KPVersionChecker::versionStringFromFullString(const QString& text,
                                                      const QString& bundleIdentifier)
{
    if (text.isNull())
        return {};
    for (const QString& line : text.split(u'\n')) {
        if (!line.startsWith(bundleIdentifier))
            continue;
        const QStringList parts = line.split(u' ');
        if (parts.size() == 2)
            return parts[1];
    }
    return {};
}

bool KPVersionChecker::webVersionIsLaterThanAppVersion(const QString& webVersion,
                                                       const QString& appVersion)
{
    const ParsedVersion web = parseVersion(webVersion);
    const ParsedVersion app = parseVersion(appVersion);
    const qsizetype shared = std::min(web.components.size(), app.components.size());
    for (qsizetype i = 0; i < shared; ++i) {
        const long long w = leadingInteger(web.components[i]);
        const long long a = leadingInteger(app.components[i]);
        if (w != a)
            return w > a;
    }
    if (web.components.size() != app.components.size())
        return web.components.size() > app.components.size();

    if (web.alpha && (app.beta || app.release()))
        return false;
    if (web.beta && app.release())
        return false;
    if (app.alpha && (web.beta || web.release()))
        return true;
    if (app.beta && web.release())
        return true;
    if (web.alpha && app.alpha && web.alphaNumber != app.alphaNumber)
        return web.alphaNumber > app.alphaNumber;
    if (web.beta && app.beta)
        return web.betaNumber > app.betaNumber;
    return false;
}
